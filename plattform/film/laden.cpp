// The film's loader. FFmpeg's libraries and theirs are many and large, so
// the program loads them, with the film's module, only for a run that
// writes a film: every other run starts as fast, and in as little memory,
// as without them.
#include <dlfcn.h>
#include <unistd.h>

#include "plattform/fehler/fehler.h"
#include "plattform/film/film.h"
#include "plattform/film/modul.h"

namespace ersatz {
namespace {

const Film_Modul* pModul = nullptr;

// The folder the program's file is in.
std::string Programmordner() {
  char sz[4096];
  const ssize_t n = readlink("/proc/self/exe", sz, sizeof sz);
  if (n <= 0 || n == ssize_t(sizeof sz)) return ".";
  const std::string pfad(sz, std::size_t(n));
  return pfad.substr(0, pfad.rfind('/'));
}

// Beside the program (in a build), or where the package puts it: in
// lib/borkwerk beside the program's folder.
bool Modul_Laden(std::string& fehler) {
  if (pModul) return true;
  const std::string ordner = Programmordner();
  for (const std::string& pfad :
       {ordner + "/borkwerk-film.so", ordner + "/../lib/borkwerk/borkwerk-film.so"}) {
    if (access(pfad.c_str(), F_OK) != 0) continue;
    void* pBibliothek = dlopen(pfad.c_str(), RTLD_LAZY | RTLD_LOCAL);
    void* pEintritt = pBibliothek ? dlsym(pBibliothek, BORKWERK_FILM_EINTRITT) : nullptr;
    if (!pEintritt) {
      fehler = "--film cannot load " + Lesbar(pfad) + ": " + Lesbar(dlerror());
      return false;
    }
    pModul = reinterpret_cast<decltype(&borkwerk_film_modul)>(pEintritt)();
    return true;
  }
  fehler = "--film needs borkwerk-film.so, which is not installed with the program";
  return false;
}

}  // namespace

bool Film_Name_Pruefen(const std::string& pfad, std::string& fehler) {
  return Modul_Laden(fehler) && pModul->Name_Pruefen(pfad, fehler);
}

void Film_Einrichten(const std::string& pfad, unsigned long nErwartet, bool bFortschritt) {
  std::string fehler;
  if (Modul_Laden(fehler)) pModul->Einrichten(pfad, nErwartet, bFortschritt);
}

bool Film_Abschliessen(std::string& fehler) {
  fehler.clear();
  return !pModul || pModul->Abschliessen(fehler);
}

}  // namespace ersatz
