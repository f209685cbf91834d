// DirectInput 8 in immediate mode: one keyboard with a 256-byte state by
// scan code, one mouse with relative x, y and wheel, and the acquire rules
// of foreground cooperation. The devices read the input and the focus as
// the Win32 subset keeps them (ereignisse.h).
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <string>

#include "plattform/dinput/dinput.h"
#include "plattform/fehler/fehler.h"
#include "plattform/win32/ereignisse.h"

// The stand-in knows the two predefined formats by identity, so they carry
// no object list of their own.
const DIDATAFORMAT c_dfDIKeyboard = {
    sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_RELAXIS, 256, 0, nullptr};
const DIDATAFORMAT c_dfDIMouse = {sizeof(DIDATAFORMAT),
                                  sizeof(DIOBJECTDATAFORMAT),
                                  DIDF_RELAXIS,
                                  sizeof(DIMOUSESTATE),
                                  0,
                                  nullptr};

const GUID GUID_SysKeyboard = {
    0x6F1D2B61, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_SysMouse = {
    0x6F1D2B60, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID IID_IDirectInput8A = {
    0xBF798030, 0x483A, 0x4DA2, {0xAA, 0x99, 0x5D, 0x64, 0xED, 0x36, 0x97, 0x00}};
const GUID IID_IDirectInputDevice8A = {
    0x54D41080, 0xDC15, 0x4833, {0xA4, 0x1B, 0x74, 0x8F, 0x73, 0xA3, 0x81, 0x79}};

namespace ersatz {
namespace {

enum class Art { Tastatur, Maus };

// Verloren: taken away by a focus loss; the next read reports it once.
enum class Zustand { Frei, Erworben, Verloren };

std::size_t nGeraete = 0;  // devices created and not yet released

LONG Begrenzt(std::int64_t n) {
  return static_cast<LONG>(std::clamp<std::int64_t>(n, std::numeric_limits<LONG>::min(),
                                                    std::numeric_limits<LONG>::max()));
}

class Geraet final : public Com<IDirectInputDevice8A, IID_IDirectInputDevice8A> {
 public:
  explicit Geraet(Art art) : art_(art) { ++nGeraete; }
  ~Geraet() override { --nGeraete; }

  HRESULT STDMETHODCALLTYPE SetDataFormat(LPCDIDATAFORMAT lpdf) override {
    Fokus_Pruefen();
    if (Stoerung("SetDataFormat")) return DIERR_INVALIDPARAM;
    if (zustand_ != Zustand::Frei) return DIERR_ACQUIRED;
    if (lpdf != (art_ == Art::Tastatur ? &c_dfDIKeyboard : &c_dfDIMouse)) return DIERR_INVALIDPARAM;
    pFormat_ = lpdf;
    return DI_OK;
  }

  HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND hwnd, DWORD dwFlags) override {
    Fokus_Pruefen();
    if (Stoerung("SetCooperativeLevel")) return DIERR_INVALIDPARAM;
    if (zustand_ != Zustand::Frei) return DIERR_ACQUIRED;
    const DWORD nArt = dwFlags & (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE);
    const DWORD nVordergrund = dwFlags & (DISCL_FOREGROUND | DISCL_BACKGROUND);
    if (nArt == 0 || nArt == (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE)) return DIERR_INVALIDPARAM;
    if (nVordergrund == 0 || nVordergrund == (DISCL_FOREGROUND | DISCL_BACKGROUND))
      return DIERR_INVALIDPARAM;
    if (!hwnd) return kFalschesFenster;
    bVordergrund_ = nVordergrund == DISCL_FOREGROUND;
    return DI_OK;
  }

  HRESULT STDMETHODCALLTYPE Acquire() override {
    Fokus_Pruefen();
    if (Stoerung("Acquire")) return DIERR_OTHERAPPHASPRIO;
    if (!pFormat_) return DIERR_INVALIDPARAM;
    if (zustand_ == Zustand::Erworben) return DI_NOEFFECT;
    if (bVordergrund_ && !Fokus()) return DIERR_OTHERAPPHASPRIO;
    zustand_ = Zustand::Erworben;
    nVerlusteBeimErwerb_ = Fokusverluste();
    Gelesen_ = Mausweg();
    return DI_OK;
  }

  HRESULT STDMETHODCALLTYPE Unacquire() override {
    Fokus_Pruefen();
    const bool bWar = zustand_ == Zustand::Erworben;
    zustand_ = Zustand::Frei;
    return bWar ? DI_OK : DI_NOEFFECT;
  }

  HRESULT STDMETHODCALLTYPE GetDeviceState(DWORD cbData, LPVOID lpvData) override {
    Fokus_Pruefen();
    if (!lpvData || !pFormat_ || cbData != pFormat_->dwDataSize) return DIERR_INVALIDPARAM;
    if (zustand_ == Zustand::Erworben && Stoerung("GetDeviceState")) zustand_ = Zustand::Verloren;
    if (art_ == Art::Maus && ersatz::Fehler("GetDeviceState.Mouse.Generic")) return DIERR_GENERIC;
    if (zustand_ == Zustand::Verloren) {
      zustand_ = Zustand::Frei;
      return DIERR_INPUTLOST;
    }
    if (zustand_ == Zustand::Frei) return DIERR_NOTACQUIRED;
    if (art_ == Art::Tastatur) {
      std::memcpy(lpvData, Tastatur().data(), Tastatur().size());
    } else {
      const auto& weg = Mausweg();
      DIMOUSESTATE Stand{Begrenzt(weg[0] - Gelesen_[0]),
                         Begrenzt(weg[1] - Gelesen_[1]),
                         Begrenzt(weg[2] - Gelesen_[2]),
                         {}};
      std::memcpy(lpvData, &Stand, sizeof(Stand));
      Gelesen_ = weg;
    }
    return DI_OK;
  }

 private:
  static constexpr HRESULT kFalschesFenster = static_cast<HRESULT>(0x80070006L);  // E_HANDLE

  // Whether the fault "<call>.Keyboard" or "<call>.Mouse" is set for this device.
  bool Stoerung(const char* szAufruf) const {
    const std::string name =
        std::string(szAufruf) + (art_ == Art::Tastatur ? ".Keyboard" : ".Mouse");
    return ersatz::Fehler(name.c_str());
  }

  // A foreground device that held the input when the focus left has lost
  // it; the motion until then is gone with it.
  void Fokus_Pruefen() {
    if (bVordergrund_ && zustand_ == Zustand::Erworben && nVerlusteBeimErwerb_ != Fokusverluste())
      zustand_ = Zustand::Verloren;
  }

  Art art_;
  LPCDIDATAFORMAT pFormat_ = nullptr;
  bool bVordergrund_ = false;
  Zustand zustand_ = Zustand::Frei;
  unsigned nVerlusteBeimErwerb_ = 0;
  std::array<std::int64_t, 3> Gelesen_{};  // the mouse's motion as the last read left it
};

class DirectInput final : public Com<IDirectInput8A, IID_IDirectInput8A> {
 public:
  HRESULT STDMETHODCALLTYPE CreateDevice(REFGUID rguid, IDirectInputDevice8A** ppGeraet,
                                         LPUNKNOWN pUnkOuter) override {
    if (!ppGeraet) return DIERR_INVALIDPARAM;
    *ppGeraet = nullptr;
    if (pUnkOuter) return DIERR_NOAGGREGATION;
    const bool bTastatur = IsEqualGUID(rguid, GUID_SysKeyboard);
    if (!bTastatur && !IsEqualGUID(rguid, GUID_SysMouse)) return DIERR_DEVICENOTREG;
    if (ersatz::Fehler(bTastatur ? "CreateDevice.Keyboard" : "CreateDevice.Mouse"))
      return DIERR_DEVICENOTREG;
    *ppGeraet = new (std::nothrow) Geraet(bTastatur ? Art::Tastatur : Art::Maus);
    return *ppGeraet ? DI_OK : DIERR_OUTOFMEMORY;
  }
};

}  // namespace

std::size_t Geraete_Anzahl() { return nGeraete; }

}  // namespace ersatz

HRESULT WINAPI DirectInput8Create(HINSTANCE, DWORD dwVersion, REFIID riidltf, LPVOID* ppvOut,
                                  LPUNKNOWN punkOuter) {
  if (!ppvOut) return DIERR_INVALIDPARAM;
  *ppvOut = nullptr;
  if (dwVersion < DIRECTINPUT_VERSION) return DIERR_OLDDIRECTINPUTVERSION;
  if (dwVersion > DIRECTINPUT_VERSION) return DIERR_BETADIRECTINPUTVERSION;
  if (!IsEqualGUID(riidltf, IID_IDirectInput8A)) return DIERR_NOINTERFACE;
  if (punkOuter) return DIERR_NOAGGREGATION;
  if (ersatz::Fehler("DirectInput8Create")) return DIERR_OUTOFMEMORY;
  auto* pDirectInput = new (std::nothrow) ersatz::DirectInput();
  *ppvOut = static_cast<IDirectInput8A*>(pDirectInput);
  return pDirectInput ? DI_OK : DIERR_OUTOFMEMORY;
}
