// Cost of the tree's growth and geometry, drawn on a device whose calls do
// nothing, so only the tree's own work is measured.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "baum/baum.h"
#include "grafik/grafik.h"

namespace {

struct LeeresGeraet : IDirect3DDevice8 {
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 0; }
  HRESULT STDMETHODCALLTYPE TestCooperativeLevel() override { return D3D_OK; }
  HRESULT STDMETHODCALLTYPE Reset(D3DPRESENT_PARAMETERS*) override { return D3D_OK; }
  HRESULT STDMETHODCALLTYPE Present(const RECT*, const RECT*, HWND, const RGNDATA*) override {
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE GetBackBuffer(UINT, D3DBACKBUFFER_TYPE, IDirect3DSurface8**) override {
    return D3DERR_INVALIDCALL;
  }
  HRESULT STDMETHODCALLTYPE BeginScene() override { return D3D_OK; }
  HRESULT STDMETHODCALLTYPE EndScene() override { return D3D_OK; }
  HRESULT STDMETHODCALLTYPE Clear(DWORD, const D3DRECT*, DWORD, D3DCOLOR, float, DWORD) override {
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE SetTransform(D3DTRANSFORMSTATETYPE, const D3DMATRIX*) override {
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE GetViewport(D3DVIEWPORT8*) override { return D3D_OK; }
  HRESULT STDMETHODCALLTYPE SetMaterial(const D3DMATERIAL8*) override { return D3D_OK; }
  HRESULT STDMETHODCALLTYPE SetLight(DWORD, const D3DLIGHT8*) override { return D3D_OK; }
  HRESULT STDMETHODCALLTYPE LightEnable(DWORD, BOOL) override { return D3D_OK; }
  HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE, DWORD) override { return D3D_OK; }
  HRESULT STDMETHODCALLTYPE SetTextureStageState(DWORD, D3DTEXTURESTAGESTATETYPE, DWORD) override {
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE, UINT, UINT, UINT,
                                                   const void* pIndizes, D3DFORMAT,
                                                   const void* pEcken, UINT) override {
    benchmark::DoNotOptimize(pIndizes);
    benchmark::DoNotOptimize(pEcken);
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE SetVertexShader(DWORD) override { return D3D_OK; }
};

LeeresGeraet Geraet;
const D3DVECTOR vFuss = {0.0f, -1.0f, 0.0f};

void Bilder(Baum& b, int nBilder) {
  for (int i = 0; i < nBilder; i++) {
    b.Wachsen();
    b.Zeichnen();
  }
}

// Frame 130, the last one in which every branch of a full tree still moves.
void BM_Baum_VollesWachstumsbild(benchmark::State& state) {
  pDevice = &Geraet;
  Baum* pB = nullptr;
  for (auto _ : state) {
    state.PauseTiming();
    delete pB;
    srand(4711);
    pB = new Baum(&vFuss, 10);
    Bilder(*pB, 130);
    state.ResumeTiming();
    Bilder(*pB, 1);
  }
  delete pB;
  pDevice = nullptr;
}
BENCHMARK(BM_Baum_VollesWachstumsbild)->Unit(benchmark::kMicrosecond);

// A frame of a finished tree: counters and one draw call per branch.
void BM_Baum_FertigesBild(benchmark::State& state) {
  pDevice = &Geraet;
  srand(4711);
  Baum b(&vFuss, 10);
  Bilder(b, 132);
  for (auto _ : state) Bilder(b, 1);
  pDevice = nullptr;
}
BENCHMARK(BM_Baum_FertigesBild)->Unit(benchmark::kMicrosecond);

// A whole tree: construction, 132 frames of growth and drawing, destruction.
void BM_Baum_GanzesWachstum(benchmark::State& state) {
  pDevice = &Geraet;
  for (auto _ : state) {
    srand(4711);
    Baum b(&vFuss, 10);
    Bilder(b, 132);
  }
  pDevice = nullptr;
}
BENCHMARK(BM_Baum_GanzesWachstum)->Unit(benchmark::kMillisecond);

}  // namespace
