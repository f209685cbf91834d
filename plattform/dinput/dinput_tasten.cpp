// Key names: DirectInput's key constants without "DIK_", and a few
// other names for the same keys.
#include <cctype>
#include <cstring>

#include "plattform/dinput/dinput.h"

namespace ersatz {
namespace {

struct Name {
  const char* szName;
  int nDik;
};

const Name Namen[] = {
#define ERSATZ_DIK_NAME(name, code) {#name, code},
    ERSATZ_DIK_TASTEN(ERSATZ_DIK_NAME) ERSATZ_DIK_ANDERE_NAMEN(ERSATZ_DIK_NAME)
#undef ERSATZ_DIK_NAME
};

bool Gleich_Ohne_Gross(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) != static_cast<unsigned char>(b[i]))
      return false;
  }
  return true;
}

}  // namespace

int Dik_Aus_Name(const std::string& name) {
  for (const Name& n : Namen) {
    if (Gleich_Ohne_Gross(name, n.szName)) return n.nDik;
  }
  return -1;
}

}  // namespace ersatz
