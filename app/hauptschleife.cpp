// Entry point, the one window, start-up and shut-down order, and the frame
// loop paced at 40 ms.
#include <new>

#include "ansicht/ansicht.h"
#include "app/app.h"
#include "baum/baum.h"
#include "eingabe/eingabe.h"
#include "grafik/grafik.h"

HWND hWnd = nullptr;
Baum* pBaum = nullptr;
int bEnde = 0;

namespace {

const DWORD nBildDauer = 40;
const D3DCOLOR nHintergrund = 0xffc82828;
const UINT nMaxTiefe = 10;

// Replaces the current tree by a new one at vBasis. A tree that cannot be
// allocated ends the run through the normal shut-down.
void Baum_Neu(const D3DVECTOR* pBasis) {
  delete pBaum;
  pBaum = nullptr;
  pBaum = new (std::nothrow) Baum(pBasis, nMaxTiefe);
  if (!pBaum) {
    Protokoll_Schreiben("ERROR : kein Speicher fuer den Baum\n");
    bEnde = 1;
  }
}

// A start whose graphics failed drew nothing: the user is told why (a
// message box, as Windows programs do; a line on standard error where there
// is no display) and the run ends with exit code 1. The log has the
// details, and is named only when it took every line so far.
void Start_Fehler_Melden() {
  char szText[320];
  snprintf(szText, sizeof(szText), "The graphics did not start: %s.%s", szStartFehler,
           pProtokoll && !ferror(pProtokoll) ? " Protokoll.txt tells more." : "");
  MessageBoxA(hWnd, szText, "borkwerk", MB_OK);
}

void Bild(MSG* pMsg, const D3DVECTOR* pBasis) {
  const DWORD nStart = GetTickCount();
  Bild_Zeichnen(pMsg, pBasis);
  if (pDevice->Present(NULL, NULL, NULL, NULL) == D3DERR_DEVICELOST) Geraet_Verloren();
  if (bEsc == 1) bEnde = 1;
  while (static_cast<DWORD>(GetTickCount() - nStart) < nBildDauer) {
  }
}

}  // namespace

// Registers the window class and creates the 400 x 300 popup window; 0 when
// either fails. The full-screen device shows the window later.
int Fenster_Erzeugen(HINSTANCE hInstance) {
  WNDCLASSEXA Klasse = {};
  Klasse.cbSize = sizeof(WNDCLASSEXA);
  Klasse.style = CS_HREDRAW | CS_VREDRAW;
  Klasse.lpfnWndProc = WndProc;
  Klasse.hInstance = hInstance;
  Klasse.hIcon = LoadIconA(NULL, IDI_APPLICATION);
  Klasse.hCursor = LoadCursorA(NULL, IDC_ARROW);
  Klasse.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  Klasse.lpszClassName = "Farnkolonie03FensterKlasse";
  Klasse.hIconSm = LoadIconA(NULL, IDI_APPLICATION);
  if (!RegisterClassExA(&Klasse)) return 0;
  Protokoll_Schreiben("Window Registriert.\n");
  hWnd = CreateWindowExA(0, "Farnkolonie03FensterKlasse", "Borkwerk03 - Fenster", WS_POPUP, 0, 0,
                         400, 300, NULL, NULL, hInstance, NULL);
  return hWnd != NULL;
}

// Start-up after the graphics: scene state, input, camera, first tree.
void Spiel_Vorbereiten(HINSTANCE hInstance, const D3DVECTOR* pBasis) {
  rProjektionsMatrixEinstellen(pDevice);
  rMaterialEinstellen();
  rLichtEinstellen();
  DI_Erzeugen(hInstance);
  Kamera_Init();
  Baum_Neu(pBasis);
  Protokoll_Schreiben("=========== HAUPTSCHLEIFE =========== \n \n");
}

// One frame, in fixed order: pump, clear, input, camera, light, regrow,
// grow and draw, overlay (Bild_Zeichnen), then present, Esc, and spin until
// 40 ms have passed. A lost device is reset before the clear once it may
// be; until then the frame runs on (the tree keeps growing) without the
// overlay, whose locks would fail.
void Bild_Zeichnen(MSG* pMsg, const D3DVECTOR* pBasis) {
  while (PeekMessageA(pMsg, NULL, 0, 0, PM_REMOVE)) {
    TranslateMessage(pMsg);
    DispatchMessageA(pMsg);
  }
  const int bZeichnen = Geraet_Pruefen();
  pDevice->Clear(0, NULL, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, nHintergrund, 1.0f, 0);
  DI_Abfrage();
  Kamera_Bewegen();
  rLichtBewegen();
  if (bNeuWachsen) Baum_Neu(pBasis);
  if (pBaum) {
    pBaum->Wachsen();
    pBaum->Zeichnen();
  }
  if (bZeichnen) Zeichne_Hilfe();
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
  MSG msg = {};
  const D3DVECTOR vBasis = {0.0f, -1.0f, 0.0f};

  pProtokoll = fopen("Protokoll.txt", "w");
  if (!pProtokoll)
    fputs("borkwerk: Protokoll.txt cannot be created; running without a log\n", stderr);
  Protokoll_Schreiben("Farnkolonie09.\n");
  if (!Fenster_Erzeugen(hInstance)) return 0;
  ShowCursor(FALSE);
  srand(GetTickCount());

  const int bGestartet = Spiel_Init();
  if (!bGestartet) Start_Fehler_Melden();
  if (bGestartet) Spiel_Vorbereiten(hInstance, &vBasis);
  if (bGestartet && !bEnde) {
    do {
      Bild(&msg, &vBasis);
    } while (!bEnde);
  }

  delete pBaum;
  pBaum = nullptr;
  Spiel_Ende();
  if (!bGestartet) return 1;
  // The quit message carries the exit code. A run ended by Esc last
  // retrieved some other message (on Windows often Esc's own key message,
  // wParam 27), and a normal end must not report that as a failure.
  return msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 0;
}

LRESULT CALLBACK WndProc(HWND hFenster, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    bEnde = 1;
    PostQuitMessage(0);
    return 1;
  }
  return DefWindowProcA(hFenster, message, wParam, lParam);
}

int Spiel_Init() {
  srand(GetTickCount());
  if (D3D_Init(1152, 864, 16, 0)) {
    Protokoll_Schreiben("rD3DInitialisieren : successful \n \n");
    return 1;
  }
  Protokoll_Schreiben("Spiel_Init: D3D failed \n");
  bEnde = 1;
  return 0;
}

int Spiel_Ende() {
  Protokoll_Schreiben("=========== SPIEL  ENDE =========== \n \n");
  if (pProtokoll) fclose(pProtokoll);
  pProtokoll = nullptr;
  D3D_Ende();
  DI_Freigeben();
  return 1;
}
