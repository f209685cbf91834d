#pragma once
// Graphics device: enumeration, device file, device creation, scene state.
#include "plattform/plattform.h"

struct ModusDaten {
  UINT Width;
  UINT Height;
  D3DFORMAT Format;
  DWORD BehaviorFlags;
  D3DFORMAT DepthStencilFormat;
};

struct DeviceDaten {
  D3DDEVTYPE DeviceType;
  D3DCAPS8 Caps;
  const char* Name;
  UINT nModi;
  ModusDaten Modi[150];
  UINT iModus;
  D3DMULTISAMPLE_TYPE MultiSampleType;
};

struct AdapterDaten {
  D3DADAPTER_IDENTIFIER8 Identifier;
  UINT nDevices;
  DeviceDaten Devices[5];
  UINT iDevice;
};

// Enumeration
extern AdapterDaten AdapterListe[20];
extern UINT nAdapter;
extern UINT iAdapter;
// Adapter ordinal of each accepted record: records are packed, so after a
// rejected adapter a record's index is no longer its ordinal.
extern UINT AdapterNummer[20];
int Erstelle_List(UINT nBreite, UINT nHoehe);
int Vergleiche_Modus(const void* pA, const void* pB);
HRESULT Bestaetige_Device(D3DCAPS8* pCaps, DWORD dwVerhalten, D3DFORMAT Format);
int Finde_DepthStencil(UINT nAdapterNr, D3DDEVTYPE Typ, D3DFORMAT AdapterFormat,
                       D3DFORMAT* pDepthStencilFormat);

// Device file
int Device_Speichern();
extern const char* szDeviceGrund;  // why device.gra could not be written

// Device creation
extern IDirect3D8* pD3D;
extern IDirect3DDevice8* pDevice;
extern IDirect3DSurface8* pBackBuffer;
extern UINT nDepthBits;
extern UINT nStencilBits;
extern char szDeviceText[256];
extern char szModeText[100];
// The device's presentation parameters, kept for a reset.
extern D3DPRESENT_PARAMETERS Praesentationsparameter;
// Why D3D_Init failed, for the user; "" until it fails.
extern const char* szStartFehler;
int D3D_Init(UINT nBreite, UINT nHoehe, UINT nTiefenBits, UINT nSchablonenBits);
int Obj_Init();
void Rueckpuffer_Holen();
void Zustaende_Setzen();
void D3D_Ende();

// Device loss: a full-screen device is lost when another program takes the
// screen, and is reset once it may be.
extern int bGeraetVerloren;
void Geraet_Verloren();
int Geraet_Pruefen();

// Scene state
extern D3DMATERIAL8 Material;
extern D3DLIGHT8 Licht;
extern float fLichtWinkel;
int rProjektionsMatrixEinstellen(IDirect3DDevice8* pGeraet);
int rProjektionsMatrixBerechnen(D3DMATRIX* pMatrix, float fSichtwinkel, float fSeitenverhaeltnis,
                                float fNah, float fFern);
int rMaterialEinstellen();
void rLichtEinstellen();
void rLichtBewegen();
void rSzeneWiederherstellen();
