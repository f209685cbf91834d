#pragma once
// D3DX: the one routine of the Direct3D extension library the system uses.
// D3DX is not part of the platform on either system, so both builds use
// this own implementation (d3dx.cpp) on top of the Direct3D 8 names.
typedef D3DMATRIX D3DXMATRIX;
typedef D3DVECTOR D3DXVECTOR3;

// Left-handed look-at view matrix, row vectors: z = normalize(At - Eye),
// x = normalize(Up x z), y = z x x; columns x, y, z; last row
// (-x.Eye, -y.Eye, -z.Eye, 1). Returns pOut.
D3DXMATRIX* WINAPI D3DXMatrixLookAtLH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye,
                                      const D3DXVECTOR3* pAt, const D3DXVECTOR3* pUp);
