#pragma once
// The software surface behind IDirect3DSurface8: a block of pixels in one
// of the 16- or 32-bit colour formats. Reference counted; it stays usable
// for as long as someone holds a reference, also after its device is gone.
#include <cstdint>
#include <vector>

#include "plattform/d3d8/d3d8.h"

namespace ersatz {

// Bytes per pixel of a colour format the surface can hold, 0 for others.
UINT Pixelgroesse(D3DFORMAT Format);

// QueryInterface of the stand-in's objects: hands out pObjekt, AddRef'd,
// for IUnknown and for the object's own interface Eigene.
HRESULT Schnittstelle_Abfragen(IUnknown* pObjekt, const GUID& Eigene, REFIID riid,
                               void** ppvObject);

class Flaeche final : public IDirect3DSurface8 {
 public:
  // bSperrbar: whether LockRect may hand out the pixels.
  Flaeche(UINT nBreite, UINT nHoehe, D3DFORMAT Format, bool bSperrbar);
  Flaeche(const Flaeche&) = delete;
  Flaeche& operator=(const Flaeche&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetDesc(D3DSURFACE_DESC* pDesc) override;
  HRESULT STDMETHODCALLTYPE LockRect(D3DLOCKED_RECT* pLockedRect, const RECT* pRect,
                                     DWORD Flags) override;
  HRESULT STDMETHODCALLTYPE UnlockRect() override;

  std::uint8_t* Bits() { return Speicher.data(); }
  int Pitch() const { return nPitch; }
  UINT Breite() const { return nBreite; }
  UINT Hoehe() const { return nHoehe; }
  D3DFORMAT Format() const { return FormatWert; }
  ULONG Referenzen() const { return nReferenzen; }

 private:
  ~Flaeche() = default;

  ULONG nReferenzen = 1;
  UINT nBreite;
  UINT nHoehe;
  D3DFORMAT FormatWert;
  bool bSperrbar;
  bool bGesperrt = false;
  int nPitch;
  std::vector<std::uint8_t> Speicher;
};

}  // namespace ersatz
