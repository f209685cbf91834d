// Scripted input: key presses, releases, mouse movement and focus by frame
// number, read from a text file before the run and reported as input
// events at the message pump of each frame.
#include "plattform/skript/skript.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "plattform/dinput/dinput.h"
#include "plattform/fehler/fehler.h"
#include "plattform/win32/ereignisse.h"

namespace ersatz {
namespace {

struct Geplant {
  unsigned nBild;
  Ereignis e;
};

std::vector<Geplant> Ereignisse;
std::size_t nGespielt = 0;

// Reads a decimal integer in [nMin, nMax] with an optional sign; the whole
// word must be the number.
bool Zahl_Lesen(const std::string& wort, long long nMin, long long nMax, long long& nWert) {
  if (wort.empty()) return false;
  const char* pAnfang = wort.c_str();
  char* pEnde = nullptr;
  errno = 0;
  const long long n = std::strtoll(pAnfang, &pEnde, 10);
  if (errno != 0 || *pEnde != '\0' || n < nMin || n > nMax) return false;
  nWert = n;
  return true;
}

// A script is a small text file: no directory, device or pipe (which could
// block or never end), at most nGroesste bytes, no byte-order mark. Reads
// it whole; "" or what is wrong with it (a read that fails names the
// system's reason).
constexpr std::uintmax_t nGroesste = 4 << 20;
std::string Datei_Lesen(const std::string& pfad, std::string& inhalt) {
  std::error_code fc;
  if (!std::filesystem::is_regular_file(pfad, fc)) return ": not a regular file";
  const std::uintmax_t nGroesse = std::filesystem::file_size(pfad, fc);
  if (fc) return ": cannot be read: " + fc.message();
  if (nGroesse > nGroesste) return ": larger than 4 MiB, too large for a script";
  std::FILE* pDatei = std::fopen(pfad.c_str(), "rb");
  if (!pDatei) return ": cannot be read: " + std::string(std::strerror(errno));
  char puffer[65536];
  std::size_t n;
  while ((n = std::fread(puffer, 1, sizeof puffer, pDatei)) > 0 && inhalt.size() <= nGroesste)
    inhalt.append(puffer, n);
  const int nFehler = std::ferror(pDatei) ? errno : 0;
  std::fclose(pDatei);
  if (nFehler) return ": cannot be read: " + std::string(std::strerror(nFehler));
  if (inhalt.size() > nGroesste) return ": larger than 4 MiB, too large for a script";
  if (inhalt.rfind("\xEF\xBB\xBF", 0) == 0)
    return ":1: starts with a UTF-8 byte-order mark; save the script as plain text";
  return "";
}

// "" or the first control character of a line (tab and a carriage return
// before the line's end are white space).
std::string Steuerzeichen(const std::string& zeile) {
  for (const unsigned char c : zeile) {
    if ((c < 0x20 && c != '\t' && c != '\r') || c == 0x7F) {
      char szText[48];
      std::snprintf(szText, sizeof szText, "control character 0x%02X in the line", c);
      return szText;
    }
  }
  return "";
}

// Parses one line without its comment into g; returns "" or what is wrong.
// A script's focus is the screen's: another program takes the whole screen.
std::string Zeile_Lesen(const std::string& zeile, Geplant& g) {
  std::istringstream woerter(zeile);
  std::string bild, art;
  woerter >> bild >> art;
  long long n = 0;
  if (!Zahl_Lesen(bild, 0, std::numeric_limits<unsigned>::max(), n) ||
      !std::isdigit(static_cast<unsigned char>(bild[0])))
    return "frame '" + Lesbar(bild) + "' is not a frame number";
  g = Geplant{static_cast<unsigned>(n), {}};
  Ereignis& e = g.e;
  for (char& c : art) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (art.empty()) return "missing event after the frame (down, up, mouse or focus)";
  if (art == "down" || art == "up") {
    std::string taste;
    if (!(woerter >> taste)) return "missing key after '" + art + "'";
    e.nTaste = Dik_Aus_Name(taste);
    if (e.nTaste < 0) return "unknown key '" + Lesbar(taste) + "'";
    e.bUnten = art == "down";
  } else if (art == "mouse") {
    e.art = Ereignis::Art::Maus;
    int* Ziele[] = {&e.nDx, &e.nDy, &e.nRad};
    for (int* pZiel : Ziele) {
      std::string wort;
      if (!(woerter >> wort)) return "mouse needs three numbers: dx dy wheel";
      if (!Zahl_Lesen(wort, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), n))
        return "'" + Lesbar(wort) + "' is not a number";
      *pZiel = static_cast<int>(n);
    }
  } else if (art == "focus") {
    std::string wohin;
    woerter >> wohin;
    if (wohin != "in" && wohin != "out") return "focus needs 'in' or 'out'";
    e.art = Ereignis::Art::Fokus;
    e.bFokus = wohin == "in";
    e.bBildschirm = true;
  } else {
    return "unknown event '" + Lesbar(art) + "' (down, up, mouse or focus)";
  }
  std::string rest;
  if (woerter >> rest) return "unexpected '" + Lesbar(rest) + "' after the event";
  return "";
}

}  // namespace

bool Eingabe_Skript_Laden(const std::string& pfad, std::string& fehler) {
  std::string inhalt;
  const std::string datei_fehler = Datei_Lesen(pfad, inhalt);
  if (!datei_fehler.empty()) {
    fehler = Lesbar(pfad) + datei_fehler;
    return false;
  }
  return Eingabe_Skript_Lesen(inhalt, pfad, fehler);
}

bool Eingabe_Skript_Lesen(const std::string& inhalt, const std::string& pfad, std::string& fehler) {
  std::istringstream datei(inhalt);
  std::vector<Geplant> neu;
  std::string zeile;
  for (unsigned nZeile = 1; std::getline(datei, zeile); ++nZeile) {
    const std::string steuer = Steuerzeichen(zeile);
    if (!steuer.empty()) {
      fehler = Lesbar(pfad) + ":" + std::to_string(nZeile) + ": " + steuer;
      return false;
    }
    zeile = zeile.substr(0, zeile.find('#'));
    if (zeile.find_first_not_of(" \t\r") == std::string::npos) continue;
    Geplant g{};
    const std::string was = Zeile_Lesen(zeile, g);
    if (!was.empty()) {
      fehler = Lesbar(pfad) + ":" + std::to_string(nZeile) + ": " + was;
      return false;
    }
    neu.push_back(g);
  }
  std::stable_sort(neu.begin(), neu.end(),
                   [](const Geplant& a, const Geplant& b) { return a.nBild < b.nBild; });
  Ereignisse = std::move(neu);
  nGespielt = 0;
  return true;
}

void Skript_Abspielen(unsigned nBild) {
  for (; nGespielt < Ereignisse.size() && Ereignisse[nGespielt].nBild <= nBild; ++nGespielt)
    Ereignis_Melden(Ereignisse[nGespielt].e);
}

}  // namespace ersatz
