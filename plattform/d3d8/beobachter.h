#pragma once
// Observers of the software devices: each sees every draw call a device
// carried out and every frame it presented, and changes nothing. The
// exporter is one. Without an observer a device pays one test per call.
#include "plattform/d3d8/d3d8.h"

namespace ersatz {

// A draw call as the device received it; the pointers are the caller's and
// valid only during the call. nNormale is the normal's byte offset in a
// vertex, -1 when the format has none. Welt is the world transform the
// call was drawn with (Direct3D: left-handed, row vectors), Material the
// material it was lit with.
struct Beobachtete_Zeichnung {
  D3DPRIMITIVETYPE Typ;
  UINT nMin;
  UINT nAnzahl;
  UINT nPrimitive;
  const void* pIndizes;
  D3DFORMAT IndexFormat;
  const void* pEcken;
  UINT nStride;
  int nNormale;
  const D3DMATRIX& Welt;
  const D3DMATERIAL8& Material;
};

// The back buffer a Present showed.
struct Praesentiertes_Bild {
  const void* pBits;
  int nPitch;
  UINT nBreite;
  UINT nHoehe;
  D3DFORMAT Format;
};

class Geraete_Beobachter {
 public:
  virtual ~Geraete_Beobachter() = default;
  // Observers of whole frames only (the captures) leave this as it is.
  virtual void Gezeichnet(const Beobachtete_Zeichnung&) {}
  // A Present, after it counted the frame: null when the device was lost
  // and the frame is gone.
  virtual void Praesentiert(const Praesentiertes_Bild* pBild) = 0;
};

void Beobachter_Anmelden(Geraete_Beobachter* pBeobachter);
void Beobachter_Abmelden(Geraete_Beobachter* pBeobachter);

// The devices report here.
bool Beobachter_Da();
void Beobachter_Zeichnung(const Beobachtete_Zeichnung& zeichnung);
void Beobachter_Praesentiert(const Praesentiertes_Bild* pBild);

}  // namespace ersatz
