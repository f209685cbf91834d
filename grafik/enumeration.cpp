#include <cstring>

#include "app/app.h"
#include "grafik/grafik.h"

AdapterDaten AdapterListe[20];
UINT nAdapter;
UINT iAdapter;
UINT AdapterNummer[20];

namespace {

const UINT nMaxAdapter = sizeof(AdapterListe) / sizeof(AdapterListe[0]);
const UINT nMaxDevices = sizeof(AdapterListe[0].Devices) / sizeof(AdapterListe[0].Devices[0]);
const UINT nMaxModi = sizeof(AdapterListe[0].Devices[0].Modi) / sizeof(ModusDaten);
const UINT nMaxListenModi = 100;
const UINT nMaxFormate = 20;

// One distinct display format of an adapter pass and what the current device
// type accepted for it.
struct FormatDaten {
  D3DFORMAT Format;
  int bAkzeptiert;
  DWORD BehaviorFlags;
  D3DFORMAT DepthStencilFormat;
};

// Working state of one adapter pass: its distinct modes (refresh rate 0) and
// distinct formats in order of first appearance.
struct AdapterLauf {
  D3DDISPLAYMODE Modi[nMaxListenModi];
  UINT nModi;
  FormatDaten Formate[nMaxFormate];
  UINT nFormate;
};

// Flags over the whole enumeration, for the warning when REF is chosen.
struct ListenLauf {
  int bHalGefunden;
  int bHalModus;
};

struct GeraeteTyp {
  D3DDEVTYPE Typ;
  const char* szName;
};

const GeraeteTyp Typen[] = {{D3DDEVTYPE_HAL, "HAL"}, {D3DDEVTYPE_REF, "REF"}};

// Index of Format in the pass's format list, or nFormate when it is not there.
UINT Format_Suchen(const AdapterLauf& Lauf, D3DFORMAT Format) {
  UINT i = 0;
  while (i < Lauf.nFormate && Lauf.Formate[i].Format != Format) ++i;
  return i;
}

bool Modus_Bekannt(const AdapterLauf& Lauf, const D3DDISPLAYMODE& Modus) {
  for (UINT i = 0; i < Lauf.nModi; ++i) {
    const D3DDISPLAYMODE& m = Lauf.Modi[i];
    if (m.Width == Modus.Width && m.Height == Modus.Height && m.Format == Modus.Format) return true;
  }
  return false;
}

// Fills the distinct-mode and distinct-format lists of adapter nNummer and
// sorts the modes. Modes below 640 x 400 and repeats at other refresh rates
// are skipped; a mode that does not fit the fixed lists is dropped whole.
void Modi_Sammeln(UINT nNummer, AdapterLauf& Lauf) {
  const UINT nAnzahl = pD3D->GetAdapterModeCount(nNummer);
  D3DDISPLAYMODE Modus = {};
  for (UINT iModus = 0; iModus < nAnzahl; ++iModus) {
    pD3D->EnumAdapterModes(nNummer, iModus, &Modus);
    if (Modus.Width < 640 || Modus.Height < 400) continue;
    if (Modus_Bekannt(Lauf, Modus) || Lauf.nModi == nMaxListenModi) continue;
    const UINT iFormat = Format_Suchen(Lauf, Modus.Format);
    if (iFormat == Lauf.nFormate) {
      if (Lauf.nFormate == nMaxFormate) continue;
      Lauf.Formate[Lauf.nFormate++].Format = Modus.Format;
    }
    Lauf.Modi[Lauf.nModi] = Modus;
    Lauf.Modi[Lauf.nModi].RefreshRate = 0;
    ++Lauf.nModi;
  }
  qsort(Lauf.Modi, Lauf.nModi, sizeof(D3DDISPLAYMODE), Vergleiche_Modus);
}

// First behaviour-flag candidate the confirmation hook takes for this format,
// hardware vertex processing first where the caps allow it; 0 when none.
DWORD Verhalten_Waehlen(D3DCAPS8& Caps, D3DFORMAT Format) {
  DWORD Kandidaten[4];
  UINT nKandidaten = 0;
  if (Caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) {
    if (Caps.DevCaps & D3DDEVCAPS_PUREDEVICE) {
      Kandidaten[nKandidaten++] = D3DCREATE_PUREDEVICE | D3DCREATE_HARDWARE_VERTEXPROCESSING;
    }
    Kandidaten[nKandidaten++] = D3DCREATE_HARDWARE_VERTEXPROCESSING;
    Kandidaten[nKandidaten++] = D3DCREATE_MIXED_VERTEXPROCESSING;
  }
  Kandidaten[nKandidaten++] = D3DCREATE_SOFTWARE_VERTEXPROCESSING;
  for (UINT i = 0; i < nKandidaten; ++i) {
    if (Bestaetige_Device(&Caps, Kandidaten[i], Format) >= 0) return Kandidaten[i];
  }
  return 0;
}

// Decides for every distinct format whether device type Typ of adapter
// nNummer can run full-screen in it, with which behaviour flags and which
// depth/stencil format.
void Formate_Pruefen(UINT nNummer, DeviceDaten& Device, AdapterLauf& Lauf, ListenLauf& Liste) {
  for (UINT i = 0; i < Lauf.nFormate; ++i) {
    FormatDaten& F = Lauf.Formate[i];
    F.bAkzeptiert = 0;
    F.DepthStencilFormat = D3DFMT_UNKNOWN;
    if (FAILED(pD3D->CheckDeviceType(nNummer, Device.DeviceType, F.Format, F.Format, FALSE))) {
      continue;
    }
    if (Device.DeviceType == D3DDEVTYPE_HAL) Liste.bHalGefunden = 1;
    const DWORD Verhalten = Verhalten_Waehlen(Device.Caps, F.Format);
    if (Verhalten == 0) continue;
    if (Finde_DepthStencil(nNummer, Device.DeviceType, F.Format, &F.DepthStencilFormat)) {
      F.bAkzeptiert = 1;
      F.BehaviorFlags = Verhalten;
    }
  }
}

// Appends every sorted distinct mode whose format was accepted to the
// device record, keeping the sorted order; stops when the record is full.
void Modi_Eintragen(DeviceDaten& Device, const AdapterLauf& Lauf, ListenLauf& Liste) {
  for (UINT m = 0; m < Lauf.nModi; ++m) {
    const D3DDISPLAYMODE& Modus = Lauf.Modi[m];
    const UINT i = Format_Suchen(Lauf, Modus.Format);
    if (i == Lauf.nFormate || !Lauf.Formate[i].bAkzeptiert) continue;
    if (Device.nModi == nMaxModi) return;
    ModusDaten& Eintrag = Device.Modi[Device.nModi++];
    Eintrag.Width = Modus.Width;
    Eintrag.Height = Modus.Height;
    Eintrag.Format = Modus.Format;
    Eintrag.BehaviorFlags = Lauf.Formate[i].BehaviorFlags;
    Eintrag.DepthStencilFormat = Lauf.Formate[i].DepthStencilFormat;
    if (Device.DeviceType == D3DDEVTYPE_HAL) Liste.bHalModus = 1;
  }
}

bool Ist_16Bit(D3DFORMAT Format) {
  return Format == D3DFMT_R5G6B5 || Format == D3DFMT_X1R5G5B5 || Format == D3DFMT_A1R5G5B5;
}

// Chooses the mode of the wanted size: the first 16-bit one, otherwise the
// last one of that size; entry 0 when no mode has that size.
void Modus_Waehlen(DeviceDaten& Device, UINT nBreite, UINT nHoehe) {
  for (UINT i = 0; i < Device.nModi; ++i) {
    const ModusDaten& Modus = Device.Modi[i];
    if (Modus.Width != nBreite || Modus.Height != nHoehe) continue;
    Device.iModus = i;
    if (Ist_16Bit(Modus.Format)) return;
  }
}

// Fills the next device record of Adapter for one device type and keeps it
// when the type offers at least one mode.
void Device_Pruefen(UINT nNummer, const GeraeteTyp& Typ, AdapterDaten& Adapter, AdapterLauf& Lauf,
                    ListenLauf& Liste, UINT nBreite, UINT nHoehe) {
  if (Adapter.nDevices == nMaxDevices) return;
  DeviceDaten& Device = Adapter.Devices[Adapter.nDevices];
  Device.DeviceType = Typ.Typ;
  pD3D->GetDeviceCaps(nNummer, Typ.Typ, &Device.Caps);
  Device.Name = Typ.szName;
  Device.nModi = 0;
  Device.iModus = 0;
  Device.MultiSampleType = D3DMULTISAMPLE_NONE;
  Formate_Pruefen(nNummer, Device, Lauf, Liste);
  Modi_Eintragen(Device, Lauf, Liste);
  Modus_Waehlen(Device, nBreite, nHoehe);
  if (Device.nModi > 0) {
    ++Adapter.nDevices;
    Protokoll_Schreiben("   -> Device: %s\n", Device.Name);
  }
}

// Examines adapter nNummer into the record at nAdapter and accepts it when
// any device type kept a mode.
void Adapter_Pruefen(UINT nNummer, ListenLauf& Liste, UINT nBreite, UINT nHoehe) {
  AdapterDaten& Adapter = AdapterListe[nAdapter];
  pD3D->GetAdapterIdentifier(nNummer, 0, &Adapter.Identifier);
  Adapter.nDevices = 0;
  Adapter.iDevice = 0;
  AdapterLauf Lauf = {};
  Modi_Sammeln(nNummer, Lauf);
  for (const GeraeteTyp& Typ : Typen) {
    Device_Pruefen(nNummer, Typ, Adapter, Lauf, Liste, nBreite, nHoehe);
  }
  if (Adapter.nDevices > 0) {
    AdapterNummer[nAdapter] = nNummer;
    ++nAdapter;
    Protokoll_Schreiben("   -> Adapter akzeptiert: %.511s \n", Adapter.Identifier.Description);
  }
}

}  // namespace

// Enumerates every adapter, device type, display mode and depth/stencil
// format usable full-screen into AdapterListe and chooses adapter, device type
// and the mode nearest to nBreite x nHoehe. Called once by D3D_Init with
// pD3D created; logs each kept device type and adapter. 0 when none is usable.
int Erstelle_List(UINT nBreite, UINT nHoehe) {
  ListenLauf Liste = {0, 0};
  for (UINT nNummer = 0; nNummer < pD3D->GetAdapterCount() && nAdapter < nMaxAdapter; ++nNummer) {
    Adapter_Pruefen(nNummer, Liste, nBreite, nHoehe);
  }
  if (nAdapter == 0) {
    Protokoll_Schreiben("D3D_Init Fehler: Kein geeignetes Device \n");
    return 0;
  }
  iAdapter = 0;
  AdapterDaten& Adapter = AdapterListe[iAdapter];
  Adapter.iDevice = 0;
  if (Adapter.Devices[Adapter.iDevice].DeviceType == D3DDEVTYPE_REF) {
    if (!Liste.bHalGefunden) {
      Protokoll_Schreiben("D3D_Init Fehler: Kein HAL \n");
    } else if (!Liste.bHalModus) {
      Protokoll_Schreiben("D3D_Init Fehler: Unkompatibel \n");
    }
  }
  return 1;
}

// qsort comparator over D3DDISPLAYMODE: higher format code first (signed),
// then smaller width, then smaller height.
int Vergleiche_Modus(const void* pA, const void* pB) {
  const D3DDISPLAYMODE* a = static_cast<const D3DDISPLAYMODE*>(pA);
  const D3DDISPLAYMODE* b = static_cast<const D3DDISPLAYMODE*>(pB);
  // Read as signed integers: a FourCC code with the top bit set is no valid
  // enumerator, and it sorts below every ordinary format.
  INT nFormatA, nFormatB;
  memcpy(&nFormatA, &a->Format, sizeof(INT));
  memcpy(&nFormatB, &b->Format, sizeof(INT));
  if (nFormatA != nFormatB) return nFormatA > nFormatB ? -1 : 1;
  if (a->Width != b->Width) return a->Width < b->Width ? -1 : 1;
  if (a->Height != b->Height) return a->Height < b->Height ? -1 : 1;
  return 0;
}

// Confirmation hook for a behaviour-flag candidate; a negative result would
// reject it. This program accepts every candidate.
HRESULT Bestaetige_Device(D3DCAPS8* /*pCaps*/, DWORD /*dwVerhalten*/, D3DFORMAT /*Format*/) {
  return 0;
}

namespace {

// A depth/stencil candidate, usable when the wanted depth and stencil bits
// do not exceed what it offers (nStencil 0: only when no stencil is wanted).
struct TiefenKandidat {
  D3DFORMAT Format;
  UINT nTiefe;
  UINT nStencil;
};

const TiefenKandidat TiefenKandidaten[] = {
    {D3DFMT_D16, 16, 0},   {D3DFMT_D15S1, 15, 1},   {D3DFMT_D24X8, 24, 0},
    {D3DFMT_D24S8, 24, 8}, {D3DFMT_D24X4S4, 24, 4}, {D3DFMT_D32, 32, 0},
};

}  // namespace

// Finds the first depth/stencil format, in the order of TiefenKandidaten,
// that meets nDepthBits/nStencilBits and that device type Typ of adapter
// nAdapterNr accepts with AdapterFormat as display and render-target format.
int Finde_DepthStencil(UINT nAdapterNr, D3DDEVTYPE Typ, D3DFORMAT AdapterFormat,
                       D3DFORMAT* pDepthStencilFormat) {
  for (const TiefenKandidat& K : TiefenKandidaten) {
    if (nDepthBits > K.nTiefe || nStencilBits > K.nStencil) continue;
    if (FAILED(pD3D->CheckDeviceFormat(nAdapterNr, Typ, AdapterFormat, D3DUSAGE_DEPTHSTENCIL,
                                       D3DRTYPE_SURFACE, K.Format))) {
      continue;
    }
    if (FAILED(pD3D->CheckDepthStencilMatch(nAdapterNr, Typ, AdapterFormat, AdapterFormat,
                                            K.Format))) {
      continue;
    }
    *pDepthStencilFormat = K.Format;
    return 1;
  }
  return 0;
}
