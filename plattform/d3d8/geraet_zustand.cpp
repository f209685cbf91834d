// The device's state calls: render and texture-stage states, transforms,
// material, lights and Clear.
#include <algorithm>
#include <cmath>
#include <new>

#include "plattform/d3d8/beobachter.h"
#include "plattform/d3d8/geraet.h"
#include "plattform/fehler/fehler.h"

namespace ersatz {
namespace {

constexpr DWORD nLetzterRenderState = 173;   // D3DRS_NORMALORDER
constexpr DWORD nLetzterStufenzustand = 28;  // D3DTSS_RESULTARG
constexpr DWORD nStufen = 8;

void Melden(const Aufruf& a) {
  if (Aufrufe_Beobachtet()) Aufruf_Melden(a);
}

Aufruf Neuer_Aufruf(Aufruf_Art Art, HRESULT hr, DWORD nTyp = 0, DWORD nWert = 0) {
  Aufruf a;
  a.Art = Art;
  a.hErgebnis = hr;
  a.nTyp = nTyp;
  a.nWert = nWert;
  return a;
}

bool Transform_Gueltig(DWORD t) {
  return t == D3DTS_VIEW || t == D3DTS_PROJECTION || (t >= D3DTS_TEXTURE0 && t < 24) ||
         (t >= 256 && t < 512);
}

// A point or spot light's range must be usable as a distance.
bool Licht_Gueltig(const D3DLIGHT8& l) {
  if (l.Type < D3DLIGHT_POINT || l.Type > D3DLIGHT_DIRECTIONAL) return false;
  if (l.Type == D3DLIGHT_DIRECTIONAL) return true;
  return l.Range >= 0.0f && l.Range <= std::sqrt(3.402823466e38f);
}

// A light that is enabled before it was set: white, shining along +z.
D3DLIGHT8 Vorgabelicht() {
  D3DLIGHT8 l{};
  l.Type = D3DLIGHT_DIRECTIONAL;
  l.Diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
  l.Direction = {0.0f, 0.0f, 1.0f};
  return l;
}

}  // namespace

HRESULT Geraet::SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) {
  HRESULT hr = D3D_OK;
  if (Fehler("SetRenderState") || State == 0 || State > nLetzterRenderState) {
    hr = D3DERR_INVALIDCALL;
  } else if (RenderStates[State] != Value) {
    RenderStates[State] = Value;
    bRechnerVeraltet = true;
  }
  Aufruf_Melden(Aufruf_Art::SetRenderState, hr, State, Value);
  return hr;
}

HRESULT Geraet::SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD Value) {
  HRESULT hr = D3D_OK;
  if (Stage >= nStufen || Type == 0 || Type > nLetzterStufenzustand) {
    hr = D3DERR_INVALIDCALL;
  } else if (Stufen[Stage][Type] != Value) {
    Stufen[Stage][Type] = Value;
    bRechnerVeraltet = true;
  }
  Aufruf_Melden(Aufruf_Art::SetTextureStageState, hr, Type, Value, Stage);
  return hr;
}

HRESULT Geraet::SetTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix) {
  HRESULT hr = D3D_OK;
  if (pMatrix == nullptr || !Transform_Gueltig(State)) {
    hr = D3DERR_INVALIDCALL;
  } else if (State == D3DTS_VIEW) {
    Sicht = *pMatrix;
  } else if (State == D3DTS_PROJECTION) {
    Projektion = *pMatrix;
  } else if (State == D3DTS_WORLD) {
    Welt = *pMatrix;
  }
  bRechnerVeraltet = true;
  Aufruf a = Neuer_Aufruf(Aufruf_Art::SetTransform, hr, State);
  if (pMatrix != nullptr) a.Matrix = *pMatrix;
  Melden(a);
  return hr;
}

HRESULT Geraet::SetMaterial(const D3DMATERIAL8* pMaterial) {
  const HRESULT hr = pMaterial == nullptr ? D3DERR_INVALIDCALL : D3D_OK;
  Aufruf a = Neuer_Aufruf(Aufruf_Art::SetMaterial, hr);
  if (pMaterial != nullptr) {
    Material = *pMaterial;
    a.Material = *pMaterial;
    bRechnerVeraltet = true;
  }
  Melden(a);
  return hr;
}

HRESULT Geraet::SetLight(DWORD Index, const D3DLIGHT8* pLight) {
  HRESULT hr = D3D_OK;
  if (Fehler("SetLight") || pLight == nullptr || !Licht_Gueltig(*pLight)) {
    hr = D3DERR_INVALIDCALL;
  } else {
    try {
      Lichter[Index].Licht = *pLight;
      bRechnerVeraltet = true;
    } catch (const std::bad_alloc&) {
      hr = E_OUTOFMEMORY;
    }
  }
  Aufruf a = Neuer_Aufruf(Aufruf_Art::SetLight, hr, Index);
  if (pLight != nullptr) a.Licht = *pLight;
  Melden(a);
  return hr;
}

HRESULT Geraet::LightEnable(DWORD Index, BOOL Enable) {
  HRESULT hr = D3DERR_INVALIDCALL;
  if (!Fehler("LightEnable")) {
    try {
      auto [it, bNeu] = Lichter.try_emplace(Index);
      if (bNeu) it->second.Licht = Vorgabelicht();
      it->second.bAn = Enable != FALSE;
      bRechnerVeraltet = true;
      hr = D3D_OK;
    } catch (const std::bad_alloc&) {
      hr = E_OUTOFMEMORY;
    }
  }
  Aufruf_Melden(Aufruf_Art::LightEnable, hr, Index, static_cast<DWORD>(Enable));
  return hr;
}

// Fills target and/or depth buffer, whole or in the given rectangles
// (clipped to the buffer). Colour channels keep their top bits.
HRESULT Geraet::Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z,
                      DWORD Stencil) {
  const DWORD nBekannt = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL;
  const bool bGueltig =
      Flags != 0 && (Flags & ~nBekannt) == 0 && !((Flags & D3DCLEAR_ZBUFFER) && Tiefe.empty()) &&
      !(Flags & D3DCLEAR_STENCIL) && !(Count > 0 && pRects == nullptr) && Z >= 0.0f && Z <= 1.0f;
  const HRESULT hr = bGueltig ? D3D_OK : D3DERR_INVALIDCALL;
  if (bGueltig) {
    const Ziel ziel = Zeichenziel();
    const std::uint32_t nPixel = Pixel_Packen(ziel.Format, (Color >> 16) & 0xFF,
                                              (Color >> 8) & 0xFF, Color & 0xFF, Color >> 24);
    const auto nTiefe = static_cast<std::uint16_t>(std::lround(Z * 65535.0f));
    const DWORD nRechtecke = pRects == nullptr ? 1 : Count;
    for (DWORD i = 0; i < nRechtecke; ++i) {
      const D3DRECT r = pRects == nullptr ? D3DRECT{0, 0, ziel.nBreite, ziel.nHoehe} : pRects[i];
      const int x1 = std::max<LONG>(r.x1, 0), y1 = std::max<LONG>(r.y1, 0);
      const int x2 = std::min<LONG>(r.x2, ziel.nBreite), y2 = std::min<LONG>(r.y2, ziel.nHoehe);
      if (x1 >= x2 || y1 >= y2) continue;
      if (Flags & D3DCLEAR_TARGET) Farbe_Fuellen(ziel, x1, y1, x2, y2, nPixel);
      if (Flags & D3DCLEAR_ZBUFFER) Tiefe_Fuellen(ziel, x1, y1, x2, y2, nTiefe);
    }
  }
  Aufruf a = Neuer_Aufruf(Aufruf_Art::Clear, hr, 0, Flags);
  a.nAnzahl = Count;
  a.Farbe = Color;
  a.fZ = Z;
  a.nStencil = Stencil;
  Melden(a);
  return hr;
}

}  // namespace ersatz
