#include "bench/programmbaum.h"

#include <cstdlib>

#include "ansicht/ansicht.h"
#include "eingabe/eingabe.h"
#include "grafik/grafik.h"

void Programmgeraet_Einrichten() {
  pD3D = Direct3DCreate8(D3D_SDK_VERSION);
  Erstelle_List(1152, 864);
  Obj_Init();
  rProjektionsMatrixEinstellen(pDevice);
  rMaterialEinstellen();
  rLichtEinstellen();
}

// The scale limit ends most lines of descent long before depth 10, so
// the most branches are far below the pool's 2,047.
unsigned Schwerste_Saat() {
  static const unsigned nSaat = [] {
    if (const char* sz = std::getenv("BORKWERK_SAAT"))
      return unsigned(std::strtoul(sz, nullptr, 10));
    const D3DVECTOR vFuss = {0.0f, -1.0f, 0.0f};
    unsigned nBeste = 0, nMeiste = 0;
    for (unsigned n = 0; n < 20000; ++n) {
      srand(n);
      Baum b(&vFuss, 10);
      for (int i = 0; i < 132; i++) b.Wachsen();
      if (b.nBenutzt > nMeiste) nMeiste = b.nBenutzt, nBeste = n;
    }
    return nBeste;
  }();
  return nSaat;
}

std::unique_ptr<Baum> Schwerster_Baum(int nAbstand) {
  const unsigned nSaat = Schwerste_Saat();
  Programmgeraet_Einrichten();
  Kamera_Init();
  MausDZ = (30 - nAbstand) * 96;
  Kamera_Bewegen();
  MausDZ = 0;
  const D3DVECTOR vFuss = {0.0f, -1.0f, 0.0f};
  srand(nSaat);
  auto b = std::make_unique<Baum>(&vFuss, 10);
  for (int i = 0; i < 132; i++) {
    b->Wachsen();
    b->Zeichnen();
  }
  return b;
}

// Not inlined, so that a profile counts it once a frame
// (tools/bildbefehle.sh).
__attribute__((noinline)) void Programmbild(Baum& b) {
  // The program's background (app/hauptschleife.cpp): a clear to black
  // would take memset's faster path, which the program's frame does not.
  pDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xffc82828, 1.0f, 0);
  Kamera_Bewegen();
  rLichtBewegen();
  b.Wachsen();
  b.Zeichnen();
  Zeichne_Hilfe();
  pDevice->Present(nullptr, nullptr, nullptr, nullptr);
}

__attribute__((noinline)) void Programmzeichnungen(Baum& b) {
  Kamera_Bewegen();
  rLichtBewegen();
  b.Wachsen();
  b.Zeichnen();
}
