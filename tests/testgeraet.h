#pragma once
// The stand-in's software device as tests and benchmarks make it: a
// lockable back buffer with a D16 depth buffer, 1152 x 864 R5G6B5 unless
// said otherwise; and, for tests, a small one with its back buffer at hand.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "plattform/d3d8/farben.h"
#include "plattform/plattform.h"

inline D3DPRESENT_PARAMETERS Testparameter(UINT nBreite = 1152, UINT nHoehe = 864,
                                           D3DFORMAT Format = D3DFMT_R5G6B5) {
  D3DPRESENT_PARAMETERS p = {};
  p.BackBufferWidth = nBreite;
  p.BackBufferHeight = nHoehe;
  p.BackBufferFormat = Format;
  p.BackBufferCount = 1;
  p.SwapEffect = D3DSWAPEFFECT_FLIP;
  p.EnableAutoDepthStencil = TRUE;
  p.AutoDepthStencilFormat = D3DFMT_D16;
  p.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
  return p;
}

// Null when the device cannot be made.
inline IDirect3DDevice8* Software_Geraet(UINT nBreite = 1152, UINT nHoehe = 864,
                                         D3DFORMAT Format = D3DFMT_R5G6B5) {
  IDirect3DDevice8* pGeraet = nullptr;
  ersatz::Geraet_Erzeugen(Testparameter(nBreite, nHoehe, Format), nullptr, &pGeraet);
  return pGeraet;
}

constexpr DWORD nFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;  // 0x112, 32 bytes

struct Vtx {
  float x, y, z, nx, ny, nz, u, v;
};

inline Vtx Punkt(float x, float y, float z, float nx = 0, float ny = 0, float nz = -1) {
  return {x, y, z, nx, ny, nz, 0, 0};
}

// A device with its back buffer at hand. With the default identity
// transforms a vertex (x, y) lands on pixel ((x + 1)·W/2, (1 − y)·H/2).
class Testgeraet {
 public:
  explicit Testgeraet(UINT w = 64, UINT h = 64, D3DFORMAT f = D3DFMT_R5G6B5) : nB(w), nH(h) {
    EXPECT_EQ(ersatz::Geraet_Erzeugen(Testparameter(w, h, f), nullptr, &p), D3D_OK);
    EXPECT_EQ(p->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &pFlaeche), D3D_OK);
    EXPECT_EQ(p->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3D_OK);
    EXPECT_EQ(p->SetVertexShader(nFvf), D3D_OK);
  }
  ~Testgeraet() {
    pFlaeche->Release();
    p->Release();
  }
  Testgeraet(const Testgeraet&) = delete;
  Testgeraet& operator=(const Testgeraet&) = delete;

  // Screen pixel (px, py) as a vertex position at depth z.
  Vtx Bild(float px, float py, float z = 0.5f) const {
    return Punkt(px * 2.0f / nB - 1.0f, 1.0f - py * 2.0f / nH, z);
  }
  HRESULT Zeichnen(const std::vector<Vtx>& v, const std::vector<WORD>& i) {
    EXPECT_EQ(p->BeginScene(), D3D_OK);
    const HRESULT hr =
        p->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, UINT(v.size()), UINT(i.size() / 3),
                                  i.data(), D3DFMT_INDEX16, v.data(), sizeof(Vtx));
    EXPECT_EQ(p->EndScene(), D3D_OK);
    return hr;
  }
  HRESULT Dreieck(const Vtx& a, const Vtx& b, const Vtx& c) {
    return Zeichnen({a, b, c}, {0, 1, 2});
  }
  std::uint32_t Pixel(int x, int y) {
    D3DLOCKED_RECT r;
    EXPECT_EQ(pFlaeche->LockRect(&r, nullptr, 0), D3D_OK);
    D3DSURFACE_DESC d;
    pFlaeche->GetDesc(&d);
    const auto* z = static_cast<const std::uint8_t*>(r.pBits) + y * r.Pitch;
    const std::uint32_t w = d.Format == D3DFMT_X8R8G8B8
                                ? reinterpret_cast<const std::uint32_t*>(z)[x]
                                : reinterpret_cast<const std::uint16_t*>(z)[x];
    pFlaeche->UnlockRect();
    return w;
  }
  // Every pixel, row by row.
  std::vector<std::uint32_t> Abbild() {
    const auto rgb = Rgb();
    std::vector<std::uint32_t> w(rgb.size() / 3);
    for (size_t i = 0; i < w.size(); ++i)
      w[i] = (rgb[3 * i] << 16) | (rgb[3 * i + 1] << 8) | rgb[3 * i + 2];
    return w;
  }
  int Gezeichnet(std::uint32_t nHintergrund = 0) {
    int n = 0;
    for (UINT y = 0; y < nH; ++y)
      for (UINT x = 0; x < nB; ++x) n += Pixel(int(x), int(y)) != nHintergrund;
    return n;
  }
  std::vector<std::uint8_t> Rgb() {
    D3DLOCKED_RECT r;
    EXPECT_EQ(pFlaeche->LockRect(&r, nullptr, D3DLOCK_READONLY), D3D_OK);
    D3DSURFACE_DESC d;
    pFlaeche->GetDesc(&d);
    auto rgb = ersatz::Rgb_Aus_Puffer(r.pBits, r.Pitch, d.Width, d.Height, d.Format);
    pFlaeche->UnlockRect();
    return rgb;
  }

  IDirect3DDevice8* p = nullptr;
  IDirect3DSurface8* pFlaeche = nullptr;
  UINT nB, nH;
};
