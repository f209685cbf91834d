// rand/srand with the Windows C runtime's sequence, so the same seed grows
// the same tree on every platform. Defined here, these take the place of
// the C library's own for the whole program.
#include <cstdlib>

// glibc declares them noexcept, musl (the web build's) does not; a
// definition must say what the declaration says.
#if defined(__GLIBC__)
#define ERSATZ_WIE_DIE_LIBC noexcept
#else
#define ERSATZ_WIE_DIE_LIBC
#endif

namespace {
unsigned int nZustand = 1;
}

extern "C" void srand(unsigned int nSaat) ERSATZ_WIE_DIE_LIBC { nZustand = nSaat; }

extern "C" int rand(void) ERSATZ_WIE_DIE_LIBC {
  nZustand = nZustand * 214013u + 2531011u;
  return static_cast<int>((nZustand >> 16) & 0x7fff);
}
