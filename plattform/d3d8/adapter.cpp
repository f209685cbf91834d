#include "plattform/d3d8/adapter.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "plattform/d3d8/flaeche.h"
#include "plattform/fehler/fehler.h"

const IID IID_IDirect3D8 = {
    0x1DD9E8DA, 0x1C77, 0x4D40, {0xB0, 0xCF, 0x98, 0xFE, 0xFD, 0xFF, 0x95, 0x12}};

namespace ersatz {
namespace {

// Caps bits the system itself never names.
const DWORD CAPS2_FULLSCREENGAMMA = 0x00020000;
const DWORD CAPS2_CANRENDERWINDOWED = 0x00080000;
const DWORD DEVCAPS_TEXTURESYSTEMMEMORY = 0x00000100;
const DWORD PMISCCAPS_MASKZ = 0x02, PMISCCAPS_CULLNONE = 0x10, PMISCCAPS_CULLCW = 0x20,
            PMISCCAPS_CULLCCW = 0x40;
const DWORD PRASTERCAPS_ZTEST = 0x10;
const DWORD PCMPCAPS_ALL = 0xff;
const DWORD PSHADECAPS_COLORGOURAUDRGB = 0x08;
const DWORD PTFILTERCAPS_POINT_LINEAR = 0x03030300;
const DWORD TEXOPCAPS_DISABLE_SELECT_MODULATE = 0x0f;
const DWORD VTXPCAPS_FIXED_FUNCTION = 0x3b;
const DWORD STENCILCAPS_ALL = 0xff;
const DWORD VS_VERSION_NONE = 0xfffe0000, VS_VERSION_1_1 = 0xfffe0101;
const DWORD PS_VERSION_NONE = 0xffff0000;

// What the software rasterizer does for a HAL device: it draws, but leaves
// transform and lighting to the runtime.
const DWORD nSoftwareDevCaps = D3DDEVCAPS_EXECUTESYSTEMMEMORY | D3DDEVCAPS_TLVERTEXSYSTEMMEMORY |
                               DEVCAPS_TEXTURESYSTEMMEMORY | D3DDEVCAPS_DRAWPRIMTLVERTEX |
                               D3DDEVCAPS_CANRENDERAFTERFLIP | D3DDEVCAPS_DRAWPRIMITIVES2 |
                               D3DDEVCAPS_DRAWPRIMITIVES2EX | D3DDEVCAPS_HWRASTERIZATION;

std::vector<Adapter_Einstellung>& Eingestellt() {
  static std::vector<Adapter_Einstellung> adapter{Software_Adapter()};
  return adapter;
}

bool Enthaelt(const std::vector<D3DFORMAT>& formate, D3DFORMAT format) {
  return std::find(formate.begin(), formate.end(), format) != formate.end();
}

// Bit width of a colour or depth format, as the depth/stencil match sees it.
UINT Bitbreite(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
    case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4:
    case D3DFMT_D16:
    case D3DFMT_D16_LOCKABLE:
    case D3DFMT_D15S1:
      return 16;
    default:
      return 32;
  }
}

void Text_Kopieren(char (&ziel)[512], const std::string& text) {
  const std::size_t n = std::min(text.size(), sizeof(ziel) - 1);
  memcpy(ziel, text.data(), n);
  ziel[n] = '\0';
}

void Tnl_Caps(D3DCAPS8& caps) {
  caps.VertexProcessingCaps = VTXPCAPS_FIXED_FUNCTION;
  caps.MaxActiveLights = 8;
  caps.MaxUserClipPlanes = 6;
  caps.MaxVertexBlendMatrices = 4;
  caps.MaxStreams = 16;
  caps.VertexShaderVersion = VS_VERSION_1_1;
  caps.MaxVertexShaderConst = 96;
}

// Caps of one device type: a fixed-function rasterizer with Gouraud shading,
// every depth comparison and culling mode; the transform-and-lighting
// fields follow DevCaps.
D3DCAPS8 Caps_Bauen(UINT nAdapter, D3DDEVTYPE typ, DWORD devCaps) {
  D3DCAPS8 caps = {};
  caps.DeviceType = typ;
  caps.AdapterOrdinal = nAdapter;
  caps.Caps2 = CAPS2_FULLSCREENGAMMA | CAPS2_CANRENDERWINDOWED;
  caps.PresentationIntervals = D3DPRESENT_INTERVAL_ONE | D3DPRESENT_INTERVAL_IMMEDIATE;
  caps.DevCaps = devCaps;
  caps.PrimitiveMiscCaps =
      PMISCCAPS_MASKZ | PMISCCAPS_CULLNONE | PMISCCAPS_CULLCW | PMISCCAPS_CULLCCW;
  caps.RasterCaps = PRASTERCAPS_ZTEST;
  caps.ZCmpCaps = PCMPCAPS_ALL;
  caps.AlphaCmpCaps = PCMPCAPS_ALL;
  caps.ShadeCaps = PSHADECAPS_COLORGOURAUDRGB;
  caps.TextureFilterCaps = PTFILTERCAPS_POINT_LINEAR;
  caps.MaxTextureWidth = caps.MaxTextureHeight = 2048;
  caps.MaxTextureAspectRatio = 2048;
  caps.MaxAnisotropy = 1;
  caps.MaxVertexW = 1.0e10f;
  caps.GuardBandLeft = caps.GuardBandTop = -32768.0f;
  caps.GuardBandRight = caps.GuardBandBottom = 32767.0f;
  caps.StencilCaps = STENCILCAPS_ALL;
  caps.FVFCaps = 1;
  caps.TextureOpCaps = TEXOPCAPS_DISABLE_SELECT_MODULATE;
  caps.MaxTextureBlendStages = 1;
  caps.MaxSimultaneousTextures = 1;
  caps.MaxPointSize = 1.0f;
  caps.MaxPrimitiveCount = 0xffff;
  caps.MaxVertexIndex = 0xffff;
  caps.MaxStreams = 1;
  caps.MaxStreamStride = 256;
  caps.VertexShaderVersion = VS_VERSION_NONE;
  caps.PixelShaderVersion = PS_VERSION_NONE;
  if (devCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) Tnl_Caps(caps);
  return caps;
}

// Direct3D 8 over the configured adapters; reference-counted, deleted by
// the last Release.
class Direct3D8 final : public Com<IDirect3D8, IID_IDirect3D8> {
 public:
  explicit Direct3D8(std::vector<Adapter_Einstellung> adapter) : adapter_(std::move(adapter)) {}

  UINT STDMETHODCALLTYPE GetAdapterCount() override { return static_cast<UINT>(adapter_.size()); }

  HRESULT STDMETHODCALLTYPE GetAdapterIdentifier(UINT nAdapter, DWORD flags,
                                                 D3DADAPTER_IDENTIFIER8* pId) override {
    if (nAdapter >= adapter_.size() || pId == nullptr) return D3DERR_INVALIDCALL;
    const Adapter_Einstellung& a = adapter_[nAdapter];
    memset(pId, 0, sizeof(*pId));
    Text_Kopieren(pId->Driver, a.Treiber);
    Text_Kopieren(pId->Description, a.Beschreibung);
    pId->DriverVersion.QuadPart = a.Treiberversion;
    pId->VendorId = a.VendorId;
    pId->DeviceId = a.DeviceId;
    pId->SubSysId = a.SubSysId;
    pId->Revision = a.Revision;
    pId->DeviceIdentifier = a.Kennung;
    pId->WHQLLevel = (flags & D3DENUM_NO_WHQL_LEVEL) ? 0 : a.WHQLLevel;
    return D3D_OK;
  }

  UINT STDMETHODCALLTYPE GetAdapterModeCount(UINT nAdapter) override {
    return nAdapter < adapter_.size() ? static_cast<UINT>(adapter_[nAdapter].Modi.size()) : 0;
  }

  HRESULT STDMETHODCALLTYPE EnumAdapterModes(UINT nAdapter, UINT nModus,
                                             D3DDISPLAYMODE* pModus) override {
    if (nAdapter >= adapter_.size() || pModus == nullptr) return D3DERR_INVALIDCALL;
    const auto& modi = adapter_[nAdapter].Modi;
    if (nModus >= modi.size()) return D3DERR_INVALIDCALL;
    *pModus = modi[nModus];
    return D3D_OK;
  }

  HRESULT STDMETHODCALLTYPE CheckDeviceType(UINT nAdapter, D3DDEVTYPE typ, D3DFORMAT anzeige,
                                            D3DFORMAT hinten, BOOL) override {
    const HRESULT hr = Typ_Pruefen(nAdapter, typ);
    if (FAILED(hr)) return hr;
    if (!Anzeigeformat(nAdapter, anzeige) || hinten != anzeige ||
        Enthaelt(Typ(nAdapter, typ).AbgelehnteFormate, anzeige)) {
      return D3DERR_NOTAVAILABLE;
    }
    return D3D_OK;
  }

  HRESULT STDMETHODCALLTYPE CheckDeviceFormat(UINT nAdapter, D3DDEVTYPE typ, D3DFORMAT anzeige,
                                              DWORD usage, D3DRESOURCETYPE art,
                                              D3DFORMAT format) override {
    const HRESULT hr = Typ_Pruefen(nAdapter, typ);
    if (FAILED(hr)) return hr;
    if (!Anzeigeformat(nAdapter, anzeige)) return D3DERR_NOTAVAILABLE;
    if (usage & D3DUSAGE_DEPTHSTENCIL) {
      const bool bFlaeche = art == D3DRTYPE_SURFACE || art == D3DRTYPE_TEXTURE;
      return bFlaeche && Enthaelt(Typ(nAdapter, typ).Tiefenformate, format) ? D3D_OK
                                                                            : D3DERR_NOTAVAILABLE;
    }
    return format == anzeige ? D3D_OK : D3DERR_NOTAVAILABLE;
  }

  HRESULT STDMETHODCALLTYPE CheckDepthStencilMatch(UINT nAdapter, D3DDEVTYPE typ, D3DFORMAT anzeige,
                                                   D3DFORMAT ziel, D3DFORMAT tiefe) override {
    const HRESULT hr = Typ_Pruefen(nAdapter, typ);
    if (FAILED(hr)) return hr;
    const Typ_Einstellung& t = Typ(nAdapter, typ);
    if (!Anzeigeformat(nAdapter, anzeige) || !Enthaelt(t.Tiefenformate, tiefe)) {
      return D3DERR_NOTAVAILABLE;
    }
    if (t.bTiefeWieFarbe && Bitbreite(ziel) != Bitbreite(tiefe)) return D3DERR_NOTAVAILABLE;
    return D3D_OK;
  }

  HRESULT STDMETHODCALLTYPE GetDeviceCaps(UINT nAdapter, D3DDEVTYPE typ, D3DCAPS8* pCaps) override {
    if (pCaps == nullptr) return D3DERR_INVALIDCALL;
    const HRESULT hr = Typ_Pruefen(nAdapter, typ);
    if (FAILED(hr)) return hr;
    *pCaps = Caps_Bauen(nAdapter, typ, Typ(nAdapter, typ).DevCaps);
    return D3D_OK;
  }

  HRESULT STDMETHODCALLTYPE CreateDevice(UINT nAdapter, D3DDEVTYPE typ, HWND hFokus,
                                         DWORD verhalten, D3DPRESENT_PARAMETERS* pParameter,
                                         IDirect3DDevice8** ppGeraet) override;

 private:
  // D3D_OK when the adapter exists and offers the device type.
  HRESULT Typ_Pruefen(UINT nAdapter, D3DDEVTYPE typ) const {
    if (nAdapter >= adapter_.size()) return D3DERR_INVALIDCALL;
    if (typ != D3DDEVTYPE_HAL && typ != D3DDEVTYPE_REF) return D3DERR_INVALIDCALL;
    return Typ(nAdapter, typ).bVorhanden ? D3D_OK : D3DERR_NOTAVAILABLE;
  }
  const Typ_Einstellung& Typ(UINT nAdapter, D3DDEVTYPE typ) const {
    return typ == D3DDEVTYPE_HAL ? adapter_[nAdapter].Hal : adapter_[nAdapter].Ref;
  }
  bool Anzeigeformat(UINT nAdapter, D3DFORMAT format) const {
    const auto& modi = adapter_[nAdapter].Modi;
    return std::any_of(modi.begin(), modi.end(),
                       [format](const D3DDISPLAYMODE& m) { return m.Format == format; });
  }
  bool Modus_Angeboten(UINT nAdapter, UINT nBreite, UINT nHoehe, D3DFORMAT format) const {
    const auto& modi = adapter_[nAdapter].Modi;
    return std::any_of(modi.begin(), modi.end(), [&](const D3DDISPLAYMODE& m) {
      return m.Width == nBreite && m.Height == nHoehe && m.Format == format;
    });
  }
  HRESULT Parameter_Pruefen(UINT nAdapter, D3DDEVTYPE typ, DWORD verhalten,
                            const D3DPRESENT_PARAMETERS& p);

  std::vector<Adapter_Einstellung> adapter_;
};

// Exactly one kind of vertex processing; hardware and mixed need hardware
// transform and lighting, a pure device needs hardware processing and the cap.
bool Verhalten_Gueltig(DWORD verhalten, DWORD devCaps) {
  const DWORD art =
      verhalten & (D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_HARDWARE_VERTEXPROCESSING |
                   D3DCREATE_MIXED_VERTEXPROCESSING);
  if (art != D3DCREATE_SOFTWARE_VERTEXPROCESSING && art != D3DCREATE_HARDWARE_VERTEXPROCESSING &&
      art != D3DCREATE_MIXED_VERTEXPROCESSING) {
    return false;
  }
  const bool bTnl = (devCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) != 0;
  if (art != D3DCREATE_SOFTWARE_VERTEXPROCESSING && !bTnl) return false;
  if (verhalten & D3DCREATE_PUREDEVICE) {
    return art == D3DCREATE_HARDWARE_VERTEXPROCESSING && (devCaps & D3DDEVCAPS_PUREDEVICE);
  }
  return true;
}

// Checks the creation arguments as Direct3D does: behaviour flags against
// the caps, a full-screen mode the adapter lists, a usable depth format.
HRESULT Direct3D8::Parameter_Pruefen(UINT nAdapter, D3DDEVTYPE typ, DWORD verhalten,
                                     const D3DPRESENT_PARAMETERS& p) {
  if (!Verhalten_Gueltig(verhalten, Typ(nAdapter, typ).DevCaps)) return D3DERR_INVALIDCALL;
  if (p.BackBufferCount > 3 || p.SwapEffect < D3DSWAPEFFECT_DISCARD ||
      p.SwapEffect > D3DSWAPEFFECT_COPY_VSYNC) {
    return D3DERR_INVALIDCALL;
  }
  if (p.MultiSampleType != D3DMULTISAMPLE_NONE) return D3DERR_NOTAVAILABLE;
  if (!p.Windowed) {
    if (!Modus_Angeboten(nAdapter, p.BackBufferWidth, p.BackBufferHeight, p.BackBufferFormat)) {
      return D3DERR_INVALIDCALL;
    }
    if (FAILED(CheckDeviceType(nAdapter, typ, p.BackBufferFormat, p.BackBufferFormat, FALSE))) {
      return D3DERR_NOTAVAILABLE;
    }
  }
  if (p.EnableAutoDepthStencil) {
    const D3DFORMAT tiefe = p.AutoDepthStencilFormat;
    if (FAILED(CheckDeviceFormat(nAdapter, typ, p.BackBufferFormat, D3DUSAGE_DEPTHSTENCIL,
                                 D3DRTYPE_SURFACE, tiefe)) ||
        FAILED(
            CheckDepthStencilMatch(nAdapter, typ, p.BackBufferFormat, p.BackBufferFormat, tiefe))) {
      return D3DERR_INVALIDCALL;
    }
  }
  return D3D_OK;
}

HRESULT Direct3D8::CreateDevice(UINT nAdapter, D3DDEVTYPE typ, HWND hFokus, DWORD verhalten,
                                D3DPRESENT_PARAMETERS* pParameter, IDirect3DDevice8** ppGeraet) {
  if (ppGeraet == nullptr) return D3DERR_INVALIDCALL;
  *ppGeraet = nullptr;
  if (Fehler("CreateDevice")) return D3DERR_NOTAVAILABLE;
  if (pParameter == nullptr) return D3DERR_INVALIDCALL;
  HRESULT hr = Typ_Pruefen(nAdapter, typ);
  if (SUCCEEDED(hr)) hr = Parameter_Pruefen(nAdapter, typ, verhalten, *pParameter);
  if (FAILED(hr)) return hr;
  HWND hFenster = pParameter->hDeviceWindow != nullptr ? pParameter->hDeviceWindow : hFokus;
  return Geraet_Erzeugen(*pParameter, hFenster, ppGeraet);
}

}  // namespace

Adapter_Einstellung Software_Adapter() {
  Adapter_Einstellung a;
  a.Treiber = "borkwerk_sw.dll";
  a.Beschreibung = "Borkwerk Software Rasterizer";
  a.Treiberversion = (std::int64_t{4} << 48) | (std::int64_t{13} << 32) | (1 << 16) | 100;
  a.Kennung = {0x6b726f62, 0x6577, 0x6b72, {'S', 'o', 'f', 't', 'R', 'a', 's', 't'}};
  const std::vector<Groesse> groessen = {
      {320, 200}, {320, 240},  {400, 300},  {512, 384},  {640, 400},   {640, 480},
      {800, 600}, {1024, 768}, {1152, 864}, {1280, 960}, {1280, 1024}, {1600, 1200},
  };
  a.Modi = Modi_Erzeugen(groessen, {D3DFMT_R5G6B5, D3DFMT_X8R8G8B8}, {60, 70, 72, 75, 85});
  // The device keeps a 16-bit depth buffer, so D16 is the one depth format,
  // with 16- and 32-bit colour alike.
  a.Hal.DevCaps = nSoftwareDevCaps;
  a.Hal.Tiefenformate = {D3DFMT_D16};
  // The reference rasterizer simulates a pure hardware T&L device.
  a.Ref.DevCaps = nSoftwareDevCaps | D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_PUREDEVICE;
  a.Ref.Tiefenformate = {D3DFMT_D16};
  return a;
}

std::vector<D3DDISPLAYMODE> Modi_Erzeugen(const std::vector<Groesse>& Groessen,
                                          const std::vector<D3DFORMAT>& Formate,
                                          const std::vector<UINT>& Frequenzen) {
  std::vector<D3DDISPLAYMODE> modi;
  for (D3DFORMAT format : Formate) {
    for (const Groesse& g : Groessen) {
      for (UINT hz : Frequenzen) modi.push_back({g.nBreite, g.nHoehe, hz, format});
    }
  }
  return modi;
}

void Adapter_Einstellen(const std::vector<Adapter_Einstellung>& Adapter) {
  Eingestellt() = Adapter;
}

void Adapter_Zuruecksetzen() { Eingestellt() = {Software_Adapter()}; }

}  // namespace ersatz

// The runtime's entry point: null for a foreign SDK version or when the
// "Direct3DCreate8" fault is set.
IDirect3D8* WINAPI Direct3DCreate8(UINT SDKVersion) {
  if (ersatz::Fehler("Direct3DCreate8") || SDKVersion != D3D_SDK_VERSION) return nullptr;
  try {
    return new ersatz::Direct3D8(ersatz::Eingestellt());
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
