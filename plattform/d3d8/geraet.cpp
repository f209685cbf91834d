#include "plattform/d3d8/geraet.h"

#include <cstring>
#include <new>

#include "plattform/d3d8/beobachter.h"
#include "plattform/fehler/fehler.h"
#include "plattform/win32/ereignisse.h"

const IID IID_IDirect3DDevice8 = {
    0x7385E5DF, 0x8FE8, 0x41D5, {0x86, 0xB6, 0xD7, 0xB4, 0x85, 0x47, 0xB6, 0xCF}};

namespace ersatz {
namespace {

constexpr DWORD nStufen = 8;

D3DMATRIX Einheit() {
  D3DMATRIX m{};
  m._11 = m._22 = m._33 = m._44 = 1.0f;
  return m;
}

void RenderStates_Vorbelegen(DWORD* s, bool bTiefenpuffer) {
  std::memset(s, 0, 256 * sizeof(DWORD));
  s[D3DRS_ZENABLE] = bTiefenpuffer ? D3DZB_TRUE : D3DZB_FALSE;
  s[D3DRS_FILLMODE] = D3DFILL_SOLID;
  s[D3DRS_SHADEMODE] = D3DSHADE_GOURAUD;
  s[D3DRS_ZWRITEENABLE] = TRUE;
  s[D3DRS_LASTPIXEL] = TRUE;
  s[D3DRS_SRCBLEND] = 2;   // D3DBLEND_ONE
  s[D3DRS_DESTBLEND] = 1;  // D3DBLEND_ZERO
  s[D3DRS_CULLMODE] = D3DCULL_CCW;
  s[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
  s[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
  s[58] = s[59] = 0xFFFFFFFF;  // stencil masks
  s[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFF;
  s[D3DRS_CLIPPING] = TRUE;
  s[D3DRS_LIGHTING] = TRUE;
  s[D3DRS_COLORVERTEX] = TRUE;
  s[D3DRS_LOCALVIEWER] = TRUE;
  s[D3DRS_DIFFUSEMATERIALSOURCE] = 1;   // D3DMCS_COLOR1
  s[D3DRS_SPECULARMATERIALSOURCE] = 2;  // D3DMCS_COLOR2
  s[D3DRS_COLORWRITEENABLE] = 0xF;
}

void Stufen_Vorbelegen(DWORD (*s)[29]) {
  std::memset(s, 0, nStufen * 29 * sizeof(DWORD));
  for (DWORD i = 0; i < nStufen; ++i) {
    s[i][D3DTSS_COLOROP] = i == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
    s[i][D3DTSS_ALPHAOP] = i == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
    s[i][D3DTSS_COLORARG1] = s[i][D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
    s[i][D3DTSS_COLORARG2] = s[i][D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
    s[i][D3DTSS_TEXCOORDINDEX] = i;
    s[i][D3DTSS_ADDRESSU] = s[i][D3DTSS_ADDRESSV] = 1;  // D3DTADDRESS_WRAP
    s[i][D3DTSS_MAGFILTER] = s[i][D3DTSS_MINFILTER] = D3DTEXF_POINT;
  }
}

}  // namespace

Geraet::Geraet(Flaeche* pRueckpuffer_, bool bTiefenpuffer, bool bVollbild_) {
  Vorbelegen(pRueckpuffer_, bTiefenpuffer, bVollbild_);
}

Geraet::~Geraet() { pRueckpuffer->Release(); }

// Everything a new or reset device starts with: the given back buffer, a
// cleared depth buffer and every state at its default. The depth buffer is
// made first, so running out of memory (std::bad_alloc) changes nothing.
void Geraet::Vorbelegen(Flaeche* pNeuerRueckpuffer, bool bTiefenpuffer, bool bVollbild_) {
  std::vector<std::uint16_t> neueTiefe;
  if (bTiefenpuffer) {
    neueTiefe.assign(static_cast<size_t>(pNeuerRueckpuffer->Breite()) * pNeuerRueckpuffer->Hoehe() +
                         nFuellerRand,
                     0xFFFF);
  }
  if (pRueckpuffer) pRueckpuffer->Release();
  pRueckpuffer = pNeuerRueckpuffer;
  bVollbild = bVollbild_;
  bVerloren = false;
  nVerlusteGesehen = Bildschirmverluste();
  Tiefe.swap(neueTiefe);
  RenderStates_Vorbelegen(RenderStates, bTiefenpuffer);
  Stufen_Vorbelegen(Stufen);
  Welt = Sicht = Projektion = Einheit();
  Material = D3DMATERIAL8{};
  Lichter.clear();
  nShader = 0;
  Format = Eckenformat{};
  bSzene = false;
  bRechnerVeraltet = true;
}

// Whether the device is lost: a full-screen device is from the first loss
// of the screen it has not yet seen until it is reset; the fault DeviceLost
// loses it.
bool Geraet::Verloren() {
  if (Fehler("DeviceLost") || (bVollbild && nVerlusteGesehen != Bildschirmverluste()))
    bVerloren = true;
  nVerlusteGesehen = Bildschirmverluste();
  return bVerloren;
}

HRESULT Geraet::TestCooperativeLevel() {
  HRESULT hr = D3D_OK;
  if (Verloren())
    hr = Bildschirm() && !Fehler("DeviceLost") ? D3DERR_DEVICENOTRESET : D3DERR_DEVICELOST;
  Aufruf_Melden(Aufruf_Art::TestCooperativeLevel, hr);
  return hr;
}

// Gives the device a new back buffer and every state its default. As on the
// platform, no one may hold the old back buffer any more.
HRESULT Geraet::Reset(D3DPRESENT_PARAMETERS* p) {
  HRESULT hr = D3D_OK;
  if (p == nullptr || !Parameter_Gueltig(*p) || pRueckpuffer->Referenzen() > 1 || Fehler("Reset")) {
    hr = D3DERR_INVALIDCALL;
  } else if (!Bildschirm() || Fehler("DeviceLost")) {
    hr = D3DERR_DEVICELOST;
  } else {
    Flaeche* pNeu = nullptr;
    try {
      pNeu = Neuer_Rueckpuffer(*p);
      Vorbelegen(pNeu, p->EnableAutoDepthStencil != FALSE, !p->Windowed);
    } catch (const std::bad_alloc&) {
      if (pNeu) pNeu->Release();
      hr = E_OUTOFMEMORY;
    }
  }
  Aufruf_Melden(Aufruf_Art::Reset, hr);
  return hr;
}

// Shows the back buffer (a flip device takes no rectangles or regions): the
// frame counts, and the observers (the front-end among them) get the
// picture, or nothing when the device is lost.
HRESULT Geraet::Present(const RECT* pSourceRect, const RECT* pDestRect, HWND,
                        const RGNDATA* pDirtyRegion) {
  HRESULT hr = D3D_OK;
  if (pSourceRect != nullptr || pDestRect != nullptr || pDirtyRegion != nullptr) {
    hr = D3DERR_INVALIDCALL;
  } else {
    if (Verloren()) hr = D3DERR_DEVICELOST;
    Bild_Zaehlen();
    const Praesentiertes_Bild bild = {pRueckpuffer->Bits(), pRueckpuffer->Pitch(),
                                      pRueckpuffer->Breite(), pRueckpuffer->Hoehe(),
                                      pRueckpuffer->Format()};
    Beobachter_Praesentiert(hr == D3D_OK ? &bild : nullptr);
  }
  Aufruf_Melden(Aufruf_Art::Present, hr);
  return hr;
}

HRESULT Geraet::GetBackBuffer(UINT BackBuffer, D3DBACKBUFFER_TYPE, IDirect3DSurface8** pp) {
  if (pp == nullptr) return D3DERR_INVALIDCALL;
  if (BackBuffer != 0 || Fehler("GetBackBuffer")) {
    *pp = nullptr;
    return D3DERR_INVALIDCALL;
  }
  pRueckpuffer->AddRef();
  *pp = pRueckpuffer;
  return D3D_OK;
}

HRESULT Geraet::BeginScene() {
  const HRESULT hr = bSzene ? D3DERR_INVALIDCALL : D3D_OK;
  bSzene = true;
  Aufruf_Melden(Aufruf_Art::BeginScene, hr);
  return hr;
}

HRESULT Geraet::EndScene() {
  const HRESULT hr = bSzene ? D3D_OK : D3DERR_INVALIDCALL;
  bSzene = false;
  Aufruf_Melden(Aufruf_Art::EndScene, hr);
  return hr;
}

Ziel Geraet::Zeichenziel() {
  Ziel z;
  z.pFarbe = pRueckpuffer->Bits();
  z.nPitch = pRueckpuffer->Pitch();
  z.Format = pRueckpuffer->Format();
  z.pTiefe = Tiefe.empty() ? nullptr : Tiefe.data();
  z.nBreite = static_cast<int>(pRueckpuffer->Breite());
  z.nHoehe = static_cast<int>(pRueckpuffer->Hoehe());
  return z;
}

HRESULT Geraet::GetViewport(D3DVIEWPORT8* pViewport) {
  if (Fehler("GetViewport") || pViewport == nullptr) return D3DERR_INVALIDCALL;
  pViewport->X = 0;
  pViewport->Y = 0;
  pViewport->Width = pRueckpuffer->Breite();
  pViewport->Height = pRueckpuffer->Hoehe();
  pViewport->MinZ = 0.0f;
  pViewport->MaxZ = 1.0f;
  return D3D_OK;
}

}  // namespace ersatz

namespace ersatz {

// What the software device can make: a back buffer in one of the supported
// 16/32-bit formats and, when asked for, a D16 depth buffer.
bool Parameter_Gueltig(const D3DPRESENT_PARAMETERS& p) {
  const bool bFormatGut =
      p.BackBufferFormat == D3DFMT_R5G6B5 || p.BackBufferFormat == D3DFMT_X1R5G5B5 ||
      p.BackBufferFormat == D3DFMT_A1R5G5B5 || p.BackBufferFormat == D3DFMT_X8R8G8B8;
  const bool bTiefeGut = !p.EnableAutoDepthStencil || p.AutoDepthStencilFormat == D3DFMT_D16 ||
                         p.AutoDepthStencilFormat == D3DFMT_D16_LOCKABLE;
  return bFormatGut && bTiefeGut && p.BackBufferWidth != 0 && p.BackBufferHeight != 0 &&
         p.BackBufferWidth <= 16384 && p.BackBufferHeight <= 16384 && p.BackBufferCount <= 1;
}

Flaeche* Neuer_Rueckpuffer(const D3DPRESENT_PARAMETERS& p) {
  return new Flaeche(p.BackBufferWidth, p.BackBufferHeight, p.BackBufferFormat,
                     (p.Flags & D3DPRESENTFLAG_LOCKABLE_BACKBUFFER) != 0);
}

// Creates the software device for CreateDevice; E_OUTOFMEMORY when its
// buffers do not fit.
HRESULT Geraet_Erzeugen(const D3DPRESENT_PARAMETERS& p, HWND, IDirect3DDevice8** ppGeraet) {
  if (ppGeraet == nullptr) return D3DERR_INVALIDCALL;
  *ppGeraet = nullptr;
  if (!Parameter_Gueltig(p)) return D3DERR_INVALIDCALL;
  Flaeche* pRueckpuffer = nullptr;
  try {
    pRueckpuffer = Neuer_Rueckpuffer(p);
    *ppGeraet = new Geraet(pRueckpuffer, p.EnableAutoDepthStencil != FALSE, !p.Windowed);
  } catch (const std::bad_alloc&) {
    if (pRueckpuffer) pRueckpuffer->Release();
    return E_OUTOFMEMORY;
  }
  return D3D_OK;
}

}  // namespace ersatz
