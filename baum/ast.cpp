// Ast: one branch, its growth along the tree's curve and its fork.
#include <cmath>
#include <cstdlib>
#include <new>

#include "baum/baum.h"

namespace {

// Destroys the children in their block (index order) and frees the block.
void Kinder_Freigeben(Ast* pAst) {
  if (!pAst->pKinder) return;
  for (unsigned int i = 0; i < pAst->nKinder; i++) pAst->pKinder[i].~Ast();
  ::operator delete(pAst->pKinder);
  pAst->pKinder = nullptr;
  pAst->nKinder = 0;
}

}  // namespace

// A branch of zero length at pStart along pRichtung. A child's scale is its
// factor times the parent's scale; the trunk (depth 0) also takes its first
// 8 pool vertices here, a child gets its arrays from the parent's fork.
Ast::Ast(const D3DVECTOR* pStart, const D3DVECTOR* pRichtung, unsigned int nAstTiefe, Ast* pVater,
         Baum* pBaumEigner, float fFaktor)
    : pEckenIndex(nullptr),
      pRing(nullptr),
      pDreiecke(nullptr),
      nTiefe(nAstTiefe),
      pEltern(pVater),
      pKinder(nullptr),
      nKinder(0),
      nAlter(0),
      pBesitzer(pBaumEigner),
      fWachstum(0.0f),
      bWaechst(true),
      fVerdrehung(0.0f) {
  fSkala =
      nTiefe == 0 ? fFaktor : static_cast<float>(static_cast<double>(fFaktor) * pEltern->fSkala);
  nSeiten = pBesitzer->nSeiten;
  nKinderSoll = pBesitzer->nKinder;
  nMaxTiefe = pBesitzer->nTiefe;
  nLebensdauer = static_cast<int>(12 * (nMaxTiefe - nTiefe + 1));
  fVollLaenge = static_cast<float>(static_cast<double>(pBesitzer->fGrundLaenge) * fSkala);
  fVollRadius =
      static_cast<float>(static_cast<double>(fVollLaenge) * pBesitzer->fVerhaeltnis * 0.100000001f);

  vStart = *pStart;
  vRichtung = *pRichtung;
  vAusdehnung = {vRichtung.x * 0.0f, vRichtung.y * 0.0f, vRichtung.z * 0.0f};
  vEnde = vStart;

  if (nTiefe == 0) {
    vSeitwaerts = {1.0f, 0.0f, 0.0f};
  } else {
    const D3DVECTOR vOben = {0.0f, 1.0f, 0.0f};
    Vek_Kreuz(&vSeitwaerts, &vOben, &vRichtung);
    Vek_Normieren(&vSeitwaerts, &vSeitwaerts);
  }
  Vek_Kreuz(&vQuer, &vRichtung, &vSeitwaerts);
  Vek_Normieren(&vQuer, &vQuer);

  if (nTiefe == 0) Stamm_Bauen();
}

Ast::~Ast() {
  delete[] pDreiecke;
  pDreiecke = nullptr;
  delete[] pRing;
  pRing = nullptr;
  delete[] pEckenIndex;
  pEckenIndex = nullptr;
  Kinder_Freigeben(this);
}

// fWachstum = curve entry trunc(40 * age / lifetime); only while growing.
void Ast::Kurve_Lesen() {
  const int k = static_cast<int>(40.0 * nAlter / nLebensdauer);
  fWachstum = pBesitzer->pKurve[k];
}

// One growth step of this branch, then of its children (depth first, so the
// forks of a frame draw their random numbers in that order). A growing child
// starts where its parent ends in this same step.
void Ast::Wachsen() {
  if (bWaechst) {
    Kurve_Lesen();
    if (nTiefe != 0) vStart = pEltern->vEnde;
    const double fLaenge = static_cast<double>(fWachstum) * fVollLaenge;
    vAusdehnung.x = static_cast<float>(vRichtung.x * fLaenge);
    vAusdehnung.y = static_cast<float>(vRichtung.y * fLaenge);
    vAusdehnung.z = static_cast<float>(vRichtung.z * fLaenge);
    vEnde.x = vStart.x + vAusdehnung.x;
    vEnde.y = vStart.y + vAusdehnung.y;
    vEnde.z = vStart.z + vAusdehnung.z;
    if (nAlter == 12 && nTiefe < nMaxTiefe && fSkala > 0.0399999991f) Verzweigen();
  }
  for (unsigned int i = 0; i < nKinder; i++) pKinder[i].Wachsen();
  nAlter += 1;
  if (static_cast<int>(nAlter) == nLebensdauer) bWaechst = false;
}

// The fork: two children at this branch's end, tilted apart by A0 and
// 90 degrees - A0 (whole degrees, A0 from 33 to 57) about axes that the twist
// (-30 to +29 degrees) and the azimuth table turn about this branch's
// direction. Normalises the direction in place. Draws rand() twice.
void Ast::Verzweigen() {
  const unsigned int nMax = 2;  // the joint geometry joins exactly two children
  if (nKinderSoll != nMax) return;
  void* pBlock = ::operator new(sizeof(Ast) * nKinderSoll, std::nothrow);
  if (!pBlock) {
    Baum_Speicherfehler("die Kinder eines Astes");
    return;
  }

  float afNeigung[nMax], afVerhaeltnis[nMax];
  afNeigung[0] = static_cast<float>((rand() % 25 + 33) * static_cast<double>(0.0174532924f));
  const double t = std::tan(static_cast<double>(afNeigung[0]) * afNeigung[0]);
  const double fV = pBesitzer->fVerhaeltnis;
  afVerhaeltnis[0] = static_cast<float>(fV / std::sqrt(1.0 + t));
  for (unsigned int i = 1; i < nKinderSoll; i++) {
    afNeigung[i] = 1.57079637f - afNeigung[0];
    afVerhaeltnis[i] = static_cast<float>(fV / std::sqrt(1.0 + 1.0 / t));
  }
  const float fTwist = static_cast<float>((rand() % 60 - 30) * static_cast<double>(0.0174532924f));

  pKinder = static_cast<Ast*>(pBlock);
  nKinder = nKinderSoll;
  for (unsigned int i = 0; i < nKinder; i++) {
    D3DMATRIX M1, M2;
    D3DVECTOR T, D, S, V;
    Mat_DrehAchse(&M1, &vRichtung, fTwist + pBesitzer->pWinkel[i]);
    Vek_Transformieren(&T, &vQuer, &M1);
    Mat_DrehAchse(&M2, &T, afNeigung[i]);
    Vek_Transformieren(&D, &vRichtung, &M2);
    Vek_Transformieren(&S, &vSeitwaerts, &M2);
    Vek_Transformieren(&V, &vQuer, &M2);
    Vek_Normieren(&D, &D);
    const double fLaenge = static_cast<double>(afVerhaeltnis[i]) * fVollLaenge;
    D = {static_cast<float>(D.x * fLaenge), static_cast<float>(D.y * fLaenge),
         static_cast<float>(D.z * fLaenge)};
    new (&pKinder[i]) Ast(&vEnde, &D, nTiefe + 1, this, pBesitzer, afVerhaeltnis[i]);
    pKinder[i].Verdrehung_Berechnen(S, V);
  }

  if (!Gelenk_Bauen(afNeigung[0])) Kinder_Freigeben(this);
}
