// Frame cost of the software device at 1152x864: the program's own frame
// on the heaviest tree it grows, whole and its draws alone; a synthetic
// tree that fills every one of the pool's 2,047 branches (~2,047 indexed
// draw calls from one 16,376-vertex pool), more than any grown tree has;
// the clear against memset; and the cost per call and per triangle of
// many tiny triangles.
#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "bench/programmbaum.h"
#include "grafik/grafik.h"
#include "plattform/d3d8/aufzeichnung.h"
#include "plattform/d3d8/raster/raster.h"
#include "tests/testgeraet.h"

namespace {

constexpr int nTiefe = 10;
constexpr int nEckenJeAst = 8;  // top ring of six, tip, centre

struct KunstAst {
  std::vector<WORD> Indizes;
};

struct Kunstbaum {
  std::vector<Vtx> Pool;
  std::vector<KunstAst> Aeste;
};

void Drehen(float v[3], const float a[3], float w) {
  const float c = std::cos(w), s = std::sin(w), d = a[0] * v[0] + a[1] * v[1] + a[2] * v[2];
  const float k[3] = {a[1] * v[2] - a[2] * v[1], a[2] * v[0] - a[0] * v[2],
                      a[0] * v[1] - a[1] * v[0]};
  for (int j = 0; j < 3; ++j) v[j] = v[j] * c + k[j] * s + a[j] * d * (1 - c);
}

// Grows branch b from base point p along unit axis r; its base ring is the
// parent's top ring (the trunk's own pool slots for the trunk).
void Wachsen(Kunstbaum& t, int b, const float p[3], const float r[3], float fLaenge, int nStufe,
             int nBasis) {
  const float fRadius = 0.05f * fLaenge;
  float u[3] = {r[1], -r[0], 0}, l = std::sqrt(u[0] * u[0] + u[1] * u[1]);
  if (l < 1e-4f) u[0] = 1, u[1] = 0, l = 1;
  u[0] /= l, u[1] /= l;
  const int nEigen = b * nEckenJeAst;
  for (int k = 0; k < 6; ++k) {
    float n[3] = {u[0], u[1], u[2]};
    Drehen(n, r, float(k) * 1.0471976f);
    Vtx& e = t.Pool[size_t(nEigen + k)];
    e = {p[0] + r[0] * fLaenge + n[0] * fRadius,
         p[1] + r[1] * fLaenge + n[1] * fRadius,
         p[2] + r[2] * fLaenge + n[2] * fRadius,
         n[0],
         n[1],
         n[2],
         0,
         0};
  }
  t.Pool[size_t(nEigen + 6)] = {p[0] + r[0] * fLaenge * 1.1f,
                                p[1] + r[1] * fLaenge * 1.1f,
                                p[2] + r[2] * fLaenge * 1.1f,
                                r[0],
                                r[1],
                                r[2],
                                0,
                                0};
  auto& ix = t.Aeste[size_t(b)].Indizes;
  for (int k = 0; k < 6; ++k) {
    const WORD a = WORD(nBasis + k), c = WORD(nBasis + (k + 1) % 6);
    if (nStufe == nTiefe) {
      for (WORD w : {a, WORD(nEigen + 6), c}) ix.push_back(w);
    } else {
      const WORD a2 = WORD(nEigen + k), c2 = WORD(nEigen + (k + 1) % 6);
      for (WORD w : {a, a2, c2, a, c2, c}) ix.push_back(w);
    }
  }
  for (WORD w : {WORD(nEigen), WORD(nEigen + 2), WORD(nEigen + 4)}) ix.push_back(w);
  if (nStufe == nTiefe) return;
  const float q[3] = {p[0] + r[0] * fLaenge, p[1] + r[1] * fLaenge, p[2] + r[2] * fLaenge};
  for (int kind = 0; kind < 2; ++kind) {
    float rk[3] = {r[0], r[1], r[2]};
    Drehen(rk, u, kind ? 0.45f : -0.5f);
    Drehen(rk, r, 1.3f * float(nStufe));
    const int nKind = 2 * b + 1 + kind;
    Wachsen(t, nKind, q, rk, fLaenge * 0.78f, nStufe + 1, nEigen);
  }
}

Kunstbaum Kunstbaum_Bauen() {
  Kunstbaum t;
  const int nAeste = (1 << (nTiefe + 1)) - 1;   // 2,047
  t.Pool.resize(size_t(nAeste) * nEckenJeAst);  // 16,376
  t.Aeste.resize(size_t(nAeste));
  const float p[3] = {0, -1, 0}, r[3] = {0, 1, 0};
  // The trunk has no parent ring; its sides start from its own top ring,
  // which leaves them without area, as a trunk without a base would.
  Wachsen(t, 0, p, r, 0.6f, 0, 0);
  return t;
}

// The synthetic tree's view, with the light one step on.
void Kunstbaum_Ansicht() {
  D3DXMATRIX v;
  const D3DXVECTOR3 auge = {0.6f, 0.4f, -2.4f}, ziel = {0, 0.2f, 0}, oben = {0, 1, 0};
  D3DXMatrixLookAtLH(&v, &auge, &ziel, &oben);
  pDevice->SetTransform(D3DTS_VIEW, &v);
  rLichtBewegen();
  pDevice->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
  pDevice->SetVertexShader(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1);
}

// Clear, one draw call per branch of the synthetic tree, present.
void BM_BaumBild(benchmark::State& state) {
  const Kunstbaum t = Kunstbaum_Bauen();
  Programmgeraet_Einrichten();
  Kunstbaum_Ansicht();
  IDirect3DDevice8* g = pDevice;
  for (auto _ : state) {
    g->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    for (const KunstAst& a : t.Aeste) {
      g->BeginScene();
      g->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, UINT(t.Pool.size()),
                                UINT(a.Indizes.size() / 3), a.Indizes.data(), D3DFMT_INDEX16,
                                t.Pool.data(), sizeof(Vtx));
      g->EndScene();
    }
    g->Present(nullptr, nullptr, nullptr, nullptr);
  }
  state.counters["Aufrufe"] = double(t.Aeste.size());
  D3D_Ende();
}
BENCHMARK(BM_BaumBild)->Unit(benchmark::kMillisecond);

// The heaviest grown tree at nAbstand tenths; the counters name its
// frame's calls and triangles.
std::unique_ptr<Baum> Schwerster_Baum(benchmark::State& state, int nAbstand) {
  auto b = ::Schwerster_Baum(nAbstand);
  ersatz::Aufzeichnung_Starten();
  b->Zeichnen();
  ersatz::Aufzeichnung_Beenden();
  double nAufrufe = 0, nDreiecke = 0;
  for (const ersatz::Aufruf& a : ersatz::Aufzeichnung()) {
    if (a.Art != ersatz::Aufruf_Art::DrawIndexedPrimitiveUP) continue;
    nAufrufe += 1;
    nDreiecke += a.Zeichnen.nPrimitive;
  }
  state.counters["Aufrufe"] = nAufrufe;
  state.counters["Dreiecke"] = nDreiecke;
  state.counters["Saat"] = Schwerste_Saat();
  return b;
}

// Under callgrind (tools/bildbefehle.sh) only the frames are instrumented,
// not the search for the seed.
template <typename Bild>
void Bilder_Messen(benchmark::State& state, Bild bild) {
  const std::unique_ptr<Baum> b = Schwerster_Baum(state, static_cast<int>(state.range(0)));
  CALLGRIND_START_INSTRUMENTATION;
  for (auto _ : state) bild(*b);
  CALLGRIND_STOP_INSTRUMENTATION;
  D3D_Ende();
}

// The argument is the camera's distance in tenths.
void BM_ProgrammBild(benchmark::State& state) { Bilder_Messen(state, Programmbild); }
BENCHMARK(BM_ProgrammBild)
    ->Arg(50)
    ->Arg(30)
    ->Arg(15)
    ->Arg(10)
    ->Arg(5)
    ->Unit(benchmark::kMillisecond);

// The same frame with the filler's groups of four only, as on a
// processor without AVX2.
void BM_ProgrammBildVierer(benchmark::State& state) {
  ersatz::Breite_Gruppen(false);
  Bilder_Messen(state, Programmbild);
  ersatz::Breite_Gruppen(true);
}
BENCHMARK(BM_ProgrammBildVierer)->Arg(30)->Unit(benchmark::kMillisecond);

void BM_ProgrammZeichnungen(benchmark::State& state) { Bilder_Messen(state, Programmzeichnungen); }
BENCHMARK(BM_ProgrammZeichnungen)->Arg(30)->Arg(5)->Unit(benchmark::kMillisecond);

constexpr std::int64_t nLoeschBytes = std::int64_t{1152} * 864 * 2 * 2;

__attribute__((noinline)) void Loeschen(IDirect3DDevice8* g) {
  g->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x00204060, 1.0f, 0);
}

// Colour and depth of the frame, both 16 bits a pixel.
void BM_Loeschen(benchmark::State& state) {
  IDirect3DDevice8* g = Software_Geraet();
  CALLGRIND_START_INSTRUMENTATION;
  for (auto _ : state) {
    Loeschen(g);
    benchmark::ClobberMemory();
  }
  CALLGRIND_STOP_INSTRUMENTATION;
  state.SetBytesProcessed(int64_t(state.iterations()) * nLoeschBytes);
  g->Release();
}
BENCHMARK(BM_Loeschen)->Unit(benchmark::kMicrosecond);

// The yardstick of the clear: memset of as many bytes, in two buffers of
// the sizes of back buffer and depth buffer.
void BM_Memset(benchmark::State& state) {
  std::vector<std::uint8_t> farbe(nLoeschBytes / 2), tiefe(nLoeschBytes / 2);
  for (auto _ : state) {
    std::memset(farbe.data(), 0x21, farbe.size());
    std::memset(tiefe.data(), 0xFF, tiefe.size());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * nLoeschBytes);
}
BENCHMARK(BM_Memset)->Unit(benchmark::kMicrosecond);

// A mesh of tiny triangles in front of the camera: nSeite x nSeite quads
// of 4 x 4 pixels, each two triangles of 8 pixels that share their
// vertices with the neighbours; every other quad faces away and is
// culled, as half a branch's sides are. Normals tilt at random.
struct Kachelnetz {
  static constexpr int nSeite = 64;
  std::vector<Vtx> Ecken;
  std::vector<WORD> Indizes;  // six a quad, row by row
};

Kachelnetz Kachelnetz_Bauen() {
  Kachelnetz k;
  // At z = 2 a pixel is 2 / (432 · 1.7264596) high: quads of 4 pixels.
  const float z = 2.0f, s = 4.0f * z / (432.0f * 1.7264596f);
  const float x0 = -0.5f * Kachelnetz::nSeite * s;
  srand(99);
  auto zufall = [] { return float(rand() % 1000) / 1000.0f - 0.5f; };
  for (int j = 0; j <= Kachelnetz::nSeite; ++j) {
    for (int i = 0; i <= Kachelnetz::nSeite; ++i) {
      k.Ecken.push_back(Punkt(x0 + i * s, -x0 - j * s, z, zufall(), zufall(), -1.0f));
    }
  }
  const int n = Kachelnetz::nSeite + 1;
  for (int j = 0; j < Kachelnetz::nSeite; ++j) {
    for (int i = 0; i < Kachelnetz::nSeite; ++i) {
      const WORD a = WORD(j * n + i), b = WORD(a + 1), c = WORD(a + n), d = WORD(c + 1);
      const WORD vorn[6] = {a, b, d, a, d, c}, hinten[6] = {a, d, b, a, c, d};
      const WORD* q = (i + j) % 2 == 0 ? vorn : hinten;
      k.Indizes.insert(k.Indizes.end(), q, q + 6);
    }
  }
  return k;
}

// The mesh drawn in calls of state.range(0) triangles each, each call in
// its own scene with its vertex format set, as the tree draws a branch;
// each names the span of vertices its indices use. Time per call and per
// triangle: the argument 1 against a large one tells one from the other.
void BM_KleineDreiecke(benchmark::State& state) {
  const Kachelnetz k = Kachelnetz_Bauen();
  Programmgeraet_Einrichten();
  const D3DMATRIX einheit = {{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}}};
  pDevice->SetTransform(D3DTS_VIEW, &einheit);
  rLichtBewegen();
  const std::size_t nJeAufruf = std::size_t(state.range(0));
  const std::size_t nDreiecke = k.Indizes.size() / 3;
  struct Aufruf {
    UINT nMin, nAnzahl, nDreiecke;
    const WORD* pIndizes;
  };
  std::vector<Aufruf> aufrufe;
  for (std::size_t d = 0; d < nDreiecke; d += nJeAufruf) {
    const WORD* p = k.Indizes.data() + 3 * d;
    const UINT n = UINT(std::min(nJeAufruf, nDreiecke - d));
    const auto [lo, hi] = std::minmax_element(p, p + 3 * n);
    aufrufe.push_back({*lo, UINT(*hi - *lo + 1), n, p});
  }
  IDirect3DDevice8* g = pDevice;
  for (auto _ : state) {
    for (const Aufruf& a : aufrufe) {
      g->BeginScene();
      g->SetVertexShader(nFvf);
      g->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, a.nMin, a.nAnzahl, a.nDreiecke, a.pIndizes,
                                D3DFMT_INDEX16, k.Ecken.data(), sizeof(Vtx));
      g->EndScene();
    }
  }
  const double n = double(state.iterations());
  const auto je = benchmark::Counter::kIsRate | benchmark::Counter::kInvert;
  state.counters["s_je_Aufruf"] = benchmark::Counter(n * double(aufrufe.size()), je);
  state.counters["s_je_Dreieck"] = benchmark::Counter(n * double(nDreiecke), je);
  D3D_Ende();
}
BENCHMARK(BM_KleineDreiecke)->Arg(1)->Arg(10)->Arg(512)->Unit(benchmark::kMicrosecond);

}  // namespace
