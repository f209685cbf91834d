#pragma once
// A record of the calls a software device received, for tests: start a
// recording, let the code under test run, then read the calls in order.
// Every device records into the same list while a recording runs.
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

// Empties the record and starts recording.
void Aufzeichnung_Starten();
// Stops recording; the record stays readable.
void Aufzeichnung_Beenden();
bool Aufzeichnung_Laeuft();
// The calls recorded since the last start, oldest first.
const std::vector<Aufruf>& Aufzeichnung();
// Appends one call while a recording runs (the devices call this).
void Aufzeichnen(Aufruf aufruf);
// The same for a call whose arguments are at most a type, a value and a stage.
void Aufzeichnen(Aufruf_Art Art, HRESULT hErgebnis, DWORD nTyp = 0, DWORD nWert = 0,
                 DWORD nStufe = 0);

}  // namespace ersatz
