// Fuzzes the launcher's option reader: the input's NUL-separated pieces are
// the arguments; each set is taken or refused with one line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "plattform/start/start.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pDaten, std::size_t nGroesse) {
  std::vector<std::string> teile(1, "borkwerk");
  teile.emplace_back();
  for (std::size_t i = 0; i < nGroesse; ++i) {
    if (pDaten[i] == 0) {
      teile.emplace_back();
    } else {
      teile.back() += static_cast<char>(pDaten[i]);
    }
  }
  std::vector<const char*> argv;
  for (const std::string& t : teile) argv.push_back(t.c_str());
  ersatz::Einstellungen e;
  std::string fehler;
  if (!ersatz::Optionen_Lesen(static_cast<int>(argv.size()), argv.data(), e, fehler) &&
      (fehler.empty() || fehler.find('\n') != std::string::npos))
    std::abort();
  return 0;
}
