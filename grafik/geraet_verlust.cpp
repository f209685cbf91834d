// Device loss. A full-screen device is lost when another program takes the
// screen (Alt-Tab); its Present then reports D3DERR_DEVICELOST, and drawing
// reaches nothing until the device is reset with the same presentation
// parameters and given back every state it held.
#include "app/app.h"
#include "grafik/grafik.h"

int bGeraetVerloren = 0;

// Called by the frame loop when Present reports the device lost; logs the
// loss once.
void Geraet_Verloren() {
  if (!bGeraetVerloren) Protokoll_Schreiben("ERROR : D3D Device verloren.\n");
  bGeraetVerloren = 1;
}

// Releases the back buffer (a reset fails while it is held), resets the
// device, fetches the back buffer again and sets every state anew. 0 when
// the reset failed.
static int Geraet_Zuruecksetzen() {
  if (pBackBuffer != NULL) {
    pBackBuffer->Release();
    pBackBuffer = NULL;
  }
  const HRESULT hr = pDevice->Reset(&Praesentationsparameter);
  if (FAILED(hr)) {
    Protokoll_Schreiben("ERROR : D3D Device Reset() failed, return %u\n", (unsigned)hr);
    return 0;
  }
  Rueckpuffer_Holen();
  Zustaende_Setzen();
  rSzeneWiederherstellen();
  bGeraetVerloren = 0;
  Protokoll_Schreiben("D3D Device zurueckgesetzt.\n");
  return 1;
}

// Called by the frame loop before it draws. While the device is lost, asks
// whether it may be reset, and resets it when it may. 1 when the device
// draws this frame; 0 while it is still lost; a failed reset also sets
// bEnde, so the run ends through the normal shut-down.
int Geraet_Pruefen() {
  if (!bGeraetVerloren) return 1;
  const HRESULT hr = pDevice->TestCooperativeLevel();
  if (hr == D3DERR_DEVICELOST) return 0;
  if (hr == D3DERR_DEVICENOTRESET && !Geraet_Zuruecksetzen()) {
    bEnde = 1;
    return 0;
  }
  bGeraetVerloren = 0;
  return 1;
}
