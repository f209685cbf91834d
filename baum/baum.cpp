// Baum: the whole tree with its shared tables and its one vertex pool.
#include "baum/baum.h"

#include <cstdint>
#include <new>

#include "app/app.h"
#include "eingabe/eingabe.h"
#include "grafik/grafik.h"

void Baum_Speicherfehler(const char* szWas) {
  Protokoll_Schreiben("ERROR : kein Speicher fuer %s\n", szWas);
  bEnde = 1;
}

// Builds the tables, the pool and the trunk, which takes the first 8 pool
// vertices. When memory runs out the tree is left without a trunk (growing
// and drawing it then do nothing) and the run is asked to end.
Baum::Baum(const D3DVECTOR* pPosition, unsigned int nIndex)
    : pStamm(nullptr),
      pEcken(nullptr),
      nBenutzt(0),
      nSeiten(6),
      nTiefe(nIndex),
      nKinder(2),
      nKapazitaet(0),
      fVerhaeltnis(0.9f),
      fGrundLaenge(1.0f),
      pWinkel(nullptr),
      vPosition{0.0f, 0.0f, 0.0f},
      pKurve(nullptr) {
  pWinkel = new (std::nothrow) float[nKinder];
  if (!pWinkel) {
    Baum_Speicherfehler("die Winkeltabelle");
    return;
  }
  for (unsigned int i = 0; i < nKinder; i++)
    pWinkel[i] = static_cast<float>(static_cast<double>(2 * i) * 3.14159274f / nKinder);

  Erstelle_Kurve();
  if (!pKurve) return;

  // Whole pool for every possible fork; a depth that cannot be addressed
  // counts as running out of memory.
  const uint64_t nVoll = nIndex < 40 ? ((uint64_t{1} << (nIndex + 1)) - 1) * (nSeiten + 2) : 0;
  if (nVoll == 0 || nVoll > 0x7fffffff ||
      !(pEcken = new (std::nothrow) BaumVertex[static_cast<size_t>(nVoll)]())) {
    Baum_Speicherfehler("den Vertex-Pool");
    return;
  }
  nKapazitaet = static_cast<int>(nVoll);

  if (pPosition) vPosition = *pPosition;

  const D3DVECTOR vOben = {0.0f, 1.0f, 0.0f};
  pStamm = new (std::nothrow) Ast(&vPosition, &vOben, 0, nullptr, this, 1.0f);
  if (!pStamm) {
    Baum_Speicherfehler("den Stamm");
  } else if (!pStamm->pDreiecke) {
    delete pStamm;
    pStamm = nullptr;
  }
}

Baum::~Baum() {
  delete[] pEcken;
  pEcken = nullptr;
  delete[] pKurve;
  pKurve = nullptr;
  delete[] pWinkel;
  pWinkel = nullptr;
  delete pStamm;
  pStamm = nullptr;
}

// S-shaped growth curve from 0 to 1 over 40 entries: 0.0025 times the sums
// 0+1+...+k for the first half and the mirrored sums for the second.
void Baum::Erstelle_Kurve() {
  pKurve = new (std::nothrow) float[40];
  if (!pKurve) {
    Baum_Speicherfehler("die Wachstumskurve");
    return;
  }
  for (int k = 0; k < 40; k++) {
    const int j = k - 20;
    const int nSumme = k < 20 ? k * (k + 1) / 2 : 210 + 19 * j - j * (j - 1) / 2;
    pKurve[k] = static_cast<float>(static_cast<double>(0.0025f) * nSumme);
  }
}

// One growth step of the whole tree; called once per frame by the frame loop.
void Baum::Wachsen() {
  if (pStamm) pStamm->Wachsen();
}

// Draws every branch on pDevice, shade mode from bFlach; once per frame after
// Wachsen. Nothing is done without a device.
void Baum::Zeichnen() {
  if (!pDevice) return;
  pDevice->SetRenderState(D3DRS_SHADEMODE, bFlach ? D3DSHADE_FLAT : D3DSHADE_GOURAUD);
  if (pStamm) pStamm->Zeichnen();
}
