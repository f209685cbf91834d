// Fuzzes the text renderer: random texts, pens, baselines and colours on
// surfaces from 1 x 1 up, in each back-buffer format. Each surface's pixels
// are a block of exactly its size, so a write outside it is caught by the
// address sanitizer.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "zweid/zweid.h"

namespace {

class Flaeche final : public IDirect3DSurface8 {
 public:
  Flaeche(UINT nB, UINT nH, D3DFORMAT f)
      : nBreite(nB), nHoehe(nH), Format(f),
        Pixel(std::size_t(nB) * nH * (f == D3DFMT_X8R8G8B8 ? 4 : 2)) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetDesc(D3DSURFACE_DESC* p) override {
    *p = D3DSURFACE_DESC{};
    p->Format = Format;
    p->Width = nBreite;
    p->Height = nHoehe;
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE LockRect(D3DLOCKED_RECT* p, const RECT*, DWORD) override {
    p->Pitch = static_cast<INT>(Pixel.size() / nHoehe);
    p->pBits = Pixel.data();
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE UnlockRect() override { return D3D_OK; }

 private:
  UINT nBreite, nHoehe;
  D3DFORMAT Format;
  std::vector<std::uint8_t> Pixel;
};

template <typename T>
T Nehmen(const std::uint8_t*& p, std::size_t& n) {
  T wert{};
  const std::size_t k = n < sizeof(T) ? n : sizeof(T);
  std::memcpy(&wert, p, k);
  p += k;
  n -= k;
  return wert;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pDaten, std::size_t nGroesse) {
  const auto nB = 1 + Nehmen<std::uint16_t>(pDaten, nGroesse) % 1200;
  const auto nH = 1 + Nehmen<std::uint16_t>(pDaten, nGroesse) % 900;
  const D3DFORMAT Formate[] = {D3DFMT_R5G6B5, D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5, D3DFMT_X8R8G8B8};
  const D3DFORMAT f = Formate[Nehmen<std::uint8_t>(pDaten, nGroesse) % 4];
  const int x = Nehmen<std::int16_t>(pDaten, nGroesse);
  const int y = Nehmen<std::int16_t>(pDaten, nGroesse);
  const int r = Nehmen<std::int16_t>(pDaten, nGroesse), g = Nehmen<std::int16_t>(pDaten, nGroesse),
            b = Nehmen<std::int16_t>(pDaten, nGroesse);
  const std::string text(reinterpret_cast<const char*>(pDaten), nGroesse);
  Flaeche flaeche(nB, nH, f);
  M_T(x, y, r, g, b, &flaeche, text.c_str());
  return 0;
}
