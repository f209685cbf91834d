// Wavefront OBJ: positions, normals and triangles in glTF's convention
// (right-handed, Y up, counter-clockwise front faces), as most programs
// that read OBJ expect.
#include <cstdio>

#include "plattform/datei/datei.h"
#include "plattform/export/export.h"
#include "plattform/fehler/fehler.h"

namespace ersatz {
namespace {

bool Obj_In_Datei(std::FILE* f, const Netz& netz) {
  std::fprintf(f, "# borkwerk: %zu vertices, %zu triangles\no Baum\n", netz.Zeichnung.size(),
               netz.Dreiecke.size() / 3);
  // %.9g keeps every float exactly.
  for (std::size_t i = 0; i < netz.Positionen.size(); i += 3)
    std::fprintf(f, "v %.9g %.9g %.9g\n", netz.Positionen[i], netz.Positionen[i + 1],
                 netz.Positionen[i + 2]);
  for (std::size_t i = 0; i < netz.Normalen.size(); i += 3)
    std::fprintf(f, "vn %.9g %.9g %.9g\n", netz.Normalen[i], netz.Normalen[i + 1],
                 netz.Normalen[i + 2]);
  for (std::size_t i = 0; i < netz.Dreiecke.size(); i += 3) {
    const unsigned long a = netz.Dreiecke[i] + 1ul, b = netz.Dreiecke[i + 1] + 1ul,
                        c = netz.Dreiecke[i + 2] + 1ul;
    std::fprintf(f, "f %lu//%lu %lu//%lu %lu//%lu\n", a, a, b, b, c, c);
  }
  return !std::ferror(f);
}

}  // namespace

bool Obj_Schreiben(const std::string& pfad, const Netz& netz, std::string& fehler) {
  const std::string grund =
      Datei_Ganz_Schreiben(pfad, [&](std::FILE* f) { return Obj_In_Datei(f, netz); });
  if (!grund.empty()) fehler = "cannot write " + Lesbar(pfad) + ": " + grund;
  return grund.empty();
}

}  // namespace ersatz
