// What Present does besides showing the picture: counting frames, their
// times, and the PNG captures.
#include <cstdio>
#include <cstring>

#include "plattform/anzeige/anzeige.h"
#include "plattform/fehler/fehler.h"
#include "plattform/win32/win32.h"

namespace ersatz {
namespace {

unsigned nBilder = 0;
std::deque<std::uint32_t> Zeiten;
std::string AufnahmeDatei;
std::string AufnahmeOrdner;
std::vector<std::uint8_t> LetztesBild;
UINT nLetzteBreite = 0;
UINT nLetzteHoehe = 0;
bool bOrdnerFehler = false;

std::uint8_t Breiter(unsigned nWert, unsigned nBits) {
  const unsigned n = nWert << (8 - nBits);
  return static_cast<std::uint8_t>(n | (n >> nBits));
}

}  // namespace

std::vector<std::uint8_t> Rgb_Aus_Puffer(const void* pBits, int nPitch, UINT nBreite, UINT nHoehe,
                                         D3DFORMAT Format) {
  std::vector<std::uint8_t> rgb(std::size_t(nBreite) * nHoehe * 3);
  auto* pZiel = rgb.data();
  for (UINT y = 0; y < nHoehe; ++y) {
    const auto* pZeile = static_cast<const std::uint8_t*>(pBits) + std::ptrdiff_t(y) * nPitch;
    for (UINT x = 0; x < nBreite; ++x, pZiel += 3) {
      if (Format == D3DFMT_X8R8G8B8 || Format == D3DFMT_A8R8G8B8) {
        std::uint32_t p;
        std::memcpy(&p, pZeile + 4 * x, 4);
        pZiel[0] = std::uint8_t(p >> 16), pZiel[1] = std::uint8_t(p >> 8),
        pZiel[2] = std::uint8_t(p);
        continue;
      }
      std::uint16_t p;
      std::memcpy(&p, pZeile + 2 * x, 2);
      if (Format == D3DFMT_R5G6B5) {
        pZiel[0] = Breiter(p >> 11, 5), pZiel[1] = Breiter((p >> 5) & 63, 6);
      } else {
        pZiel[0] = Breiter((p >> 10) & 31, 5), pZiel[1] = Breiter((p >> 5) & 31, 5);
      }
      pZiel[2] = Breiter(p & 31, 5);
    }
  }
  return rgb;
}

unsigned Bildnummer() { return nBilder; }

const std::deque<std::uint32_t>& Praesentationszeiten() { return Zeiten; }

void Aufnahme_Einrichten(const std::string& datei, const std::string& ordner) {
  AufnahmeDatei = datei;
  AufnahmeOrdner = ordner;
}

void Praesentieren(const void* pBits, int nPitch, UINT nBreite, UINT nHoehe, D3DFORMAT Format) {
  if (Anzeige_Aktiv()) Anzeige_Bild(pBits, nPitch, nBreite, nHoehe, Format);
  if (!AufnahmeDatei.empty() || !AufnahmeOrdner.empty()) {
    LetztesBild = Rgb_Aus_Puffer(pBits, nPitch, nBreite, nHoehe, Format);
    nLetzteBreite = nBreite;
    nLetzteHoehe = nHoehe;
  }
  if (!AufnahmeOrdner.empty()) {
    char szName[32];
    std::snprintf(szName, sizeof szName, "/frame-%05u.png", nBilder);
    if (!Png_Schreiben(AufnahmeOrdner + szName, nBreite, nHoehe, LetztesBild)) bOrdnerFehler = true;
  }
  Bild_Zaehlen();
}

void Bild_Zaehlen() {
  if (Zeiten.size() == nZeitenFenster) Zeiten.pop_front();
  Zeiten.push_back(Uhr_Stand());
  ++nBilder;
}

// A frame that could not go into the folder does not keep the last frame
// from its file: each failure is named, "; " between them.
bool Aufnahme_Abschliessen(std::string& fehler) {
  fehler.clear();
  if (bOrdnerFehler) fehler = "cannot write every frame into " + Lesbar(AufnahmeOrdner);
  std::string datei;
  if (!AufnahmeDatei.empty() && LetztesBild.empty()) {
    datei = "no frame was presented, so " + Lesbar(AufnahmeDatei) + " was not written";
  } else if (!AufnahmeDatei.empty() &&
             !Png_Schreiben(AufnahmeDatei, nLetzteBreite, nLetzteHoehe, LetztesBild)) {
    datei = "cannot write " + Lesbar(AufnahmeDatei);
  }
  if (!datei.empty()) fehler += (fehler.empty() ? "" : "; ") + datei;
  return fehler.empty();
}

}  // namespace ersatz
