#include "plattform/d3d8/flaeche.h"

#include "plattform/d3d8/beobachter.h"
#include "plattform/d3d8/raster/raster.h"
#include "plattform/fehler/fehler.h"

const IID IID_IDirect3DSurface8 = {
    0xB96EEBCA, 0xB326, 0x4EA5, {0x88, 0x2F, 0x2F, 0xF5, 0xBA, 0xE0, 0x21, 0xDD}};

namespace ersatz {
namespace {

// A lock rectangle must lie inside the surface and cover at least a pixel.
bool Rechteck_Gueltig(const RECT& r, UINT nBreite, UINT nHoehe) {
  return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom &&
         r.right <= static_cast<LONG>(nBreite) && r.bottom <= static_cast<LONG>(nHoehe);
}

void Sperre_Melden(HRESULT hr, const RECT* pRect, DWORD Flags) {
  if (!Aufrufe_Beobachtet()) return;
  Aufruf a;
  a.Art = Aufruf_Art::LockRect;
  a.hErgebnis = hr;
  a.nWert = Flags;
  a.bRechteck = pRect != nullptr;
  Aufruf_Melden(a);
}

}  // namespace

UINT Pixelgroesse(D3DFORMAT Format) {
  switch (Format) {
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
      return 2;
    case D3DFMT_X8R8G8B8:
    case D3DFMT_A8R8G8B8:
      return 4;
    default:
      return 0;
  }
}

Flaeche::Flaeche(UINT nBreite_, UINT nHoehe_, D3DFORMAT Format_, bool bSperrbar_)
    : nBreite(nBreite_),
      nHoehe(nHoehe_),
      FormatWert(Format_),
      bSperrbar(bSperrbar_),
      nPitch(static_cast<int>(nBreite_ * Pixelgroesse(Format_))),
      Speicher(static_cast<size_t>(nPitch) * nHoehe_ + nFuellerRand * sizeof(std::uint32_t)) {}

HRESULT Flaeche::GetDesc(D3DSURFACE_DESC* pDesc) {
  if (pDesc == nullptr) return D3DERR_INVALIDCALL;
  *pDesc = D3DSURFACE_DESC{};
  pDesc->Format = FormatWert;
  pDesc->Type = D3DRTYPE_SURFACE;
  pDesc->Usage = D3DUSAGE_RENDERTARGET;
  pDesc->Pool = D3DPOOL_DEFAULT;
  pDesc->Size = static_cast<UINT>(nPitch) * nHoehe;
  pDesc->MultiSampleType = D3DMULTISAMPLE_NONE;
  pDesc->Width = nBreite;
  pDesc->Height = nHoehe;
  return D3D_OK;
}

// Hands out the address of the whole surface or of one rectangle in it and
// the row pitch in bytes. A surface is locked at most once at a time.
HRESULT Flaeche::LockRect(D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags) {
  HRESULT hr = D3D_OK;
  if (Fehler("LockRect") || pLockedRect == nullptr || !bSperrbar || bGesperrt ||
      (pRect != nullptr && !Rechteck_Gueltig(*pRect, nBreite, nHoehe))) {
    hr = D3DERR_INVALIDCALL;
  } else {
    const size_t nVersatz = pRect == nullptr ? 0
                                             : static_cast<size_t>(pRect->top) * nPitch +
                                                   pRect->left * Pixelgroesse(FormatWert);
    pLockedRect->pBits = Speicher.data() + nVersatz;
    pLockedRect->Pitch = nPitch;
    bGesperrt = true;
  }
  Sperre_Melden(hr, pRect, Flags);
  return hr;
}

HRESULT Flaeche::UnlockRect() {
  const HRESULT hr = bGesperrt ? D3D_OK : D3DERR_INVALIDCALL;
  bGesperrt = false;
  Aufruf_Melden(Aufruf_Art::UnlockRect, hr);
  return hr;
}

}  // namespace ersatz
