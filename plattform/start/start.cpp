// One run of the program on the stand-in, as every main makes it.
#include "plattform/start/start.h"

#include "plattform/fehler/fehler.h"
#include "plattform/skript/skript.h"
#include "plattform/win32/ereignisse.h"
#include "plattform/win32/win32.h"

namespace ersatz {

int Starten(Einstellungen e, const Plattform& plattform, std::string& meldung) {
  meldung.clear();
  for (const std::string& name : e.fehler) Fehler_Setzen(name);
  if (!e.eingabe.empty()) {
    if (!Eingabe_Skript_Laden(e.eingabe, meldung)) return 2;
    Ereignisquelle_Setzen(Skript_Abspielen);
  }
  // The clock's start is fixed once, before the platform sets up: without
  // --seed it is the time of day, which a second reading would not repeat,
  // and the exports record it as the tree's seed.
  e.nSaat = Startzeit(e);
  if (!plattform.Einrichten(e, meldung)) return 2;
  Uhrgang gang = Uhrgang::Echt;
  Anzeige_Waehlen(plattform.Vorne_Starten(e, gang));
  // Headless, no user can close the window, and a run without an end would
  // spin for ever.
  if (gang == Uhrgang::Virtuell && !e.nBilder) {
    e.nBilder = nBilderOhneFenster;
    plattform.Hinweis("headless without --frames: one full growth, " +
                      std::to_string(nBilderOhneFenster) + " frames");
  }
  Uhr_Starten(gang, *e.nSaat);
  Fenster_Schliessen_Nach(e.nBilder.value_or(0));

  char szKeineZeile[] = "";
  int nErgebnis = WinMain(reinterpret_cast<HINSTANCE>(0x400000), nullptr, szKeineZeile, 1);
  plattform.Vorne_Beenden();
  plattform.Abschliessen(e, nErgebnis);
  return nErgebnis;
}

}  // namespace ersatz
