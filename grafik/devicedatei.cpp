#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "grafik/grafik.h"

namespace {

// The file's layout is fixed and little-endian on every build, while the
// records in memory differ between builds (pointer-sized Name, padding after
// the identifier), so every field is written one by one.
typedef std::vector<unsigned char> Puffer;

const std::size_t nDateiGroesse = 344740;

// Written in place of Name: a pointer of the writing process means nothing
// in a file.
const std::uint32_t nNameImDatei = 0;

void Wort_Schreiben(Puffer& Daten, std::uint32_t nWort) {
  for (int i = 0; i < 4; ++i) Daten.push_back(static_cast<unsigned char>(nWort >> (8 * i)));
}

void Halbwort_Schreiben(Puffer& Daten, std::uint16_t nWort) {
  Daten.push_back(static_cast<unsigned char>(nWort));
  Daten.push_back(static_cast<unsigned char>(nWort >> 8));
}

void Bytes_Schreiben(Puffer& Daten, const void* pQuelle, std::size_t nBytes) {
  const unsigned char* p = static_cast<const unsigned char*>(pQuelle);
  Daten.insert(Daten.end(), p, p + nBytes);
}

// 1068 bytes: texts, driver version, ids, GUID and WHQL level, no padding.
void Identifier_Schreiben(Puffer& Daten, const D3DADAPTER_IDENTIFIER8& Id) {
  Bytes_Schreiben(Daten, Id.Driver, sizeof(Id.Driver));
  Bytes_Schreiben(Daten, Id.Description, sizeof(Id.Description));
  const std::uint64_t nVersion = static_cast<std::uint64_t>(Id.DriverVersion.QuadPart);
  Wort_Schreiben(Daten, static_cast<std::uint32_t>(nVersion));
  Wort_Schreiben(Daten, static_cast<std::uint32_t>(nVersion >> 32));
  Wort_Schreiben(Daten, Id.VendorId);
  Wort_Schreiben(Daten, Id.DeviceId);
  Wort_Schreiben(Daten, Id.SubSysId);
  Wort_Schreiben(Daten, Id.Revision);
  Wort_Schreiben(Daten, Id.DeviceIdentifier.Data1);
  Halbwort_Schreiben(Daten, Id.DeviceIdentifier.Data2);
  Halbwort_Schreiben(Daten, Id.DeviceIdentifier.Data3);
  Bytes_Schreiben(Daten, Id.DeviceIdentifier.Data4, sizeof(Id.DeviceIdentifier.Data4));
  Wort_Schreiben(Daten, Id.WHQLLevel);
}

// D3DCAPS8 consists of 53 four-byte members (enums, DWORDs and floats).
void Caps_Schreiben(Puffer& Daten, const D3DCAPS8& Caps) {
  static_assert(sizeof(D3DCAPS8) == 212, "D3DCAPS8 is 53 four-byte members");
  const unsigned char* p = reinterpret_cast<const unsigned char*>(&Caps);
  for (std::size_t i = 0; i < sizeof(D3DCAPS8); i += 4) {
    std::uint32_t nWort;
    memcpy(&nWort, p + i, 4);
    Wort_Schreiben(Daten, nWort);
  }
}

// 3232 bytes: type, caps, Name, nModi, 150 modes of 20 bytes, iModus, multisampling.
void Device_Schreiben(Puffer& Daten, const DeviceDaten& Device) {
  Wort_Schreiben(Daten, static_cast<std::uint32_t>(Device.DeviceType));
  Caps_Schreiben(Daten, Device.Caps);
  Wort_Schreiben(Daten, nNameImDatei);
  Wort_Schreiben(Daten, Device.nModi);
  for (const ModusDaten& Modus : Device.Modi) {
    Wort_Schreiben(Daten, Modus.Width);
    Wort_Schreiben(Daten, Modus.Height);
    Wort_Schreiben(Daten, static_cast<std::uint32_t>(Modus.Format));
    Wort_Schreiben(Daten, Modus.BehaviorFlags);
    Wort_Schreiben(Daten, static_cast<std::uint32_t>(Modus.DepthStencilFormat));
  }
  Wort_Schreiben(Daten, Device.iModus);
  Wort_Schreiben(Daten, static_cast<std::uint32_t>(Device.MultiSampleType));
}

// 17236 bytes: identifier, nDevices, 5 device records, iDevice.
void Adapter_Schreiben(Puffer& Daten, const AdapterDaten& Adapter) {
  Identifier_Schreiben(Daten, Adapter.Identifier);
  Wort_Schreiben(Daten, Adapter.nDevices);
  for (const DeviceDaten& Device : Adapter.Devices) Device_Schreiben(Daten, Device);
  Wort_Schreiben(Daten, Adapter.iDevice);
}

}  // namespace

const char* szDeviceGrund = "";

// Writes the whole enumeration result (all 20 records, used or not, then
// nAdapter, iAdapter, nDepthBits and nStencilBits twice) to "device.gra" in
// the working directory. Called by D3D_Init after Erstelle_List. The file is
// written whole (Datei_Ganz_Schreiben), so a failed write (a full disk)
// leaves the earlier device.gra whole; 0 then, with the reason in
// szDeviceGrund.
int Device_Speichern() {
  static std::string grund;
  try {
    Puffer Daten;
    Daten.reserve(nDateiGroesse);
    for (const AdapterDaten& Adapter : AdapterListe) Adapter_Schreiben(Daten, Adapter);
    Wort_Schreiben(Daten, nAdapter);
    Wort_Schreiben(Daten, iAdapter);
    Wort_Schreiben(Daten, nDepthBits);
    Wort_Schreiben(Daten, nStencilBits);
    Wort_Schreiben(Daten, nStencilBits);
    grund = Datei_Ganz_Schreiben("device.gra", [&](FILE* pDatei) {
      return fwrite(Daten.data(), 1, Daten.size(), pDatei) == Daten.size();
    });
  } catch (const std::bad_alloc&) {
    grund = "out of memory";
  }
  szDeviceGrund = grund.c_str();
  return grund.empty() ? 1 : 0;
}
