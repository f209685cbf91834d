// The C runtime's file streams as the program opens them by name (the log):
// the executables are linked with --wrap for fopen, fflush and fclose. A
// name that is a FIFO or a socket is refused at once, as opening it would
// wait for a peer that never comes; and a stream whose writes failed (a
// full disk) is remembered with the reason, so that the run can say so.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "plattform/win32/win32.h"

extern "C" {
std::FILE* __real_fopen(const char* szName, const char* szArt);
int __real_fflush(std::FILE* pDatei);
int __real_fclose(std::FILE* pDatei);
}

namespace ersatz {
namespace {

struct Strom {
  std::string name;
  int nFehler = 0;  // the first write's errno that failed
};

std::map<std::FILE*, Strom>& Stroeme() {
  static std::map<std::FILE*, Strom> stroeme;
  return stroeme;
}

std::vector<std::string>& Verloren() {
  static std::vector<std::string> verloren;
  return verloren;
}

void Fehler_Merken(std::FILE* pDatei, int nFehler) {
  const auto it = Stroeme().find(pDatei);
  if (it != Stroeme().end() && it->second.nFehler == 0) it->second.nFehler = nFehler;
}

}  // namespace

std::vector<std::string> Dateien_Mit_Schreibfehlern() { return Verloren(); }

}  // namespace ersatz

extern "C" std::FILE* __wrap_fopen(const char* szName, const char* szArt) {
  struct stat s;
  if (szName && stat(szName, &s) == 0 && (S_ISFIFO(s.st_mode) || S_ISSOCK(s.st_mode))) {
    errno = ENXIO;
    return nullptr;
  }
  std::FILE* pDatei = __real_fopen(szName, szArt);
  if (pDatei && szArt && szArt[0] != 'r') {
    try {
      ersatz::Stroeme()[pDatei].name = szName;
    } catch (...) {
    }
  }
  return pDatei;
}

extern "C" int __wrap_fflush(std::FILE* pDatei) {
  const int n = __real_fflush(pDatei);
  if (n != 0 && pDatei) ersatz::Fehler_Merken(pDatei, errno);
  return n;
}

extern "C" int __wrap_fclose(std::FILE* pDatei) {
  const bool bFehler = std::ferror(pDatei) != 0;
  const int n = __real_fclose(pDatei);
  const int nFehler = errno;
  auto& stroeme = ersatz::Stroeme();
  const auto it = stroeme.find(pDatei);
  if (it == stroeme.end()) return n;
  if (n != 0 && it->second.nFehler == 0) it->second.nFehler = nFehler;
  if (bFehler || n != 0) {
    try {
      ersatz::Verloren().push_back(
          it->second.name + " (" +
          (it->second.nFehler ? std::strerror(it->second.nFehler) : "a write failed") + ")");
    } catch (...) {
    }
  }
  stroeme.erase(it);
  return n;
}
