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
int Spiel_Init();
int Spiel_Ende();
