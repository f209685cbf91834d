#include "grafik/grafik.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ansicht/ansicht.h"
#include "app/app.h"
#include "eingabe/eingabe.h"
#include "plattform/d3d8/adapter.h"
#include "plattform/d3d8/aufzeichnung.h"
#include "plattform/fehler/fehler.h"
#include "tests/testgeraet.h"
#include "tests/testhilfe.h"

namespace fs = std::filesystem;
using ersatz::Adapter_Einstellung;

namespace {

// Every test runs in its own empty working directory with a fresh log in a
// temporary file and the enumeration globals cleared.
class Grafik : public Protokoll_Test {
 protected:
  void SetUp() override {
    Protokoll_Test::SetUp();
    vorher_ = fs::current_path();
    ordner_ = fs::temp_directory_path() /
              ("grafik_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(ordner_);
    fs::create_directories(ordner_);
    fs::current_path(ordner_);
    Zuruecksetzen();
  }

  void TearDown() override {
    D3D_Ende();
    Protokoll_Test::TearDown();
    fs::current_path(vorher_);
    fs::remove_all(ordner_);
  }

  // Releases what a previous start created and clears the enumeration.
  static void Zuruecksetzen() {
    D3D_Ende();
    memset(AdapterListe, 0, sizeof(AdapterListe));
    memset(AdapterNummer, 0, sizeof(AdapterNummer));
    nAdapter = iAdapter = 0;
  }

  // Enumeration alone, as D3D_Init runs it, over the given adapters.
  static int Aufzaehlen(const std::vector<Adapter_Einstellung>& adapter, UINT nTiefe = 16,
                        UINT nStencil = 0) {
    Zuruecksetzen();
    ersatz::Adapter_Einstellen(adapter);
    pD3D = Direct3DCreate8(D3D_SDK_VERSION);
    nDepthBits = nTiefe;
    nStencilBits = nStencil;
    return Erstelle_List(1152, 864);
  }

  static const DeviceDaten& Device(UINT i = 0) { return AdapterListe[0].Devices[i]; }
  static const ModusDaten& Gewaehlt() {
    const AdapterDaten& a = AdapterListe[iAdapter];
    const DeviceDaten& d = a.Devices[a.iDevice];
    return d.Modi[d.iModus];
  }

  fs::path vorher_, ordner_;
};

Adapter_Einstellung Mit_Modi(std::vector<D3DDISPLAYMODE> modi) {
  Adapter_Einstellung a = ersatz::Software_Adapter();
  a.Modi = std::move(modi);
  return a;
}

Adapter_Einstellung Nur_Hal(std::vector<D3DDISPLAYMODE> modi) {
  Adapter_Einstellung a = Mit_Modi(std::move(modi));
  a.Ref.bVorhanden = false;
  return a;
}

std::vector<D3DDISPLAYMODE> Modi(std::vector<ersatz::Groesse> groessen,
                                 std::vector<D3DFORMAT> formate, std::vector<UINT> hz = {60}) {
  return ersatz::Modi_Erzeugen(groessen, formate, hz);
}

::testing::AssertionResult Ist_Modus(const ModusDaten& m, UINT w, UINT h, D3DFORMAT f) {
  if (m.Width == w && m.Height == h && m.Format == f) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "mode " << m.Width << "x" << m.Height << " format " << m.Format;
}

// ---- Enumeration ---------------------------------------------------------

TEST_F(Grafik, SoftwareAdapterGibtHalR5G6B5Mit1152x864UndD16) {
  ASSERT_EQ(Aufzaehlen({ersatz::Software_Adapter()}), 1);
  EXPECT_EQ(Protokoll(),
            "   -> Device: HAL\n   -> Device: REF\n"
            "   -> Adapter akzeptiert: Borkwerk Software Rasterizer \n");
  EXPECT_EQ(nAdapter, 1u);
  EXPECT_EQ(AdapterListe[0].nDevices, 2u);
  EXPECT_EQ(Device(0).DeviceType, D3DDEVTYPE_HAL);
  EXPECT_EQ(Device(1).DeviceType, D3DDEVTYPE_REF);
  EXPECT_EQ(Device(0).nModi, 16u);  // 8 sizes from 640 x 400 up, two formats
  EXPECT_TRUE(Ist_Modus(Gewaehlt(), 1152, 864, D3DFMT_R5G6B5));
  EXPECT_EQ(Gewaehlt().DepthStencilFormat, D3DFMT_D16);
  EXPECT_EQ(Gewaehlt().BehaviorFlags, static_cast<DWORD>(D3DCREATE_SOFTWARE_VERTEXPROCESSING));
}

TEST_F(Grafik, ModiEinmalJeGroesseUndFormatSortiertOhneKleine) {
  std::vector<D3DDISPLAYMODE> modi =
      Modi({{800, 600}, {640, 480}, {640, 400}, {640, 350}, {512, 384}, {600, 480}, {800, 400}},
           {D3DFMT_X8R8G8B8, D3DFMT_R5G6B5}, {60, 75, 85});
  ASSERT_EQ(Aufzaehlen({Nur_Hal(modi)}), 1);
  const DeviceDaten& d = Device();
  ASSERT_EQ(d.nModi, 8u);
  const UINT groessen[4][2] = {{640, 400}, {640, 480}, {800, 400}, {800, 600}};
  for (UINT i = 0; i < 8; ++i) {
    const D3DFORMAT f = i < 4 ? D3DFMT_R5G6B5 : D3DFMT_X8R8G8B8;
    EXPECT_TRUE(Ist_Modus(d.Modi[i], groessen[i % 4][0], groessen[i % 4][1], f)) << i;
  }
}

TEST_F(Grafik, VergleicheModusNachFormatVorzeichenbehaftetDannBreiteDannHoehe) {
  const D3DDISPLAYMODE a = {640, 480, 0, D3DFMT_R5G6B5};
  D3DDISPLAYMODE fourcc = a;  // a FourCC code with the top bit set
  const std::uint32_t nFourcc = 0x80000001u;
  memcpy(&fourcc.Format, &nFourcc, sizeof(nFourcc));
  const D3DDISPLAYMODE breiter = {800, 400, 0, D3DFMT_R5G6B5};
  const D3DDISPLAYMODE hoeher = {640, 500, 0, D3DFMT_R5G6B5};
  EXPECT_EQ(Vergleiche_Modus(&a, &fourcc), -1);
  EXPECT_EQ(Vergleiche_Modus(&fourcc, &a), 1);
  EXPECT_EQ(Vergleiche_Modus(&a, &breiter), -1);
  EXPECT_EQ(Vergleiche_Modus(&hoeher, &a), 1);
  EXPECT_EQ(Vergleiche_Modus(&a, &a), 0);
}

TEST_F(Grafik, ModuswahlBevorzugt16BitMitHoechstemCode) {
  // X1R5G5B5 before R5G6B5.
  ASSERT_EQ(Aufzaehlen({Nur_Hal(Modi({{640, 480}, {1152, 864}},
                                     {D3DFMT_R5G6B5, D3DFMT_X1R5G5B5, D3DFMT_X8R8G8B8}))}),
            1);
  EXPECT_TRUE(Ist_Modus(Gewaehlt(), 1152, 864, D3DFMT_X1R5G5B5));
}

TEST_F(Grafik, ModuswahlOhne16BitNimmtLetztenTreffer) {
  std::vector<D3DDISPLAYMODE> modi = Modi({{1152, 864}}, {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8});
  const auto klein = Modi({{640, 480}}, {D3DFMT_R5G6B5});
  modi.insert(modi.end(), klein.begin(), klein.end());
  ASSERT_EQ(Aufzaehlen({Nur_Hal(modi)}), 1);
  EXPECT_TRUE(Ist_Modus(Gewaehlt(), 1152, 864, D3DFMT_A8R8G8B8));

  ASSERT_EQ(Aufzaehlen({Nur_Hal(Modi({{1152, 864}, {1024, 768}}, {D3DFMT_X8R8G8B8}))}), 1);
  EXPECT_TRUE(Ist_Modus(Gewaehlt(), 1152, 864, D3DFMT_X8R8G8B8));
}

TEST_F(Grafik, ModuswahlOhneWunschgroesseNimmtEintragNull) {
  ASSERT_EQ(Aufzaehlen({Nur_Hal(Modi({{1024, 768}, {640, 400}, {640, 480}},
                                     {D3DFMT_X8R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5}))}),
            1);
  EXPECT_EQ(Device().iModus, 0u);
  EXPECT_TRUE(Ist_Modus(Gewaehlt(), 640, 400, D3DFMT_X1R5G5B5));
}

TEST_F(Grafik, FormatOhneTiefenpufferTraegtNichtsBei) {
  Adapter_Einstellung a = Nur_Hal(Modi({{1152, 864}}, {D3DFMT_R5G6B5, D3DFMT_X8R8G8B8}));
  a.Hal.Tiefenformate = {D3DFMT_D16, D3DFMT_D32};
  a.Hal.bTiefeWieFarbe = true;
  ASSERT_EQ(Aufzaehlen({a}), 1);
  ASSERT_EQ(Device().nModi, 2u);
  EXPECT_EQ(Device().Modi[0].DepthStencilFormat, D3DFMT_D16);
  EXPECT_EQ(Device().Modi[1].DepthStencilFormat, D3DFMT_D32);

  a.Hal.Tiefenformate = {D3DFMT_D16};
  ASSERT_EQ(Aufzaehlen({a}), 1);
  ASSERT_EQ(Device().nModi, 1u);
  EXPECT_EQ(Device().Modi[0].Format, D3DFMT_R5G6B5);
}

struct TiefenFall {
  UINT nTiefe, nStencil;
  std::vector<D3DFORMAT> angeboten;
  int nErgebnis;
  D3DFORMAT erwartet;
};

TEST_F(Grafik, FindeDepthStencilProbiertInFesterReihenfolge) {
  const std::vector<TiefenFall> faelle = {
      {16,
       0,
       {D3DFMT_D32, D3DFMT_D24X4S4, D3DFMT_D24S8, D3DFMT_D24X8, D3DFMT_D15S1, D3DFMT_D16},
       1,
       D3DFMT_D16},
      {16, 0, {D3DFMT_D32, D3DFMT_D24S8, D3DFMT_D24X8, D3DFMT_D15S1}, 1, D3DFMT_D24X8},
      {16, 0, {D3DFMT_D32, D3DFMT_D24X4S4, D3DFMT_D24S8, D3DFMT_D15S1}, 1, D3DFMT_D24S8},
      {16, 0, {D3DFMT_D32, D3DFMT_D24X4S4}, 1, D3DFMT_D24X4S4},
      {16, 0, {D3DFMT_D32, D3DFMT_D15S1}, 1, D3DFMT_D32},
      {16, 0, {D3DFMT_D15S1}, 0, D3DFMT_UNKNOWN},
      {15, 1, {D3DFMT_D16, D3DFMT_D15S1, D3DFMT_D24X8}, 1, D3DFMT_D15S1},
      {24, 8, {D3DFMT_D16, D3DFMT_D24X8, D3DFMT_D24X4S4, D3DFMT_D24S8}, 1, D3DFMT_D24S8},
      {24, 4, {D3DFMT_D24X4S4, D3DFMT_D32}, 1, D3DFMT_D24X4S4},
      {32, 0, {D3DFMT_D24X8, D3DFMT_D32}, 1, D3DFMT_D32},
      {32, 1, {D3DFMT_D32, D3DFMT_D24S8}, 0, D3DFMT_UNKNOWN},
  };
  for (const TiefenFall& f : faelle) {
    Adapter_Einstellung a = ersatz::Software_Adapter();
    a.Hal.Tiefenformate = f.angeboten;
    ersatz::Adapter_Einstellen({a});
    IDirect3D8* p = Direct3DCreate8(D3D_SDK_VERSION);
    pD3D = p;
    nDepthBits = f.nTiefe;
    nStencilBits = f.nStencil;
    D3DFORMAT gefunden = D3DFMT_UNKNOWN;
    EXPECT_EQ(Finde_DepthStencil(0, D3DDEVTYPE_HAL, D3DFMT_R5G6B5, &gefunden), f.nErgebnis)
        << f.nTiefe << "/" << f.nStencil;
    EXPECT_EQ(gefunden, f.erwartet) << f.nTiefe << "/" << f.nStencil;
    p->Release();
  }
  pD3D = nullptr;
}

TEST_F(Grafik, VerhaltenFolgtDenCaps) {
  const struct {
    DWORD devCaps;
    DWORD erwartet;
  } faelle[] = {
      {D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_PUREDEVICE, 0x50},
      {D3DDEVCAPS_HWTRANSFORMANDLIGHT, 0x40},
      {D3DDEVCAPS_PUREDEVICE, 0x20},
      {0, 0x20},
  };
  for (const auto& f : faelle) {
    Adapter_Einstellung a = Nur_Hal(Modi({{1152, 864}}, {D3DFMT_R5G6B5, D3DFMT_X8R8G8B8}));
    a.Hal.DevCaps = f.devCaps;
    ASSERT_EQ(Aufzaehlen({a}), 1);
    EXPECT_EQ(Device().Modi[0].BehaviorFlags, f.erwartet);
    EXPECT_EQ(Device().Modi[1].BehaviorFlags, f.erwartet);
  }
}

TEST_F(Grafik, RefOhneHalWarntKeinHal) {
  Adapter_Einstellung a = ersatz::Software_Adapter();
  a.Hal.bVorhanden = false;
  ASSERT_EQ(Aufzaehlen({a}), 1);
  EXPECT_EQ(Protokoll(),
            "   -> Device: REF\n   -> Adapter akzeptiert: Borkwerk Software Rasterizer \n"
            "D3D_Init Fehler: Kein HAL \n");
  EXPECT_EQ(AdapterListe[0].nDevices, 1u);
  EXPECT_EQ(Device().DeviceType, D3DDEVTYPE_REF);
}

TEST_F(Grafik, RefWeilHalKeinenModusHatWarntUnkompatibel) {
  Adapter_Einstellung a = ersatz::Software_Adapter();
  a.Hal.Tiefenformate.clear();
  ASSERT_EQ(Aufzaehlen({a}), 1);
  EXPECT_EQ(Protokoll(),
            "   -> Device: REF\n   -> Adapter akzeptiert: Borkwerk Software Rasterizer \n"
            "D3D_Init Fehler: Unkompatibel \n");
  // The REF record took the slot the rejected HAL record had used.
  EXPECT_EQ(Device().DeviceType, D3DDEVTYPE_REF);
}

TEST_F(Grafik, OhneBrauchbaresDeviceScheitert) {
  ASSERT_EQ(Aufzaehlen({Mit_Modi(Modi({{512, 384}, {640, 350}}, {D3DFMT_R5G6B5}))}), 0);
  EXPECT_EQ(Protokoll(), "D3D_Init Fehler: Kein geeignetes Device \n");
  EXPECT_EQ(nAdapter, 0u);
  ASSERT_EQ(Aufzaehlen({}), 0);
}

TEST_F(Grafik, AbgelehnterErsterAdapterMachtPlatzFuerDenZweiten) {
  Adapter_Einstellung schlecht = Mit_Modi(Modi({{512, 384}}, {D3DFMT_R5G6B5}));
  schlecht.Beschreibung = "Abgelehnt";
  Adapter_Einstellung gut = ersatz::Software_Adapter();
  gut.Beschreibung = "Zweiter";
  ASSERT_EQ(Aufzaehlen({schlecht, gut}), 1);
  EXPECT_EQ(nAdapter, 1u);
  EXPECT_STREQ(AdapterListe[0].Identifier.Description, "Zweiter");
  EXPECT_EQ(AdapterNummer[0], 1u);
}

TEST_F(Grafik, KapazitaetenWerdenEingehalten) {
  std::vector<ersatz::Groesse> groessen;
  for (UINT i = 0; i < 120; ++i) groessen.push_back({640 + 8 * i, 480});
  ASSERT_EQ(Aufzaehlen({Nur_Hal(Modi(groessen, {D3DFMT_R5G6B5}, {60, 75}))}), 1);
  EXPECT_EQ(Device().nModi, 100u);
  EXPECT_EQ(Device().Modi[99].Width, 640u + 8 * 99);

  // 25 formats: only the first 20 seen enter the list, each with its mode.
  std::vector<D3DFORMAT> formate;
  for (int i = 0; i < 25; ++i) formate.push_back(static_cast<D3DFORMAT>(200 + i));
  ASSERT_EQ(Aufzaehlen({Nur_Hal(Modi({{640, 480}}, formate))}), 1);
  ASSERT_EQ(Device().nModi, 20u);
  EXPECT_EQ(Device().Modi[0].Format, static_cast<D3DFORMAT>(219));
  EXPECT_EQ(Device().Modi[19].Format, static_cast<D3DFORMAT>(200));

  std::vector<Adapter_Einstellung> viele(23, ersatz::Software_Adapter());
  viele[0] = Mit_Modi(Modi({{320, 200}}, {D3DFMT_R5G6B5}));
  ASSERT_EQ(Aufzaehlen(viele), 1);
  EXPECT_EQ(nAdapter, 20u);
  EXPECT_EQ(iAdapter, 0u);
  EXPECT_EQ(AdapterNummer[0], 1u);
  EXPECT_EQ(AdapterNummer[19], 20u);
}

// ---- Device creation -----------------------------------------------------

TEST_F(Grafik, D3DInitErzeugtDasGeraetImGewaehltenModus) {
  ASSERT_EQ(D3D_Init(1152, 864, 16, 0), 1);
  EXPECT_EQ(Protokoll(),
            "D3D_Init: Starte Initialisierung \n"
            "   -> Device: HAL\n   -> Device: REF\n"
            "   -> Adapter akzeptiert: Borkwerk Software Rasterizer \n"
            "   -- Enumeration beendet -- \n"
            "   Device [HAL (TnL in Software): Borkwerk Software Rasterizer] aktiviert! \n"
            "   Mode: 1152x864 16 Bit 16/0 Bit Depth/Stencil Buffer \n"
            "D3D_Init: successful \n");
  ASSERT_NE(pDevice, nullptr);
  ASSERT_NE(pBackBuffer, nullptr);
  D3DSURFACE_DESC desc;
  ASSERT_EQ(pBackBuffer->GetDesc(&desc), D3D_OK);
  EXPECT_EQ(desc.Width, 1152u);
  EXPECT_EQ(desc.Height, 864u);
  EXPECT_EQ(desc.Format, D3DFMT_R5G6B5);
  D3DLOCKED_RECT rect;
  ASSERT_EQ(pBackBuffer->LockRect(&rect, nullptr, 0), D3D_OK);
  EXPECT_GE(rect.Pitch, 1152 * 2);
  pBackBuffer->UnlockRect();
}

TEST_F(Grafik, AnfangszustaendeDesGeraets) {
  ersatz::Aufzeichnung_Starten();
  ASSERT_EQ(D3D_Init(1152, 864, 16, 0), 1);
  ersatz::Aufzeichnung_Beenden();
  using ersatz::Aufruf_Art;
  const struct {
    Aufruf_Art art;
    DWORD nTyp, nWert;
  } erwartet[] = {
      {Aufruf_Art::SetRenderState, D3DRS_AMBIENT, 0xff0a0a0a},
      {Aufruf_Art::SetRenderState, D3DRS_LIGHTING, TRUE},
      {Aufruf_Art::SetRenderState, D3DRS_CULLMODE, D3DCULL_CCW},
      {Aufruf_Art::SetRenderState, D3DRS_ZENABLE, D3DZB_TRUE},
      {Aufruf_Art::SetTextureStageState, D3DTSS_MAGFILTER, D3DTEXF_LINEAR},
      {Aufruf_Art::SetTextureStageState, D3DTSS_MINFILTER, D3DTEXF_LINEAR},
      {Aufruf_Art::SetTextureStageState, D3DTSS_MIPFILTER, D3DTEXF_LINEAR},
      {Aufruf_Art::SetTextureStageState, D3DTSS_COLORARG1, D3DTA_CURRENT},
      {Aufruf_Art::SetTextureStageState, D3DTSS_COLOROP, D3DTOP_SELECTARG1},
  };
  const auto& aufrufe = ersatz::Aufzeichnung();
  ASSERT_EQ(aufrufe.size(), std::size(erwartet));
  for (std::size_t i = 0; i < aufrufe.size(); ++i) {
    EXPECT_EQ(aufrufe[i].Art, erwartet[i].art) << i;
    EXPECT_EQ(aufrufe[i].nTyp, erwartet[i].nTyp) << i;
    EXPECT_EQ(aufrufe[i].nWert, erwartet[i].nWert) << i;
    EXPECT_EQ(aufrufe[i].nStufe, 0u) << i;
  }
}

TEST_F(Grafik, GeraetetextJeTypUndVerarbeitung) {
  const struct {
    bool bHal;
    DWORD devCaps;
    const char* text;
  } faelle[] = {
      {true, D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_PUREDEVICE,
       "HAL (TnL Hardware exklusiv): Karte"},
      {true, D3DDEVCAPS_HWTRANSFORMANDLIGHT, "HAL (TnL Hardware): Karte"},
      {true, 0, "HAL (TnL in Software): Karte"},
      {false, D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_PUREDEVICE,
       "REF (TnL HW exklusiv simuliert)"},
      {false, D3DDEVCAPS_HWTRANSFORMANDLIGHT, "REF (TnL HW simuliert)"},
      {false, 0, "REF (TnL in Software)"},
  };
  for (const auto& f : faelle) {
    Zuruecksetzen();
    Adapter_Einstellung a = ersatz::Software_Adapter();
    a.Beschreibung = "Karte";
    a.Hal.bVorhanden = f.bHal;
    a.Hal.DevCaps = a.Ref.DevCaps = f.devCaps;
    ersatz::Adapter_Einstellen({a});
    ASSERT_EQ(D3D_Init(1152, 864, 16, 0), 1) << f.text;
    EXPECT_STREQ(szDeviceText, f.text);
  }
}

TEST_F(Grafik, ModuszeileNenntGroesseUndImmer16Bit) {
  ersatz::Adapter_Einstellen({Nur_Hal(Modi({{1152, 864}}, {D3DFMT_X8R8G8B8}))});
  ASSERT_EQ(D3D_Init(1152, 864, 16, 0), 1);
  EXPECT_STREQ(szModeText, "Mode: 1152x864 16 Bit 16/0 Bit Depth/Stencil Buffer");

  Zuruecksetzen();
  ersatz::Adapter_Einstellen({Nur_Hal(Modi({{800, 600}, {640, 480}}, {D3DFMT_R5G6B5}))});
  ASSERT_EQ(D3D_Init(1152, 864, 16, 0), 1);
  EXPECT_STREQ(szModeText, "Mode: 640x480 16 Bit 16/0 Bit Depth/Stencil Buffer");
  D3DSURFACE_DESC desc;
  pBackBuffer->GetDesc(&desc);
  EXPECT_EQ(desc.Width, 640u);
  EXPECT_EQ(desc.Height, 480u);
}

TEST_F(Grafik, UeberlangeBeschreibungWirdGekuerzt) {
  Adapter_Einstellung a = ersatz::Software_Adapter();
  a.Beschreibung = std::string(600, 'x');
  ersatz::Adapter_Einstellen({a});
  ASSERT_EQ(D3D_Init(1152, 864, 16, 0), 1);
  EXPECT_EQ(strlen(AdapterListe[0].Identifier.Description), 511u);
  const std::string erwartet = "HAL (TnL in Software): " + std::string(255 - 23, 'x');
  EXPECT_EQ(std::string(szDeviceText), erwartet);
  EXPECT_NE(Protokoll().find("   Device [" + erwartet + "] aktiviert! \n"), std::string::npos);
}

TEST_F(Grafik, CreateDeviceBekommtDieNummerDesGewaehltenAdapters) {
  // Adapter 0 has no mode the chosen one could be created in.
  ersatz::Adapter_Einstellen(
      {Mit_Modi(Modi({{512, 384}}, {D3DFMT_R5G6B5})), ersatz::Software_Adapter()});
  ASSERT_EQ(D3D_Init(1152, 864, 16, 0), 1);
  EXPECT_NE(pDevice, nullptr);
}

TEST_F(Grafik, FehlschlaegeDerInitialisierung) {
  const std::string start = "D3D_Init: Starte Initialisierung \n";
  ASSERT_TRUE(ersatz::Fehler_Setzen("Direct3DCreate8"));
  EXPECT_EQ(D3D_Init(1152, 864, 16, 0), 0);
  EXPECT_EQ(Protokoll(), start + "D3D_Init Fehler: Direct3DCreate8() failed\n");
  EXPECT_FALSE(fs::exists("device.gra"));

  ersatz::Fehler_Loeschen();
  Protokoll_Leeren();
  ersatz::Adapter_Einstellen({});
  EXPECT_EQ(D3D_Init(1152, 864, 16, 0), 0);
  EXPECT_EQ(Protokoll(), start +
                             "D3D_Init Fehler: Kein geeignetes Device \n"
                             "D3D_Init Fehler: Erstelle_List() failed\n");
}

TEST_F(Grafik, CreateDeviceFehlerNachGeschriebenerDatei) {
  ASSERT_TRUE(ersatz::Fehler_Setzen("CreateDevice"));
  EXPECT_EQ(D3D_Init(1152, 864, 16, 0), 0);
  const std::string log = Protokoll();
  EXPECT_NE(log.find("   -> Adapter akzeptiert: Borkwerk Software Rasterizer \n"
                     "D3D_Init Fehler: CreateDevice() failed \n"
                     "D3D_Init Fehler: Obj_Init failed\n"),
            std::string::npos);
  EXPECT_EQ(pDevice, nullptr);
  EXPECT_EQ(fs::file_size("device.gra"), 344740u);
}

// A back buffer that cannot be had is logged once and leaves no surface
// for the overlay, which then draws nothing.
TEST_F(Grafik, OhneRueckpufferKeinOverlay) {
  ASSERT_TRUE(ersatz::Fehler_Setzen("GetBackBuffer"));
  EXPECT_EQ(D3D_Init(1152, 864, 16, 0), 1);
  EXPECT_EQ(pBackBuffer, nullptr);
  bHilfe = 1;
  ersatz::Aufzeichnung_Starten();
  EXPECT_EQ(Zeichne_Hilfe(), 0);
  ersatz::Aufzeichnung_Beenden();
  bHilfe = 0;
  EXPECT_TRUE(ersatz::Aufzeichnung().empty());
  const std::string log = Protokoll();
  const std::string zeile = "D3D_Init Fehler: GetBackBuffer() failed \n";
  ASSERT_NE(log.find(zeile), std::string::npos);
  EXPECT_EQ(log.find(zeile), log.rfind(zeile));
}

// On an adapter without a 16-bit mode of the wanted size the back buffer
// has the mode's 15- or 32-bit format; the overlay shows there exactly as
// in R5G6B5: the same pixels, the same pure green.
TEST_F(Grafik, OverlayInJedemFormatDesRueckpuffers) {
  const auto Overlay = [&](D3DFORMAT Format) {
    Zuruecksetzen();
    if (Format != D3DFMT_R5G6B5)
      ersatz::Adapter_Einstellen({Nur_Hal(Modi({{1152, 864}}, {Format}))});
    EXPECT_EQ(D3D_Init(1152, 864, 16, 0), 1) << "format " << Format;
    D3DSURFACE_DESC desc{};
    EXPECT_EQ(pBackBuffer->GetDesc(&desc), D3D_OK);
    EXPECT_EQ(desc.Format, Format);
    D3DLOCKED_RECT r;
    EXPECT_EQ(pBackBuffer->LockRect(&r, nullptr, 0), D3D_OK);
    memset(r.pBits, 0, size_t(r.Pitch) * 864);
    pBackBuffer->UnlockRect();
    bHilfe = 1;
    Zeichne_Hilfe();
    bHilfe = 0;
    EXPECT_EQ(pBackBuffer->LockRect(&r, nullptr, 0), D3D_OK);
    auto rgb = ersatz::Rgb_Aus_Puffer(r.pBits, r.Pitch, 1152, 864, Format);
    pBackBuffer->UnlockRect();
    return rgb;
  };
  const auto sechzehn = Overlay(D3DFMT_R5G6B5);
  int nGruen = 0;
  for (size_t i = 0; i < sechzehn.size(); i += 3) {
    const bool bSchwarz = sechzehn[i] == 0 && sechzehn[i + 1] == 0 && sechzehn[i + 2] == 0;
    const bool bGruen = sechzehn[i] == 0 && sechzehn[i + 1] == 255 && sechzehn[i + 2] == 0;
    ASSERT_TRUE(bSchwarz || bGruen) << i / 3;
    nGruen += bGruen;
  }
  EXPECT_GT(nGruen, 500);
  for (D3DFORMAT Format : {D3DFMT_X8R8G8B8, D3DFMT_X1R5G5B5})
    EXPECT_TRUE(Overlay(Format) == sechzehn) << "format " << Format;
  EXPECT_NE(Protokoll().find("   Mode: 1152x864 16 Bit "), std::string::npos)
      << "the mode line names 16 bits whatever the format";
}

// A lost device: its loss logged once, no reset while it may not be, then
// a reset that gives the device back every state the start-up set, in the
// same values, and a new back buffer.
TEST_F(Grafik, VerlorenesGeraetWirdZurueckgesetzt) {
  ASSERT_EQ(D3D_Init(1152, 864, 16, 0), 1);
  rProjektionsMatrixEinstellen(pDevice);
  rMaterialEinstellen();
  rLichtEinstellen();
  ersatz::Aufzeichnung_Starten();
  Zustaende_Setzen();
  rProjektionsMatrixEinstellen(pDevice);
  rMaterialEinstellen();
  rLichtEinstellen();
  ersatz::Aufzeichnung_Beenden();
  const std::vector<ersatz::Aufruf> start = ersatz::Aufzeichnung();
  const auto Zustaende = [](const std::vector<ersatz::Aufruf>& aufrufe) {
    std::vector<std::string> z;
    for (const ersatz::Aufruf& a : aufrufe) {
      if (a.Art == ersatz::Aufruf_Art::SetTransform) {
        z.push_back("T" + std::to_string(a.nTyp) + " " + std::to_string(a.Matrix._11) + " " +
                    std::to_string(a.Matrix._43));
      } else if (a.Art == ersatz::Aufruf_Art::SetMaterial) {
        z.push_back("M " + std::to_string(a.Material.Ambient.g));
      } else if (a.Art == ersatz::Aufruf_Art::SetLight) {
        z.push_back("L " + std::to_string(a.Licht.Diffuse.r));
      } else if (a.Art != ersatz::Aufruf_Art::Reset &&
                 a.Art != ersatz::Aufruf_Art::TestCooperativeLevel) {
        z.push_back(std::to_string(int(a.Art)) + " " + std::to_string(a.nStufe) + " " +
                    std::to_string(a.nTyp) + " " + std::to_string(a.nWert));
      }
    }
    std::sort(z.begin(), z.end());
    return z;
  };

  bGeraetVerloren = 0;
  bEnde = 0;
  Fokus(false);
  ASSERT_EQ(pDevice->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
  Geraet_Verloren();
  Geraet_Verloren();
  EXPECT_EQ(Geraet_Pruefen(), 0);
  EXPECT_EQ(Geraet_Pruefen(), 0);
  EXPECT_NE(pBackBuffer, nullptr) << "kept until a reset may happen";
  Fokus(true);
  ersatz::Aufzeichnung_Starten();
  EXPECT_EQ(Geraet_Pruefen(), 1);
  ersatz::Aufzeichnung_Beenden();
  EXPECT_EQ(bGeraetVerloren, 0);
  EXPECT_EQ(bEnde, 0);
  ASSERT_NE(pBackBuffer, nullptr);
  const std::vector<ersatz::Aufruf> danach = ersatz::Aufzeichnung();
  ASSERT_GE(danach.size(), 2u);
  EXPECT_EQ(danach[0].Art, ersatz::Aufruf_Art::TestCooperativeLevel);
  EXPECT_EQ(danach[1].Art, ersatz::Aufruf_Art::Reset);
  EXPECT_EQ(Zustaende(danach), Zustaende(start));
  EXPECT_EQ(pDevice->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
  const std::string log = Protokoll();
  const std::string verloren = "ERROR : D3D Device verloren.\n";
  ASSERT_NE(log.find(verloren), std::string::npos);
  EXPECT_EQ(log.find(verloren), log.rfind(verloren));
  EXPECT_NE(log.find(verloren + "D3D Device zurueckgesetzt.\n"), std::string::npos)
      << "the reset logs one line and nothing of the start-up again";

  // A reset that fails ends the run.
  Fokus(false);
  pDevice->Present(nullptr, nullptr, nullptr, nullptr);
  Geraet_Verloren();
  Fokus(true);
  ASSERT_TRUE(ersatz::Fehler_Setzen("Reset"));
  EXPECT_EQ(Geraet_Pruefen(), 0);
  EXPECT_EQ(bEnde, 1);
  EXPECT_NE(Protokoll().find("ERROR : D3D Device Reset() failed, return 2289436780\n"),
            std::string::npos);
  bEnde = 0;
  bGeraetVerloren = 0;
}

TEST_F(Grafik, UnbeschreibbareDeviceDatei) {
  fs::create_directory("device.gra");
  EXPECT_EQ(D3D_Init(1152, 864, 16, 0), 0);
  const std::string log = Protokoll();
  EXPECT_EQ(log.substr(log.size() - 25), "ERROR : device not saved\n");
  EXPECT_EQ(pDevice, nullptr);
}

TEST_F(Grafik, D3DEndeGibtAllesFreiAuchOhneGeraet) {
  pD3D = Direct3DCreate8(D3D_SDK_VERSION);
  IDirect3D8* p = pD3D;
  p->AddRef();
  D3D_Ende();
  EXPECT_EQ(pD3D, nullptr);
  EXPECT_EQ(p->Release(), 0u);

  ASSERT_EQ(D3D_Init(1152, 864, 16, 0), 1);
  pBackBuffer->AddRef();
  IDirect3DSurface8* pFlaeche = pBackBuffer;
  D3D_Ende();
  EXPECT_EQ(pBackBuffer, nullptr);
  EXPECT_EQ(pDevice, nullptr);
  EXPECT_EQ(pD3D, nullptr);
  EXPECT_EQ(pFlaeche->Release(), 0u);
}

TEST_F(Grafik, CreateDevicePrueftSeineArgumente) {
  Adapter_Einstellung a = ersatz::Software_Adapter();
  a.Ref.bVorhanden = false;
  ersatz::Adapter_Einstellen({a});
  EXPECT_EQ(Direct3DCreate8(219), nullptr);
  IDirect3D8* p = Direct3DCreate8(D3D_SDK_VERSION);
  ASSERT_NE(p, nullptr);
  D3DPRESENT_PARAMETERS gut = Testparameter();
  const DWORD sw = D3DCREATE_SOFTWARE_VERTEXPROCESSING;
  struct Fall {
    const char* name;
    UINT nAdapter;
    D3DDEVTYPE typ;
    DWORD verhalten;
    D3DPRESENT_PARAMETERS p;
    HRESULT erwartet;
  };
  std::vector<Fall> faelle = {
      {"ordinal", 1, D3DDEVTYPE_HAL, sw, gut, D3DERR_INVALIDCALL},
      {"no REF", 0, D3DDEVTYPE_REF, sw, gut, D3DERR_NOTAVAILABLE},
      {"no hardware T&L", 0, D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING, gut,
       D3DERR_INVALIDCALL},
      {"two kinds", 0, D3DDEVTYPE_HAL, sw | D3DCREATE_MIXED_VERTEXPROCESSING, gut,
       D3DERR_INVALIDCALL},
      {"no kind", 0, D3DDEVTYPE_HAL, 0, gut, D3DERR_INVALIDCALL},
  };
  faelle.push_back({"mode not listed", 0, D3DDEVTYPE_HAL, sw, gut, D3DERR_INVALIDCALL});
  faelle.back().p.BackBufferWidth = 1150;
  faelle.push_back({"format not listed", 0, D3DDEVTYPE_HAL, sw, gut, D3DERR_INVALIDCALL});
  faelle.back().p.BackBufferFormat = D3DFMT_X1R5G5B5;
  faelle.push_back({"depth format", 0, D3DDEVTYPE_HAL, sw, gut, D3DERR_INVALIDCALL});
  faelle.back().p.AutoDepthStencilFormat = D3DFMT_D24S8;
  for (Fall& f : faelle) {
    IDirect3DDevice8* pGeraet = reinterpret_cast<IDirect3DDevice8*>(&f);
    EXPECT_EQ(p->CreateDevice(f.nAdapter, f.typ, nullptr, f.verhalten, &f.p, &pGeraet), f.erwartet)
        << f.name;
    EXPECT_EQ(pGeraet, nullptr) << f.name;
  }
  IDirect3DDevice8* pGeraet = nullptr;
  ASSERT_TRUE(ersatz::Fehler_Setzen("CreateDevice"));
  EXPECT_TRUE(FAILED(p->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, sw, &gut, &pGeraet)));
  ersatz::Fehler_Loeschen();
  ASSERT_EQ(p->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, sw, &gut, &pGeraet), D3D_OK);
  EXPECT_EQ(pGeraet->Release(), 0u);

  // A type the adapter lacks answers no caps and leaves them as they were.
  D3DCAPS8 caps;
  memset(&caps, 0xab, sizeof(caps));
  EXPECT_EQ(p->GetDeviceCaps(0, D3DDEVTYPE_REF, &caps), D3DERR_NOTAVAILABLE);
  EXPECT_EQ(caps.DevCaps, 0xababababu);
  EXPECT_EQ(p->Release(), 0u);
}

// ---- Device file ---------------------------------------------------------

std::uint32_t Wort(const std::string& d, std::size_t nOffset) {
  std::uint32_t n = 0;
  for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<unsigned char>(d[nOffset + i]);
  return n;
}

TEST_F(Grafik, DeviceDateiNachLayout) {
  Adapter_Einstellung gut = ersatz::Software_Adapter();
  gut.Treiberversion = 0x0004000d00010064;
  gut.VendorId = 0x1234;
  Adapter_Einstellung abgelehnt = Mit_Modi(Modi({{320, 240}}, {D3DFMT_R5G6B5}));
  abgelehnt.Beschreibung = "Reste";
  ersatz::Adapter_Einstellen({gut, abgelehnt});
  ASSERT_EQ(D3D_Init(1152, 864, 16, 0), 1);

  std::ifstream datei("device.gra", std::ios::binary);
  const std::string d((std::istreambuf_iterator<char>(datei)), std::istreambuf_iterator<char>());
  ASSERT_EQ(d.size(), 344740u);
  EXPECT_EQ(Wort(d, 344720), 1u);  // nAdapter
  EXPECT_EQ(Wort(d, 344724), 0u);  // iAdapter
  EXPECT_EQ(Wort(d, 344728), 16u);
  EXPECT_EQ(Wort(d, 344732), 0u);
  EXPECT_EQ(Wort(d, 344736), 0u);

  EXPECT_EQ(d.substr(512, 29), std::string("Borkwerk Software Rasterizer\0", 29));
  EXPECT_EQ(Wort(d, 1024), 0x00010064u);
  EXPECT_EQ(Wort(d, 1028), 0x0004000du);
  EXPECT_EQ(Wort(d, 1032), 0x1234u);
  EXPECT_EQ(d.substr(1056, 8), "SoftRast");
  EXPECT_EQ(Wort(d, 1068), 2u);   // nDevices
  EXPECT_EQ(Wort(d, 17232), 0u);  // iDevice
  const std::size_t hal = 1072, ref = 1072 + 3232;
  EXPECT_EQ(Wort(d, hal), 1u);
  EXPECT_EQ(Wort(d, hal + 4 + 28), Device(0).Caps.DevCaps);
  EXPECT_EQ(Wort(d, hal + 216), 0u);  // Name
  EXPECT_EQ(Wort(d, hal + 220), 16u);
  const UINT iModus = Wort(d, hal + 3224);
  const std::size_t modus = hal + 224 + 20 * iModus;
  EXPECT_EQ(Wort(d, modus), 1152u);
  EXPECT_EQ(Wort(d, modus + 4), 864u);
  EXPECT_EQ(Wort(d, modus + 8), static_cast<std::uint32_t>(D3DFMT_R5G6B5));
  EXPECT_EQ(Wort(d, modus + 12), 0x20u);
  EXPECT_EQ(Wort(d, modus + 16), static_cast<std::uint32_t>(D3DFMT_D16));
  EXPECT_EQ(Wort(d, hal + 3228), 0u);
  EXPECT_EQ(Wort(d, ref), 2u);
  // The rejected second adapter left its identifier in record 1.
  EXPECT_EQ(d.substr(17236 + 512, 6), std::string("Reste\0", 6));
  EXPECT_EQ(Wort(d, 17236 + 1068), 0u);
  EXPECT_EQ(d.substr(2 * 17236, 17236), std::string(17236, '\0'));
}

// ---- Scene state ---------------------------------------------------------

TEST_F(Grafik, ProjektionsmatrixWerte) {
  D3DMATRIX m;
  ASSERT_EQ(rProjektionsMatrixBerechnen(&m, 1.05f, 0.75f, 0.05f, 1000.0f), 1);
  // Bit for bit, as float arithmetic gives them: _11 1.2948447 is 0.75 times
  // the float _22 1.7264596 (not one float step below it), _33 1.00005 is
  // 1000 / (1000 - 0.05), _43 -0.0500025 is -(_33 x 0.05), _34 1.
  const std::uint32_t erwartet[16] = {0x3FA5BD79, 0,          0,          0, 0, 0x3FDCFCA1, 0, 0, 0,
                                      0,          0x3F8001A3, 0x3F800000, 0, 0, 0xBD4CCF6B, 0};
  for (int i = 0; i < 16; ++i) {
    std::uint32_t nIst;
    std::memcpy(&nIst, &m.m[i / 4][i % 4], 4);
    EXPECT_EQ(nIst, erwartet[i]) << "element " << i;
  }

  const struct {
    float fov, zn, zf;
  } abgelehnt[] = {{1.05f, 5.0f, 5.0f},
                   {1.05f, 1.0f, 1.005f},
                   {1.05f, 1.005f, 1.0f},
                   {0.0f, 0.05f, 1000.0f},
                   {0.019f, 0.05f, 1000.0f}};
  for (const auto& f : abgelehnt) {
    D3DMATRIX unberuehrt;
    for (int i = 0; i < 16; ++i) unberuehrt.m[i / 4][i % 4] = 7.0f;
    EXPECT_EQ(rProjektionsMatrixBerechnen(&unberuehrt, f.fov, 0.75f, f.zn, f.zf), 0);
    EXPECT_EQ(unberuehrt._11, 7.0f);
    EXPECT_EQ(unberuehrt._44, 7.0f);
  }
}

// Starts the device and replaces the log by an empty one.
class Szene : public Grafik {
 protected:
  void SetUp() override {
    Grafik::SetUp();
    ASSERT_EQ(D3D_Init(1152, 864, 16, 0), 1);
    Protokoll_Leeren();
  }
  static void Einstellen() {
    rProjektionsMatrixEinstellen(pDevice);
    rMaterialEinstellen();
    rLichtEinstellen();
  }
};

TEST_F(Szene, ProtokolliertDieSechsSchritte) {
  ersatz::Aufzeichnung_Starten();
  Einstellen();
  ersatz::Aufzeichnung_Beenden();
  const auto& aufrufe = ersatz::Aufzeichnung();
  ASSERT_FALSE(aufrufe.empty());
  EXPECT_EQ(aufrufe[0].Art, ersatz::Aufruf_Art::SetTransform);
  EXPECT_EQ(aufrufe[0].nTyp, static_cast<DWORD>(D3DTS_PROJECTION));
  EXPECT_FLOAT_EQ(aufrufe[0].Matrix._22, 1.7264596f);
  EXPECT_EQ(aufrufe.back().Art, ersatz::Aufruf_Art::SetRenderState);
  EXPECT_EQ(aufrufe.back().nWert, 0x00202020u);
  EXPECT_EQ(Protokoll(),
            "ProjektionsMatrix eingestellt.\nMaterial initialisiert.\n"
            "Lichtquelle initialisiert.\nlicht: LightEnable()\n"
            "licht: SetRenderState()\nlicht: SetRenderState()\n");
  EXPECT_EQ(Licht.Diffuse.r, 8.0f);
  EXPECT_EQ(Licht.Type, D3DLIGHT_DIRECTIONAL);
  EXPECT_EQ(Material.Ambient.g, 0.2f);
}

TEST_F(Szene, FehlschlaegeLassenNurIhreZeileAus) {
  const struct {
    const char* fehler;
    const char* protokoll;
  } faelle[] = {
      {"GetViewport",
       "ERROR : rProjektionsMatrixEinstellen() GetViewport failed \n"
       "ProjektionsMatrix eingestellt.\nMaterial initialisiert.\n"
       "Lichtquelle initialisiert.\nlicht: LightEnable()\n"
       "licht: SetRenderState()\nlicht: SetRenderState()\n"},
      {"SetLight",
       "ProjektionsMatrix eingestellt.\nMaterial initialisiert.\nlicht: LightEnable()\n"
       "licht: SetRenderState()\nlicht: SetRenderState()\n"},
      {"LightEnable",
       "ProjektionsMatrix eingestellt.\nMaterial initialisiert.\nLichtquelle initialisiert.\n"
       "licht: SetRenderState()\nlicht: SetRenderState()\n"},
      {"SetRenderState",
       "ProjektionsMatrix eingestellt.\nMaterial initialisiert.\nLichtquelle initialisiert.\n"
       "licht: LightEnable()\n"},
  };
  for (const auto& f : faelle) {
    Protokoll_Leeren();
    ersatz::Fehler_Loeschen();
    ASSERT_TRUE(ersatz::Fehler_Setzen(f.fehler));
    Einstellen();
    EXPECT_EQ(Protokoll(), f.protokoll) << f.fehler;
  }
}

TEST_F(Szene, LichtDrehtSichJeBild) {
  Einstellen();
  for (int n = 1; n <= 126; ++n) {
    rLichtBewegen();
    if (n == 1 || n == 10 || n == 126) {
      EXPECT_NEAR(Licht.Direction.x, std::sin(0.05 * n), 1e-5) << n;
      EXPECT_EQ(Licht.Direction.y, 0.0f);
      EXPECT_NEAR(Licht.Direction.z, std::cos(0.05 * n), 1e-5) << n;
    }
  }
  // Slightly more than one full turn.
  EXPECT_GT(fLichtWinkel, 2 * M_PI);
  EXPECT_GT(Licht.Direction.x, 0.0f);
  EXPECT_EQ(Protokoll().find("bewegt"), Protokoll().npos);

  ASSERT_TRUE(ersatz::Fehler_Setzen("SetLight"));
  const float fVorher = fLichtWinkel;
  rLichtBewegen();
  rLichtBewegen();
  EXPECT_FLOAT_EQ(fLichtWinkel, fVorher + 0.1f);
  const std::string log = Protokoll();
  const std::string zeile = "Lichtquelle konnte nicht bewegt werden.\n";
  EXPECT_EQ(log.substr(log.size() - 2 * zeile.size()), zeile + zeile);
}

}  // namespace
