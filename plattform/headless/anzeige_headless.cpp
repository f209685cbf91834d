// A front-end without a display: the program's window exists only for the
// Win32 subset.
#include <cstdio>

#include "plattform/headless/headless.h"

namespace ersatz {
namespace {

class Anzeige_Headless final : public Anzeige {
 public:
  void Fenster_Oeffnen(const char*, int, int) override {}
  void Fenster_Schliessen() override {}
  bool Ereignisse_Holen() override { return false; }
  void Cursor_Zeigen(bool) override {}
  void Meldung(const char* szTitel, const char* szText) override {
    std::fprintf(stderr, "%s: %s\n", szTitel, szText);
  }
};

}  // namespace

Anzeige& Headless_Anzeige() {
  static Anzeige_Headless anzeige;
  return anzeige;
}

}  // namespace ersatz
