#include "plattform/datei/datei.h"

#include <cerrno>
#include <cstring>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#endif

namespace {

// Where a file goes: its path with every link followed; bDirekt: a device,
// written in place; grund: why it cannot be written at all.
struct Ziel {
  std::string pfad;
  bool bDirekt = false;
  std::string grund;
};

std::string Ordner_Von(const std::string& pfad) {
  const std::size_t i = pfad.find_last_of("/\\");
  if (i == std::string::npos) return ".";
  return i == 0 ? "/" : pfad.substr(0, i);
}

#if defined(_WIN32)

std::string Grund_Windows(DWORD nFehler) {
  char szText[256] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, nFehler, 0,
                 szText, sizeof szText, nullptr);
  std::string grund = szText;
  while (!grund.empty() && (grund.back() == '\n' || grund.back() == '\r' || grund.back() == '.'))
    grund.pop_back();
  return grund.empty() ? "error " + std::to_string(nFehler) : grund;
}

Ziel Ziel_Finden(const std::string& pfad) {
  Ziel z;
  z.pfad = pfad;
  const DWORD nArt = GetFileAttributesA(pfad.c_str());
  if (nArt != INVALID_FILE_ATTRIBUTES && (nArt & FILE_ATTRIBUTE_DIRECTORY))
    z.grund = "it is a folder";
  return z;
}

std::FILE* Direkt_Oeffnen(const std::string&, std::string&) { return nullptr; }

// A name of the target's own with a number no other run picks, created only
// when it does not exist yet.
std::FILE* Entwurf_Anlegen(const std::string& ziel, std::string& entwurf, std::string& grund) {
  static unsigned nZaehler = 0;
  for (int nVersuch = 0; nVersuch < 100; ++nVersuch) {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    char szZahl[40];
    std::snprintf(szZahl, sizeof szZahl, ".%lx%llx%x.tmp", GetCurrentProcessId(),
                  static_cast<unsigned long long>(t.QuadPart), ++nZaehler);
    entwurf = ziel + szZahl;
    HANDLE h = CreateFileA(entwurf.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      if (GetLastError() == ERROR_FILE_EXISTS) continue;
      grund = Grund_Windows(GetLastError());
      entwurf.clear();
      return nullptr;
    }
    const int nDatei = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDWR | _O_BINARY);
    std::FILE* f = nDatei < 0 ? nullptr : _fdopen(nDatei, "w+b");
    if (f) return f;
    grund = std::strerror(errno);
    if (nDatei < 0)
      CloseHandle(h);
    else
      _close(nDatei);
    DeleteFileA(entwurf.c_str());
    entwurf.clear();
    return nullptr;
  }
  grund = "no free temporary name beside it";
  entwurf.clear();
  return nullptr;
}

bool Ersetzen(const std::string& entwurf, const std::string& ziel, std::string& grund) {
  if (MoveFileExA(entwurf.c_str(), ziel.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
  grund = Grund_Windows(GetLastError());
  return false;
}

void Entfernen(const std::string& entwurf) { DeleteFileA(entwurf.c_str()); }

std::string Ordner_Pruefen(const std::string& ordner) {
  const DWORD nArt = GetFileAttributesA(ordner.c_str());
  if (nArt == INVALID_FILE_ATTRIBUTES) return Grund_Windows(GetLastError());
  return (nArt & FILE_ATTRIBUTE_DIRECTORY) ? "" : "its folder is not a folder";
}

#else

// Follows symbolic links to the file they name, which need not exist yet.
std::string Aufloesen(std::string pfad, std::string& grund) {
  for (int nStufe = 0; nStufe < 40; ++nStufe) {
    struct stat s;
    if (lstat(pfad.c_str(), &s) != 0 || !S_ISLNK(s.st_mode)) return pfad;
    std::string ziel(PATH_MAX, '\0');
    const ssize_t n = readlink(pfad.c_str(), &ziel[0], ziel.size());
    if (n < 0) {
      grund = std::strerror(errno);
      return "";
    }
    ziel.resize(static_cast<std::size_t>(n));
    pfad = ziel[0] == '/' ? ziel : Ordner_Von(pfad) + "/" + ziel;
  }
  grund = std::strerror(ELOOP);
  return "";
}

Ziel Ziel_Finden(const std::string& pfad) {
  Ziel z;
  z.pfad = Aufloesen(pfad, z.grund);
  if (!z.grund.empty()) return z;
  struct stat s;
  if (stat(z.pfad.c_str(), &s) == 0) {
    if (S_ISCHR(s.st_mode))
      z.bDirekt = true;
    else if (S_ISDIR(s.st_mode))
      z.grund = "it is a folder";
    else if (S_ISFIFO(s.st_mode))
      z.grund = "it is a FIFO";
    else if (S_ISSOCK(s.st_mode))
      z.grund = "it is a socket";
    else if (!S_ISREG(s.st_mode))
      z.grund = "it is not a regular file";
  } else if (errno != ENOENT) {
    z.grund = std::strerror(errno);
  }
  return z;
}

std::FILE* Direkt_Oeffnen(const std::string& ziel, std::string& grund) {
  const int nDatei = open(ziel.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  std::FILE* f = nDatei < 0 ? nullptr : fdopen(nDatei, "wb");
  if (!f) {
    grund = std::strerror(errno);
    if (nDatei >= 0) close(nDatei);
  }
  return f;
}

// mkstemps creates a name no file has, exclusively, so a name planted
// beforehand is never opened. The file gets the mode an earlier target had,
// or a new file's.
std::FILE* Entwurf_Anlegen(const std::string& ziel, std::string& entwurf, std::string& grund) {
  entwurf = ziel + ".XXXXXX.tmp";
  const int nDatei = mkostemps(&entwurf[0], 4, O_CLOEXEC);
  if (nDatei < 0) {
    grund = std::strerror(errno);
    entwurf.clear();
    return nullptr;
  }
  struct stat s;
  mode_t nModus = 0;
  if (stat(ziel.c_str(), &s) == 0) {
    nModus = s.st_mode & 07777;
  } else {
    const mode_t nMaske = umask(0);
    umask(nMaske);
    // The owner reads and writes its own file whatever the mask (the web
    // page's runtime masks everything).
    nModus = (0666 & ~nMaske) | 0600;
  }
  fchmod(nDatei, nModus);
  std::FILE* f = fdopen(nDatei, "w+b");
  if (f) return f;
  grund = std::strerror(errno);
  close(nDatei);
  unlink(entwurf.c_str());
  entwurf.clear();
  return nullptr;
}

bool Ersetzen(const std::string& entwurf, const std::string& ziel, std::string& grund) {
  if (std::rename(entwurf.c_str(), ziel.c_str()) == 0) return true;
  grund = std::strerror(errno);
  return false;
}

void Entfernen(const std::string& entwurf) { unlink(entwurf.c_str()); }

std::string Ordner_Pruefen(const std::string& ordner) {
  struct stat s;
  if (stat(ordner.c_str(), &s) != 0) return std::strerror(errno);
  if (!S_ISDIR(s.st_mode)) return std::strerror(ENOTDIR);
  return access(ordner.c_str(), W_OK | X_OK) == 0 ? "" : std::strerror(errno);
}

#endif

}  // namespace

std::string Datei_Beginnen(const std::string& pfad, Datei_Vorgang& v) {
  v = Datei_Vorgang{};
  const Ziel z = Ziel_Finden(pfad);
  if (!z.grund.empty()) return z.grund;
  std::string grund;
  v.ziel = z.pfad;
  v.pDatei = z.bDirekt ? Direkt_Oeffnen(z.pfad, grund) : Entwurf_Anlegen(z.pfad, v.entwurf, grund);
  return v.pDatei ? "" : grund;
}

std::string Datei_Beenden(Datei_Vorgang& v, bool bGut, int nFehler) {
  if (!v.pDatei) return "the file was never opened";
  if (std::fflush(v.pDatei) != 0 || std::ferror(v.pDatei)) {
    if (bGut) nFehler = errno;
    bGut = false;
  }
  if (std::fclose(v.pDatei) != 0 && bGut) {
    bGut = false;
    nFehler = errno;
  }
  v.pDatei = nullptr;
  std::string grund = bGut ? "" : nFehler ? std::strerror(nFehler) : "its content could not be made";
  if (bGut && !v.entwurf.empty() && !Ersetzen(v.entwurf, v.ziel, grund)) bGut = false;
  if (!bGut && !v.entwurf.empty()) Entfernen(v.entwurf);
  v.entwurf.clear();
  return bGut ? "" : grund;
}

std::string Datei_Ganz_Schreiben(const std::string& pfad,
                                 const std::function<bool(std::FILE*)>& schreiben) {
  Datei_Vorgang v;
  const std::string grund = Datei_Beginnen(pfad, v);
  if (!grund.empty()) return grund;
  errno = 0;
  bool bGut = false;
  try {
    bGut = schreiben(v.pDatei);
  } catch (...) {
    Datei_Beenden(v, false, 0);
    throw;
  }
  return Datei_Beenden(v, bGut, errno);
}

std::string Datei_Pruefen(const std::string& pfad) {
  const Ziel z = Ziel_Finden(pfad);
  if (!z.grund.empty() || z.bDirekt) return z.grund;
  return Ordner_Pruefen(Ordner_Von(z.pfad));
}
