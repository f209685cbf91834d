#pragma once
// Tree: Baum and Ast, the shared vertex pool, and the vector helpers.
#include "plattform/plattform.h"

// One vertex of the pool, laid out for FVF 0x112 (XYZ | NORMAL | TEX1).
struct BaumVertex {
  float x, y, z;
  float nx, ny, nz;
  float tu, tv;
};

class Baum;

class Ast {
 public:
  unsigned int* pEckenIndex;
  D3DVECTOR* pRing;
  unsigned short* pDreiecke;
  D3DVECTOR vStart;
  D3DVECTOR vEnde;
  D3DVECTOR vAusdehnung;
  D3DVECTOR vRichtung;
  D3DVECTOR vSeitwaerts;
  D3DVECTOR vQuer;
  unsigned int nTiefe;
  Ast* pEltern;
  Ast* pKinder;
  unsigned int nKinder;
  unsigned int nKinderSoll;
  unsigned int nMaxTiefe;
  unsigned int nAlter;
  Baum* pBesitzer;
  float fVollLaenge;
  float fWachstum;
  float fVollRadius;
  int nLebensdauer;
  bool bWaechst;
  unsigned int nSeiten;
  float fSkala;
  float fVerdrehung;

  Ast(const D3DVECTOR* pStart, const D3DVECTOR* pRichtung, unsigned int nTiefe, Ast* pEltern,
      Baum* pBesitzer, float fFaktor);
  ~Ast();
  void Wachsen();
  void Verzweigen();
  void Kurve_Lesen();
  void Verdrehung_Berechnen(D3DVECTOR S, D3DVECTOR V);
  void Zeichnen();

  // Geometry helpers of the constructor and the fork; 0 when memory ran out.
  int Stamm_Bauen();
  int Gelenk_Bauen(float fNeigung0);
  void Umverdrahten(unsigned int nBasis);
};

class Baum {
 public:
  Ast* pStamm;
  BaumVertex* pEcken;
  unsigned int nBenutzt;
  unsigned int nSeiten;
  unsigned int nTiefe;
  unsigned int nKinder;
  int nKapazitaet;
  float fVerhaeltnis;
  float fGrundLaenge;
  float* pWinkel;
  D3DVECTOR vPosition;
  float* pKurve;

  Baum(const D3DVECTOR* pPosition, unsigned int nIndex);
  ~Baum();
  void Wachsen();
  void Zeichnen();
  void Erstelle_Kurve();
};

// Reports a failed allocation of the tree ("ERROR : " line in the log) and
// asks the frame loop to end the run.
void Baum_Speicherfehler(const char* szWas);

// Vector helpers. Direct3D conventions: left-handed, row vectors.
D3DVECTOR* Vek_Kreuz(D3DVECTOR* pAus, const D3DVECTOR* pA, const D3DVECTOR* pB);
double Vek_Laenge(const D3DVECTOR* pV);
D3DVECTOR* Vek_Normieren(D3DVECTOR* pAus, D3DVECTOR* pV);
int Vek_Transformieren(D3DVECTOR* pAus, const D3DVECTOR* pV, const D3DMATRIX* pM);
D3DMATRIX* Mat_DrehAchse(D3DMATRIX* pAus, D3DVECTOR* pAchse, float fWinkel);
