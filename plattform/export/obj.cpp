// Wavefront OBJ: positions, normals and triangles in glTF's convention
// (right-handed, Y up, counter-clockwise front faces), as most programs
// that read OBJ expect, and beside it the material file with the values of
// the material the frame was drawn with.
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "plattform/datei/datei.h"
#include "plattform/export/export.h"
#include "plattform/fehler/fehler.h"

namespace ersatz {
namespace {

void Farbe(std::FILE* f, const char* szName, const D3DCOLORVALUE& c) {
  std::fprintf(f, "%s %.6g %.6g %.6g\n", szName, std::clamp(c.r, 0.0f, 1.0f),
               std::clamp(c.g, 0.0f, 1.0f), std::clamp(c.b, 0.0f, 1.0f));
}

// The device draws the tree opaque, whatever the diffuse alpha (the
// program leaves it 0), so the dissolve is 1 as the glTF's alpha is;
// illumination model 2 only with a specular colour to highlight.
bool Mtl_In_Datei(std::FILE* f, const D3DMATERIAL8& m) {
  std::fputs("# borkwerk: the material the tree was drawn with\nnewmtl Rinde\n", f);
  Farbe(f, "Ka", m.Ambient);
  Farbe(f, "Kd", m.Diffuse);
  Farbe(f, "Ks", m.Specular);
  Farbe(f, "Ke", m.Emissive);
  const bool bGlanz = m.Specular.r > 0 || m.Specular.g > 0 || m.Specular.b > 0;
  std::fprintf(f, "Ns %.6g\nd 1\nillum %d\n", std::clamp(m.Power, 0.0f, 1000.0f), bGlanz ? 2 : 1);
  return !std::ferror(f);
}

bool Obj_In_Datei(std::FILE* f, const Netz& netz, const std::string& mtl) {
  std::fputs("# borkwerk:", f);
  if (netz.nSaat) std::fprintf(f, " seed %lu,", static_cast<unsigned long>(*netz.nSaat));
  std::fprintf(f, " frame %u, %zu vertices, %zu triangles\nmtllib %s\no Baum\nusemtl Rinde\n",
               netz.nBild, netz.Zeichnung.size(), netz.Dreiecke.size() / 3, mtl.c_str());
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

// The material file first: an OBJ is never left naming one that was not
// written.
bool Obj_Schreiben(const std::string& pfad, const Netz& netz, std::string& fehler) {
  const std::string mtl = Export_Materialdatei(pfad);
  std::string grund =
      Datei_Ganz_Schreiben(mtl, [&](std::FILE* f) { return Mtl_In_Datei(f, netz.Material); });
  if (!grund.empty()) {
    fehler = "cannot write " + Lesbar(mtl) + ": " + grund;
    return false;
  }
  const std::string name = std::filesystem::path(mtl).filename().string();
  grund = Datei_Ganz_Schreiben(pfad, [&](std::FILE* f) { return Obj_In_Datei(f, netz, name); });
  if (!grund.empty()) fehler = "cannot write " + Lesbar(pfad) + ": " + grund;
  return grund.empty();
}

}  // namespace ersatz
