// The scene program of the platform tests, built from the system library on
// both platforms (never shipped): it starts as the program does, grows the
// tree a --seed run grows, runs the program's own frames with no input and
// writes chosen frames' back buffers raw, locked just before their present.
// With --times it also writes each frame's time from its start to after
// its present, in microseconds, a line a frame; --no-overlay drops the back
// buffer, so the overlay and its locks are left out.
//
//   borkwerk_szene --seed S --frames F1,F2,... --out PREFIX
//                  [--flat] [--distance D] [--times FILE] [--no-overlay]
//
// PREFIX-F.raw holds frame F's pixels, rows top to bottom without padding.
// The frames are presented at once, without the 40 ms pacing.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ansicht/ansicht.h"
#include "app/app.h"
#include "baum/baum.h"
#include "eingabe/eingabe.h"
#include "grafik/grafik.h"
#if !defined(_WIN32)
#include "plattform/headless/headless.h"
#endif

namespace {

struct Auftrag {
  unsigned long nSaat = 0;
  std::set<unsigned> Bilder;
  std::string ausgabe;
  bool bFlach = false;
  float fAbstand = 0.0f;  // 0: the camera's own start distance
  std::string zeiten;
  bool bOhneText = false;
};

bool Lesen(int argc, char** argv, Auftrag& a) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--flat" || option == "--no-overlay") {
      (option == "--flat" ? a.bFlach : a.bOhneText) = true;
      continue;
    }
    if (i + 1 >= argc) return false;
    const std::string wert = argv[++i];
    if (option == "--seed") {
      a.nSaat = std::strtoul(wert.c_str(), nullptr, 10);
    } else if (option == "--frames") {
      std::istringstream liste(wert);
      for (std::string bild; std::getline(liste, bild, ',');)
        a.Bilder.insert(static_cast<unsigned>(std::strtoul(bild.c_str(), nullptr, 10)));
    } else if (option == "--out") {
      a.ausgabe = wert;
    } else if (option == "--distance") {
      a.fAbstand = std::strtof(wert.c_str(), nullptr);
    } else if (option == "--times") {
      a.zeiten = wert;
    } else {
      return false;
    }
  }
  return !a.Bilder.empty() && !a.ausgabe.empty();
}

// The back buffer's pixels, rows without their padding.
bool Schreiben(const std::string& pfad) {
  D3DSURFACE_DESC Beschreibung;
  D3DLOCKED_RECT Gesperrt;
  if (FAILED(pBackBuffer->GetDesc(&Beschreibung)) ||
      FAILED(pBackBuffer->LockRect(&Gesperrt, nullptr, D3DLOCK_READONLY)))
    return false;
  const UINT nZeile = Beschreibung.Width * (Beschreibung.Format == D3DFMT_X8R8G8B8 ? 4 : 2);
  std::FILE* pDatei = std::fopen(pfad.c_str(), "wb");
  bool bGut = pDatei != nullptr;
  for (UINT y = 0; bGut && y < Beschreibung.Height; ++y)
    bGut = std::fwrite(static_cast<const char*>(Gesperrt.pBits) + y * Gesperrt.Pitch, 1, nZeile,
                       pDatei) == nZeile;
  pBackBuffer->UnlockRect();
  if (pDatei && std::fclose(pDatei) != 0) bGut = false;
  return bGut;
}

}  // namespace

int main(int argc, char** argv) {
  Auftrag a;
  if (!Lesen(argc, argv, a)) {
    std::fprintf(stderr,
                 "usage: borkwerk_szene --seed S --frames F1,F2,... --out PREFIX [--flat] "
                 "[--distance D] [--times FILE] [--no-overlay]\n");
    return 2;
  }
#if defined(_WIN32)
  const HINSTANCE hInstanz = GetModuleHandleA(nullptr);
#else
  // The stand-in shows the window nowhere, as a headless run does.
  ersatz::Anzeige_Waehlen(ersatz::Headless_Anzeige());
  const HINSTANCE hInstanz = nullptr;
#endif
  const D3DVECTOR vBasis = {0.0f, -1.0f, 0.0f};
  pProtokoll = std::fopen("Protokoll.txt", "w");
  if (!Fenster_Erzeugen(hInstanz) || !Spiel_Init()) {
    std::fprintf(stderr, "borkwerk_szene: the window or the graphics did not start\n");
    return 1;
  }
  // A --seed S run reads its clock as S when WinMain seeds and as S + 1
  // when Spiel_Init seeds again, just before the first tree.
  srand(static_cast<unsigned>(a.nSaat + 1));
  Spiel_Vorbereiten(hInstanz, &vBasis);
  // No input: under Wine the first mouse read reports the pointer's place
  // as a movement.
  DI_Freigeben();
  if (a.fAbstand > 0.0f) fAbstand = a.fAbstand;
  bFlach = a.bFlach;
  if (a.bOhneText && pBackBuffer) {
    pBackBuffer->Release();
    pBackBuffer = nullptr;
  }

  std::vector<double> zeiten;
  MSG msg = {};
  int nErgebnis = 0;
  for (unsigned nBild = 0; nBild <= *a.Bilder.rbegin(); ++nBild) {
    const auto tStart = std::chrono::steady_clock::now();
    Bild_Zeichnen(&msg, &vBasis);
    if (a.Bilder.count(nBild) && pBackBuffer &&
        !Schreiben(a.ausgabe + "-" + std::to_string(nBild) + ".raw")) {
      std::fprintf(stderr, "borkwerk_szene: frame %u not written\n", nBild);
      nErgebnis = 1;
    }
    pDevice->Present(NULL, NULL, NULL, NULL);
    zeiten.push_back(
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - tStart)
            .count());
  }
  if (!a.zeiten.empty()) {
    std::FILE* pDatei = std::fopen(a.zeiten.c_str(), "w");
    for (double t : zeiten) std::fprintf(pDatei, "%.0f\n", t);
    std::fclose(pDatei);
  }
  delete pBaum;
  pBaum = nullptr;
  Spiel_Ende();
  return nErgebnis;
}
