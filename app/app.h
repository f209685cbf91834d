#pragma once
// Application shell: entry point, window, log and frame loop.
#include "plattform/plattform.h"

class Baum;

extern FILE* pProtokoll;  // Protokoll.txt, open from the banner until Spiel_Ende; null when it
                          // could not be created
extern HWND hWnd;
extern Baum* pBaum;
extern int bEnde;

// printf-style log line to pProtokoll; does nothing while there is no log.
void Protokoll_Schreiben(const char* szFormat, ...) __attribute__((format(printf, 1, 2)));

LRESULT CALLBACK WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
int Fenster_Erzeugen(HINSTANCE hInstance);
int Spiel_Init();
void Spiel_Vorbereiten(HINSTANCE hInstance, const D3DVECTOR* pBasis);
// A frame up to its present: pump, clear, input, camera, light, regrow,
// growth, tree and overlay; the frame loop then presents and paces it.
void Bild_Zeichnen(MSG* pMsg, const D3DVECTOR* pBasis);
int Spiel_Ende();
