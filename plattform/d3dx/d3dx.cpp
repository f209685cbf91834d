#include <cmath>

#include "plattform/plattform.h"

namespace {

D3DVECTOR Differenz(const D3DVECTOR& a, const D3DVECTOR& b) {
  return D3DVECTOR{a.x - b.x, a.y - b.y, a.z - b.z};
}

D3DVECTOR Kreuz(const D3DVECTOR& a, const D3DVECTOR& b) {
  return D3DVECTOR{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Skalar(const D3DVECTOR& a, const D3DVECTOR& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Unit vector along v; a zero vector stays zero instead of turning into NaN.
D3DVECTOR Einheit(const D3DVECTOR& v) {
  const float fLaenge = std::sqrt(Skalar(v, v));
  if (fLaenge == 0.0f) return v;
  return D3DVECTOR{v.x / fLaenge, v.y / fLaenge, v.z / fLaenge};
}

}  // namespace

// View matrix of an eye at pEye looking at pAt, left-handed, row vectors:
// the camera's x, y and z axes are the first three columns, the last row
// moves the eye to the origin. Float arithmetic throughout, as D3DX has it.
D3DXMATRIX* WINAPI D3DXMatrixLookAtLH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye,
                                      const D3DXVECTOR3* pAt, const D3DXVECTOR3* pUp) {
  const D3DVECTOR z = Einheit(Differenz(*pAt, *pEye));
  const D3DVECTOR x = Einheit(Kreuz(*pUp, z));
  const D3DVECTOR y = Kreuz(z, x);
  const D3DVECTOR achsen[3] = {x, y, z};
  for (int i = 0; i < 3; ++i) {
    pOut->m[0][i] = achsen[i].x;
    pOut->m[1][i] = achsen[i].y;
    pOut->m[2][i] = achsen[i].z;
    pOut->m[3][i] = -Skalar(achsen[i], *pEye);
  }
  pOut->_14 = 0.0f;
  pOut->_24 = 0.0f;
  pOut->_34 = 0.0f;
  pOut->_44 = 1.0f;
  return pOut;
}
