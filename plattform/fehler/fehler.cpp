#include "plattform/fehler/fehler.h"

#include <algorithm>
#include <cstdio>

namespace ersatz {
namespace {

std::vector<std::string>& Aktive() {
  static std::vector<std::string> aktive;
  return aktive;
}

}  // namespace

const std::vector<std::string>& Fehler_Namen() {
  static const std::vector<std::string> namen = {
      "RegisterClassExA",
      "CreateWindowExA",
      "Direct3DCreate8",
      "CreateDevice",
      "GetViewport",
      "GetBackBuffer",
      "DeviceLost",
      "Reset",
      "SetLight",
      "LightEnable",
      "SetRenderState",
      "LockRect",
      "DirectInput8Create",
      "CreateDevice.Keyboard",
      "SetDataFormat.Keyboard",
      "SetCooperativeLevel.Keyboard",
      "Acquire.Keyboard",
      "CreateDevice.Mouse",
      "SetDataFormat.Mouse",
      "SetCooperativeLevel.Mouse",
      "Acquire.Mouse",
      "GetDeviceState.Keyboard",
      "GetDeviceState.Mouse",
      "GetDeviceState.Mouse.Generic",
  };
  return namen;
}

bool Fehler(const char* szName) {
  const auto& aktive = Aktive();
  return !aktive.empty() && std::find(aktive.begin(), aktive.end(), szName) != aktive.end();
}

bool Fehler_Bekannt(const std::string& name) {
  const auto& namen = Fehler_Namen();
  return std::find(namen.begin(), namen.end(), name) != namen.end();
}

bool Fehler_Setzen(const std::string& name) {
  if (!Fehler_Bekannt(name)) return false;
  Aktive().push_back(name);
  return true;
}

void Fehler_Loeschen() { Aktive().clear(); }

namespace {

// The length of the valid UTF-8 sequence at p (at most n bytes there) and
// its code point; 0 for an invalid one (overlong, a surrogate, beyond
// U+10FFFF, cut short).
std::size_t Utf8_Laenge(const unsigned char* p, std::size_t n, char32_t& c) {
  const unsigned char b = p[0];
  std::size_t nLaenge = b >= 0xF8 ? 0 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 0;
  if (nLaenge == 0 || nLaenge > n) return 0;
  c = b & (0x7F >> nLaenge);
  for (std::size_t i = 1; i < nLaenge; ++i) {
    if ((p[i] & 0xC0) != 0x80) return 0;
    c = (c << 6) | (p[i] & 0x3F);
  }
  const char32_t kleinste[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kleinste[nLaenge] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return nLaenge;
}

// Characters a terminal would act on rather than show: C1 controls, and the
// ones that reorder or hide text.
bool Steuert(char32_t c) {
  return (c >= 0x80 && c <= 0x9F) || c == 0x200B || (c >= 0x200E && c <= 0x200F) ||
         (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
}

}  // namespace

std::string Lesbar(const std::string& text) {
  std::string lesbar;
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  for (std::size_t i = 0; i < text.size();) {
    char32_t c = 0;
    const std::size_t n = p[i] >= 0x80 ? Utf8_Laenge(p + i, text.size() - i, c) : 0;
    if (n > 0 && !Steuert(c)) {
      lesbar.append(text, i, n);
      i += n;
      continue;
    }
    const std::size_t nRoh = n > 0 ? n : 1;
    for (std::size_t k = 0; k < nRoh; ++k, ++i) {
      if (p[i] >= 0x20 && p[i] < 0x7F) {
        lesbar += static_cast<char>(p[i]);
      } else {
        char szCode[8];
        std::snprintf(szCode, sizeof szCode, "\\x%02X", p[i]);
        lesbar += szCode;
      }
    }
  }
  return lesbar;
}

}  // namespace ersatz
