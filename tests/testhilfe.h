#pragma once
// What the tests share: the stand-in as a fresh run finds it (the test main
// restores it before every test), input as a front-end reports it, and a
// fixture that catches the log.
#include <gtest/gtest.h>

#include <string>
#include <vector>

// The stand-in's state at a run's start: no faults, the software adapter,
// keys up with focus and screen held, no input script, no recording, the
// headless front-end, no window classes, window, messages or frames.
void Ersatz_Zuruecksetzen();

// Input events as a front-end reports them.
void Taste(int nDik, bool bUnten);
void Maus(int nDx, int nDy, int nRad = 0);
// bBildschirm: the screen goes with the focus (a full-screen window, a
// script's focus), so a full-screen device is lost.
void Fokus(bool bFokus, bool bBildschirm = true);

// While it lives, no file grows past nBytes: a write beyond fails as on a
// full disk (SIGXFSZ ignored, as the launcher ignores it).
class Dateigrenze {
 public:
  explicit Dateigrenze(unsigned long nBytes);
  ~Dateigrenze();
  Dateigrenze(const Dateigrenze&) = delete;
  Dateigrenze& operator=(const Dateigrenze&) = delete;

 private:
  unsigned long nVorher;
  void (*pVorherSignal)(int);
};

// The files in ordner whose names begin with name and end in ".tmp": what
// a writer left behind.
std::vector<std::string> Entwuerfe(const std::string& ordner, const std::string& name);

// A test whose code writes the log: pProtokoll is a temporary file from
// SetUp to TearDown.
class Protokoll_Test : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Everything written to the log so far.
  static std::string Protokoll();
  // The log empty again.
  static void Protokoll_Leeren();
};
