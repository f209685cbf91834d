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

std::string Lesbar(const std::string& text) {
  std::string lesbar;
  for (const unsigned char c : text) {
    if (c >= 0x20 && c < 0x7F) {
      lesbar += static_cast<char>(c);
    } else {
      char szCode[8];
      std::snprintf(szCode, sizeof szCode, "\\x%02X", c);
      lesbar += szCode;
    }
  }
  return lesbar;
}

}  // namespace ersatz
