// Compares two pictures of the scene program or the program (R5G6B5 .raw,
// rows of WIDTH pixels, 1152 unless given; or a captured .png) and prints,
// on one line, as shell words:
//   pixels     how many pixels each picture has
//   gleich     how many are the same word (the clear colour counted equal
//              in both forms, 0xC945 and Wine's 0xC145)
//   stufe      the largest difference of one channel, in 5- or 6-bit steps,
//              where both pictures show the tree (or the text)
//   ueber1     such pixels more than one step apart in some channel
//   umriss     pixels that are clear colour in one picture only
//   orte       where the first few of those lie, as x:y words a/b
// Exit code 0 when both pictures could be read and have the same size.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "plattform/aufnahme/aufnahme.h"

namespace {

bool Ist_Hintergrund(std::uint16_t w) { return w == 0xC945 || w == 0xC145; }

// A .png is taken back to 5-6-5 words: its 8-bit channels were widened from
// them by bit replication, so their top bits are the words' fields.
bool Laden(const std::string& pfad, std::vector<std::uint16_t>& Bild) {
  if (pfad.size() > 4 && pfad.compare(pfad.size() - 4, 4, ".png") == 0) {
    unsigned nB = 0, nH = 0;
    std::vector<std::uint8_t> rgb;
    if (!ersatz::Png_Lesen(pfad, nB, nH, rgb)) return false;
    Bild.resize(std::size_t(nB) * nH);
    for (std::size_t i = 0; i < Bild.size(); ++i)
      Bild[i] = static_cast<std::uint16_t>((rgb[3 * i] >> 3) << 11 | (rgb[3 * i + 1] >> 2) << 5 |
                                           rgb[3 * i + 2] >> 3);
    return true;
  }
  std::ifstream datei(pfad, std::ios::binary);
  if (!datei) return false;
  const std::vector<char> bytes{std::istreambuf_iterator<char>(datei), {}};
  if (bytes.empty() || bytes.size() % 2) return false;
  Bild.resize(bytes.size() / 2);
  for (std::size_t i = 0; i < Bild.size(); ++i)
    Bild[i] = static_cast<std::uint16_t>(std::uint8_t(bytes[2 * i]) | std::uint8_t(bytes[2 * i + 1])
                                                                          << 8);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::uint16_t> a, b;
  if (argc < 3 || argc > 4 || !Laden(argv[1], a) || !Laden(argv[2], b) || a.size() != b.size()) {
    std::fprintf(stderr, "usage: borkwerk_vergleich A B [WIDTH] (two pictures of one size)\n");
    return 2;
  }
  const long nBreite = argc > 3 ? std::atol(argv[3]) : 1152;
  long nGleich = 0, nUeber1 = 0, nUmriss = 0;
  int nStufe = 0;
  std::string orte;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const bool bHa = Ist_Hintergrund(a[i]), bHb = Ist_Hintergrund(b[i]);
    if (a[i] == b[i] || (bHa && bHb)) {
      ++nGleich;
      continue;
    }
    if (bHa != bHb) {
      if (++nUmriss <= 5) {
        char szOrt[64];
        std::snprintf(szOrt, sizeof szOrt, "%s%ld:%ld/%04x/%04x", orte.empty() ? "" : ",",
                      long(i) % nBreite, long(i) / nBreite, a[i], b[i]);
        orte += szOrt;
      }
      continue;
    }
    const int d[] = {std::abs((a[i] >> 11) - (b[i] >> 11)),
                     std::abs(((a[i] >> 5) & 63) - ((b[i] >> 5) & 63)),
                     std::abs((a[i] & 31) - (b[i] & 31))};
    const int nMax = std::max(d[0], std::max(d[1], d[2]));
    nStufe = std::max(nStufe, nMax);
    nUeber1 += nMax > 1;
  }
  std::printf("pixels=%zu gleich=%ld stufe=%d ueber1=%ld umriss=%ld orte=%s\n", a.size(), nGleich,
              nStufe, nUeber1, nUmriss, orte.empty() ? "-" : orte.c_str());
  return 0;
}
