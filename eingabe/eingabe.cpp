// Keyboard and mouse through DirectInput 8 in immediate mode: set up once,
// read once per frame into flags and mouse deltas, released at the end.
#include "eingabe/eingabe.h"

#include "app/app.h"

LPDIRECTINPUT8 pDI = NULL;
LPDIRECTINPUTDEVICE8 pTastatur = NULL;
LPDIRECTINPUTDEVICE8 pMaus = NULL;
unsigned char TastenPuffer[256];

int bEsc = 0;
int bNeuWachsen = 0;
int bFlach = 0;
int bSGedrueckt = 0;
int bHilfe = 0;
int MausDX = 0;
int MausDY = 0;
int MausDZ = 0;
int bOhneGeraetGemeldet = 0;

// Reports a set-up step that failed to the user; result 0 for DI_Erzeugen.
static int Einrichtung_Fehlgeschlagen(const char* szText) {
  MessageBoxA(hWnd, szText, "XXX", MB_OK);
  return 0;
}

// Sets the data format and foreground, non-exclusive cooperation of a new
// device; shows the matching message and returns 0 when either is refused.
static int Geraet_Einstellen(LPDIRECTINPUTDEVICE8 pGeraet, LPCDIDATAFORMAT pFormat,
                             const char* szFormatFehler, const char* szKoopFehler) {
  if (pGeraet->SetDataFormat(pFormat) != DI_OK) return Einrichtung_Fehlgeschlagen(szFormatFehler);
  if (pGeraet->SetCooperativeLevel(hWnd, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND) != DI_OK)
    return Einrichtung_Fehlgeschlagen(szKoopFehler);
  return 1;
}

// Creates DirectInput, then the keyboard and the mouse, and acquires both;
// called once by WinMain after the window exists. 1 when both are acquired.
// A failed step leaves what was created for DI_Freigeben.
int DI_Erzeugen(HINSTANCE hInstanz) {
  if (DirectInput8Create(hInstanz, DIRECTINPUT_VERSION, IID_IDirectInput8A, (LPVOID*)&pDI, NULL) !=
      DI_OK)
    return Einrichtung_Fehlgeschlagen("ERROR : DI HauptInterface erzeugen.");

  if (pDI->CreateDevice(GUID_SysKeyboard, &pTastatur, NULL) != DI_OK)
    return Einrichtung_Fehlgeschlagen("ERROR : DI Keyboard DeviceInterface erzeugen.");
  if (!Geraet_Einstellen(pTastatur, &c_dfDIKeyboard, "ERROR : DI Keyboard Datenformat setzen.",
                         "ERROR : DI Keyboard SetCoopLevel()"))
    return 0;
  HRESULT hr = pTastatur->Acquire();
  if (hr != DI_OK) {
    Protokoll_Schreiben("Keyboard Aquire : return %u", (unsigned)hr);
    return 0;
  }
  Protokoll_Schreiben("Tastatur online.\n");

  if (pDI->CreateDevice(GUID_SysMouse, &pMaus, NULL) != DI_OK)
    return Einrichtung_Fehlgeschlagen("ERROR : DI Mouse DeviceInterface erzeugen.");
  if (!Geraet_Einstellen(pMaus, &c_dfDIMouse, "ERROR : DI Maus Datenformat setzen.",
                         "ERROR : DI Maus SetCoopLevel"))
    return 0;
  hr = pMaus->Acquire();
  if (hr != DI_OK) {
    Protokoll_Schreiben("Mouse Aquire : return %u", (unsigned)hr);
    return 0;
  }
  Protokoll_Schreiben("Maus online.\n");
  return 1;
}

// Reads the keyboard into TastenPuffer; called by DI_Abfrage. A keyboard
// that was taken away is asked back at once, so the next frame can read it.
int TastenAbfrage() {
  const HRESULT hr = pTastatur->GetDeviceState(sizeof(TastenPuffer), TastenPuffer);
  if (hr == DI_OK) return 1;
  Protokoll_Schreiben("Keyboard GetDeviceState : return %u", (unsigned)hr);
  if (hr == DIERR_INPUTLOST || hr == DIERR_NOTACQUIRED) pTastatur->Acquire();
  return 0;
}

// Reads the mouse's movement since the last read into MausDX, MausDY and
// MausDZ (wheel); called by DI_Abfrage. A lost mouse is asked back, and so
// is one that is not acquired (its set-up acquire failed, or an earlier
// loss's re-acquire did): otherwise no later read could ever succeed.
int DI_Init() {
  DIMOUSESTATE Stand;
  const HRESULT hr = pMaus->GetDeviceState(sizeof(DIMOUSESTATE), &Stand);
  if (hr == DIERR_INPUTLOST) {
    pMaus->Acquire();
    Protokoll_Schreiben("DI_Init: Maus->Reacquiring failed \n");
    return 0;
  }
  if (hr == DIERR_NOTACQUIRED) pMaus->Acquire();
  if (hr != DI_OK) return 0;
  MausDX = Stand.lX;
  MausDY = Stand.lY;
  MausDZ = Stand.lZ;
  return 1;
}

// A failed poll leaves no movement behind, so the camera does not keep
// turning.
static int Abfrage_Fehlgeschlagen() {
  MausDX = 0;
  MausDY = 0;
  MausDZ = 0;
  return 0;
}

// Turns the keyboard state into the key flags. S flips bFlach once per
// press: only a read that finds S down after one that found it up flips it.
static void Flags_Setzen() {
  bEsc = TastenPuffer[DIK_ESCAPE] >> 7;
  bNeuWachsen = ((TastenPuffer[DIK_R] | TastenPuffer[DIK_SPACE]) & 0x80) ? 1 : 0;
  if (TastenPuffer[DIK_S] & 0x80) {
    if (!bSGedrueckt) {
      bSGedrueckt = 1;
      bFlach = bFlach ? 0 : 1;
    }
  } else {
    bSGedrueckt = 0;
  }
  bHilfe = TastenPuffer[DIK_F1] >> 7;
}

static void Ohne_Geraet_Melden() {
  if (!bOhneGeraetGemeldet)
    Protokoll_Schreiben("ERROR : DI_Abfrage ohne Tastatur oder Maus, keine Eingabe.\n");
  bOhneGeraetGemeldet = 1;
}

// Polls keyboard and mouse once; called by the frame loop before the camera
// and the regrow test use the results. 1 when both were read and the flags
// and deltas updated. A good keyboard read sets the key flags whatever the
// mouse does, so Esc ends the run even without a working mouse.
int DI_Abfrage() {
  if (pTastatur == NULL) {
    Ohne_Geraet_Melden();
    return Abfrage_Fehlgeschlagen();
  }
  if (!TastenAbfrage()) {
    Protokoll_Schreiben("ERROR : TastenAbfrage fehlgeschlagen.\n");
    return Abfrage_Fehlgeschlagen();
  }
  Flags_Setzen();
  if (pMaus == NULL) {
    Ohne_Geraet_Melden();
    return Abfrage_Fehlgeschlagen();
  }
  if (!DI_Init()) {
    Protokoll_Schreiben("ERROR : MausAbfrage fehlgeschlagen.");
    return Abfrage_Fehlgeschlagen();
  }
  return 1;
}

// Releases the devices and DirectInput, whichever exist; called by
// Spiel_Ende after the log is closed.
void DI_Freigeben() {
  if (pDI == NULL) return;
  if (pTastatur != NULL) {
    pTastatur->Unacquire();
    pTastatur->Release();
    pTastatur = NULL;
  }
  if (pMaus != NULL) {
    pMaus->Unacquire();
    pMaus->Release();
    pMaus = NULL;
  }
  pDI->Release();
  pDI = NULL;
}
