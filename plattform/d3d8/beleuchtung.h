#pragma once
// The transform-and-light stage of the fixed-function pipeline: turns one
// vertex of the caller's vertex memory into a clip-space position and a
// final colour. Row vectors, left-handed: clip = v · World · View · Proj;
// lighting runs in view space.
#include <cstdint>
#include <vector>

#include "plattform/d3d8/d3d8.h"
#include "plattform/d3d8/raster/raster.h"

namespace ersatz {

// Where a flexible vertex format keeps its parts (byte offsets, -1 absent).
struct Eckenformat {
  int nNormale = -1;
  int nDiffus = -1;
  int nSpekular = -1;
  UINT nGroesse = 0;
};

// Reads a vertex format code with an untransformed position (D3DFVF_XYZ);
// false for a code this device cannot draw.
bool Eckenformat_Lesen(DWORD nFvf, Eckenformat& format);

// Everything the stage reads from the device.
struct Eckenrechner_Eingaben {
  const D3DMATRIX* pWelt = nullptr;
  const D3DMATRIX* pSicht = nullptr;
  const D3DMATRIX* pProjektion = nullptr;
  const D3DMATERIAL8* pMaterial = nullptr;
  std::vector<D3DLIGHT8> Lichter;        // the enabled lights
  const DWORD* pRenderStates = nullptr;  // indexed by D3DRENDERSTATETYPE
  const DWORD* pStufe0 = nullptr;        // stage 0, indexed by type
  Eckenformat Format;
};

class Eckenrechner {
 public:
  // Precomputes matrices, light vectors and colour terms from the state.
  void Einrichten(const Eckenrechner_Eingaben& eingaben);
  // Transforms and lights the vertex at pEcke (laid out as the format)
  // into e.
  void Berechnen(const std::uint8_t* pEcke, Ecke& e) const;
  // Room for n vertices to be noted, made before the first is noted, so
  // noting never allocates (nor fails half way).
  void Platz_Fuer(std::size_t n) { Vorgemerkt.reserve(n); }
  // Notes vertex index i for the next Alle_Berechnen.
  void Vormerken(std::uint32_t i) { Vorgemerkt.push_back(i); }
  // Berechnen and Eckpunkt_Vorbereiten for the vertex at pEcken + i·nStride
  // into pZiel[i], for each noted i, then forgets them. Four side by side
  // where the state allows: a call's vertices are independent, and one at
  // a time the work is one long chain of dependent operations.
  void Alle_Berechnen(const std::uint8_t* pEcken, UINT nStride, const Ziel& ziel, Eckpunkt* pZiel);

  struct Farbe {
    float r, g, b, a;
  };
  struct Lichtquelle {
    D3DLIGHTTYPE Typ;
    Farbe Diffus, Ambient;
    float Richtung[3];  // towards the light, view space, unit length
    float Position[3];  // view space
    float fReichweite, fAtt0, fAtt1, fAtt2;
    float fCosTheta, fCosPhi, fFalloff;
  };

 private:
  Farbe Beleuchten(const std::uint8_t* pEcke, const float p[3]) const;
  Farbe Stufe0(const Farbe& diffus, const Farbe& spekular) const;
  void Vier_Berechnen(const std::uint8_t* const* pEcke, Vier* k) const;

  Eckenformat Format;
  float WeltSicht[4][4];
  float Gesamt[4][4];
  float Normalen[3][3];
  bool bLicht = false;
  bool bNormieren = false;
  bool bEckenfarben = false;
  bool bNurRichtungen = true;  // every light directional: no view-space position needed
  DWORD Quelle[4];             // diffuse, ambient, specular, emissive material source
  Farbe Material[4];
  Farbe Grundlicht{};
  std::vector<Lichtquelle> Lichter;
  DWORD Farbstufe[3];       // stage 0 colour operation, argument 1, argument 2
  DWORD Alphastufe[3];      // the same for alpha
  bool bFarbeDurch = true;  // stage 0 passes the lit colour unchanged
  bool bAlphaFest = false;  // stage 0 alpha reads no vertex colour: fAlpha
  float fAlpha = 1.0f;
  bool bMaterialFest = true;  // no vertex colour replaces a material colour
  Farbe Faktor{};
  // Only directional lights, fixed material, a normal, and a stage 0
  // that passes the colour and fixes alpha: vertices differ only by
  // position and N·L, which Vier_Berechnen works out four at a time.
  bool bVierfach = false;
  Farbe Umgebung{};  // the ambient sum over all lights
  float fAlphaFest = 1.0f;
  std::vector<std::uint32_t> Vorgemerkt;
};

}  // namespace ersatz
