// The software Direct3D 8 device: its calls and result codes, and the
// pictures its fixed-function pipeline draws.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "plattform/aufnahme/aufnahme.h"
#include "plattform/d3d8/aufzeichnung.h"
#include "plattform/d3d8/farben.h"
#include "plattform/d3d8/raster/raster.h"
#include "plattform/fehler/fehler.h"
#include "tests/testgeraet.h"
#include "tests/testhilfe.h"

namespace {

// The program's material and light: diffuse 1 / ambient 0.2, a white
// light of diffuse 8 and ambient 0.2, global ambient 0x202020.
void Programmlicht(IDirect3DDevice8* p, D3DVECTOR Richtung) {
  D3DMATERIAL8 m{};
  m.Diffuse = {1, 1, 1, 0};
  m.Ambient = {0.2f, 0.2f, 0.2f, 0};
  ASSERT_EQ(p->SetMaterial(&m), D3D_OK);
  D3DLIGHT8 l{};
  l.Type = D3DLIGHT_DIRECTIONAL;
  l.Diffuse = {8, 8, 8, 0};
  l.Ambient = {0.2f, 0.2f, 0.2f, 0};
  l.Direction = Richtung;
  ASSERT_EQ(p->SetLight(0, &l), D3D_OK);
  ASSERT_EQ(p->LightEnable(0, TRUE), D3D_OK);
  ASSERT_EQ(p->SetRenderState(D3DRS_LIGHTING, TRUE), D3D_OK);
  ASSERT_EQ(p->SetRenderState(D3DRS_AMBIENT, 0x00202020), D3D_OK);
}

TEST(Farben, SechzehnBitWerdenDurchBitwiederholungBreiter) {
  const std::uint16_t bild565[] = {0xF800, 0x07E0, 0x001F, 0x0841, 0xFFFF, 0x0000};
  const auto rgb = ersatz::Rgb_Aus_Puffer(bild565, 12, 6, 1, D3DFMT_R5G6B5);
  EXPECT_EQ(rgb, (std::vector<std::uint8_t>{255, 0, 0, 0, 255, 0, 0, 0, 255, 8, 8, 8, 255, 255, 255,
                                            0, 0, 0}));
  const std::uint16_t bild555[] = {0x7C00, 0x03E0, 0x8421};
  EXPECT_EQ(ersatz::Rgb_Aus_Puffer(bild555, 6, 3, 1, D3DFMT_X1R5G5B5),
            (std::vector<std::uint8_t>{255, 0, 0, 0, 255, 0, 8, 8, 8}));
  // Rows follow the pitch, not the width.
  const std::uint32_t bild888[] = {0x00102030, 0xdeadbeef, 0xff405060, 0xdeadbeef};
  EXPECT_EQ(ersatz::Rgb_Aus_Puffer(bild888, 8, 1, 2, D3DFMT_X8R8G8B8),
            (std::vector<std::uint8_t>{0x10, 0x20, 0x30, 0x40, 0x50, 0x60}));
}

// The canvas's RGBA is the RGB with an opaque alpha, in every format, and
// a format after another (a new table) gives its own colours.
TEST(Farben, RgbaWieRgbMitDeckendemAlpha) {
  const std::uint16_t bild565[] = {0xF800, 0x0841, 0x001F};
  const std::uint16_t bild555[] = {0x7C00, 0x8421, 0x001F};
  const std::uint32_t bild888[] = {0x00102030, 0xff405060, 0x00000000};
  const struct {
    const void* pBits;
    int nPitch;
    D3DFORMAT Format;
  } faelle[] = {{bild565, 6, D3DFMT_R5G6B5},
                {bild555, 6, D3DFMT_X1R5G5B5},
                {bild565, 6, D3DFMT_R5G6B5},
                {bild888, 12, D3DFMT_X8R8G8B8}};
  for (const auto& f : faelle) {
    const auto rgb = ersatz::Rgb_Aus_Puffer(f.pBits, f.nPitch, 3, 1, f.Format);
    std::vector<std::uint8_t> rgba(12, 0);
    ersatz::Farben_Aus_Puffer(f.pBits, f.nPitch, 3, 1, f.Format, rgba.data(), 4);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ((std::vector<std::uint8_t>(rgba.begin() + 4 * i, rgba.begin() + 4 * i + 3)),
                (std::vector<std::uint8_t>(rgb.begin() + 3 * i, rgb.begin() + 3 * i + 3)))
          << "format " << f.Format << " pixel " << i;
      EXPECT_EQ(rgba[4 * i + 3], 255);
    }
  }
  EXPECT_EQ(ersatz::Rgb_Aus_Puffer(bild555, 6, 3, 1, D3DFMT_X1R5G5B5)[0], 255);
  EXPECT_EQ(ersatz::Rgb_Aus_Puffer(bild565, 6, 3, 1, D3DFMT_R5G6B5)[3], 8);
}

}  // namespace

// ---------------------------------------------------------------- device

TEST(RasterGeraet, ErzeugenPrueftFormateUndGroessen) {
  IDirect3DDevice8* p = reinterpret_cast<IDirect3DDevice8*>(1);
  EXPECT_EQ(ersatz::Geraet_Erzeugen(Testparameter(64, 64, D3DFMT_A4R4G4B4), nullptr, &p),
            D3DERR_INVALIDCALL);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(ersatz::Geraet_Erzeugen(Testparameter(0, 64, D3DFMT_R5G6B5), nullptr, &p),
            D3DERR_INVALIDCALL);
  auto d24 = Testparameter(64, 64, D3DFMT_R5G6B5);
  d24.AutoDepthStencilFormat = D3DFMT_D24S8;
  EXPECT_EQ(ersatz::Geraet_Erzeugen(d24, nullptr, &p), D3DERR_INVALIDCALL);
  for (D3DFORMAT f : {D3DFMT_R5G6B5, D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5, D3DFMT_X8R8G8B8}) {
    ASSERT_EQ(ersatz::Geraet_Erzeugen(Testparameter(40, 30, f), nullptr, &p), D3D_OK);
    IDirect3DSurface8* s = nullptr;
    ASSERT_EQ(p->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &s), D3D_OK);
    D3DSURFACE_DESC d;
    ASSERT_EQ(s->GetDesc(&d), D3D_OK);
    EXPECT_EQ(d.Format, f);
    EXPECT_EQ(d.Width, 40u);
    EXPECT_EQ(d.Height, 30u);
    D3DLOCKED_RECT r;
    ASSERT_EQ(s->LockRect(&r, nullptr, 0), D3D_OK);
    EXPECT_EQ(r.Pitch, f == D3DFMT_X8R8G8B8 ? 160 : 80);
    s->UnlockRect();
    s->Release();
    EXPECT_EQ(p->Release(), 0u);
  }
}

TEST(RasterGeraet, ReferenzenHaltenDieFlaecheAmLeben) {
  IDirect3DDevice8* p = nullptr;
  ASSERT_EQ(ersatz::Geraet_Erzeugen(Testparameter(8, 4, D3DFMT_R5G6B5), nullptr, &p), D3D_OK);
  EXPECT_EQ(p->AddRef(), 2u);
  EXPECT_EQ(p->Release(), 1u);
  IDirect3DSurface8* s = nullptr;
  IDirect3DSurface8* s2 = nullptr;
  ASSERT_EQ(p->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &s), D3D_OK);
  ASSERT_EQ(p->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &s2), D3D_OK);
  EXPECT_EQ(s, s2);
  EXPECT_EQ(s2->Release(), 2u);  // one for s, one kept by the device
  EXPECT_EQ(p->GetBackBuffer(1, D3DBACKBUFFER_TYPE_MONO, &s2), D3DERR_INVALIDCALL);
  ASSERT_EQ(p->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0), D3D_OK);
  EXPECT_EQ(p->Release(), 0u);
  D3DLOCKED_RECT r;
  ASSERT_EQ(s->LockRect(&r, nullptr, 0), D3D_OK);  // still usable without its device
  EXPECT_EQ(static_cast<std::uint16_t*>(r.pBits)[31], 0xFFFF);
  EXPECT_EQ(s->UnlockRect(), D3D_OK);
  void* pSchnitt = nullptr;
  const GUID unbekannt = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
  EXPECT_EQ(s->QueryInterface(unbekannt, &pSchnitt), E_NOINTERFACE);
  EXPECT_EQ(pSchnitt, nullptr);
  const GUID iunknown = {0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  EXPECT_EQ(s->QueryInterface(iunknown, &pSchnitt), S_OK);
  EXPECT_EQ(pSchnitt, static_cast<void*>(s));
  EXPECT_EQ(s->Release(), 1u);
  EXPECT_EQ(s->Release(), 0u);
}

// A full-screen device is lost by a focus loss: Present reports it (and the
// frame counts but is not shown) until a reset, which is refused while the
// focus is away or the old back buffer is held, and which gives every state
// its default. A windowed device keeps going.
TEST(RasterGeraet, VerlustUndReset) {
  Testgeraet g(64, 64);
  auto parameter = Testparameter(64, 64, D3DFMT_R5G6B5);
  auto fenster = parameter;
  fenster.Windowed = TRUE;
  IDirect3DDevice8* pFenster = nullptr;
  ASSERT_EQ(ersatz::Geraet_Erzeugen(fenster, nullptr, &pFenster), D3D_OK);
  EXPECT_EQ(g.p->TestCooperativeLevel(), D3D_OK);

  Fokus(false);
  Fokus(true);  // back before anyone looked: still lost
  Fokus(false);
  const unsigned nVorher = ersatz::Bildnummer();
  EXPECT_EQ(g.p->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
  EXPECT_EQ(ersatz::Bildnummer(), nVorher + 1) << "a lost frame still counts";
  EXPECT_EQ(pFenster->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
  EXPECT_EQ(g.p->TestCooperativeLevel(), D3DERR_DEVICELOST);
  Fokus(true);
  EXPECT_EQ(g.p->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
  EXPECT_EQ(g.p->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
  EXPECT_EQ(g.p->Reset(&parameter), D3DERR_INVALIDCALL) << "the old back buffer is still held";

  // Culling off: the counter-clockwise triangle shows. The reset forgets
  // that, and the vertex format and lighting too.
  const Vtx a = g.Bild(4, 4), b = g.Bild(60, 4), c = g.Bild(4, 60);
  g.p->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  g.p->SetRenderState(D3DRS_LIGHTING, FALSE);
  g.Dreieck(a, c, b);
  EXPECT_GT(g.Gezeichnet(), 0);
  g.pFlaeche->Release();
  ASSERT_TRUE(ersatz::Fehler_Setzen("Reset"));
  EXPECT_EQ(g.p->Reset(&parameter), D3DERR_INVALIDCALL);
  ersatz::Fehler_Loeschen();
  Fokus(false);
  EXPECT_EQ(g.p->Reset(&parameter), D3DERR_DEVICELOST) << "not while the focus is away";
  Fokus(true);
  ersatz::Aufzeichnung_Starten();
  EXPECT_EQ(g.p->Reset(&parameter), D3D_OK);
  ersatz::Aufzeichnung_Beenden();
  ASSERT_EQ(ersatz::Aufzeichnung().size(), 1u);
  EXPECT_EQ(ersatz::Aufzeichnung()[0].Art, ersatz::Aufruf_Art::Reset);
  ASSERT_EQ(g.p->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &g.pFlaeche), D3D_OK);
  EXPECT_EQ(g.Gezeichnet(), 0) << "a new back buffer";
  EXPECT_EQ(g.p->TestCooperativeLevel(), D3D_OK);
  EXPECT_EQ(g.p->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
  g.p->SetRenderState(D3DRS_LIGHTING, FALSE);
  EXPECT_EQ(g.Zeichnen({a, c, b}, {0, 1, 2}), D3DERR_INVALIDCALL) << "no vertex format";
  g.p->SetVertexShader(nFvf);
  g.Dreieck(a, c, b);
  EXPECT_EQ(g.Gezeichnet(), 0) << "counter-clockwise culling again";
  g.Dreieck(a, b, c);
  EXPECT_GT(g.Gezeichnet(), 0);

  ASSERT_TRUE(ersatz::Fehler_Setzen("DeviceLost"));
  EXPECT_EQ(pFenster->TestCooperativeLevel(), D3DERR_DEVICELOST) << "the fault loses any device";
  EXPECT_EQ(pFenster->Reset(&fenster), D3DERR_DEVICELOST);
  ersatz::Fehler_Loeschen();
  EXPECT_EQ(pFenster->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
  EXPECT_EQ(pFenster->Reset(&fenster), D3D_OK);
  pFenster->Release();
}

TEST(RasterGeraet, SperrenUndEntsperren) {
  Testgeraet g(16, 8);
  D3DLOCKED_RECT r, r2;
  ASSERT_EQ(g.pFlaeche->LockRect(&r, nullptr, 0), D3D_OK);
  EXPECT_EQ(r.Pitch, 32);
  EXPECT_EQ(g.pFlaeche->LockRect(&r2, nullptr, 0), D3DERR_INVALIDCALL);  // already locked
  EXPECT_EQ(g.pFlaeche->UnlockRect(), D3D_OK);
  EXPECT_EQ(g.pFlaeche->UnlockRect(), D3DERR_INVALIDCALL);
  const RECT teil = {2, 3, 5, 4};
  ASSERT_EQ(g.pFlaeche->LockRect(&r2, &teil, 0), D3D_OK);
  EXPECT_EQ(static_cast<std::uint8_t*>(r2.pBits) - static_cast<std::uint8_t*>(r.pBits),
            3 * 32 + 2 * 2);
  g.pFlaeche->UnlockRect();
  const RECT aussen = {0, 0, 17, 8};
  EXPECT_EQ(g.pFlaeche->LockRect(&r2, &aussen, 0), D3DERR_INVALIDCALL);
  EXPECT_EQ(g.pFlaeche->LockRect(nullptr, nullptr, 0), D3DERR_INVALIDCALL);

  auto p = Testparameter(8, 8, D3DFMT_R5G6B5);
  p.Flags = 0;
  IDirect3DDevice8* d = nullptr;
  ASSERT_EQ(ersatz::Geraet_Erzeugen(p, nullptr, &d), D3D_OK);
  IDirect3DSurface8* s = nullptr;
  d->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &s);
  EXPECT_EQ(s->LockRect(&r, nullptr, 0), D3DERR_INVALIDCALL);  // back buffer not lockable
  s->Release();
  d->Release();
}

TEST(RasterGeraet, ViewportIstDerGanzePuffer) {
  Testgeraet g(40, 24);
  D3DVIEWPORT8 v{};
  ASSERT_EQ(g.p->GetViewport(&v), D3D_OK);
  EXPECT_EQ(v.X, 0u);
  EXPECT_EQ(v.Y, 0u);
  EXPECT_EQ(v.Width, 40u);
  EXPECT_EQ(v.Height, 24u);
  EXPECT_EQ(v.MinZ, 0.0f);
  EXPECT_EQ(v.MaxZ, 1.0f);
  EXPECT_EQ(g.p->GetViewport(nullptr), D3DERR_INVALIDCALL);
}

TEST(RasterGeraet, FehlerhakenLassenAufrufeScheitern) {
  Testgeraet g(8, 8);
  D3DVIEWPORT8 v;
  D3DLIGHT8 l{};
  l.Type = D3DLIGHT_DIRECTIONAL;
  D3DLOCKED_RECT r;
  for (const char* name :
       {"GetViewport", "SetLight", "LightEnable", "SetRenderState", "LockRect"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(ersatz::Fehler_Setzen(name));
    const std::string n = name;
    EXPECT_EQ(g.p->GetViewport(&v), n == "GetViewport" ? D3DERR_INVALIDCALL : D3D_OK);
    EXPECT_EQ(g.p->SetLight(0, &l), n == "SetLight" ? D3DERR_INVALIDCALL : D3D_OK);
    EXPECT_EQ(g.p->LightEnable(0, TRUE), n == "LightEnable" ? D3DERR_INVALIDCALL : D3D_OK);
    EXPECT_EQ(g.p->SetRenderState(D3DRS_LIGHTING, TRUE),
              n == "SetRenderState" ? D3DERR_INVALIDCALL : D3D_OK);
    const HRESULT hr = g.pFlaeche->LockRect(&r, nullptr, 0);
    EXPECT_EQ(hr, n == "LockRect" ? D3DERR_INVALIDCALL : D3D_OK);
    if (hr == D3D_OK) g.pFlaeche->UnlockRect();
    ersatz::Fehler_Loeschen();
  }
}

TEST(RasterGeraet, ZustaendePruefenIhreArgumente) {
  Testgeraet g(8, 8);
  D3DMATRIX m{};
  EXPECT_EQ(g.p->SetTransform(D3DTS_VIEW, nullptr), D3DERR_INVALIDCALL);
  EXPECT_EQ(g.p->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(5), &m), D3DERR_INVALIDCALL);
  EXPECT_EQ(g.p->SetTransform(D3DTS_WORLD, &m), D3D_OK);
  EXPECT_EQ(g.p->SetMaterial(nullptr), D3DERR_INVALIDCALL);
  EXPECT_EQ(g.p->SetLight(0, nullptr), D3DERR_INVALIDCALL);
  D3DLIGHT8 l{};
  l.Type = static_cast<D3DLIGHTTYPE>(7);
  EXPECT_EQ(g.p->SetLight(0, &l), D3DERR_INVALIDCALL);
  l.Type = D3DLIGHT_POINT;
  l.Range = -1.0f;
  EXPECT_EQ(g.p->SetLight(0, &l), D3DERR_INVALIDCALL);
  EXPECT_EQ(g.p->LightEnable(99, TRUE), D3D_OK);  // a light never set gets default values
  EXPECT_EQ(g.p->SetRenderState(static_cast<D3DRENDERSTATETYPE>(0), 0), D3DERR_INVALIDCALL);
  EXPECT_EQ(g.p->SetRenderState(static_cast<D3DRENDERSTATETYPE>(400), 0), D3DERR_INVALIDCALL);
  EXPECT_EQ(g.p->SetTextureStageState(8, D3DTSS_COLOROP, D3DTOP_DISABLE), D3DERR_INVALIDCALL);
  EXPECT_EQ(g.p->SetTextureStageState(0, static_cast<D3DTEXTURESTAGESTATETYPE>(40), 0),
            D3DERR_INVALIDCALL);
  EXPECT_EQ(g.p->SetVertexShader(0x004), D3DERR_INVALIDCALL);  // pre-transformed vertices
  EXPECT_EQ(g.p->SetVertexShader(0x142), D3D_OK);              // position, diffuse, one texture
}

TEST(RasterGeraet, SzenenRegeln) {
  Testgeraet g(8, 8);
  g.p->SetRenderState(D3DRS_LIGHTING, FALSE);
  const Vtx v[3] = {g.Bild(0, 0), g.Bild(8, 0), g.Bild(0, 8)};
  const WORD i[3] = {0, 1, 2};
  auto zeichnen = [&](UINT nStride = sizeof(Vtx), D3DFORMAT f = D3DFMT_INDEX16,
                      D3DPRIMITIVETYPE t = D3DPT_TRIANGLELIST) {
    return g.p->DrawIndexedPrimitiveUP(t, 0, 3, 1, i, f, v, nStride);
  };
  EXPECT_EQ(zeichnen(), D3DERR_INVALIDCALL);  // outside a scene
  EXPECT_EQ(g.Gezeichnet(), 0);
  EXPECT_EQ(g.p->EndScene(), D3DERR_INVALIDCALL);
  ASSERT_EQ(g.p->BeginScene(), D3D_OK);
  EXPECT_EQ(g.p->BeginScene(), D3DERR_INVALIDCALL);
  EXPECT_EQ(zeichnen(16), D3DERR_INVALIDCALL);  // stride shorter than the vertex
  EXPECT_EQ(zeichnen(sizeof(Vtx), D3DFMT_R5G6B5), D3DERR_INVALIDCALL);
  EXPECT_EQ(zeichnen(sizeof(Vtx), D3DFMT_INDEX16, D3DPT_LINELIST), D3DERR_INVALIDCALL);
  EXPECT_EQ(g.p->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 3, 1, nullptr, D3DFMT_INDEX16, v,
                                        sizeof(Vtx)),
            D3DERR_INVALIDCALL);
  EXPECT_EQ(zeichnen(), D3D_OK);
  EXPECT_EQ(g.p->EndScene(), D3D_OK);
  EXPECT_GT(g.Gezeichnet(), 0);
  EXPECT_EQ(g.p->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
  const RECT r = {0, 0, 1, 1};
  EXPECT_EQ(g.p->Present(&r, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
}

TEST(RasterGeraet, LoeschenSetztFarbeUndTiefe) {
  Testgeraet g(8, 8);
  EXPECT_EQ(g.p->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0x18, 0x20, 0x0F), 1, 0), D3D_OK);
  EXPECT_EQ(g.Pixel(7, 7), (3u << 11) | (8u << 5) | 1u);  // top bits of each channel
  const D3DRECT teil[2] = {{1, 1, 3, 2}, {6, 6, 20, 20}};
  EXPECT_EQ(g.p->Clear(2, teil, D3DCLEAR_TARGET, 0xFFFFFFFF, 1, 0), D3D_OK);
  EXPECT_EQ(g.Pixel(1, 1), 0xFFFFu);
  EXPECT_EQ(g.Pixel(2, 1), 0xFFFFu);
  EXPECT_EQ(g.Pixel(3, 1), 0x1901u);
  EXPECT_EQ(g.Pixel(7, 7), 0xFFFFu);  // the second rectangle is clipped to the buffer
  EXPECT_EQ(g.Gezeichnet(0x1901), 2 + 4);
  EXPECT_EQ(g.p->Clear(1, nullptr, D3DCLEAR_TARGET, 0, 1, 0), D3DERR_INVALIDCALL);
  EXPECT_EQ(g.p->Clear(0, nullptr, 0, 0, 1, 0), D3DERR_INVALIDCALL);
  EXPECT_EQ(g.p->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1, 0), D3DERR_INVALIDCALL);  // D16 only
  EXPECT_EQ(g.p->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.5f, 0), D3DERR_INVALIDCALL);

  // Depth 0.5 hides what lies behind it and shows what lies in front.
  ASSERT_EQ(g.p->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 0.5f, 0), D3D_OK);
  g.p->SetRenderState(D3DRS_LIGHTING, FALSE);
  g.Dreieck(g.Bild(0, 0, 0.6f), g.Bild(8, 0, 0.6f), g.Bild(0, 8, 0.6f));
  EXPECT_EQ(g.Gezeichnet(), 0);
  g.Dreieck(g.Bild(0, 0, 0.4f), g.Bild(8, 0, 0.4f), g.Bild(0, 8, 0.4f));
  EXPECT_GT(g.Gezeichnet(), 0);

  auto p = Testparameter(8, 8, D3DFMT_X8R8G8B8);
  p.EnableAutoDepthStencil = FALSE;
  IDirect3DDevice8* d = nullptr;
  ASSERT_EQ(ersatz::Geraet_Erzeugen(p, nullptr, &d), D3D_OK);
  EXPECT_EQ(d->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1, 0), D3DERR_INVALIDCALL);
  EXPECT_EQ(d->Clear(0, nullptr, D3DCLEAR_TARGET, 0x80123456, 1, 0), D3D_OK);
  d->Release();
}

// Clears of whole rows fill them as one run, and 16-bit runs are filled in
// pairs from a 4-byte boundary: every pixel inside the rectangles changes
// and none outside, in 16- and 32-bit targets, for the whole buffer, a band
// of whole rows, and rows short of both sides that start off the boundary
// and hold an odd number of pixels.
TEST(RasterGeraet, LoeschenGrosserFlaechen) {
  for (D3DFORMAT f : {D3DFMT_R5G6B5, D3DFMT_X8R8G8B8}) {
    SCOPED_TRACE(f);
    Testgeraet g(1100, 40, f);
    ASSERT_EQ(g.p->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0x28, 0xC8, 0x28), 1, 0),
              D3D_OK);
    const D3DRECT r[2] = {{0, 5, 1100, 20}, {1, 25, 1098, 38}};
    ASSERT_EQ(g.p->Clear(2, r, D3DCLEAR_TARGET, 0xFFFFFFFF, 1, 0), D3D_OK);
    const auto bild = g.Abbild();
    const std::uint32_t nGruen = bild[0], nWeiss = bild[5 * 1100];
    EXPECT_NE(nGruen, nWeiss);
    int nFalsch = 0;
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 1100; ++x) {
        const bool bInnen = (y >= 5 && y < 20) || (y >= 25 && y < 38 && x >= 1 && x < 1098);
        nFalsch += bild[size_t(y) * 1100 + x] != (bInnen ? nWeiss : nGruen);
      }
    }
    EXPECT_EQ(nFalsch, 0);
  }
}

// ---------------------------------------------------------------- lighting

// A triangle over the whole 8x8 screen, all normals n, in the light of
// the program shining along d; returns the centre pixel.
std::uint32_t Beleuchtet(Testgeraet& g, D3DVECTOR n, D3DVECTOR d = {0, 0, 1}) {
  Programmlicht(g.p, d);
  Vtx a = g.Bild(-8, -8), b = g.Bild(24, -8), c = g.Bild(-8, 24);
  for (Vtx* v : {&a, &b, &c}) v->nx = n.x, v->ny = n.y, v->nz = n.z;
  EXPECT_EQ(g.Dreieck(a, b, c), D3D_OK);
  return g.Pixel(4, 4);
}

TEST(RasterLicht, DiffusUndUmgebungNachDerFormel) {
  // rgb = min(1, 0.2·(32/255 + 0.2) + 8·N·L) = min(1, 0.065098 + 8·N·L);
  // c8 = round(rgb·255); R5G6B5 keeps c8>>3, c8>>2, c8>>3.
  Testgeraet g(8, 8);
  EXPECT_EQ(Beleuchtet(g, {1, 0, 0}), 0x1082u);        // N·L = 0: c8 = 17 -> 2, 4, 2
  EXPECT_EQ(Beleuchtet(g, {0, 0, 1}), 0x1082u);        // facing away: clamped to 0
  EXPECT_EQ(Beleuchtet(g, {0, 0, -0.05f}), 0x73AEu);   // 0.465098: c8 = 119 -> 14, 29, 14
  EXPECT_EQ(Beleuchtet(g, {0, 0, -0.125f}), 0xFFFFu);  // saturates at N·L = 0.125
  EXPECT_EQ(Beleuchtet(g, {0, 0, -1}), 0xFFFFu);
  // An unnormalised normal counts with its length: N·L = 0.00625 -> 0.115098, c8 = 29.
  EXPECT_EQ(Beleuchtet(g, {0, 0, -0.00625f}), 0x18E3u);
  // N·L = 0.05 by direction, with the light turned: L = (0.05, 0, -0.99875).
  const float s = 0.05f, c = std::sqrt(1 - s * s);
  EXPECT_EQ(Beleuchtet(g, {1, 0, 0}, {-s, 0, c}), 0x73AEu);
  g.p->SetRenderState(D3DRS_NORMALIZENORMALS, TRUE);
  EXPECT_EQ(Beleuchtet(g, {0, 0, -0.00625f}), 0xFFFFu);
}

TEST(RasterLicht, NormalenFolgenDerInversTransponiertenWeltSicht) {
  Testgeraet g(8, 8);
  // A world matrix that stretches x by 4 carries the normal (0.05, 0, 0)
  // to (0.0125, 0, 0): the inverse transpose shrinks it, no normalising.
  D3DMATRIX w{};
  w._11 = 4, w._22 = 1, w._33 = 1, w._44 = 1;
  ASSERT_EQ(g.p->SetTransform(D3DTS_WORLD, &w), D3D_OK);
  // 0.065098 + 8·0.0125 = 0.165098: c8 = 42 -> 5, 10, 5.
  EXPECT_EQ(Beleuchtet(g, {0.05f, 0, 0}, {-1, 0, 0}), (5u << 11) | (10u << 5) | 5u);
  // The light direction turns with the view only: world = view^-1 keeps
  // positions and normals, and the view carries the light along +x onto
  // +z, so it meets the normal (0, 0, -0.05) at N·L = 0.05.
  D3DMATRIX v{}, vi{};
  v._13 = 1, v._22 = 1, v._31 = -1, v._44 = 1;
  vi._13 = -1, vi._22 = 1, vi._31 = 1, vi._44 = 1;
  ASSERT_EQ(g.p->SetTransform(D3DTS_WORLD, &vi), D3D_OK);
  ASSERT_EQ(g.p->SetTransform(D3DTS_VIEW, &v), D3D_OK);
  EXPECT_EQ(Beleuchtet(g, {0, 0, -0.05f}, {1, 0, 0}), 0x73AEu);
}

TEST(RasterLicht, OhneLichtquelleOderOhneBeleuchtung) {
  Testgeraet g(8, 8);
  Programmlicht(g.p, {0, 0, 1});
  ASSERT_EQ(g.p->LightEnable(0, FALSE), D3D_OK);
  Vtx a = g.Bild(-8, -8), b = g.Bild(24, -8), c = g.Bild(-8, 24);
  g.Dreieck(a, b, c);
  EXPECT_EQ(g.Pixel(4, 4), 0x0020u);  // only 0.2·32/255 = 0.025: c8 = 6 -> 0, 1, 0
  ASSERT_EQ(g.p->SetRenderState(D3DRS_LIGHTING, FALSE), D3D_OK);
  g.Dreieck(a, b, c);
  EXPECT_EQ(g.Pixel(4, 4), 0xFFFFu);  // no lighting, no vertex colour: white
  // Stage 0 picking the texture factor instead of the lit colour.
  g.p->SetRenderState(D3DRS_TEXTUREFACTOR, D3DCOLOR_XRGB(0x40, 0x80, 0xC0));
  g.p->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
  g.p->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  g.Dreieck(a, b, c);
  EXPECT_EQ(g.Pixel(4, 4), (8u << 11) | (32u << 5) | 24u);
}

TEST(RasterLicht, PunktlichtNachAbstandUndRichtung) {
  // A bright point light at the eye, range 10, no falloff: the screen-
  // filling triangle at z = 0.5 faces it (N·L = 0.5/|p| > 0.1 at every
  // vertex, times 100) and saturates. Moved 100 away along -z, every
  // vertex is out of range and only the global ambient is left:
  // 0.2·32/255, c8 = 6.
  Testgeraet g(8, 8);
  Programmlicht(g.p, {0, 0, 1});
  D3DLIGHT8 l{};
  l.Type = D3DLIGHT_POINT;
  l.Diffuse = {100, 100, 100, 0};
  l.Ambient = {0.2f, 0.2f, 0.2f, 0};
  l.Range = 10;
  l.Attenuation0 = 1;
  ASSERT_EQ(g.p->SetLight(0, &l), D3D_OK);
  const Vtx a = g.Bild(-8, -8), b = g.Bild(24, -8), c = g.Bild(-8, 24);
  g.Dreieck(a, b, c);
  EXPECT_EQ(g.Pixel(4, 4), 0xFFFFu);
  l.Position = {0, 0, -100};
  ASSERT_EQ(g.p->SetLight(0, &l), D3D_OK);
  g.Dreieck(a, b, c);
  EXPECT_EQ(g.Pixel(4, 4), 0x0020u);
}

TEST(RasterLicht, AndereZielformate) {
  // N·L = 0.05 gives c8 = 119 in every format.
  Testgeraet x1(8, 8, D3DFMT_X1R5G5B5);
  EXPECT_EQ(Beleuchtet(x1, {0, 0, -0.05f}), (14u << 10) | (14u << 5) | 14u);
  Testgeraet x8(8, 8, D3DFMT_X8R8G8B8);
  EXPECT_EQ(Beleuchtet(x8, {0, 0, -0.05f}), 0x777777u);
}

// ---------------------------------------------------------------- rasteriser

class RasterFuellen : public ::testing::Test {
 protected:
  RasterFuellen() { g.p->SetRenderState(D3DRS_LIGHTING, FALSE); }
  Testgeraet g;
};

TEST_F(RasterFuellen, PixelmittenUndObenLinksRegel) {
  // The square 1..3 holds the centres 1 and 2 in each direction; centres
  // on its left and top edges count, those on its right and bottom do not.
  g.Zeichnen({g.Bild(1, 1), g.Bild(3, 1), g.Bild(3, 3), g.Bild(1, 3)}, {0, 1, 2, 0, 2, 3});
  EXPECT_EQ(g.Gezeichnet(), 4);
  for (int y = 1; y <= 2; ++y)
    for (int x = 1; x <= 2; ++x) EXPECT_EQ(g.Pixel(x, y), 0xFFFFu);
  // A sliver thinner than a pixel between two centres draws nothing.
  g.p->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1, 0);
  g.Zeichnen({g.Bild(10.2f, 10), g.Bild(10.8f, 10), g.Bild(10.8f, 30), g.Bild(10.2f, 30)},
             {0, 1, 2, 0, 2, 3});
  EXPECT_EQ(g.Gezeichnet(), 0);
}

TEST_F(RasterFuellen, GemeinsameKantenJedesPixelGenauEinmal) {
  // A jittered 6x6 grid of quads over the whole screen: every pixel lies
  // in exactly one of its 72 triangles.
  const int n = 6;
  std::vector<Vtx> v;
  srand(7);
  for (int j = 0; j <= n; ++j) {
    for (int i = 0; i <= n; ++i) {
      float px = 64.0f * i / n, py = 64.0f * j / n;
      if (i > 0 && i < n) px += (rand() % 1000) / 250.0f - 2.0f;
      if (j > 0 && j < n) py += (rand() % 1000) / 250.0f - 2.0f;
      v.push_back(g.Bild(px, py));
    }
  }
  std::vector<int> nTreffer(64 * 64, 0);
  for (int j = 0; j < n; ++j) {
    for (int i = 0; i < n; ++i) {
      const WORD a = WORD(j * (n + 1) + i), b = WORD(a + 1), c = WORD(a + n + 1), d = WORD(c + 1);
      for (const auto& dreieck : {std::vector<WORD>{a, b, d}, std::vector<WORD>{a, d, c}}) {
        g.p->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1, 0);
        g.Zeichnen(v, dreieck);
        const auto bild = g.Abbild();
        for (size_t k = 0; k < bild.size(); ++k) nTreffer[k] += bild[k] != 0;
      }
    }
  }
  for (size_t k = 0; k < nTreffer.size(); ++k) {
    ASSERT_EQ(nTreffer[k], 1) << "pixel " << k % 64 << ", " << k / 64;
  }
}

TEST_F(RasterFuellen, WeglassenNachUmlaufsinn) {
  const Vtx a = g.Bild(4, 4), b = g.Bild(60, 4), c = g.Bild(4, 60);  // clockwise on screen
  struct Fall {
    D3DCULL cull;
    bool bUhrzeiger, bGegen;
  };
  for (const Fall f : {Fall{D3DCULL_CCW, true, false}, Fall{D3DCULL_CW, false, true},
                       Fall{D3DCULL_NONE, true, true}}) {
    SCOPED_TRACE(f.cull);
    g.p->SetRenderState(D3DRS_CULLMODE, f.cull);
    g.p->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1, 0);
    g.Dreieck(a, b, c);
    EXPECT_EQ(g.Pixel(10, 10) != 0, f.bUhrzeiger);
    g.p->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1, 0);
    g.Dreieck(a, c, b);
    EXPECT_EQ(g.Pixel(10, 10) != 0, f.bGegen);
  }
}

TEST_F(RasterFuellen, TiefentestUndTiefenwerte) {
  auto flaeche = [&](float z, D3DCOLOR farbe) {
    g.p->SetRenderState(D3DRS_TEXTUREFACTOR, farbe);
    g.Dreieck(g.Bild(0, 0, z), g.Bild(128, 0, z), g.Bild(0, 128, z));
  };
  g.p->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
  g.p->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  flaeche(0.5f, 0xFF0000);
  flaeche(0.75f, 0x00FF00);  // behind: hidden
  EXPECT_EQ(g.Pixel(5, 5), 0xF800u);
  flaeche(0.25f, 0x0000FF);  // in front
  EXPECT_EQ(g.Pixel(5, 5), 0x001Fu);
  // Depth is stored as round(z·65535): 0.5 and 0.50001 share 32768 and
  // pass LESSEQUAL, 0.50002 rounds to 32769 and fails.
  g.p->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1, 0);
  flaeche(0.5f, 0xFF0000);
  flaeche(0.50001f, 0x00FF00);
  EXPECT_EQ(g.Pixel(5, 5), 0x07E0u);
  flaeche(0.50002f, 0x0000FF);
  EXPECT_EQ(g.Pixel(5, 5), 0x07E0u);
  // A clear to 1.0 is 0xFFFF: z = 1 passes LESSEQUAL but not LESS.
  g.p->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1, 0);
  g.p->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESS);
  flaeche(1.0f, 0xFF0000);
  EXPECT_EQ(g.Pixel(5, 5), 0x07E0u);
  g.p->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
  flaeche(1.0f, 0xFF0000);
  EXPECT_EQ(g.Pixel(5, 5), 0xF800u);
  // Without depth writes the nearer surface leaves the buffer as it was;
  // without the depth test everything is drawn in order.
  g.p->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
  flaeche(0.1f, 0x0000FF);
  g.p->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
  flaeche(0.2f, 0x00FF00);
  EXPECT_EQ(g.Pixel(5, 5), 0x07E0u);
  g.p->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  flaeche(0.9f, 0xFF0000);
  EXPECT_EQ(g.Pixel(5, 5), 0xF800u);
}

TEST_F(RasterFuellen, FlachNimmtDieErsteEcke) {
  g.p->SetRenderState(D3DRS_LIGHTING, TRUE);
  Programmlicht(g.p, {0, 0, 1});
  Vtx a = g.Bild(0, 0), b = g.Bild(64, 0), c = g.Bild(0, 64);
  a.nz = -0.05f;  // 0x73AE
  b.nz = 1;       // ambient only, 0x1082
  c.nz = -1;      // white
  g.p->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_FLAT);
  g.Dreieck(a, b, c);
  EXPECT_EQ(g.Pixel(0, 0), 0x73AEu);
  EXPECT_EQ(g.Pixel(50, 5), 0x73AEu);
  EXPECT_EQ(g.Pixel(5, 50), 0x73AEu);
  g.p->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
  g.Dreieck(a, b, c);
  EXPECT_EQ(g.Pixel(0, 0), 0x73AEu);  // at the first vertex itself
  // 62/64 of the way to b: 0.465098 - 0.4·0.96875 = 0.0776, c8 = 20 -> 2, 5, 2.
  EXPECT_EQ(g.Pixel(62, 0), 0x10A2u);
}

TEST_F(RasterFuellen, JederTiefenvergleich) {
  // Against a stored 0.5, a surface at 0.25, 0.5 and 0.75 is less, equal
  // and greater; each function lets through its own choice of the three.
  struct Fall {
    D3DCMPFUNC f;
    bool bKleiner, bGleich, bGroesser;
  };
  g.p->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
  g.p->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  const Fall faelle[] = {
      {D3DCMP_NEVER, false, false, false},      {D3DCMP_LESS, true, false, false},
      {D3DCMP_EQUAL, false, true, false},       {D3DCMP_LESSEQUAL, true, true, false},
      {D3DCMP_GREATER, false, false, true},     {D3DCMP_NOTEQUAL, true, false, true},
      {D3DCMP_GREATEREQUAL, false, true, true}, {D3DCMP_ALWAYS, true, true, true}};
  for (const Fall& fall : faelle) {
    const bool bErwartet[3] = {fall.bKleiner, fall.bGleich, fall.bGroesser};
    const float z[3] = {0.25f, 0.5f, 0.75f};
    for (int k = 0; k < 3; ++k) {
      SCOPED_TRACE(testing::Message() << "function " << fall.f << ", z " << z[k]);
      g.p->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 0.5f, 0);
      g.p->SetRenderState(D3DRS_ZFUNC, fall.f);
      g.p->SetRenderState(D3DRS_TEXTUREFACTOR, 0x00FF00);
      g.Dreieck(g.Bild(0, 0, z[k]), g.Bild(128, 0, z[k]), g.Bild(0, 128, z[k]));
      EXPECT_EQ(g.Gezeichnet(), bErwartet[k] ? 64 * 64 : 0);
      // What passed was stored: an EQUAL pass at the same depth finds it
      // (at 0.5 it finds the cleared value).
      g.p->SetRenderState(D3DRS_ZFUNC, D3DCMP_EQUAL);
      g.p->SetRenderState(D3DRS_TEXTUREFACTOR, 0x0000FF);
      g.Dreieck(g.Bild(0, 0, z[k]), g.Bild(128, 0, z[k]), g.Bild(0, 128, z[k]));
      EXPECT_EQ(g.Pixel(33, 17), bErwartet[k] || k == 1 ? 0x001Fu : 0u);
    }
  }
}

TEST(RasterFuellenSchmal, ZeilenBleibenGetrennt) {
  // Targets narrower and a little wider than four pixels: a strip over
  // row 0 only leaves the rows below it alone, a full quad covers every
  // pixel once, and a farther one behind it changes nothing.
  for (UINT w = 1; w <= 6; ++w) {
    SCOPED_TRACE(testing::Message() << "width " << w);
    Testgeraet g(w, 3);
    g.p->SetRenderState(D3DRS_LIGHTING, FALSE);
    const float b = static_cast<float>(w);
    g.Zeichnen({g.Bild(0, 0), g.Bild(b, 0), g.Bild(b, 1), g.Bild(0, 1)}, {0, 1, 2, 0, 2, 3});
    EXPECT_EQ(g.Gezeichnet(), static_cast<int>(w));
    for (UINT x = 0; x < w; ++x) EXPECT_EQ(g.Pixel(static_cast<int>(x), 0), 0xFFFFu);
    g.Zeichnen({g.Bild(0, 0), g.Bild(b, 0), g.Bild(b, 3), g.Bild(0, 3)}, {0, 1, 2, 0, 2, 3});
    EXPECT_EQ(g.Gezeichnet(), static_cast<int>(3 * w));
    g.p->SetRenderState(D3DRS_TEXTUREFACTOR, 0x0000FF);
    g.p->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
    g.p->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    const float z = 0.7f;
    g.Zeichnen({g.Bild(0, 0, z), g.Bild(b, 0, z), g.Bild(b, 3, z), g.Bild(0, 3, z)},
               {0, 1, 2, 0, 2, 3});
    EXPECT_EQ(g.Gezeichnet(0xFFFF), 0);
  }
}

// The filler's groups of eight (where the processor has AVX2) against its
// groups of four: the same triangles, in every colour format and depth
// test, leave the same bytes. Most are slivers a few pixels wide, as the
// tree's are; some run off the right or bottom edge, where the last group
// of a row is moved left, and some are wide enough for groups of eight of
// one row.
struct Rasterbild {
  std::vector<std::uint8_t> Farbe;
  std::vector<std::uint16_t> Tiefe;
};

Rasterbild Zufallsdreiecke(int nBreite, int nHoehe, D3DFORMAT Format,
                           const ersatz::Rasterzustand& zustand) {
  const int nBytes = Format == D3DFMT_A8R8G8B8 || Format == D3DFMT_X8R8G8B8 ? 4 : 2;
  Rasterbild b;
  const size_t nPixel = size_t(nBreite) * nHoehe + ersatz::nFuellerRand;
  b.Farbe.assign(nPixel * nBytes, 0x5A);
  b.Tiefe.assign(nPixel, 0xC000);
  ersatz::Ziel ziel;
  ziel.pFarbe = b.Farbe.data();
  ziel.nPitch = nBreite * nBytes;
  ziel.Format = Format;
  ziel.pTiefe = b.Tiefe.data();
  ziel.nBreite = nBreite;
  ziel.nHoehe = nHoehe;
  std::mt19937 zufall(4711);
  std::uniform_real_distribution<float> eins(0.0f, 1.0f);
  auto ecke = [&](float cx, float cy, float r) {
    ersatz::Eckpunkt e{};
    const float w = 0.5f + 2.0f * eins(zufall);
    const float px = cx + r * (eins(zufall) - 0.5f), py = cy + r * (eins(zufall) - 0.5f);
    e.e = {(px / nBreite * 2 - 1) * w,
           (1 - py / nHoehe * 2) * w,
           eins(zufall) * w,
           w,
           eins(zufall),
           eins(zufall),
           eins(zufall),
           eins(zufall)};
    ersatz::Eckpunkt_Vorbereiten(ziel, e);
    return e;
  };
  for (int k = 0; k < 1500; ++k) {
    const float cx = eins(zufall) * (nBreite + 8) - 4, cy = eins(zufall) * (nHoehe + 8) - 4;
    const float r = k % 10 == 0 ? 40.0f : k % 3 == 0 ? 3.0f : 12.0f;
    ersatz::Eckpunkt a = ecke(cx, cy, r), c = ecke(cx, cy, r);
    // A sliver: the third vertex close to the line from a to c.
    ersatz::Eckpunkt m = k % 2 ? ecke(cx, cy, r) : a;
    if (k % 2 == 0) {
      const ersatz::Ecke& p = a.e;
      const ersatz::Ecke& q = c.e;
      m.e = {(p.x + q.x) / 2 + 0.02f * (p.w + q.w),
             (p.y + q.y) / 2,
             (p.z + q.z) / 2,
             (p.w + q.w) / 2,
             eins(zufall),
             (p.g + q.g) / 2,
             (p.b + q.b) / 2,
             p.a};
      ersatz::Eckpunkt_Vorbereiten(ziel, m);
    }
    ersatz::Dreieck_Zeichnen(ziel, zustand, a, m, c);
    ersatz::Dreieck_Zeichnen(ziel, zustand, a, c, m);
  }
  return b;
}

TEST(RasterAchterGruppen, GleichenDenViererGruppen) {
  if (!ersatz::Breite_Gruppen(true)) GTEST_SKIP() << "no AVX2 on this processor";
  int nGezeichnet = 0;
  for (D3DFORMAT Format :
       {D3DFMT_R5G6B5, D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5, D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8}) {
    for (int nVergleich = D3DCMP_NEVER; nVergleich <= D3DCMP_ALWAYS + 1; ++nVergleich) {
      for (int nArt = 0; nArt < 4; ++nArt) {
        ersatz::Rasterzustand zustand;
        zustand.Vergleich = static_cast<D3DCMPFUNC>(nVergleich);
        zustand.bFlach = nArt & 1;
        zustand.bTiefeSchreiben = nArt != 2;
        zustand.bTiefentest = nArt != 3;
        zustand.Cull = D3DCULL_NONE;
        for (int nBreite : {8, 13, 67}) {
          SCOPED_TRACE(testing::Message() << "format " << Format << ", test " << nVergleich
                                          << ", kind " << nArt << ", width " << nBreite);
          ersatz::Breite_Gruppen(false);
          const Rasterbild vier = Zufallsdreiecke(nBreite, 41, Format, zustand);
          ersatz::Breite_Gruppen(true);
          const Rasterbild acht = Zufallsdreiecke(nBreite, 41, Format, zustand);
          ASSERT_TRUE(vier.Farbe == acht.Farbe);
          ASSERT_TRUE(vier.Tiefe == acht.Tiefe);
          for (std::uint8_t n : vier.Farbe) nGezeichnet += n != 0x5A;
        }
      }
    }
  }
  // Enough of the pictures were drawn on for the comparison to mean something.
  EXPECT_GT(nGezeichnet, 500000);
}

// Vertices with a colour of their own (position, diffuse: FVF 0x042) and a
// projection with w = z, so that x and y shrink with depth.
struct VtxF {
  float x, y, z;
  D3DCOLOR c;
};

class RasterPerspektive : public ::testing::Test {
 protected:
  RasterPerspektive() {
    g.p->SetRenderState(D3DRS_LIGHTING, FALSE);
    g.p->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._34 = 1;  // clip = (x, y, z - 0.5, z): near plane at 0.5
    m._43 = -0.5f;
    g.p->SetTransform(D3DTS_PROJECTION, &m);
    EXPECT_EQ(g.p->SetVertexShader(D3DFVF_XYZ | D3DFVF_DIFFUSE), D3D_OK);
  }
  void Zeichnen(const std::vector<VtxF>& v, const std::vector<WORD>& i) {
    g.p->BeginScene();
    EXPECT_EQ(g.p->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, UINT(v.size()), UINT(i.size() / 3),
                                          i.data(), D3DFMT_INDEX16, v.data(), sizeof(VtxF)),
              D3D_OK);
    g.p->EndScene();
  }
  Testgeraet g;
};

TEST_F(RasterPerspektive, GouraudIstPerspektivischKorrekt) {
  // A floor from z = 1 (left screen edge, black) to z = 3 (right edge, red).
  // The screen centre x/z = 0 is a quarter of the way along it: red 63.75,
  // c8 = 64 -> 8 (screen-linear shading would give 16).
  Zeichnen({{-1, 0.5f, 1, 0}, {3, 1.5f, 3, 0xFF0000}, {3, -1.5f, 3, 0xFF0000}, {-1, -0.5f, 1, 0}},
           {0, 1, 2, 0, 2, 3});
  EXPECT_EQ(g.Pixel(32, 32), 8u << 11);
  EXPECT_EQ(g.Pixel(0, 32), 0u);
}

TEST_F(RasterPerspektive, NahebeneUndBildraender) {
  // A floor triangle at y = -1 reaching behind the eye keeps its part in
  // front of the near plane: from row 48 (z = 2) down past the screen's
  // bottom (z = 1 at row 64, where it is 0.75 of the half screen wide).
  Zeichnen({{-1, -1, 2, 0x00FF00}, {1, -1, 2, 0x00FF00}, {0, -1, -2, 0x00FF00}}, {0, 1, 2});
  EXPECT_GT(g.Gezeichnet(), 500);
  EXPECT_EQ(g.Pixel(32, 47), 0u);
  EXPECT_EQ(g.Pixel(32, 48), 0x07E0u);
  EXPECT_EQ(g.Pixel(10, 63), 0x07E0u);
  EXPECT_EQ(g.Pixel(2, 63), 0u);
  // A triangle much larger than the screen covers every pixel.
  g.p->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1, 0);
  Zeichnen({{-5000, -5000, 1, 0xFFFFFF}, {5000, -5000, 1, 0xFFFFFF}, {0, 9000, 1, 0xFFFFFF}},
           {0, 1, 2});
  EXPECT_EQ(g.Gezeichnet(), 64 * 64);
  // Wholly behind the far plane or outside the sides: nothing.
  g.p->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1, 0);
  D3DMATRIX m{};
  m._11 = m._22 = m._34 = 1, m._33 = 2;  // z = 2w: beyond the far plane
  g.p->SetTransform(D3DTS_PROJECTION, &m);
  Zeichnen({{-1, -1, 1, 0xFFFFFF}, {1, -1, 1, 0xFFFFFF}, {0, 1, 1, 0xFFFFFF}}, {0, 1, 2});
  EXPECT_EQ(g.Gezeichnet(), 0);
}

TEST_F(RasterPerspektive, JederAufrufLiestSeineEckenNeu) {
  // Same indices, new vertex contents: the second call must not reuse the
  // first call's transformed vertices.
  std::vector<VtxF> v = {
      {-1, 1, 1, 0xFF0000}, {1, 1, 1, 0xFF0000}, {-1, -1, 1, 0xFF0000}, {1, -1, 1, 0xFF0000}};
  Zeichnen(v, {0, 1, 2, 2, 1, 3});
  EXPECT_EQ(g.Pixel(40, 40), 0xF800u);
  for (auto& e : v) e.c = 0x0000FF;
  Zeichnen(v, {0, 1, 2, 2, 1, 3});
  EXPECT_EQ(g.Pixel(40, 40), 0x001Fu);
  // Indices outside the named range are not followed.
  g.p->BeginScene();
  const WORD i[3] = {0, 1, 3};
  for (auto& e : v) e.c = 0x00FF00;
  EXPECT_EQ(g.p->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 3, 1, i, D3DFMT_INDEX16, v.data(),
                                        sizeof(VtxF)),
            D3D_OK);
  g.p->EndScene();
  EXPECT_EQ(g.Pixel(60, 10), 0x001Fu);
}

TEST_F(RasterPerspektive, EinfarbigBleibtGenauDieFarbe) {
  // The floor of the test above in one colour, (0x7F, 0x3F, 0x1F): every
  // pixel it covers has exactly that colour, however far away.
  const D3DCOLOR c = 0x7F3F1F;
  Zeichnen({{-1, 0.5f, 1, c}, {3, 1.5f, 3, c}, {3, -1.5f, 3, c}, {-1, -0.5f, 1, c}},
           {0, 1, 2, 0, 2, 3});
  const std::uint32_t nFarbe = (15u << 11) | (15u << 5) | 3u;
  int nGleich = 0, nAndere = 0;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      const std::uint32_t n = g.Pixel(x, y);
      nGleich += n == nFarbe;
      nAndere += n != 0 && n != nFarbe;
    }
  }
  EXPECT_GT(nGleich, 1000);
  EXPECT_EQ(nAndere, 0);
}

TEST_F(RasterPerspektive, StreifenUndFaecher) {
  // Four vertices as a strip and as a fan both cover the square once
  // (culling is off) and draw flat with vertex i (strip) / i + 1 (fan).
  const std::vector<VtxF> v = {
      {-1, 1, 1, 0xFF0000}, {1, 1, 1, 0x00FF00}, {-1, -1, 1, 0x0000FF}, {1, -1, 1, 0xFFFFFF}};
  const WORD strip[4] = {0, 1, 2, 3}, fan[4] = {0, 1, 3, 2};
  g.p->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_FLAT);
  g.p->BeginScene();
  g.p->DrawIndexedPrimitiveUP(D3DPT_TRIANGLESTRIP, 0, 4, 2, strip, D3DFMT_INDEX16, v.data(),
                              sizeof(VtxF));
  EXPECT_EQ(g.Pixel(2, 2), 0xF800u);
  EXPECT_EQ(g.Pixel(60, 60), 0x07E0u);
  g.p->DrawIndexedPrimitiveUP(D3DPT_TRIANGLEFAN, 0, 4, 2, fan, D3DFMT_INDEX16, v.data(),
                              sizeof(VtxF));
  g.p->EndScene();
  EXPECT_EQ(g.Pixel(60, 2), 0x07E0u);
  EXPECT_EQ(g.Pixel(2, 60), 0xFFFFu);
}

// ---------------------------------------------------------------- pictures

// Compares the back buffer pixel for pixel with tests/daten/raster_NAME.png
// (16-bit values widened by bit replication). BORKWERK_GOLDEN_SCHREIBEN=1
// rewrites the reference from the current picture instead.
void Bildvergleich(Testgeraet& g, const std::string& name) {
  const std::string pfad = std::string(BORKWERK_TESTDATEN) + "/raster_" + name + ".png";
  const auto rgb = g.Rgb();
  if (std::getenv("BORKWERK_GOLDEN_SCHREIBEN") != nullptr) {
    ASSERT_EQ(ersatz::Png_Schreiben(pfad, g.nB, g.nH, rgb), "");
  }
  unsigned w = 0, h = 0;
  std::vector<std::uint8_t> ref;
  ASSERT_TRUE(ersatz::Png_Lesen(pfad, w, h, ref)) << pfad;
  ASSERT_EQ(w, g.nB);
  ASSERT_EQ(h, g.nH);
  int nAnders = 0;
  for (size_t i = 0; i < rgb.size(); i += 3) nAnders += !std::equal(&rgb[i], &rgb[i] + 3, &ref[i]);
  if (nAnders > 0) ersatz::Png_Schreiben("/tmp/raster_" + name + "_ist.png", g.nB, g.nH, rgb);
  EXPECT_EQ(nAnders, 0) << name << ": actual picture in /tmp/raster_" << name << "_ist.png";
}

// The program's camera set-up on a 96x72 screen: its projection, a look-at
// view from eye to the origin, its light along d; background dark blue.
class RasterBild : public ::testing::Test {
 protected:
  RasterBild() : g(96, 72) {
    D3DMATRIX p{};
    p._11 = 1.2948447f, p._22 = 1.7264596f, p._33 = 1.00005f, p._34 = 1, p._43 = -0.0500025f;
    g.p->SetTransform(D3DTS_PROJECTION, &p);
    g.p->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_XRGB(0, 0, 0x40), 1, 0);
  }
  void Kamera(D3DVECTOR auge, D3DVECTOR licht) {
    D3DXMATRIX v;
    const D3DXVECTOR3 ziel = {0, 0, 0}, oben = {0, 1, 0};
    D3DXMatrixLookAtLH(&v, &auge, &ziel, &oben);
    g.p->SetTransform(D3DTS_VIEW, &v);
    Programmlicht(g.p, licht);
  }
  static constexpr std::uint32_t nHinten = 0x0008;  // the background in R5G6B5
  Testgeraet g;
};

// A box from -s to s, four vertices per face with the face's normal,
// triangles clockwise seen from outside.
void Kiste(std::vector<Vtx>& v, std::vector<WORD>& i, D3DVECTOR s, D3DVECTOR mitte = {0, 0, 0}) {
  const float n[6][3] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
  for (const auto& f : n) {
    const float u[3] = {f[1] + f[2], 0, f[0]}, w[3] = {0, f[0] + f[2], f[1]};
    const WORD b = WORD(v.size());
    for (int k = 0; k < 4; ++k) {
      const float su = (k & 1) ? 1.0f : -1.0f, sw = (k & 2) ? 1.0f : -1.0f;
      v.push_back({mitte.x + s.x * (f[0] + su * u[0] + sw * w[0]),
                   mitte.y + s.y * (f[1] + su * u[1] + sw * w[1]),
                   mitte.z + s.z * (f[2] + su * u[2] + sw * w[2]), f[0], f[1], f[2], 0, 0});
    }
    // Orient so that (p1 - p0) x (p2 - p0) points along the normal.
    const Vtx &p0 = v[b], &p1 = v[b + 1], &p2 = v[b + 3];
    const float ax = p1.x - p0.x, ay = p1.y - p0.y, az = p1.z - p0.z;
    const float bx = p2.x - p0.x, by = p2.y - p0.y, bz = p2.z - p0.z;
    const float d =
        (ay * bz - az * by) * f[0] + (az * bx - ax * bz) * f[1] + (ax * by - ay * bx) * f[2];
    const std::vector<WORD> q =
        d > 0 ? std::vector<WORD>{0, 1, 3, 0, 3, 2} : std::vector<WORD>{0, 3, 1, 0, 2, 3};
    for (WORD k : q) i.push_back(WORD(b + k));
  }
}

// A six-sided tube along y with radial normals shared by its faces.
void Roehre(std::vector<Vtx>& v, std::vector<WORD>& i) {
  for (int ring = 0; ring < 2; ++ring) {
    for (int k = 0; k < 6; ++k) {
      const float a = float(k) * 3.14159265f / 3;
      v.push_back({0.5f * std::cos(a), ring ? 0.8f : -0.8f, 0.5f * std::sin(a), std::cos(a), 0,
                   std::sin(a), 0, 0});
    }
  }
  for (int k = 0; k < 6; ++k) {
    const WORD a = WORD(k), b = WORD((k + 1) % 6);
    for (WORD w : {a, WORD(a + 6), WORD(b + 6), a, WORD(b + 6), b}) i.push_back(w);
  }
}

TEST_F(RasterBild, BeleuchteteKiste) {
  Kamera({1.6f, 1.2f, -2.2f}, {-0.99f, 0.1f, 0.05f});
  std::vector<Vtx> v;
  std::vector<WORD> i;
  Kiste(v, i, {0.5f, 0.5f, 0.5f});
  g.Zeichnen(v, i);
  Bildvergleich(g, "kiste");
  EXPECT_EQ(g.Pixel(0, 0), nHinten);
  // |d| = 0.99629: the front face (-z) gets N·L = 0.0502, c8 = 119; the
  // +x face saturates; the top faces away and keeps the ambient 17.
  EXPECT_EQ(g.Pixel(40, 40), 0x73AEu);
  EXPECT_EQ(g.Pixel(56, 36), 0xFFFFu);
  EXPECT_EQ(g.Pixel(48, 26), 0x1082u);
}

// Distinct pixel values other than the background.
size_t Farbanzahl(Testgeraet& g, std::uint32_t nHinten) {
  auto bild = g.Abbild();
  std::sort(bild.begin(), bild.end());
  bild.erase(std::unique(bild.begin(), bild.end()), bild.end());
  const std::uint32_t hinten = ((nHinten & 0x1F) << 3) | ((nHinten & 0x1F) >> 2);
  return bild.size() - std::count(bild.begin(), bild.end(), hinten);
}

TEST_F(RasterBild, RoehreFlachUndGouraud) {
  // The light grazes the tube (along +x, a little up), so its shadow line
  // runs across faces; the front face's vertices have N·L -0.5 and 0.5.
  std::vector<Vtx> v;
  std::vector<WORD> i;
  Roehre(v, i);
  Kamera({0.3f, 0.9f, -2.2f}, {1, -0.3f, 0.2f});
  g.p->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_FLAT);
  g.Zeichnen(v, i);
  Bildvergleich(g, "roehre_flach");
  // Flat: each visible face one colour, the first vertex's.
  EXPECT_LE(Farbanzahl(g, nHinten), 3u);
  g.p->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_XRGB(0, 0, 0x40), 1, 0);
  g.p->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
  g.Zeichnen(v, i);
  Bildvergleich(g, "roehre_gouraud");
  EXPECT_GE(Farbanzahl(g, nHinten), 6u);
}

TEST_F(RasterBild, Durchdringung) {
  // Two boxes pushed into each other: the depth test draws the line where
  // their faces cross.
  std::vector<Vtx> v;
  std::vector<WORD> i;
  Kiste(v, i, {0.6f, 0.3f, 0.3f});
  Kiste(v, i, {0.3f, 0.5f, 0.3f}, {0.2f, 0.0f, -0.1f});
  Kamera({1.5f, 1.0f, -2.0f}, {-0.99f, 0.1f, 0.05f});
  g.Zeichnen(v, i);
  Bildvergleich(g, "durchdringung");
  EXPECT_EQ(g.Pixel(56, 40), 0x73AEu);  // the long box's front face, out of the other's side
  EXPECT_EQ(g.Pixel(60, 40), 0xFFFFu);  // +x faces
  EXPECT_EQ(g.Pixel(50, 26), 0x1082u);  // tops
}

TEST_F(RasterBild, NahebeneSchneidetDieEcke) {
  // The eye stands 0.035 from the box's corner, closer than the near
  // plane (0.05): the corner is cut away and the inside, whose faces all
  // point away from the eye, shows the background through the hole. The
  // faces run far past the screen's edges.
  std::vector<Vtx> v;
  std::vector<WORD> i;
  Kiste(v, i, {0.5f, 0.5f, 0.5f});
  Kamera({0.52f, 0.52f, -0.52f}, {-0.99f, 0.1f, 0.05f});
  g.Zeichnen(v, i);
  Bildvergleich(g, "nahebene");
  EXPECT_EQ(g.Pixel(48, 36), nHinten);  // the hole in the middle
  EXPECT_EQ(g.Pixel(0, 0), 0x1082u);    // the top, ambient only, up to the corner of the screen
  EXPECT_EQ(g.Pixel(30, 50), 0x73AEu);  // the front face (-z), N·L = 0.0502
  EXPECT_EQ(g.Pixel(80, 40), 0xFFFFu);  // the +x face
  EXPECT_EQ(g.Pixel(4, 68), nHinten);   // beyond the front face's far edge
}

TEST(RasterLicht, ViereGleichzeitigWieEinzeln) {
  // Directional lights only take vertices four at a time; a point light
  // of no colour adds exactly nothing but sends every vertex the single
  // way. Scaled, unnormalised and normalised normals, a vertex count that
  // is no multiple of four and clipped faces must come out the same.
  std::vector<Vtx> v;
  std::vector<WORD> i;
  Kiste(v, i, {0.6f, 0.3f, 0.3f});
  Roehre(v, i);
  for (size_t k = 36; k < i.size(); ++k) i[k] = WORD(i[k] + 24);
  v.push_back({0.1f, 0.9f, -0.2f, 0, 2, -1, 0, 0});
  for (WORD w : {WORD(36), WORD(v.size() - 1), WORD(37)}) i.push_back(w);
  D3DMATRIX welt{};
  welt._11 = 1.3f, welt._22 = 0.7f, welt._33 = 1.1f, welt._44 = 1;
  auto bild = [&](bool bPunktlicht, bool bNormieren, D3DVECTOR auge) {
    Testgeraet t(96, 72);
    D3DMATRIX p{};
    p._11 = 1.2948447f, p._22 = 1.7264596f, p._33 = 1.00005f, p._34 = 1, p._43 = -0.0500025f;
    t.p->SetTransform(D3DTS_PROJECTION, &p);
    t.p->SetTransform(D3DTS_WORLD, &welt);
    D3DMATERIAL8 m{};
    m.Diffuse = {0.9f, 0.8f, 0.7f, 0};
    m.Ambient = {0.2f, 0.2f, 0.2f, 0};
    t.p->SetMaterial(&m);
    t.p->SetRenderState(D3DRS_AMBIENT, 0x00202020);
    for (DWORD n : {0u, 2u}) {
      D3DLIGHT8 l{};
      l.Type = D3DLIGHT_DIRECTIONAL;
      l.Diffuse = {0.6f, 0.5f, 0.4f, 0};
      l.Ambient = {0.1f, 0.1f, 0.1f, 0};
      l.Direction = n == 0 ? D3DVECTOR{-0.6f, -0.5f, 0.62f} : D3DVECTOR{0.3f, -0.2f, 0.9f};
      EXPECT_EQ(t.p->SetLight(n, &l), D3D_OK);
      t.p->LightEnable(n, TRUE);
    }
    t.p->SetRenderState(D3DRS_NORMALIZENORMALS, bNormieren);
    D3DXMATRIX sicht;
    const D3DXVECTOR3 ziel = {0, 0, 0}, oben = {0, 1, 0};
    D3DXMatrixLookAtLH(&sicht, &auge, &ziel, &oben);
    t.p->SetTransform(D3DTS_VIEW, &sicht);
    D3DLIGHT8 l{};
    l.Type = D3DLIGHT_POINT;
    l.Position = {0.2f, 0.3f, -1.0f};
    l.Range = 100;
    l.Attenuation0 = 1;
    EXPECT_EQ(t.p->SetLight(1, &l), D3D_OK);
    t.p->LightEnable(1, bPunktlicht);
    t.Zeichnen(v, i);
    return std::make_pair(t.Abbild(), t.Gezeichnet());
  };
  for (D3DVECTOR auge : {D3DVECTOR{1.5f, 1.0f, -2.0f}, D3DVECTOR{0.5f, 0.4f, -0.45f}}) {
    for (bool bNormieren : {false, true}) {
      const auto vier = bild(false, bNormieren, auge), einzeln = bild(true, bNormieren, auge);
      EXPECT_GT(vier.second, 500);
      EXPECT_TRUE(vier.first == einzeln.first) << bNormieren << " " << auge.z;
    }
  }
}

// ---------------------------------------------------------------- record

TEST(RasterAufzeichnung, HaeltAufrufeMitArgumentenFest) {
  Testgeraet g(8, 8);
  ersatz::Aufzeichnung_Starten();
  g.p->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  g.p->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  D3DMATRIX m{};
  m._11 = 2;
  g.p->SetTransform(D3DTS_VIEW, &m);
  g.p->LightEnable(3, TRUE);
  g.p->Clear(0, nullptr, D3DCLEAR_TARGET, 0x123456, 1, 0);
  const std::vector<Vtx> v = {Punkt(0, 0, 0.5f, 0, 1, 0), Punkt(1, 0, 0.5f), Punkt(0, 1, 0.5f),
                              Punkt(9, 9, 9, 9, 9, 9)};
  g.Zeichnen(v, {2, 0, 1});
  D3DLOCKED_RECT r;
  g.pFlaeche->LockRect(&r, nullptr, 0);
  g.pFlaeche->UnlockRect();
  g.p->Present(nullptr, nullptr, nullptr, nullptr);
  ersatz::Aufzeichnung_Beenden();
  g.p->BeginScene();  // not recorded any more
  g.p->EndScene();

  using A = ersatz::Aufruf_Art;
  const auto& a = ersatz::Aufzeichnung();
  std::vector<A> arten;
  for (const auto& x : a) arten.push_back(x.Art);
  EXPECT_EQ(arten,
            (std::vector<A>{A::SetRenderState, A::SetTextureStageState, A::SetTransform,
                            A::LightEnable, A::Clear, A::BeginScene, A::DrawIndexedPrimitiveUP,
                            A::EndScene, A::LockRect, A::UnlockRect, A::Present}));
  EXPECT_EQ(a[0].nTyp, DWORD(D3DRS_CULLMODE));
  EXPECT_EQ(a[0].nWert, DWORD(D3DCULL_NONE));
  EXPECT_EQ(a[1].nTyp, DWORD(D3DTSS_COLOROP));
  EXPECT_EQ(a[2].Matrix._11, 2.0f);
  EXPECT_EQ(a[3].nTyp, 3u);
  EXPECT_EQ(a[4].Farbe, 0x123456u);
  const auto& z = a[6].Zeichnen;
  EXPECT_EQ(z.nAnzahlEcken, 4u);
  EXPECT_EQ(z.nPrimitive, 1u);
  EXPECT_EQ(z.nStride, 32u);
  EXPECT_EQ(z.Indizes, (std::vector<UINT>{2, 0, 1}));
  ASSERT_EQ(z.Ecken.size(), 3u);
  EXPECT_EQ(z.Ecken[0].nIndex, 2u);
  EXPECT_EQ(z.Ecken[0].Position.y, 1.0f);
  EXPECT_EQ(z.Ecken[1].Normale.y, 1.0f);
  EXPECT_EQ(a[8].hErgebnis, D3D_OK);
  ersatz::Aufzeichnung_Starten();
  EXPECT_TRUE(ersatz::Aufzeichnung().empty());
  ersatz::Aufzeichnung_Beenden();
}
