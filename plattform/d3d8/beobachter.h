#pragma once
// Observers of the software devices: each sees every draw call a device
// carried out and every frame it presented, and changes nothing. The
// front-ends (the picture on the screen), the captures, the exporter and
// the record of calls (aufzeichnung.h) are observers; a picture leaves a
// device only this way. Without an observer a device pays one test per
// call.
#include <vector>

#include "plattform/d3d8/d3d8.h"

namespace ersatz {

enum class Aufruf_Art {
  SetRenderState,
  SetTextureStageState,
  SetTransform,
  SetMaterial,
  SetLight,
  LightEnable,
  Clear,
  BeginScene,
  EndScene,
  SetVertexShader,
  DrawIndexedPrimitiveUP,
  LockRect,
  UnlockRect,
  Present,
  TestCooperativeLevel,
  Reset,
};

// One vertex a draw call's indices name: its pool index, position and normal.
struct Aufruf_Ecke {
  UINT nIndex = 0;
  D3DVECTOR Position{};
  D3DVECTOR Normale{};
};

// The arguments of a DrawIndexedPrimitiveUP call. Ecken has one entry per
// entry of Indizes (the vertex that index names), empty when the vertex
// memory was null or the vertex format has no normal (then Normale is 0).
struct Aufruf_Zeichnen {
  D3DPRIMITIVETYPE Typ = D3DPT_TRIANGLELIST;
  UINT nMinIndex = 0;
  UINT nAnzahlEcken = 0;
  UINT nPrimitive = 0;
  D3DFORMAT IndexFormat = D3DFMT_UNKNOWN;
  UINT nStride = 0;
  std::vector<UINT> Indizes;
  std::vector<Aufruf_Ecke> Ecken;
};

// One call and its result. Which fields carry arguments depends on Art:
//   SetRenderState        nTyp = state, nWert = value
//   SetTextureStageState  nStufe = stage, nTyp = type, nWert = value
//   SetTransform          nTyp = transform type, Matrix
//   SetMaterial           Material
//   SetLight              nTyp = light index, Licht
//   LightEnable           nTyp = light index, nWert = enable flag
//   Clear                 nWert = flags, nAnzahl = rectangle count,
//                         Farbe, fZ, nStencil
//   SetVertexShader       nWert = handle (the vertex format)
//   DrawIndexedPrimitiveUP  Zeichnen
//   LockRect              nWert = flags, bRechteck = a rectangle was given
//   BeginScene, EndScene, UnlockRect, Present, TestCooperativeLevel, Reset:
//                         no arguments
// A null pointer argument leaves its field zero.
struct Aufruf {
  Aufruf_Art Art = Aufruf_Art::Present;
  HRESULT hErgebnis = D3D_OK;
  DWORD nTyp = 0;
  DWORD nStufe = 0;
  DWORD nWert = 0;
  DWORD nAnzahl = 0;
  D3DCOLOR Farbe = 0;
  float fZ = 0.0f;
  DWORD nStencil = 0;
  bool bRechteck = false;
  D3DMATRIX Matrix{};
  D3DMATERIAL8 Material{};
  D3DLIGHT8 Licht{};
  Aufruf_Zeichnen Zeichnen;
};

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

// Each kind of observer overrides what it watches.
class Geraete_Beobachter {
 public:
  virtual ~Geraete_Beobachter() = default;
  // Whether it wants every call (Aufgerufen); building a call's record
  // costs, so the devices do it only then.
  virtual bool Jeder_Aufruf() const { return false; }
  // A call of a device or surface, with its arguments and result.
  virtual void Aufgerufen(const Aufruf&) {}
  // A draw call the device carried out.
  virtual void Gezeichnet(const Beobachtete_Zeichnung&) {}
  // A Present, after it counted the frame: null when the device was lost
  // and the frame is gone.
  virtual void Praesentiert(const Praesentiertes_Bild*) {}
};

void Beobachter_Anmelden(Geraete_Beobachter* pBeobachter);
void Beobachter_Abmelden(Geraete_Beobachter* pBeobachter);

// An observer that watches from its making to its end (of frames and draw
// calls: one that wants every call registers itself).
class Angemeldeter_Beobachter : public Geraete_Beobachter {
 public:
  Angemeldeter_Beobachter(const Angemeldeter_Beobachter&) = delete;
  Angemeldeter_Beobachter& operator=(const Angemeldeter_Beobachter&) = delete;

 protected:
  Angemeldeter_Beobachter() { Beobachter_Anmelden(this); }
  ~Angemeldeter_Beobachter() override { Beobachter_Abmelden(this); }
};

// The devices and surfaces report here.
bool Beobachter_Da();
bool Aufrufe_Beobachtet();
void Aufruf_Melden(const Aufruf& aufruf);
// The same for a call whose arguments are at most a type, a value and a stage.
void Aufruf_Melden(Aufruf_Art Art, HRESULT hErgebnis, DWORD nTyp = 0, DWORD nWert = 0,
                   DWORD nStufe = 0);
void Beobachter_Zeichnung(const Beobachtete_Zeichnung& zeichnung);
void Beobachter_Praesentiert(const Praesentiertes_Bild* pBild);

}  // namespace ersatz
