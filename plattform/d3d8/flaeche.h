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

class Flaeche final : public Com<IDirect3DSurface8, IID_IDirect3DSurface8> {
 public:
  // bSperrbar: whether LockRect may hand out the pixels.
  Flaeche(UINT nBreite, UINT nHoehe, D3DFORMAT Format, bool bSperrbar);
  Flaeche(const Flaeche&) = delete;
  Flaeche& operator=(const Flaeche&) = delete;

  HRESULT STDMETHODCALLTYPE GetDesc(D3DSURFACE_DESC* pDesc) override;
  HRESULT STDMETHODCALLTYPE LockRect(D3DLOCKED_RECT* pLockedRect, const RECT* pRect,
                                     DWORD Flags) override;
  HRESULT STDMETHODCALLTYPE UnlockRect() override;

  std::uint8_t* Bits() { return Speicher.data(); }
  int Pitch() const { return nPitch; }
  UINT Breite() const { return nBreite; }
  UINT Hoehe() const { return nHoehe; }
  D3DFORMAT Format() const { return FormatWert; }

 private:
  ~Flaeche() override = default;

  UINT nBreite;
  UINT nHoehe;
  D3DFORMAT FormatWert;
  bool bSperrbar;
  bool bGesperrt = false;
  int nPitch;
  std::vector<std::uint8_t> Speicher;
};

}  // namespace ersatz
