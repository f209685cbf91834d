#pragma once
// Input: keyboard and mouse through DirectInput, polled once per frame.
#include "plattform/plattform.h"

extern LPDIRECTINPUT8 pDI;
extern LPDIRECTINPUTDEVICE8 pTastatur;
extern LPDIRECTINPUTDEVICE8 pMaus;
extern unsigned char TastenPuffer[256];

extern int bEsc;
extern int bNeuWachsen;
extern int bFlach;
extern int bSGedrueckt;
extern int bHilfe;
extern int MausDX;
extern int MausDY;
extern int MausDZ;
// 1 once a poll without keyboard or mouse has been logged, so it is logged once.
extern int bOhneGeraetGemeldet;

int DI_Erzeugen(HINSTANCE hInstanz);
int DI_Abfrage();
int TastenAbfrage();
int DI_Init();
void DI_Freigeben();
