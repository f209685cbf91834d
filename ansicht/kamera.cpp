#include "ansicht/ansicht.h"
#include "baum/baum.h"
#include "eingabe/eingabe.h"
#include "grafik/grafik.h"

D3DVECTOR vZiel;
D3DVECTOR vOben;
float fAbstand;
D3DVECTOR vBlick;
D3DVECTOR vSeite;
D3DVECTOR vAuge;
D3DMATRIX matAnsicht;

namespace {

const float fDrehungProEinheit = 0.005f;      // radians per mouse unit
const float fZoomProEinheit = 1.0f / 960.0f;  // world units per wheel unit (120 a notch)
const float fAbstandMin = 0.5f;
const float fAbstandMax = 5.0f;

// Below this share of its length, a view vector counts as lying on the up
// axis: it has no usable side vector and the look-at matrix would collapse.
// A turn is refused below the larger share; an axis is used down to the
// smaller one, so a view that was accepted always keeps an axis.
const double fAnteilAnnehmen = 1e-6;
const double fAnteilAchse = 5e-7;

// Whether v stands off the up axis by at least fAnteil of its length.
bool Neben_Der_Hochachse(const D3DVECTOR* pV, double fAnteil) {
  D3DVECTOR vQuer;
  Vek_Kreuz(&vQuer, pV, &vOben);
  return Vek_Laenge(&vQuer) >= fAnteil * Vek_Laenge(pV);
}

// Turns vBlick about the side vector of the previous frame (which this
// normalises). Skipped when there is no side vector, or when the turn would
// end on the up axis: the eye then stays where it was.
void Senkrecht_Drehen(float fWinkel) {
  if (Vek_Laenge(&vSeite) < fAnteilAchse * Vek_Laenge(&vBlick)) return;
  D3DMATRIX matDreh;
  Mat_DrehAchse(&matDreh, &vSeite, fWinkel);
  D3DVECTOR vNeu;
  Vek_Transformieren(&vNeu, &vBlick, &matDreh);
  if (Neben_Der_Hochachse(&vNeu, fAnteilAnnehmen)) vBlick = vNeu;
}

// Turns vBlick about the up vector (normalised in place, which keeps it).
void Waagrecht_Drehen(float fWinkel) {
  D3DMATRIX matDreh;
  Mat_DrehAchse(&matDreh, &vOben, fWinkel);
  D3DVECTOR vNeu;
  Vek_Transformieren(&vNeu, &vBlick, &matDreh);
  vBlick = vNeu;
}

// Derives vSeite, vAuge and matAnsicht from vBlick and sets the view transform.
void Ansicht_Setzen() {
  Vek_Kreuz(&vSeite, &vBlick, &vOben);
  vAuge = D3DVECTOR{-vBlick.x, -vBlick.y, -vBlick.z};
  D3DXMatrixLookAtLH(&matAnsicht, &vAuge, &vZiel, &vOben);
  if (pDevice) pDevice->SetTransform(D3DTS_VIEW, &matAnsicht);
}

}  // namespace

// Places the camera at distance 3 looking at the origin from above, front
// right. Called once by start-up after the device exists; sets the view.
int Kamera_Init() {
  vZiel = D3DVECTOR{0.0f, 0.0f, 0.0f};
  vOben = D3DVECTOR{0.0f, 1.0f, 0.0f};
  fAbstand = 3.0f;
  D3DVECTOR vRichtung{0.5f, 1.5f, -1.0f};
  Vek_Normieren(&vRichtung, &vRichtung);
  vBlick = D3DVECTOR{-vRichtung.x * fAbstand, -vRichtung.y * fAbstand, -vRichtung.z * fAbstand};
  Ansicht_Setzen();
  return 1;
}

// Orbits the camera by this frame's mouse deltas: y turns about the side
// vector, x about the up axis, the wheel changes the distance within
// [0.5, 5]. Called once per frame after the input poll; sets the view.
int Kamera_Bewegen() {
  const float fSenkrecht = MausDY * fDrehungProEinheit;
  const float fWaagrecht = -(MausDX * fDrehungProEinheit);
  fAbstand = fAbstand - MausDZ * fZoomProEinheit;
  if (!(fAbstand >= fAbstandMin)) fAbstand = fAbstandMin;
  if (fAbstand > fAbstandMax) fAbstand = fAbstandMax;

  Senkrecht_Drehen(fSenkrecht);
  Waagrecht_Drehen(fWaagrecht);
  Vek_Normieren(&vBlick, &vBlick);
  vBlick = D3DVECTOR{vBlick.x * fAbstand, vBlick.y * fAbstand, vBlick.z * fAbstand};
  Ansicht_Setzen();
  return 1;
}
