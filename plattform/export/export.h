#pragma once
// The exporter: an observer of the devices that keeps the triangles of the
// last presented frame, and on request the growth that led to them, and
// writes them as glTF binary (.glb) or Wavefront OBJ when the run ends.
//   bild.cpp        one frame's triangles and vertices as the device got them
//   wachstum.cpp    frames kept since the tree's birth, thinned to a budget
//   netz.cpp        a frame as a mesh in glTF's convention, and each kept
//                   frame's vertex positions on that mesh
//   gltf.cpp        .glb files, their JSON through tinygltf
//   obj.cpp         .obj files and their material files (.mtl)
//   export.cpp      the observer and the launcher's --export, --export-growth
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "plattform/d3d8/beobachter.h"

namespace ersatz {

// A draw call's arguments as given (Roh: its index memory) and its
// triangles: Dreiecke holds the call's own vertex numbers, three a
// triangle, in the device's winding; Indizes the caller's index of each
// such vertex. Consecutive frames' calls with the same arguments share one.
struct Zeichnung_Listen {
  D3DPRIMITIVETYPE Typ = D3DPT_TRIANGLELIST;
  UINT nMin = 0, nAnzahl = 0, nPrimitive = 0;
  D3DFORMAT IndexFormat = D3DFMT_INDEX16;
  std::vector<std::uint8_t> Roh;
  std::vector<std::uint32_t> Dreiecke;
  std::vector<std::uint32_t> Indizes;
};

// One draw call as the frame drew it: its own copy of each vertex its
// triangles named, as the vertex was at the call (the caller may move a
// vertex between two calls of a frame), in the frame's lists from nAnfang
// on. pIndexQuelle, the caller's index memory, tells a call from frame to
// frame while the caller keeps it; a vertex of one call and one of another
// are the same vertex of the caller's memory when pEcken and their Indizes
// are equal.
struct Bild_Zeichnung {
  const void* pIndexQuelle = nullptr;
  const void* pEcken = nullptr;
  D3DMATRIX Welt{};
  std::shared_ptr<const Zeichnung_Listen> Listen;
  std::uint32_t nAnfang = 0;
};

// What one frame drew: its calls, and their vertices as the caller gave
// them (model space, for each call's Welt). Aufnehmen is called for each
// draw call of the frame.
struct Bild {
  std::vector<Bild_Zeichnung> Zeichnungen;
  std::vector<D3DVECTOR> Positionen;
  std::vector<D3DVECTOR> Normalen;
  D3DMATERIAL8 Material{};
  unsigned nNummer = 0;  // frames presented before it

  // Empties the frame, keeping its memory for the next one.
  void Beginnen(unsigned nNummerNeu);
  void Aufnehmen(const Beobachtete_Zeichnung& z, const Bild* pVorher);

 private:
  const Bild_Zeichnung* Vorher_Finden(const std::vector<Bild_Zeichnung>& vorher,
                                      const void* pQuelle);
  std::ptrdiff_t nVersatz = 0;
};

// A frame as one mesh in glTF's convention: right-handed, Y up, metres
// (the program's units), counter-clockwise front faces. Its vertices are
// the frame's, in the same order; Zeichnung says which call drew each.
struct Netz {
  std::vector<float> Positionen;  // x, y, z per vertex
  std::vector<float> Normalen;    // unit length
  std::vector<std::uint32_t> Dreiecke;
  std::vector<std::uint32_t> Zeichnung;
  D3DMATERIAL8 Material{};
  unsigned nBild = 0;                  // the frame's number
  std::optional<std::uint32_t> nSaat;  // the run's seed, when the launcher told it
};

Netz Netz_Aus_Bild(const Bild& bild);

// The mesh without the triangles that have no area (the device draws them
// as lines or points) and without the vertices only they used; herkunft
// gets, for each vertex of the result, its number in netz.
Netz Netz_Verdichten(const Netz& netz, std::vector<std::uint32_t>& herkunft);

// The move that stands the mesh's base on the origin: up by its lowest y,
// and across by the middle (x, z) of its vertices within a millimetre of
// that height.
std::array<float, 3> Basis_Versatz(const Netz& netz);
// Moves nEcken vertices (x, y, z each, at pPositionen) by versatz.
void Verschieben(float* pPositionen, std::size_t nEcken, const std::array<float, 3>& versatz);

// A kept frame of the growth: its calls (shared with the frame kept
// before when they are the same) and its vertices' positions.
struct Probe {
  unsigned nNummer = 0;
  std::shared_ptr<const std::vector<Bild_Zeichnung>> Zeichnungen;
  std::vector<D3DVECTOR> Positionen;
};

// The growth: frames since the tree's birth (or its last regrow), each
// kept only when the geometry changed. A frame whose triangles do not
// continue the last one's (every draw call of the last frame drawn again)
// is a new tree and starts over.
class Wachstum {
 public:
  void Bild_Nehmen(const Bild& bild);
  const std::vector<Probe>& Proben() const { return proben; }

 private:
  std::vector<Probe> proben;
};

// The samples' positions of the mesh's vertices (x, y, z a vertex, into
// pAus): a vertex its call drew then is where it was; one whose triangle
// slot then held another vertex takes that vertex's place (a branch's tip
// before the fork that replaced it); one not yet born sits on a placed
// neighbour, so its triangles have no area until its call draws it.
class Wachstum_Platzierung {
 public:
  Wachstum_Platzierung(const Netz& netz, const Bild& ende, const std::vector<const Probe*>& proben);
  void Im_Bild(std::size_t nProbe, float* pAus);

 private:
  void Gezeichnete(std::size_t nProbe, float* pAus);
  void Vertretene(std::size_t nProbe, float* pAus);
  void Ungeborene(float* pAus);
  void Anker_Finden();

  const Netz& netz;
  const Bild& ende;
  const std::vector<const Probe*>& proben;
  // Each sample's call for each of the last frame's calls, or null.
  std::vector<std::vector<const Bild_Zeichnung*>> damals;
  // Each vertex's neighbours, Anfang[v] to Anfang[v + 1] in Liste: the
  // other corners of its triangles, and the vertices that are the same
  // vertex of the caller's memory drawn by other calls.
  std::vector<std::uint32_t> Anfang;
  std::vector<std::uint32_t> Liste;
  // The first sample that drew each vertex's call; the vertices in the
  // order of that and, within it, breadth first from the earlier ones, each
  // with the neighbour it was reached from (Anker).
  std::vector<std::size_t> Geburt;
  std::vector<std::uint32_t> Reihe;
  std::vector<std::int64_t> Anker;
  std::vector<std::uint8_t> bBekannt;
};

// Which of the kept frames (by their numbers) become samples: evenly
// spread in time, the first and the last always, as many as a growth file
// of a mesh of nEcken vertices and nDreiecke triangles holds in nBudget
// bytes.
std::vector<std::size_t> Proben_Waehlen(const std::vector<unsigned>& nummern, std::size_t nEcken,
                                        std::size_t nDreiecke, std::size_t nBudget);

// The files; false with a message naming the cause. Each file is written
// whole under another name first and renamed once complete.
bool Glb_Schreiben(const std::string& pfad, const Netz& netz, std::string& fehler);
bool Obj_Schreiben(const std::string& pfad, const Netz& netz, std::string& fehler);
// The growth at 25 frames a second: positionen(k, pAus) gives the mesh's
// vertices at frame nummern[k], the last being the mesh's own; the
// animation ends at frame nBis.
bool Wachstum_Glb_Schreiben(const std::string& pfad, const Netz& netz,
                            const std::function<void(std::size_t, float*)>& positionen,
                            const std::vector<unsigned>& nummern, unsigned nBis,
                            std::string& fehler);

// How the files place the tree and what they say of the run. Base: the
// tree's base at the origin, standing on the ground plane (y = 0), the
// growth's every sample moved as its last frame is; program: the program's
// world as it is. The seed is written into the glTF files and the OBJ.
enum class Export_Ursprung { Basis, Programm };
struct Export_Angaben {
  Export_Ursprung Ursprung = Export_Ursprung::Basis;
  std::optional<std::uint32_t> nSaat;
};
// Set by the launcher before the run (default: base, no seed).
void Export_Einstellen(const Export_Angaben& angaben);

// The material file an OBJ export writes beside it (the same name ending
// in .mtl); empty for any other file.
std::string Export_Materialdatei(const std::string& pfad);

// The launcher: what to write at the end; watching starts here.
bool Export_Einrichten(const std::string& datei, const std::string& wachstumDatei,
                       std::string& fehler);
// Writes the files; false with each failure named, "; " between them.
bool Export_Abschliessen(std::string& fehler);

// Watching without files at the end, for a front-end that asks for them
// while the run goes on (the web page's downloads); bWachstum: the growth is
// kept too.
void Export_Beobachten(bool bWachstum);
// Writes the tree as the last presented frame drew it (bWachstum: its
// growth) to pfad now; false with a message naming the cause.
bool Export_Schreiben(const std::string& pfad, bool bWachstum, std::string& fehler);

}  // namespace ersatz
