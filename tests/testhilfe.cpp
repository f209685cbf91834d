#include "tests/testhilfe.h"

#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <filesystem>

#include "app/app.h"
#include "plattform/d3d8/adapter.h"
#include "plattform/d3d8/aufzeichnung.h"
#include "plattform/fehler/fehler.h"
#include "plattform/headless/headless.h"
#include "plattform/skript/skript.h"
#include "plattform/win32/anzeige.h"
#include "plattform/win32/ereignisse.h"

void Ersatz_Zuruecksetzen() {
  ersatz::Fehler_Loeschen();
  ersatz::Adapter_Zuruecksetzen();
  ersatz::Ereignisse_Zuruecksetzen();
  std::string fehler;
  ersatz::Eingabe_Skript_Lesen("", "", fehler);
  ersatz::Aufzeichnung_Beenden();
  ersatz::Anzeige_Waehlen(ersatz::Headless_Anzeige());
  ersatz::Fenster_Zuruecksetzen();
  ersatz::Bilder_Zuruecksetzen();
}

void Taste(int nDik, bool bUnten) {
  ersatz::Ereignis e;
  e.nTaste = nDik;
  e.bUnten = bUnten;
  ersatz::Ereignis_Melden(e);
}

void Maus(int nDx, int nDy, int nRad) {
  ersatz::Ereignis e;
  e.art = ersatz::Ereignis::Art::Maus;
  e.nDx = nDx;
  e.nDy = nDy;
  e.nRad = nRad;
  ersatz::Ereignis_Melden(e);
}

void Fokus(bool bFokus, bool bBildschirm) {
  ersatz::Ereignis e;
  e.art = ersatz::Ereignis::Art::Fokus;
  e.bFokus = bFokus;
  e.bBildschirm = bBildschirm;
  ersatz::Ereignis_Melden(e);
}

void Protokoll_Test::SetUp() {
  pProtokoll = std::tmpfile();
  ASSERT_NE(pProtokoll, nullptr);
}

void Protokoll_Test::TearDown() {
  if (pProtokoll) std::fclose(pProtokoll);
  pProtokoll = nullptr;
}

std::string Protokoll_Test::Protokoll() {
  std::string text;
  if (!pProtokoll) return text;
  std::fflush(pProtokoll);
  std::rewind(pProtokoll);
  char puffer[4096];
  for (std::size_t n; (n = std::fread(puffer, 1, sizeof puffer, pProtokoll)) > 0;)
    text.append(puffer, n);
  return text;
}

void Protokoll_Test::Protokoll_Leeren() {
  if (pProtokoll) std::fclose(pProtokoll);
  pProtokoll = std::tmpfile();
}

Dateigrenze::Dateigrenze(unsigned long nBytes) {
  rlimit grenze{};
  getrlimit(RLIMIT_FSIZE, &grenze);
  nVorher = grenze.rlim_cur;
  pVorherSignal = std::signal(SIGXFSZ, SIG_IGN);
  grenze.rlim_cur = nBytes;
  EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &grenze), 0);
}

Dateigrenze::~Dateigrenze() {
  rlimit grenze{};
  getrlimit(RLIMIT_FSIZE, &grenze);
  grenze.rlim_cur = nVorher;
  setrlimit(RLIMIT_FSIZE, &grenze);
  std::signal(SIGXFSZ, pVorherSignal);
}

std::vector<std::string> Entwuerfe(const std::string& ordner, const std::string& name) {
  std::vector<std::string> reste;
  for (const auto& eintrag : std::filesystem::directory_iterator(ordner)) {
    const std::string n = eintrag.path().filename().string();
    if (n.rfind(name, 0) == 0 && n.size() > name.size() + 4 &&
        n.compare(n.size() - 4, 4, ".tmp") == 0)
      reste.push_back(n);
  }
  return reste;
}
