#include "ansicht/ansicht.h"
#include "eingabe/eingabe.h"
#include "grafik/grafik.h"
#include "zweid/zweid.h"

namespace {

const int nSpalte = 375;  // pen column of every overlay line

// One overlay line in pure green on the back buffer; the text renderer logs
// a refused lock itself, and the overlay goes on with its next line.
void Zeile(int y, const char* szText) { M_T(nSpalte, y, 0, 255, 0, pBackBuffer, szText); }

}  // namespace

// Writes the shading line and, while F1 is held, the key help (otherwise a
// hint to F1) into the back buffer. Called once per frame after the tree is
// drawn and before Present; locks the back buffer once per line. Without a
// back buffer (its fetch failed and was logged) there is no overlay.
int Zeichne_Hilfe() {
  if (pBackBuffer == NULL) return 0;
  Zeile(20, bFlach ? "   SHADING : FLAT" : "   SHADING : GOURAUD");
  if (bHilfe) {
    Zeile(40, "   TASTEN  :");
    Zeile(60, "         S : Shader auswaehlen");
    Zeile(80, "         R : ReGROW");
    Zeile(100, "MouseWheel : Zoom");
  } else {
    Zeile(40, "        F1 : Tastenbelegung");
  }
  return 1;
}
