#include <cstring>
#include <string>

#include "app/app.h"
#include "grafik/grafik.h"

IDirect3D8* pD3D;
IDirect3DDevice8* pDevice;
IDirect3DSurface8* pBackBuffer;
UINT nDepthBits;
UINT nStencilBits;
char szDeviceText[256];
char szModeText[100];
D3DPRESENT_PARAMETERS Praesentationsparameter;
const char* szStartFehler = "";

namespace {

// Vertex-processing part of the device description; the reference
// rasterizer only simulates hardware transform and lighting.
const char* TnL_Text(DWORD Verhalten, bool bHal) {
  if ((Verhalten & D3DCREATE_PUREDEVICE) && (Verhalten & D3DCREATE_HARDWARE_VERTEXPROCESSING)) {
    return bHal ? " (TnL Hardware exklusiv)" : " (TnL HW exklusiv simuliert)";
  }
  if (Verhalten & D3DCREATE_HARDWARE_VERTEXPROCESSING) {
    return bHal ? " (TnL Hardware)" : " (TnL HW simuliert)";
  }
  if (Verhalten & D3DCREATE_MIXED_VERTEXPROCESSING) {
    return bHal ? " (TnL HW/SW Mix)" : " (TnL HW/SW Mix simuliert)";
  }
  if (Verhalten & D3DCREATE_SOFTWARE_VERTEXPROCESSING) return " (TnL in Software)";
  return "";
}

struct TiefenText {
  D3DFORMAT Format;
  const char* szText;
};

const TiefenText TiefenTexte[] = {
    {D3DFMT_D16, "16/0 Bit Depth/Stencil Buffer"},
    {D3DFMT_D15S1, "15/1 Bit Depth/Stencil Buffer"},
    {D3DFMT_D24X8, "24/0 Bit Depth/Stencil Buffer"},
    {D3DFMT_D24S8, "24/8 Bit Depth/Stencil Buffer"},
    {D3DFMT_D24X4S4, "24/4 Bit Depth/Stencil Buffer"},
    {D3DFMT_D32, "32/0 Bit Depth/Stencil Buffer"},
};

// Depth/stencil part of the mode line; empty for a format without a text.
const char* Tiefen_Text(D3DFORMAT Format) {
  for (const TiefenText& t : TiefenTexte) {
    if (t.Format == Format) return t.szText;
  }
  return "";
}

// Appends at most nMax characters of szText to szDeviceText, as far as the
// buffer holds them.
void Text_Anhaengen(const char* szText, std::size_t nMax) {
  const std::size_t nLaenge = strlen(szDeviceText);
  const std::size_t nPlatz = sizeof(szDeviceText) - 1 - nLaenge;
  const std::size_t nText = strnlen(szText, nMax < nPlatz ? nMax : nPlatz);
  memcpy(szDeviceText + nLaenge, szText, nText);
  szDeviceText[nLaenge + nText] = '\0';
}

// Device description into szDeviceText: type, vertex processing and, for
// HAL, the adapter's description, cut to fit the buffer.
void Device_Beschreiben(const AdapterDaten& Adapter, const DeviceDaten& Device,
                        const ModusDaten& Modus) {
  const bool bHal = Device.DeviceType == D3DDEVTYPE_HAL;
  const char* szBeschreibung = Adapter.Identifier.Description;
  szDeviceText[0] = '\0';
  Text_Anhaengen(bHal ? "HAL" : "REF", 3);
  Text_Anhaengen(TnL_Text(Modus.BehaviorFlags, bHal), sizeof(szDeviceText));
  if (bHal) {
    Text_Anhaengen(": ", 2);
    Text_Anhaengen(szBeschreibung, sizeof(Adapter.Identifier.Description));
  }
}

}  // namespace

// Initial fixed-function states: dim ambient light, lighting, culling of
// counter-clockwise faces, depth test; stage 0 passes the lit colour on.
// Set by Obj_Init, and again after a device reset.
void Zustaende_Setzen() {
  pDevice->SetRenderState(D3DRS_AMBIENT, 0xff0a0a0a);
  pDevice->SetRenderState(D3DRS_LIGHTING, TRUE);
  pDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  pDevice->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  pDevice->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
  pDevice->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
  pDevice->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_LINEAR);
  pDevice->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_CURRENT);
  pDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
}

// Graphics start-up, called once by Spiel_Init: creates pD3D, enumerates,
// writes device.gra and creates the full-screen device on hWnd. Logs each
// step; on failure returns 0 at once and leaves what exists to D3D_Ende.
int D3D_Init(UINT nBreite, UINT nHoehe, UINT nTiefenBits, UINT nSchablonenBits) {
  Protokoll_Schreiben("D3D_Init: Starte Initialisierung \n");
  nDepthBits = nTiefenBits;
  nStencilBits = nSchablonenBits;
  pD3D = Direct3DCreate8(D3D_SDK_VERSION);
  if (pD3D == NULL) {
    Protokoll_Schreiben("D3D_Init Fehler: Direct3DCreate8() failed\n");
    szStartFehler = "Direct3D 8 is not available (Direct3DCreate8 failed)";
    return 0;
  }
  if (!Erstelle_List(nBreite, nHoehe)) {
    Protokoll_Schreiben("D3D_Init Fehler: Erstelle_List() failed\n");
    szStartFehler = "no display adapter offers a usable device and mode";
    return 0;
  }
  if (!Device_Speichern()) {
    Protokoll_Schreiben("ERROR : device not saved\n");
    static std::string StartFehler;
    StartFehler = std::string("device.gra cannot be written in the working directory (") +
                  szDeviceGrund + ")";
    szStartFehler = StartFehler.c_str();
    return 0;
  }
  if (!Obj_Init()) {
    Protokoll_Schreiben("D3D_Init Fehler: Obj_Init failed\n");
    szStartFehler = "the full-screen display device cannot be created (CreateDevice failed)";
    return 0;
  }
  Protokoll_Schreiben("D3D_Init: successful \n");
  return 1;
}

// Creates pDevice in the chosen adapter, device type and mode (one lockable
// back buffer, automatic depth buffer), logs it, fetches pBackBuffer and sets
// the initial states. Called by D3D_Init; 0 when CreateDevice fails.
int Obj_Init() {
  const AdapterDaten& Adapter = AdapterListe[iAdapter];
  const DeviceDaten& Device = Adapter.Devices[Adapter.iDevice];
  const ModusDaten& Modus = Device.Modi[Device.iModus];

  D3DPRESENT_PARAMETERS& Parameter = Praesentationsparameter;
  memset(&Parameter, 0, sizeof(Parameter));
  Parameter.BackBufferWidth = Modus.Width;
  Parameter.BackBufferHeight = Modus.Height;
  Parameter.BackBufferFormat = Modus.Format;
  Parameter.BackBufferCount = 1;
  Parameter.MultiSampleType = Device.MultiSampleType;
  Parameter.SwapEffect = D3DSWAPEFFECT_FLIP;
  Parameter.hDeviceWindow = hWnd;
  Parameter.Windowed = FALSE;
  Parameter.EnableAutoDepthStencil = TRUE;
  Parameter.AutoDepthStencilFormat = Modus.DepthStencilFormat;
  Parameter.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
  Parameter.FullScreen_RefreshRateInHz = 0;  // the default rate of the mode
  Parameter.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;

  if (FAILED(pD3D->CreateDevice(AdapterNummer[iAdapter], Device.DeviceType, hWnd,
                                Modus.BehaviorFlags, &Parameter, &pDevice))) {
    Protokoll_Schreiben("D3D_Init Fehler: CreateDevice() failed \n");
    return 0;
  }
  Device_Beschreiben(Adapter, Device, Modus);
  Protokoll_Schreiben("   -- Enumeration beendet -- \n");
  Protokoll_Schreiben("   Device [%s] aktiviert! \n", szDeviceText);
  snprintf(szModeText, sizeof(szModeText), "Mode: %dx%d 16 Bit %s", static_cast<int>(Modus.Width),
           static_cast<int>(Modus.Height), Tiefen_Text(Modus.DepthStencilFormat));
  Protokoll_Schreiben("   %s \n", szModeText);

  Rueckpuffer_Holen();
  Zustaende_Setzen();
  return 1;
}

// Fetches pBackBuffer; called by Obj_Init and after a device reset. Without
// a back buffer the run goes on, without the overlay.
void Rueckpuffer_Holen() {
  if (FAILED(pDevice->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &pBackBuffer))) {
    pBackBuffer = NULL;
    Protokoll_Schreiben("D3D_Init Fehler: GetBackBuffer() failed \n");
  }
}

// Releases back buffer, device and Direct3D object, whichever exist, and
// nulls them. Called once at shut-down after the log is closed.
void D3D_Ende() {
  if (pBackBuffer != NULL) {
    pBackBuffer->Release();
    pBackBuffer = NULL;
  }
  if (pDevice != NULL) {
    pDevice->Release();
    pDevice = NULL;
  }
  if (pD3D != NULL) {
    pD3D->Release();
    pD3D = NULL;
  }
}
