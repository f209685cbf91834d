// Fuzzes the input script's reader: any text either loads or is refused
// with one line without a control byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "plattform/skript/skript.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pDaten, std::size_t nGroesse) {
  const std::string text(reinterpret_cast<const char*>(pDaten), nGroesse);
  std::string fehler;
  if (!ersatz::Eingabe_Skript_Lesen(text, "skript.txt", fehler)) {
    if (fehler.empty()) std::abort();
    for (const unsigned char c : fehler)
      if (c < 0x20 || c == 0x7F) std::abort();
  }
  ersatz::Skript_Abspielen(0xFFFFFFFFu);
  return 0;
}
