// Vector helpers on D3DVECTOR and D3DMATRIX. Sums and products are carried
// in double and rounded to float where a result is stored, so the tree comes
// out bit for bit the same on every platform that uses SSE arithmetic.
#include <cmath>

#include "baum/baum.h"

// out = a x b (left-handed like everything else here); out may alias a or b.
D3DVECTOR* Vek_Kreuz(D3DVECTOR* pAus, const D3DVECTOR* pA, const D3DVECTOR* pB) {
  const double ax = pA->x, ay = pA->y, az = pA->z;
  const double bx = pB->x, by = pB->y, bz = pB->z;
  D3DVECTOR Ergebnis;
  Ergebnis.x = static_cast<float>(ay * bz - az * by);
  Ergebnis.y = static_cast<float>(az * bx - ax * bz);
  Ergebnis.z = static_cast<float>(ax * by - ay * bx);
  *pAus = Ergebnis;
  return pAus;
}

double Vek_Laenge(const D3DVECTOR* pV) {
  const double x = pV->x, y = pV->y, z = pV->z;
  return std::sqrt(x * x + y * y + z * z);
}

// Normalises v in place (callers rely on that) and copies it to out.
// A zero vector becomes non-finite.
D3DVECTOR* Vek_Normieren(D3DVECTOR* pAus, D3DVECTOR* pV) {
  const double fLaenge = Vek_Laenge(pV);
  pV->x = static_cast<float>(pV->x / fLaenge);
  pV->y = static_cast<float>(pV->y / fLaenge);
  pV->z = static_cast<float>(pV->z / fLaenge);
  *pAus = *pV;
  return pAus;
}

// out = the point v (row vector, w = 1) times M, divided by w. Returns 0 and
// leaves out alone when |w| < 1e-5; out may alias v.
int Vek_Transformieren(D3DVECTOR* pAus, const D3DVECTOR* pV, const D3DMATRIX* pM) {
  const double x = pV->x, y = pV->y, z = pV->z;
  const float fX = static_cast<float>(x * pM->_11 + y * pM->_21 + z * pM->_31 + pM->_41);
  const float fY = static_cast<float>(x * pM->_12 + y * pM->_22 + z * pM->_32 + pM->_42);
  const float fZ = static_cast<float>(x * pM->_13 + y * pM->_23 + z * pM->_33 + pM->_43);
  const float fW = static_cast<float>(x * pM->_14 + y * pM->_24 + z * pM->_34 + pM->_44);
  if (std::fabs(fW) < 1e-5f) return 0;
  pAus->x = fX / fW;
  pAus->y = fY / fW;
  pAus->z = fZ / fW;
  return 1;
}

// Rotation by fWinkel radians about the axis, for row vectors:
// p -> p cos + (p x n) sin + n (n.p)(1 - cos). Normalises the axis in the
// caller's storage; the fork relies on that for a branch's direction.
D3DMATRIX* Mat_DrehAchse(D3DMATRIX* pAus, D3DVECTOR* pAchse, float fWinkel) {
  const double c = std::cos(static_cast<double>(fWinkel));
  const double s = std::sin(static_cast<double>(fWinkel));
  D3DVECTOR n;
  Vek_Normieren(&n, pAchse);
  const double x = n.x, y = n.y, z = n.z, t = 1.0 - c;
  pAus->_11 = static_cast<float>(c + t * x * x);
  pAus->_12 = static_cast<float>(t * x * y - z * s);
  pAus->_13 = static_cast<float>(t * x * z + y * s);
  pAus->_14 = 0.0f;
  pAus->_21 = static_cast<float>(t * x * y + z * s);
  pAus->_22 = static_cast<float>(c + t * y * y);
  pAus->_23 = static_cast<float>(t * y * z - x * s);
  pAus->_24 = 0.0f;
  pAus->_31 = static_cast<float>(t * x * z - y * s);
  pAus->_32 = static_cast<float>(t * y * z + x * s);
  pAus->_33 = static_cast<float>(c + t * z * z);
  pAus->_34 = 0.0f;
  pAus->_41 = 0.0f;
  pAus->_42 = 0.0f;
  pAus->_43 = 0.0f;
  pAus->_44 = 1.0f;
  return pAus;
}
