// d3d8.dll comes with Windows but mingw-w64 has no import library for it:
// Direct3DCreate8 is reached through the loader instead.
#include "plattform/plattform.h"

extern "C" IDirect3D8* WINAPI Direct3DCreate8(UINT nSdkVersion) {
  using Erzeuger = IDirect3D8*(WINAPI*)(UINT);
  static HMODULE hBibliothek = LoadLibraryA("d3d8.dll");
  if (!hBibliothek) return nullptr;
  auto pErzeuger = reinterpret_cast<Erzeuger>(
      reinterpret_cast<void*>(GetProcAddress(hBibliothek, "Direct3DCreate8")));
  return pErzeuger ? pErzeuger(nSdkVersion) : nullptr;
}
