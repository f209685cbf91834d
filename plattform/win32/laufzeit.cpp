// rand/srand with the Windows C runtime's sequence, so the same seed grows
// the same tree on every platform. Defined here, these take the place of
// the C library's own for the whole program.
#include <cstdlib>

namespace {
unsigned int nZustand = 1;
}

extern "C" void srand(unsigned int nSaat) noexcept { nZustand = nSaat; }

extern "C" int rand(void) noexcept {
  nZustand = nZustand * 214013u + 2531011u;
  return static_cast<int>((nZustand >> 16) & 0x7fff);
}
