// Cost of the overlay text per frame on a 1152 x 864 R5G6B5 back buffer.
#include <benchmark/benchmark.h>

#include "ansicht/ansicht.h"
#include "eingabe/eingabe.h"
#include "grafik/grafik.h"
#include "tests/testgeraet.h"

namespace {

// The software device as pDevice and its back buffer as pBackBuffer, for one benchmark.
struct Rueckpuffer {
  Rueckpuffer() {
    pDevice = Software_Geraet();
    pDevice->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &pBackBuffer);
  }
  ~Rueckpuffer() {
    pBackBuffer->Release();
    pDevice->Release();
    pBackBuffer = nullptr;
    pDevice = nullptr;
  }
};

void Ueberlagerung(benchmark::State& state, int bMitHilfe) {
  Rueckpuffer puffer;
  bFlach = 0;
  bHilfe = bMitHilfe;
  for (auto _ : state) benchmark::DoNotOptimize(Zeichne_Hilfe());
  state.SetItemsProcessed(state.iterations());
}

void BM_Ueberlagerung_FuenfZeilen(benchmark::State& state) { Ueberlagerung(state, 1); }
void BM_Ueberlagerung_ZweiZeilen(benchmark::State& state) { Ueberlagerung(state, 0); }

}  // namespace

BENCHMARK(BM_Ueberlagerung_FuenfZeilen);
BENCHMARK(BM_Ueberlagerung_ZweiZeilen);
