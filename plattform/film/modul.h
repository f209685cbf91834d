#pragma once
// Between the film's loader (laden.cpp, in the program) and its module
// (borkwerk-film.so: film.cpp and kodierer.cpp, with FFmpeg's libraries):
// the module's one exported symbol hands the loader these entries, each
// as film.h describes its namesake. The module calls back into the
// program's own pieces (the devices' observers, the file writer).
#include <string>

namespace ersatz {

struct Film_Modul {
  bool (*Name_Pruefen)(const std::string& pfad, std::string& fehler);
  void (*Einrichten)(const std::string& pfad, unsigned long nErwartet, bool bFortschritt);
  bool (*Abschliessen)(std::string& fehler);
};

}  // namespace ersatz

#define BORKWERK_FILM_EINTRITT "borkwerk_film_modul"
extern "C" const ersatz::Film_Modul* borkwerk_film_modul();
