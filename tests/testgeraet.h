#pragma once
// The stand-in's software device as tests and benchmarks make it: a
// lockable back buffer with a D16 depth buffer, 1152 x 864 R5G6B5 unless
// said otherwise.
#include "plattform/plattform.h"

inline D3DPRESENT_PARAMETERS Testparameter(UINT nBreite = 1152, UINT nHoehe = 864,
                                           D3DFORMAT Format = D3DFMT_R5G6B5) {
  D3DPRESENT_PARAMETERS p = {};
  p.BackBufferWidth = nBreite;
  p.BackBufferHeight = nHoehe;
  p.BackBufferFormat = Format;
  p.BackBufferCount = 1;
  p.SwapEffect = D3DSWAPEFFECT_FLIP;
  p.EnableAutoDepthStencil = TRUE;
  p.AutoDepthStencilFormat = D3DFMT_D16;
  p.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
  return p;
}

// Null when the device cannot be made.
inline IDirect3DDevice8* Software_Geraet(UINT nBreite = 1152, UINT nHoehe = 864,
                                         D3DFORMAT Format = D3DFMT_R5G6B5) {
  IDirect3DDevice8* pGeraet = nullptr;
  ersatz::Geraet_Erzeugen(Testparameter(nBreite, nHoehe, Format), nullptr, &pGeraet);
  return pGeraet;
}
