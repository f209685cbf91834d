// Orbit camera, look-at matrix and overlay lines, on the software device.
#include "ansicht/ansicht.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "app/app.h"
#include "eingabe/eingabe.h"
#include "grafik/grafik.h"
#include "plattform/d3d8/aufzeichnung.h"
#include "plattform/fehler/fehler.h"
#include "tests/testgeraet.h"
#include "tests/testhilfe.h"

namespace {

// A 1152 x 864 R5G6B5 software device as pDevice with its back buffer as
// pBackBuffer; mouse deltas and overlay flags start at zero.
class MitGeraet : public Protokoll_Test {
 protected:
  void SetUp() override {
    Protokoll_Test::SetUp();
    ASSERT_EQ(ersatz::Geraet_Erzeugen(Testparameter(), nullptr, &pDevice), D3D_OK);
    ASSERT_EQ(pDevice->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &pBackBuffer), D3D_OK);
    MausDX = MausDY = MausDZ = 0;
    bFlach = bHilfe = 0;
    ersatz::Aufzeichnung_Starten();
  }
  void TearDown() override {
    ersatz::Aufzeichnung_Beenden();
    pBackBuffer->Release();
    pDevice->Release();
    pBackBuffer = nullptr;
    pDevice = nullptr;
    Protokoll_Test::TearDown();
  }
};

// The published left-handed look-at matrix, in double.
void LookAt_Formel(double m[4][4], const double eye[3], const double at[3], const double up[3]) {
  auto kreuz = [](const double* a, const double* b, double* o) {
    o[0] = a[1] * b[2] - a[2] * b[1];
    o[1] = a[2] * b[0] - a[0] * b[2];
    o[2] = a[0] * b[1] - a[1] * b[0];
  };
  auto einheit = [](double* v) {
    const double l = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    for (int i = 0; i < 3; ++i) v[i] /= l;
  };
  double z[3] = {at[0] - eye[0], at[1] - eye[1], at[2] - eye[2]}, x[3], y[3];
  einheit(z);
  kreuz(up, z, x);
  einheit(x);
  kreuz(z, x, y);
  const double* achsen[3] = {x, y, z};
  for (int c = 0; c < 3; ++c) {
    for (int r = 0; r < 3; ++r) m[r][c] = achsen[c][r];
    m[3][c] = -(achsen[c][0] * eye[0] + achsen[c][1] * eye[1] + achsen[c][2] * eye[2]);
    m[c][3] = 0.0;
  }
  m[3][3] = 1.0;
}

bool Endlich(const D3DVECTOR& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

bool Endlich(const D3DMATRIX& m) {
  for (int i = 0; i < 16; ++i)
    if (!std::isfinite(m.m[i / 4][i % 4])) return false;
  return true;
}

double Laenge(const D3DVECTOR& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

void Erwarte_Nahe(const D3DVECTOR& v, double x, double y, double z) {
  EXPECT_NEAR(v.x, x, 1e-4);
  EXPECT_NEAR(v.y, y, 1e-4);
  EXPECT_NEAR(v.z, z, 1e-4);
}

// The view matrices the device received, in order.
std::vector<D3DMATRIX> Gesetzte_Ansichten() {
  std::vector<D3DMATRIX> ansichten;
  for (const ersatz::Aufruf& a : ersatz::Aufzeichnung())
    if (a.Art == ersatz::Aufruf_Art::SetTransform && a.nTyp == D3DTS_VIEW)
      ansichten.push_back(a.Matrix);
  return ansichten;
}

void Erwarte_Gleich(const D3DMATRIX& a, const D3DMATRIX& b) {
  for (int i = 0; i < 16; ++i) EXPECT_EQ(a.m[i / 4][i % 4], b.m[i / 4][i % 4]) << i;
}

TEST(LookAt, FolgtDerVeroeffentlichtenFormel) {
  const double faelle[][3][3] = {{{0.8, 2.4, -1.6}, {0, 0, 0}, {0, 1, 0}},
                                 {{-3, 1, 4}, {1, 2, -0.5}, {0.2, 1, 0.1}},
                                 {{0, 0, -5}, {0, 0, 0}, {0, 2, 0}}};
  for (const auto& fall : faelle) {
    D3DVECTOR v[3];
    for (int i = 0; i < 3; ++i)
      v[i] = D3DVECTOR{float(fall[i][0]), float(fall[i][1]), float(fall[i][2])};
    double erwartet[4][4];
    LookAt_Formel(erwartet, fall[0], fall[1], fall[2]);
    D3DXMATRIX m;
    EXPECT_EQ(D3DXMatrixLookAtLH(&m, &v[0], &v[1], &v[2]), &m);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(m.m[i / 4][i % 4], erwartet[i / 4][i % 4], 2e-6) << i;
  }
  // Eye on the target, or looking along the up vector: degenerate but finite.
  const D3DVECTOR vNull{0, 0, 0}, vOben1{0, 1, 0}, vDrueber{0, 3, 0};
  D3DXMATRIX m;
  EXPECT_TRUE(Endlich(*D3DXMatrixLookAtLH(&m, &vNull, &vNull, &vOben1)));
  EXPECT_TRUE(Endlich(*D3DXMatrixLookAtLH(&m, &vDrueber, &vNull, &vOben1)));
}

using Kamera = MitGeraet;

TEST_F(Kamera, StartwerteUndAnsicht) {
  EXPECT_EQ(Kamera_Init(), 1);
  Erwarte_Nahe(vAuge, 0.8018, 2.4054, -1.6036);
  Erwarte_Nahe(vBlick, -0.8018, -2.4054, 1.6036);
  Erwarte_Nahe(vSeite, -1.6036, 0, -0.8018);
  Erwarte_Nahe(vZiel, 0, 0, 0);
  Erwarte_Nahe(vOben, 0, 1, 0);
  EXPECT_EQ(fAbstand, 3.0f);

  const double eye[3] = {vAuge.x, vAuge.y, vAuge.z}, at[3] = {0, 0, 0}, up[3] = {0, 1, 0};
  double erwartet[4][4];
  LookAt_Formel(erwartet, eye, at, up);
  for (int i = 0; i < 16; ++i)
    EXPECT_NEAR(matAnsicht.m[i / 4][i % 4], erwartet[i / 4][i % 4], 2e-6);
  const std::vector<D3DMATRIX> ansichten = Gesetzte_Ansichten();
  ASSERT_EQ(ansichten.size(), 1u);
  Erwarte_Gleich(ansichten[0], matAnsicht);
  EXPECT_EQ(ersatz::Aufzeichnung().size(), 1u);  // nothing but the view transform
}

TEST_F(Kamera, EinBildJeMausrichtung) {
  Kamera_Init();
  MausDY = 10;
  EXPECT_EQ(Kamera_Bewegen(), 1);
  Erwarte_Nahe(vAuge, 0.7470, 2.4920, -1.4940);  // a positive y delta raises the eye

  Kamera_Init();
  MausDY = 0;
  MausDX = 10;
  Kamera_Bewegen();
  Erwarte_Nahe(vAuge, 0.7206, 2.4054, -1.6416);  // same height, turned about y
  Erwarte_Nahe(vSeite, -vBlick.z, 0, vBlick.x);

  Kamera_Init();
  MausDY = 10;
  Kamera_Bewegen();  // the vertical turn comes first, about the old side vector
  Erwarte_Nahe(vAuge, 0.6714, 2.4919, -1.5295);

  const std::vector<D3DMATRIX> ansichten = Gesetzte_Ansichten();
  ASSERT_EQ(ansichten.size(), 6u);
  Erwarte_Gleich(ansichten.back(), matAnsicht);
}

TEST_F(Kamera, RadAendertNurDenAbstand) {
  const struct {
    int nRad;
    float fAbstand;
  } faelle[] = {{120, 2.875f},  {-120, 3.125f}, {2880, 0.5f},
                {100000, 0.5f}, {-2880, 5.0f},  {-100000, 5.0f}};
  for (const auto& fall : faelle) {
    Kamera_Init();
    const D3DVECTOR vVorher = vAuge;
    MausDZ = fall.nRad;
    Kamera_Bewegen();
    EXPECT_FLOAT_EQ(fAbstand, fall.fAbstand) << fall.nRad;
    EXPECT_NEAR(Laenge(vAuge), fall.fAbstand, 1e-5);
    const double f = fall.fAbstand / 3.0;
    Erwarte_Nahe(vAuge, vVorher.x * f, vVorher.y * f, vVorher.z * f);
  }
}

// Angle between the eye direction and the up axis, in radians.
double Winkel_Zur_Hochachse(double fVorzeichen) {
  return std::acos(std::fmin(1.0, fVorzeichen * vAuge.y / Laenge(vAuge)));
}

TEST_F(Kamera, SteteSenkrechteBewegungPendeltUmDenPol) {
  for (int nDY : {20, -20}) {
    Kamera_Init();
    MausDY = nDY;
    const double fSchritt = 20 * 0.005, fVorzeichen = nDY > 0 ? 1.0 : -1.0;
    double fGroesster = 0.0;
    for (int i = 0; i < 300; ++i) {
      Kamera_Bewegen();
      if (i >= 30) fGroesster = std::fmax(fGroesster, Winkel_Zur_Hochachse(fVorzeichen));
    }
    EXPECT_LE(fGroesster, fSchritt + 1e-4) << nDY;  // never goes down the other side
  }
}

TEST_F(Kamera, BlickAufDerHochachseBleibtEndlich) {
  Kamera_Init();
  // A turn that would end on the up axis is refused: the eye stays.
  const float a = 0.05f;
  vBlick = D3DVECTOR{0.0f, -3.0f * std::cos(a), 3.0f * std::sin(a)};
  vSeite = D3DVECTOR{-vBlick.z, 0.0f, vBlick.x};
  MausDY = 10;
  Kamera_Bewegen();
  Erwarte_Nahe(vAuge, 0.0, 3.0 * std::cos(a), -3.0 * std::sin(a));
  EXPECT_GT(Laenge(vSeite), 0.1);
  MausDY = 5;
  Kamera_Bewegen();
  EXPECT_NEAR(Winkel_Zur_Hochachse(1.0), a / 2, 1e-4);

  // Already on the axis: no vertical turn, nothing becomes NaN.
  vBlick = D3DVECTOR{0.0f, -3.0f, 0.0f};
  vSeite = D3DVECTOR{0.0f, 0.0f, 0.0f};
  MausDX = MausDY = 10;
  for (int i = 0; i < 3; ++i) Kamera_Bewegen();
  Erwarte_Nahe(vAuge, 0, 3, 0);
  EXPECT_TRUE(Endlich(vSeite) && Endlich(matAnsicht));
}

TEST_F(Kamera, ZufaelligeEingabenBleibenEndlichUndImAbstand) {
  Kamera_Init();
  std::mt19937 zufall(1234);
  std::uniform_int_distribution<int> dreh(-400, 400), rad(-1200, 1200);
  for (int i = 0; i < 10000; ++i) {
    MausDX = dreh(zufall);
    MausDY = dreh(zufall);
    MausDZ = rad(zufall) / 120 * 120;
    Kamera_Bewegen();
    ASSERT_TRUE(Endlich(vBlick) && Endlich(vSeite) && Endlich(vAuge) && Endlich(matAnsicht)) << i;
    ASSERT_GE(fAbstand, 0.5f);
    ASSERT_LE(fAbstand, 5.0f);
    ASSERT_NEAR(Laenge(vAuge), fAbstand, 1e-4);
  }
}

// Overlay: a distinct value in every back-buffer pixel, then the overlay.
class Ueberlagerung : public MitGeraet {
 protected:
  void SetUp() override {
    MitGeraet::SetUp();
    D3DLOCKED_RECT r;
    ASSERT_EQ(pBackBuffer->LockRect(&r, nullptr, 0), D3D_OK);
    nWorte = r.Pitch / 2;
    vorher.resize(nWorte * 864);
    for (size_t i = 0; i < vorher.size(); ++i) vorher[i] = static_cast<WORD>(0x1000 + i % 0x7000);
    std::copy(vorher.begin(), vorher.end(), static_cast<WORD*>(r.pBits));
    pBackBuffer->UnlockRect();
  }

  struct Kasten {
    int x0, x1, y0, y1;
    bool operator==(const Kasten& k) const {
      return x0 == k.x0 && x1 == k.x1 && y0 == k.y0 && y1 == k.y1;
    }
  };

  // Runs the overlay; returns the box of changed pixels within each line's
  // cell (baselines 20, 40, ... 100) and checks every change is pure green.
  std::vector<Kasten> Zeichnen_Und_Vermessen() {
    ersatz::Aufzeichnung_Starten();
    EXPECT_EQ(Zeichne_Hilfe(), 1);
    ersatz::Aufzeichnung_Beenden();
    D3DLOCKED_RECT r;
    EXPECT_EQ(pBackBuffer->LockRect(&r, nullptr, 0), D3D_OK);
    const WORD* pNach = static_cast<const WORD*>(r.pBits);
    std::vector<Kasten> kaesten;
    for (int i = 0; i < static_cast<int>(vorher.size()); ++i) {
      if (pNach[i] == vorher[i]) continue;
      EXPECT_EQ(pNach[i], 0x07E0);
      const int x = i % nWorte, y = i / nWorte, nZeile = (y + 8) / 20;
      EXPECT_TRUE(nZeile >= 1 && nZeile <= 5 && y >= nZeile * 20 - 8 && y <= nZeile * 20 + 2) << y;
      if (static_cast<int>(kaesten.size()) < nZeile)
        kaesten.resize(nZeile, Kasten{9999, -1, 9999, -1});
      Kasten& k = kaesten[nZeile - 1];
      k = Kasten{std::min(k.x0, x), std::max(k.x1, x), std::min(k.y0, y), std::max(k.y1, y)};
    }
    pBackBuffer->UnlockRect();
    return kaesten;
  }

  int Sperren() const {
    int n = 0;
    for (const ersatz::Aufruf& a : ersatz::Aufzeichnung())
      n += a.Art == ersatz::Aufruf_Art::LockRect && a.nWert == 0 && !a.bRechteck;
    return n;
  }

  int nWorte = 0;
  std::vector<WORD> vorher;
};

TEST_F(Ueberlagerung, OhneHilfeZweiZeilen) {
  EXPECT_EQ(Zeichnen_Und_Vermessen(),
            (std::vector<Kasten>{{387, 487, 12, 20}, {407, 504, 32, 42}}));
  EXPECT_EQ(Sperren(), 2);
}

TEST_F(Ueberlagerung, FlachSchattiert) {
  bFlach = 1;
  EXPECT_EQ(Zeichnen_Und_Vermessen(),
            (std::vector<Kasten>{{387, 464, 12, 20}, {407, 504, 32, 42}}));
}

TEST_F(Ueberlagerung, MitHilfeFuenfZeilen) {
  bHilfe = 1;
  EXPECT_EQ(Zeichnen_Und_Vermessen(), (std::vector<Kasten>{{387, 487, 12, 20},
                                                           {387, 434, 32, 40},
                                                           {411, 524, 52, 60},
                                                           {411, 467, 72, 80},
                                                           {375, 475, 92, 100}}));
  EXPECT_EQ(Sperren(), 5);
}

TEST_F(Ueberlagerung, VerweigerteSperreEineZeileJeText) {
  bHilfe = 1;
  ASSERT_TRUE(ersatz::Fehler_Setzen("LockRect"));
  Protokoll_Leeren();
  EXPECT_EQ(Zeichne_Hilfe(), 1);
  std::string erwartet;
  for (int i = 0; i < 5; ++i) erwartet += "2D Fehler: M_T LockRect() failed\n";
  EXPECT_EQ(Protokoll(), erwartet);
}

}  // namespace
