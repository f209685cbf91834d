#pragma once
// The headless front-end: no window and no display. The window calls show
// nothing, no events come but a script's, a message box is a line on
// standard error, and the presented frames go only to the observers the
// launcher set up (the captures, the exporter). It fills the Win32
// subset's front-end seam (win32/anzeige.h).
//   anzeige_headless.cpp  the front-end
#include "plattform/win32/anzeige.h"

namespace ersatz {

Anzeige& Headless_Anzeige();

}  // namespace ersatz
