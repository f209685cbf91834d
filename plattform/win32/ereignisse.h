#pragma once
// Input as the window system receives it: keys by scan code, the mouse's
// relative motion and wheel, the window's focus. Every source reports here,
// the front-end's events and the input script alike (Ereignis_Melden);
// DirectInput and the Direct3D device read the state below, so the focus
// is kept in one place.
#include <array>
#include <cstdint>
#include <functional>

namespace ersatz {

struct Ereignis {
  enum class Art { Taste, Maus, Fokus };
  Art art = Art::Taste;
  // Taste: DirectInput's scan code (the set-1 make code, 0x80 added for
  // the extended keys), going down or up.
  int nTaste = 0;
  bool bUnten = false;
  // Maus: relative motion, and the wheel in DirectInput units (120 a notch,
  // positive away from the user).
  int nDx = 0, nDy = 0, nRad = 0;
  // Fokus: gained or lost. bBildschirm: the screen goes or comes with it, as
  // with a full-screen window or a script's focus (another program takes
  // the whole screen).
  bool bFokus = true;
  bool bBildschirm = false;
};

void Ereignis_Melden(const Ereignis& e);

// The keyboard: 0x80 for each scan code whose key is down.
const std::array<std::uint8_t, 256>& Tastatur();
// The mouse's motion (x, y, wheel) summed since the start; a reader takes
// the difference between two readings.
const std::array<std::int64_t, 3>& Mausweg();
// The window's focus, and how often it was lost so far (a device that held
// the input since an earlier count has lost it).
bool Fokus();
unsigned Fokusverluste();
// The screen: held unless a focus loss that takes the screen took it; and
// how often that happened (a full-screen device is lost by each).
bool Bildschirm();
unsigned Bildschirmverluste();

// A source of events besides the front-end, the input script: every message
// pump drains it with the number of the frame the pump runs in, after the
// front-end's own events. An empty function: none.
void Ereignisquelle_Setzen(std::function<void(unsigned nBild)> quelle);
void Ereignisquelle_Abholen(unsigned nBild);

// Keys up, focus and screen held, no source; the counts go on.
void Ereignisse_Zuruecksetzen();

}  // namespace ersatz
