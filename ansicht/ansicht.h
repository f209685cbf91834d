#pragma once
// View and overlay: orbit camera and the overlay lines.
#include "plattform/plattform.h"

extern D3DVECTOR vZiel;
extern D3DVECTOR vOben;
extern float fAbstand;
extern D3DVECTOR vBlick;
extern D3DVECTOR vSeite;
extern D3DVECTOR vAuge;
extern D3DMATRIX matAnsicht;

int Kamera_Init();
int Kamera_Bewegen();

int Zeichne_Hilfe();
