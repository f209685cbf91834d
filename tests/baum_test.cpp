// Tree: vector helpers, growth, fork geometry, pool use and drawing.
#include "baum/baum.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <set>
#include <vector>

#include "eingabe/eingabe.h"
#include "grafik/grafik.h"
#include "plattform/d3d8/aufzeichnung.h"
#include "tests/testgeraet.h"

namespace {

const D3DVECTOR vFuss = {0.0f, -1.0f, 0.0f};
const double fGrad = 3.14159265358979323846 / 180.0;

// A seed whose first two rand() values give the first fork this tilt and
// twist in whole degrees.
unsigned int Saat_Fuer(int nNeigung, int nDrehung) {
  for (unsigned int s = 1; s < 10000000; s++) {
    srand(s);
    const int a = rand(), b = rand();
    if (a % 25 + 33 == nNeigung && b % 60 - 30 == nDrehung) return s;
  }
  ADD_FAILURE() << "no seed for " << nNeigung << "/" << nDrehung;
  return 0;
}

void Wachsen_Lassen(Baum& b, int nBilder) {
  for (int i = 0; i < nBilder; i++) b.Wachsen();
}

void Bilder(Baum& b, int nBilder) {
  for (int i = 0; i < nBilder; i++) {
    b.Wachsen();
    b.Zeichnen();
  }
}

void Alle_Aeste(Ast* pAst, const std::function<void(Ast*)>& f) {
  f(pAst);
  for (unsigned int i = 0; i < pAst->nKinder; i++) Alle_Aeste(&pAst->pKinder[i], f);
}

void Nah(const D3DVECTOR& v, double x, double y, double z, double fToleranz = 1e-6) {
  EXPECT_NEAR(v.x, x, fToleranz);
  EXPECT_NEAR(v.y, y, fToleranz);
  EXPECT_NEAR(v.z, z, fToleranz);
}

D3DVECTOR Normale(const Baum& b, unsigned int i) {
  return {b.pEcken[i].nx, b.pEcken[i].ny, b.pEcken[i].nz};
}

D3DVECTOR Position(const Baum& b, unsigned int i) {
  return {b.pEcken[i].x, b.pEcken[i].y, b.pEcken[i].z};
}

bool Gleich(const D3DVECTOR& a, const D3DVECTOR& b) {
  return a.x == b.x && a.y == b.y && a.z == b.z;
}

// Third index of triangle t of a branch.
unsigned int Spitze(const Ast& a, int t) { return a.pDreiecke[3 * t + 2]; }

uint64_t Fnv1a(const void* pDaten, size_t nBytes) {
  uint64_t h = 14695981039346656037ull;
  for (size_t i = 0; i < nBytes; i++)
    h = (h ^ static_cast<const uint8_t*>(pDaten)[i]) * 1099511628211ull;
  return h;
}

}  // namespace

TEST(Vektor, KreuzNormierenUndTransformieren) {
  D3DVECTOR a = {1, 2, 3};
  const D3DVECTOR b = {4, 5, 6};
  Vek_Kreuz(&a, &a, &b);
  Nah(a, -3, 6, -3, 0);

  D3DVECTOR v = {3, 0, 4}, n;
  Vek_Normieren(&n, &v);
  Nah(n, 0.6, 0, 0.8);
  EXPECT_TRUE(Gleich(n, v));

  D3DMATRIX M = {};
  M._11 = M._22 = M._33 = 1;
  D3DVECTOR p = {2, 4, 6}, q = {7, 7, 7};
  EXPECT_EQ(Vek_Transformieren(&q, &p, &M), 0);  // w = 0
  Nah(q, 7, 7, 7, 0);
  M._44 = 2;
  M._41 = 2;
  EXPECT_EQ(Vek_Transformieren(&p, &p, &M), 1);  // out is the input
  Nah(p, 2, 2, 3, 0);
}

TEST(Vektor, DrehAchse) {
  D3DMATRIX M, E = {};
  E._11 = E._22 = E._33 = E._44 = 1;
  D3DVECTOR vAchse = {1, -2, 3};
  Mat_DrehAchse(&M, &vAchse, 0.0f);
  for (int i = 0; i < 16; i++) EXPECT_EQ((&M._11)[i], (&E._11)[i]) << i;
  EXPECT_NEAR(Vek_Laenge(&vAchse), 1.0, 1e-7);  // normalised in place

  D3DVECTOR vOben = {0, 2, 0}, p = {1, 0, 0};
  Mat_DrehAchse(&M, &vOben, 1.57079637f);
  Nah(vOben, 0, 1, 0, 0);
  Vek_Transformieren(&p, &p, &M);
  Nah(p, 0, 0, 1);
  // p cos + (p x n) sin: (1,0,0) about +z by a quarter turn goes to -y.
  D3DVECTOR vZ = {0, 0, 1}, r = {1, 0, 0};
  Vek_Transformieren(&r, &r, Mat_DrehAchse(&M, &vZ, 1.57079637f));
  Nah(r, 0, -1, 0);
}

TEST(BaumAufbau, TabellenPoolUndStamm) {
  Baum b(&vFuss, 10);
  EXPECT_EQ(b.nKapazitaet, 16376);
  EXPECT_EQ(b.nBenutzt, 8u);
  EXPECT_EQ(b.pWinkel[0], 0.0f);
  EXPECT_EQ(b.pWinkel[1], 3.14159274f);
  EXPECT_EQ(b.pKurve[0], 0.0f);
  EXPECT_EQ(b.pKurve[19], 0.475f);
  EXPECT_EQ(b.pKurve[20], 0.525f);
  EXPECT_EQ(b.pKurve[39], 1.0f);
  for (int k = 0; k < 40; k++) {
    EXPECT_NEAR(b.pKurve[k] + b.pKurve[39 - k], 1.0, 1.2e-7) << k;
    if (k > 0) {
      EXPECT_GT(b.pKurve[k], b.pKurve[k - 1]);
    }
  }

  const Ast& s = *b.pStamm;
  EXPECT_EQ(s.nLebensdauer, 132);
  EXPECT_NEAR(s.fVollRadius, 0.09, 1e-8);
  Nah(s.vQuer, 0, 0, -1, 0);
  Nah(Position(b, 0), 0, -1, 0, 0);
  Nah(Normale(b, 0), 0, 1, 0, 0);
  Nah(Normale(b, 7), 0, 1, 0, 0);
  for (int j = 0; j < 6; j++) {
    Nah(Normale(b, 1 + j), 0.09 * std::cos(j * 60 * fGrad), 0, 0.09 * std::sin(j * 60 * fGrad));
    EXPECT_TRUE(Gleich(s.pRing[j], Normale(b, 1 + j)));
    const unsigned short d[3] = {static_cast<unsigned short>(1 + (j + 1) % 6),
                                 static_cast<unsigned short>(1 + j), 7};
    EXPECT_EQ(std::memcmp(&s.pDreiecke[3 * (j + 1)], d, sizeof d), 0) << j;
  }
  for (int i = 0; i < 3; i++) EXPECT_EQ(s.pDreiecke[i], 0);
}

TEST(BaumAufbau, OhnePositionUndTiefeNull) {
  Baum b(nullptr, 0);
  EXPECT_EQ(b.nKapazitaet, 8);
  Nah(b.vPosition, 0, 0, 0, 0);
  Nah(Position(b, 0), 0, 0, 0, 0);
  Wachsen_Lassen(b, 30);
  EXPECT_EQ(b.pStamm->nKinder, 0u);
  EXPECT_EQ(b.nBenutzt, 8u);
  EXPECT_FALSE(b.pStamm->bWaechst);
}

TEST(Wachstum, StammGabeltImBildZwoelf) {
  srand(1);
  Baum b(&vFuss, 10);
  Wachsen_Lassen(b, 12);
  EXPECT_EQ(b.pStamm->nKinder, 0u);
  EXPECT_EQ(b.nBenutzt, 8u);
  Wachsen_Lassen(b, 1);
  ASSERT_EQ(b.pStamm->nKinder, 2u);
  EXPECT_EQ(b.nBenutzt, 19u);
  for (int i = 0; i < 2; i++) {
    EXPECT_EQ(b.pStamm->pKinder[i].nLebensdauer, 120);
    EXPECT_EQ(b.pStamm->pKinder[i].fWachstum, 0.0f);
  }
  EXPECT_NEAR(Vek_Laenge(&b.pStamm->vRichtung), 1.0, 1e-7);
}

// Forking, pool use and growth end over whole trees of several seeds.
TEST(Wachstum, GanzeBaeume) {
  for (unsigned int nSaat = 1; nSaat <= 6; nSaat++) {
    srand(nSaat);
    Baum b(&vFuss, 10);
    Wachsen_Lassen(b, 131);
    int nGewachsen = 0;
    Alle_Aeste(b.pStamm, [&](Ast* a) { nGewachsen += a->bWaechst; });
    Wachsen_Lassen(b, 1);
    unsigned int nGabeln = 0;
    Alle_Aeste(b.pStamm, [&](Ast* a) {
      EXPECT_FALSE(a->bWaechst);
      EXPECT_EQ(a->nLebensdauer, 12 * (11 - static_cast<int>(a->nTiefe)));
      const bool bSollGabeln = a->nTiefe < 10 && a->fSkala > 0.0399999991f;
      EXPECT_EQ(a->nKinder, bSollGabeln ? 2u : 0u);
      if (a->nKinder == 0) return;
      nGabeln++;
      const double b0 = a->pKinder[0].fSkala / a->fSkala, b1 = a->pKinder[1].fSkala / a->fSkala;
      EXPECT_NEAR(b0 * b0 + b1 * b1, 0.81, 1e-5);
    });
    EXPECT_GT(nGabeln, 0u);
    EXPECT_EQ(nGewachsen, static_cast<int>(2 * nGabeln + 1));  // all grew until frame 131
    EXPECT_EQ(b.nBenutzt, 8 + 11 * nGabeln);
    EXPECT_LE(b.nBenutzt, 11261u);
  }
}

TEST(Wachstum, AesteDerTiefeZehn) {
  for (unsigned int nSaat = 1; nSaat < 300; nSaat++) {
    srand(nSaat);
    Baum b(&vFuss, 10);
    Wachsen_Lassen(b, 121);  // frame 120 makes them
    std::vector<Ast*> Blaetter;
    Alle_Aeste(b.pStamm, [&](Ast* a) {
      if (a->nTiefe == 10) Blaetter.push_back(a);
    });
    if (Blaetter.empty()) continue;
    const int anEintrag[12] = {0, 3, 6, 10, 13, 16, 20, 23, 26, 30, 33, 36};
    for (int n = 0; n < 12; n++) {
      for (Ast* a : Blaetter) EXPECT_EQ(a->fWachstum, b.pKurve[anEintrag[n]]) << n;
      Wachsen_Lassen(b, 1);
    }
    for (Ast* a : Blaetter) {
      EXPECT_EQ(a->nLebensdauer, 12);
      EXPECT_EQ(a->nKinder, 0u);
      EXPECT_FALSE(a->bWaechst);
    }
    return;
  }
  FAIL() << "no seed grew a branch of depth 10";
}

TEST(Wachstum, SkalaGenauNullKommaNullVierGabeltNicht) {
  const float afFaktor[2] = {0.04f, std::nextafter(0.04f, 1.0f)};
  for (int i = 0; i < 2; i++) {
    Baum b(&vFuss, 10);
    delete b.pStamm;
    b.nBenutzt = 0;
    const D3DVECTOR vOben = {0, 1, 0};
    b.pStamm = new Ast(&vFuss, &vOben, 0, nullptr, &b, afFaktor[i]);
    Wachsen_Lassen(b, 13);
    EXPECT_EQ(b.pStamm->nKinder, i == 0 ? 0u : 2u);
  }
}

class Gabel57 : public ::testing::Test {
 protected:
  void SetUp() override {
    srand(Saat_Fuer(57, 0));
    Wachsen_Lassen(b, 13);
    ASSERT_EQ(b.pStamm->nKinder, 2u);
  }
  Baum b{&vFuss, 10};
};

TEST_F(Gabel57, RichtungenUndVerdrehung) {
  Ast* K = b.pStamm->pKinder;
  Nah(K[0].vRichtung, -std::sin(57 * fGrad) * 0.567, std::cos(57 * fGrad) * 0.567, 0, 1e-3);
  Nah(K[1].vRichtung, std::sin(33 * fGrad) * 0.699, std::cos(33 * fGrad) * 0.699, 0, 1e-3);
  EXPECT_NEAR(Vek_Laenge(&K[0].vRichtung), K[0].fVollLaenge, 1e-6);
  EXPECT_EQ(K[0].fVerdrehung, 4.71238899f);
  EXPECT_LE(K[1].fVerdrehung, 1.57079637f);
  EXPECT_GE(K[1].fVerdrehung, std::nextafter(1.57079637f, 0.0f));
  // When the children fork (frame 24), child 0 takes the joint at 19 and
  // child 1 the one at 30; their twists pick Z = 4 and Z = 1.
  Wachsen_Lassen(b, 12);
  ASSERT_EQ(K[0].nKinder, 2u);
  ASSERT_EQ(K[1].nKinder, 2u);
  for (int k = 0; k < 6; k++) {
    EXPECT_EQ(Spitze(K[0], k + 1), 19u + (4 + k) % 6);
    EXPECT_EQ(Spitze(K[1], k + 1), 30u + (1 + k) % 6);
  }
}

TEST_F(Gabel57, GelenkringUndZwiesel) {
  const Ast* K = b.pStamm->pKinder;
  const double R = (K[0].fVollRadius + K[1].fVollRadius) / 2.0;
  for (int k = 0; k < 6; k++)
    Nah(Normale(b, 8 + k), R * std::cos(k * 60 * fGrad), 0, R * std::sin(k * 60 * fGrad));
  const double s24 = std::sin(24 * fGrad), c24 = std::cos(24 * fGrad), w = std::sqrt(3.0) / 2;
  const double q = 0.8 * R;
  Nah(Normale(b, 15), -q * s24, q * c24, 0);               // Q1 = 0.8 R W
  Nah(Normale(b, 14), -q * s24 / 2, q * c24 / 2, -q * w);  // Q0
  Nah(Normale(b, 16), -q * s24 / 2, q * c24 / 2, q * w);   // Q2
  EXPECT_TRUE(Gleich(Normale(b, 17), K[0].vRichtung));
  EXPECT_TRUE(Gleich(Normale(b, 18), K[1].vRichtung));

  std::set<unsigned int> Ring0(K[0].pEckenIndex + 1, K[0].pEckenIndex + 7), Gemeinsam;
  for (int i = 1; i <= 6; i++)
    if (Ring0.count(K[1].pEckenIndex[i])) Gemeinsam.insert(K[1].pEckenIndex[i]);
  EXPECT_EQ(Gemeinsam, (std::set<unsigned int>{14, 15, 16}));
  for (int j = 0; j < 2; j++)
    for (int i = 0; i < 6; i++)
      EXPECT_TRUE(Gleich(K[j].pRing[i], Normale(b, K[j].pEckenIndex[i + 1]))) << j << i;
  const unsigned short d0[3] = {13, 12, 14}, d1[3] = {10, 9, 16};
  EXPECT_EQ(std::memcmp(K[0].pDreiecke, d0, sizeof d0), 0);
  EXPECT_EQ(std::memcmp(K[1].pDreiecke, d1, sizeof d1), 0);
}

// The trunk's sides end on the joint ring P0..P5 (Z = 0); the twist picks
// the ring vertex by sixths of a turn, 345 degrees wrapping to Z = 0.
TEST_F(Gabel57, UmverdrahtungNachDrehwinkel) {
  Ast& s = *b.pStamm;
  const struct {
    int nGrad;
    unsigned int Z;
  } Faelle[] = {{0, 0}, {15, 0}, {45, 1}, {345, 0}};
  for (const auto& f : Faelle) {
    s.fVerdrehung = static_cast<float>(f.nGrad * 0.0174532924f);
    if (f.nGrad) s.Umverdrahten(8);
    for (unsigned int k = 0; k < 6; k++) {
      EXPECT_EQ(Spitze(s, k + 1), 8 + (f.Z + k) % 6) << f.nGrad;
      EXPECT_EQ(s.pDreiecke[3 * (7 + k) + 1], 8 + (f.Z + k) % 6);
      EXPECT_EQ(Spitze(s, 7 + k), 8 + (f.Z + k + 1) % 6);
      EXPECT_EQ(s.pDreiecke[3 * (7 + k)], s.pDreiecke[3 * (k + 1)]);
    }
  }
}

TEST(Gabelung, NeigungenUndLaengenverhaeltnisse) {
  const struct {
    int nGrad;
    double b0, b1;
  } Faelle[] = {{33, 0.776, 0.456}, {45, 0.688, 0.580}, {57, 0.567, 0.699}};
  for (const auto& f : Faelle) {
    srand(Saat_Fuer(f.nGrad, 10));
    Baum b(&vFuss, 10);
    Wachsen_Lassen(b, 13);
    Ast* K = b.pStamm->pKinder;
    EXPECT_NEAR(K[0].fSkala, f.b0, 1e-3);
    EXPECT_NEAR(K[1].fSkala, f.b1, 1e-3);
    for (int i = 0; i < 2; i++) {
      const double fNeigung = std::acos(K[i].vRichtung.y / Vek_Laenge(&K[i].vRichtung));
      EXPECT_NEAR(fNeigung / fGrad, i == 0 ? f.nGrad : 90 - f.nGrad, 1e-4);
    }
    const double fSkalar = K[0].vRichtung.x * K[1].vRichtung.x +
                           K[0].vRichtung.y * K[1].vRichtung.y +
                           K[0].vRichtung.z * K[1].vRichtung.z;
    EXPECT_NEAR(fSkalar, 0.0, 1e-6);  // opposite tilts, at right angles
  }
}

namespace {

// Drawing on the stand-in's software device, with the calls recorded.
class BaumZeichnen : public ::testing::Test {
 protected:
  void SetUp() override {
    pDevice = Software_Geraet(32, 24);
    ASSERT_NE(pDevice, nullptr);
    bFlach = 0;
  }
  void TearDown() override {
    ersatz::Aufzeichnung_Beenden();
    if (pDevice) pDevice->Release();
    pDevice = nullptr;
  }
  // The draw calls of one frame, in order.
  std::vector<ersatz::Aufruf_Zeichnen> Bild(Baum& b) {
    ersatz::Aufzeichnung_Starten();
    Bilder(b, 1);
    ersatz::Aufzeichnung_Beenden();
    std::vector<ersatz::Aufruf_Zeichnen> Zuege;
    for (const ersatz::Aufruf& a : ersatz::Aufzeichnung())
      if (a.Art == ersatz::Aufruf_Art::DrawIndexedPrimitiveUP) Zuege.push_back(a.Zeichnen);
    return Zuege;
  }
  static D3DVECTOR Ecke(const ersatz::Aufruf_Zeichnen& z, unsigned int nIndex) {
    for (const ersatz::Aufruf_Ecke& e : z.Ecken)
      if (e.nIndex == nIndex) return e.Position;
    ADD_FAILURE() << "vertex " << nIndex << " not drawn";
    return {};
  }
};

TEST_F(BaumZeichnen, AufrufeJeAst) {
  srand(3);
  Baum b(&vFuss, 10);
  ersatz::Aufzeichnung_Starten();
  Bilder(b, 1);
  bFlach = 1;
  Bilder(b, 1);
  ersatz::Aufzeichnung_Beenden();
  using A = ersatz::Aufruf_Art;
  const A Folge[] = {A::SetRenderState, A::BeginScene, A::SetVertexShader,
                     A::DrawIndexedPrimitiveUP, A::EndScene};
  const std::vector<ersatz::Aufruf> Aufrufe = ersatz::Aufzeichnung();
  ASSERT_EQ(Aufrufe.size(), 10u);
  for (int i = 0; i < 10; i++) EXPECT_EQ(Aufrufe[i].Art, Folge[i % 5]) << i;
  EXPECT_EQ(Aufrufe[0].nTyp, static_cast<DWORD>(D3DRS_SHADEMODE));
  EXPECT_EQ(Aufrufe[0].nWert, static_cast<DWORD>(D3DSHADE_GOURAUD));
  EXPECT_EQ(Aufrufe[5].nWert, static_cast<DWORD>(D3DSHADE_FLAT));
  EXPECT_EQ(Aufrufe[2].nWert, 0x112u);
  const ersatz::Aufruf_Zeichnen& z = Aufrufe[3].Zeichnen;
  EXPECT_EQ(z.Typ, D3DPT_TRIANGLELIST);
  EXPECT_EQ(z.nMinIndex, 0u);
  EXPECT_EQ(z.nAnzahlEcken, 8u) << "the trunk's own vertices, not the whole pool";
  EXPECT_EQ(z.nPrimitive, 7u);
  EXPECT_EQ(z.IndexFormat, D3DFMT_INDEX16);
  EXPECT_EQ(z.nStride, 32u);
  for (const ersatz::Aufruf_Ecke& e : z.Ecken) Nah(e.Position, 0, -1, 0, 0);  // zero size

  bFlach = 0;
  Bilder(b, 10);
  const auto Zuege = Bild(b);  // frame 12: the fork
  ASSERT_EQ(Zuege.size(), 3u);
  EXPECT_EQ(Zuege[0].nPrimitive, 7u);
  EXPECT_EQ(Zuege[1].nPrimitive, 7u);
  EXPECT_EQ(Zuege[2].nPrimitive, 13u);  // the trunk, after its children
  EXPECT_EQ(Zuege[2].Indizes, std::vector<UINT>(b.pStamm->pDreiecke, b.pStamm->pDreiecke + 39));
  const unsigned short* d0 = b.pStamm->pKinder[0].pDreiecke;
  EXPECT_EQ(Zuege[0].Indizes, std::vector<UINT>(d0, d0 + 21));
  // Each call names exactly the span of the pool its indices use.
  Bilder(b, 30);
  for (const ersatz::Aufruf_Zeichnen& zug : Bild(b)) {
    const auto [nKleinster, nGroesster] =
        std::minmax_element(zug.Indizes.begin(), zug.Indizes.end());
    EXPECT_EQ(zug.nMinIndex, *nKleinster);
    EXPECT_EQ(zug.nAnzahlEcken, *nGroesster - *nKleinster + 1);
    EXPECT_EQ(zug.Ecken.size(), zug.Indizes.size()) << "every index lies in the range";
  }
}

// Child 0 draws before child 1 positions P5 (vertex 13): in the fork frame
// P5 is still at the fork point, later it is where child 1 put it the frame
// before.
TEST_F(BaumZeichnen, GemeinsameEckeAusDemVorigenBild) {
  srand(5);
  Baum b(&vFuss, 10);
  Bilder(b, 12);
  auto Vorher = Bild(b);
  EXPECT_TRUE(Gleich(Ecke(Vorher[0], 13), b.pStamm->vEnde));
  EXPECT_NE(b.pStamm->vEnde.y, 0.0f);
  int nBewegt = 0;
  for (int n = 13; n < 24; n++) {  // until the children fork
    const auto Zuege = Bild(b);
    ASSERT_EQ(Zuege.size(), 3u);
    const D3DVECTOR vVorher = Ecke(Vorher[1], 13);
    EXPECT_TRUE(Gleich(Ecke(Zuege[0], 13), vVorher)) << n;
    nBewegt += !Gleich(Ecke(Zuege[1], 13), vVorher);
    Vorher = Zuege;
  }
  EXPECT_GT(nBewegt, 5);
}

// Positions stop at the step before the last: the trunk at full size, a
// depth-10 branch at curve entry 33; the last frame changes no vertex.
TEST_F(BaumZeichnen, GroesseBleibtBeimVorletztenSchritt) {
  for (unsigned int nSaat = 1; nSaat < 300; nSaat++) {
    srand(nSaat);
    Baum b(&vFuss, 10);
    Bilder(b, 131);
    std::vector<std::pair<Ast*, D3DVECTOR>> Blaetter;
    Alle_Aeste(b.pStamm, [&](Ast* a) {
      if (a->nTiefe == 10) Blaetter.push_back({a, a->vStart});
    });
    if (Blaetter.empty()) continue;
    const std::vector<BaumVertex> Pool(b.pEcken, b.pEcken + b.nBenutzt);
    Bilder(b, 2);
    EXPECT_EQ(std::memcmp(Pool.data(), b.pEcken, Pool.size() * sizeof(BaumVertex)), 0);
    Nah(Position(b, b.pStamm->pEckenIndex[1]), 0.09, -1, 0, 1e-7);
    for (auto& [a, vStart] : Blaetter) {
      const double f = b.pKurve[33];
      const D3DVECTOR v = a->vRichtung;
      Nah(Position(b, a->pEckenIndex[7]), vStart.x + v.x * f, vStart.y + v.y * f,
          vStart.z + v.z * f, 1e-6);
      EXPECT_EQ(a->fWachstum, b.pKurve[36]);
    }
    return;
  }
  FAIL() << "no seed grew a branch of depth 10";
}

// The same seed grows the same pool bit for bit; the hash pins the
// arithmetic for seed 4711.
TEST_F(BaumZeichnen, GleicheSaatGleicherPool) {
  std::vector<uint64_t> Hashes;
  for (int n = 0; n < 2; n++) {
    srand(4711);
    Baum b(&vFuss, 10);
    Bilder(b, 132);
    Hashes.push_back(Fnv1a(b.pEcken, b.nBenutzt * sizeof(BaumVertex)));
  }
  EXPECT_EQ(Hashes[0], Hashes[1]);
  EXPECT_EQ(Hashes[0], 0x207f699aece097ebull);
}

// R held: a new tree every frame, grown and drawn once, then thrown away.
TEST_F(BaumZeichnen, NeuWachsenJedesBildOhneLeck) {
  Baum* pAlt = nullptr;
  for (int n = 0; n < 50; n++) {
    delete pAlt;
    pAlt = new Baum(&vFuss, 10);
    Bilder(*pAlt, 1);
    EXPECT_EQ(pAlt->nBenutzt, 8u);
    EXPECT_EQ(pAlt->pStamm->nAlter, 1u);
  }
  Bilder(*pAlt, 140);
  delete pAlt;
}

}  // namespace
