#pragma once
// The stand-in's Direct3D 8 object and the adapters it reports. By default
// one software adapter; tests describe others through Adapter_Einstellen.
#include <cstdint>
#include <string>
#include <vector>

#include "plattform/d3d8/d3d8.h"

namespace ersatz {

// What one device type (HAL or REF) of an adapter answers.
struct Typ_Einstellung {
  bool bVorhanden =
      true;           // false: CheckDeviceType, GetDeviceCaps, CreateDevice answer NOTAVAILABLE
  DWORD DevCaps = 0;  // D3DCAPS8::DevCaps; the rest of the caps follows from it
  std::vector<D3DFORMAT> AbgelehnteFormate;  // display formats CheckDeviceType refuses
  std::vector<D3DFORMAT> Tiefenformate;      // depth/stencil formats CheckDeviceFormat accepts
  // CheckDepthStencilMatch wants a depth buffer of the render target's width
  // (16 or 32 bits), as the 3D cards of the Direct3D 8 years did.
  bool bTiefeWieFarbe = false;
};

// One adapter: its identifier, its display modes in EnumAdapterModes order
// (one entry per refresh rate) and its two device types.
struct Adapter_Einstellung {
  std::string Treiber;       // Driver, cut to 511 characters
  std::string Beschreibung;  // Description, cut to 511 characters
  std::int64_t Treiberversion = 0;
  DWORD VendorId = 0;
  DWORD DeviceId = 0;
  DWORD SubSysId = 0;
  DWORD Revision = 0;
  GUID Kennung = {};
  DWORD WHQLLevel = 0;
  std::vector<D3DDISPLAYMODE> Modi;
  Typ_Einstellung Hal;
  Typ_Einstellung Ref;
};

// The stand-in's own adapter: a software rasterizer without hardware
// transform and lighting, 640 x 400 up to 1600 x 1200 in R5G6B5 and
// X8R8G8B8 at 60 to 85 Hz, depth D16 only (the device's depth buffer); REF
// is offered as well, simulating hardware transform and lighting.
Adapter_Einstellung Software_Adapter();

// Every combination of format, size and refresh rate, formats outermost and
// refresh rates innermost, as drivers list them.
struct Groesse {
  UINT nBreite;
  UINT nHoehe;
};
std::vector<D3DDISPLAYMODE> Modi_Erzeugen(const std::vector<Groesse>& Groessen,
                                          const std::vector<D3DFORMAT>& Formate,
                                          const std::vector<UINT>& Frequenzen);

// What Direct3D objects created from now on report; an empty list means no
// adapter at all. Objects already created keep their adapters.
void Adapter_Einstellen(const std::vector<Adapter_Einstellung>& Adapter);
// Back to the single software adapter.
void Adapter_Zuruecksetzen();

}  // namespace ersatz
