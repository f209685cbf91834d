// Branch geometry: the trunk's cone, the joint that a fork builds between a
// branch and its two children, the twist of a child, and drawing. Every
// branch is a six-sided tube cut from the tree's one vertex pool; ring
// offsets are kept at full size and scaled by the growth value when drawn.
#include <algorithm>
#include <cmath>
#include <new>

#include "baum/baum.h"
#include "grafik/grafik.h"

namespace {

const unsigned int nEcken = 8;      // slot 0 extra, 1 to 6 base ring, 7 tip
const unsigned int nRingEcken = 6;  // tube sides
const unsigned int nIndizes = 39;   // 13 triangles

double Skalar(const D3DVECTOR& a, const D3DVECTOR& b) {
  return static_cast<double>(a.x) * b.x + static_cast<double>(a.y) * b.y +
         static_cast<double>(a.z) * b.z;
}

D3DVECTOR Mal(const D3DVECTOR& v, double f) {
  return {static_cast<float>(v.x * f), static_cast<float>(v.y * f), static_cast<float>(v.z * f)};
}

void Position_Setzen(BaumVertex* pEcke, const D3DVECTOR& p) {
  pEcke->x = p.x;
  pEcke->y = p.y;
  pEcke->z = p.z;
}

// vBasis + v * f
D3DVECTOR Versetzt(const D3DVECTOR& vBasis, const D3DVECTOR& v, double f) {
  return {static_cast<float>(vBasis.x + v.x * f), static_cast<float>(vBasis.y + v.y * f),
          static_cast<float>(vBasis.z + v.z * f)};
}

void Normale_Setzen(BaumVertex* pEcke, const D3DVECTOR& n) {
  pEcke->nx = n.x;
  pEcke->ny = n.y;
  pEcke->nz = n.z;
}

void Dreieck_Setzen(unsigned short* pDreiecke, unsigned int nDreieck, unsigned int a,
                    unsigned int b, unsigned int c) {
  pDreiecke[3 * nDreieck] = static_cast<unsigned short>(a);
  pDreiecke[3 * nDreieck + 1] = static_cast<unsigned short>(b);
  pDreiecke[3 * nDreieck + 2] = static_cast<unsigned short>(c);
}

// The ring offset of ring slot i (0 to 5), turned by i sixths of a turn
// about the direction: vSeitwaerts turned, normalised, times fRadius.
D3DVECTOR Ring_Versatz(Ast* pAst, unsigned int i, float fRadius) {
  const float fSchritt = 6.28318548f / pAst->nSeiten;
  D3DMATRIX M;
  D3DVECTOR q;
  Mat_DrehAchse(&M, &pAst->vRichtung, static_cast<float>(i) * fSchritt);
  Vek_Transformieren(&q, &pAst->vSeitwaerts, &M);
  Vek_Normieren(&q, &q);
  return {q.x * fRadius, q.y * fRadius, q.z * fRadius};
}

// Allocates a branch's three arrays, zeroed; all or none.
int Felder_Anlegen(Ast* pAst) {
  pAst->pEckenIndex = new (std::nothrow) unsigned int[nEcken]();
  pAst->pRing = new (std::nothrow) D3DVECTOR[nRingEcken]();
  pAst->pDreiecke = new (std::nothrow) unsigned short[nIndizes]();
  if (pAst->pEckenIndex && pAst->pRing && pAst->pDreiecke) return 1;
  delete[] pAst->pEckenIndex;
  delete[] pAst->pRing;
  delete[] pAst->pDreiecke;
  pAst->pEckenIndex = nullptr;
  pAst->pRing = nullptr;
  pAst->pDreiecke = nullptr;
  return 0;
}

// Triangles 1 to 6: the cone from the base ring to the tip slot, clockwise
// on screen seen from outside, so counter-clockwise culling keeps them.
void Kegel_Verbinden(Ast* pAst) {
  const unsigned int* m = pAst->pEckenIndex;
  for (unsigned int k = 0; k < nRingEcken; k++)
    Dreieck_Setzen(pAst->pDreiecke, k + 1, m[1 + (k + 1) % nRingEcken], m[1 + k], m[7]);
}

}  // namespace

// The trunk's base centre, base ring and tip from the pool (8 vertices);
// called by the constructor of a depth-0 branch. 0 when memory ran out.
int Ast::Stamm_Bauen() {
  if (!Felder_Anlegen(this)) {
    Baum_Speicherfehler("die Felder des Stamms");
    return 0;
  }
  BaumVertex* pEcken = pBesitzer->pEcken;
  const unsigned int U = pBesitzer->nBenutzt;
  pEckenIndex[0] = U;
  for (unsigned int i = 1; i <= nRingEcken; i++) {
    pRing[i - 1] = Ring_Versatz(this, i - 1, fVollRadius);
    Normale_Setzen(&pEcken[U + i], pRing[i - 1]);
    pEckenIndex[i] = U + i;
  }
  Normale_Setzen(&pEcken[U + 7], vRichtung);
  pEckenIndex[7] = U + 7;
  Normale_Setzen(&pEcken[U], {0.0f, 1.0f, 0.0f});
  Position_Setzen(&pEcken[U], pBesitzer->vPosition);
  Dreieck_Setzen(pDreiecke, 0, U, U, U);
  Kegel_Verbinden(this);
  pBesitzer->nBenutzt += nEcken;
  return 1;
}

// Twist of a new child: the angle from S (the parent's side vector under the
// child's tilt) to the child's own side vector, counted towards V, in
// [0, 2 pi).
void Ast::Verdrehung_Berechnen(D3DVECTOR S, D3DVECTOR V) {
  double c = Skalar(vSeitwaerts, S) / Vek_Laenge(&vSeitwaerts) / Vek_Laenge(&S);
  if (c > 1.0) c = 1.0;
  if (c < -1.0) c = -1.0;
  double a = std::acos(c);
  if (Skalar(vSeitwaerts, V) < 0.0) a = -a;
  float fWinkel = static_cast<float>(a);
  while (fWinkel < 0.0f) fWinkel = fWinkel + 6.28318548f;
  fVerdrehung = fWinkel;
}

// The joint of a fork (11 pool vertices): a ring P0..P5 at this branch's end
// and a crotch arc Q0..Q2 between the children, shared by both children's
// base rings, plus a tip per child. The arc is turned about vQuer, so it
// ignores the fork's twist. Until their branches position them, the new
// vertices sit at the fork point. 0 when memory ran out (nothing changed).
int Ast::Gelenk_Bauen(float fNeigung0) {
  Ast* K = pKinder;
  if (!Felder_Anlegen(&K[0]) || !Felder_Anlegen(&K[1])) {
    Baum_Speicherfehler("die Felder einer Gabelung");
    return 0;
  }
  const float R =
      static_cast<float>((static_cast<double>(K[0].fVollRadius) + K[1].fVollRadius) / 2);
  const float fSchritt = 6.28318548f / nSeiten;
  D3DMATRIX M;
  D3DVECTOR W, X, G[9];  // G: P0..P5, Q0..Q2 by pool offset
  Mat_DrehAchse(&M, &vQuer, static_cast<float>(2.0 * fNeigung0 - 1.57079637f));
  Vek_Transformieren(&W, &vRichtung, &M);
  Vek_Normieren(&W, &W);
  Vek_Kreuz(&X, &vQuer, &W);
  Vek_Normieren(&X, &X);
  for (unsigned int k = 0; k < nRingEcken; k++) G[k] = Ring_Versatz(this, k, R);
  G[7] = Mal(W, 0.800000012f * static_cast<double>(R));
  Vek_Transformieren(&G[6], &G[7], Mat_DrehAchse(&M, &X, fSchritt));
  Vek_Transformieren(&G[8], &G[7], Mat_DrehAchse(&M, &X, -fSchritt));

  BaumVertex* pEcken = pBesitzer->pEcken;
  const unsigned int U = pBesitzer->nBenutzt;
  for (unsigned int n = 0; n < 11; n++) {
    Normale_Setzen(&pEcken[U + n], n < 9 ? G[n] : K[n - 9].vRichtung);
    Position_Setzen(&pEcken[U + n], vEnde);
  }

  // Slots and crotch triangle per child, as pool offsets from U.
  static const unsigned int anSlots[2][nEcken] = {{5, 7, 8, 2, 3, 4, 6, 9},
                                                  {2, 0, 1, 8, 7, 6, 5, 10}};
  static const unsigned int anDreieck0[2][3] = {{5, 4, 6}, {2, 1, 8}};
  for (unsigned int j = 0; j < 2; j++) {
    for (unsigned int i = 0; i < nEcken; i++) K[j].pEckenIndex[i] = U + anSlots[j][i];
    for (unsigned int i = 0; i < nRingEcken; i++) K[j].pRing[i] = G[anSlots[j][i + 1]];
    Dreieck_Setzen(K[j].pDreiecke, 0, U + anDreieck0[j][0], U + anDreieck0[j][1],
                   U + anDreieck0[j][2]);
    Kegel_Verbinden(&K[j]);
  }
  Umverdrahten(U);
  pBesitzer->nBenutzt += nKinder + static_cast<unsigned int>(1.5 * nSeiten);
  return 1;
}

// Turns this branch's cone into a tube ending on the joint ring at nBasis.
// The twist in whole degrees picks, by sixths of a turn, which ring vertex
// each side ends on (Z = 6 is the same as Z = 0).
void Ast::Umverdrahten(unsigned int nBasis) {
  const int d = static_cast<int>(static_cast<double>(fVerdrehung) * 57.2957763671875);
  const unsigned int Z = static_cast<unsigned int>((30 + d) / 60);
  const unsigned int* m = pEckenIndex;
  for (unsigned int k = 0; k < nRingEcken; k++) {
    const unsigned int a = m[1 + (k + 1) % nRingEcken];
    const unsigned int b = nBasis + (Z + k) % nRingEcken;
    const unsigned int c = nBasis + (Z + k + 1) % nRingEcken;
    Dreieck_Setzen(pDreiecke, k + 1, a, m[1 + k], b);
    Dreieck_Setzen(pDreiecke, 7 + k, a, b, c);
  }
}

// Positions this branch's ring and tip while it grows, draws the children,
// then itself: one indexed draw in its own scene. The call names only the
// span of the pool its indices use: a real device copies the whole named
// range on every call, and the pool's full 16,376 vertices in each of some
// 400 calls a frame cost the frame on Windows.
void Ast::Zeichnen() {
  BaumVertex* pEcken = pBesitzer->pEcken;
  if (bWaechst) {
    for (unsigned int i = 1; i <= nRingEcken; i++)
      Position_Setzen(&pEcken[pEckenIndex[i]], Versetzt(vStart, pRing[i - 1], fWachstum));
    Position_Setzen(&pEcken[pEckenIndex[7]], Versetzt(vStart, vRichtung, fWachstum));
  }
  for (unsigned int i = 0; i < nKinder; i++) pKinder[i].Zeichnen();

  const unsigned int nDreiecke = nKinder > 0 ? 2 * nSeiten + 1 : nSeiten + 1;
  const auto [pKleinster, pGroesster] = std::minmax_element(pDreiecke, pDreiecke + 3 * nDreiecke);
  pDevice->BeginScene();
  pDevice->SetVertexShader(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1);
  pDevice->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, *pKleinster, *pGroesster - *pKleinster + 1,
                                  nDreiecke, pDreiecke, D3DFMT_INDEX16, pEcken, sizeof(BaumVertex));
  pDevice->EndScene();
}
