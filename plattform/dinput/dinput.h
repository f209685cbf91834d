#pragma once
// The DirectInput 8 subset: what the system calls (immediate-mode keyboard
// and mouse), declared with the platform's names, types, values and method
// signatures, and answered here:
//   geraete.cpp         DirectInput8Create, the keyboard and mouse devices,
//                       data formats, cooperation, acquire and focus loss
//   dinput_tasten.cpp   the key names (DIK_ without the prefix)
// The devices read the keys, the mouse's motion and the focus that the
// front-ends and the input script report to the Win32 subset
// (win32/ereignisse.h). To the rest of the stand-in it offers the key
// names and the device count (namespace ersatz, at the end).
#include <cstddef>
#include <string>

#include "plattform/win32/com.h"
#include "plattform/win32/win32.h"

#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0800
#endif

#define DI_OK S_OK
#define DI_NOTATTACHED S_FALSE
#define DI_NOEFFECT S_FALSE
#define DIERR_INVALIDPARAM E_INVALIDARG
#define DIERR_OUTOFMEMORY E_OUTOFMEMORY
#define DIERR_NOINTERFACE E_NOINTERFACE
#define DIERR_GENERIC E_FAIL
#define DIERR_OTHERAPPHASPRIO E_ACCESSDENIED
#define DIERR_DEVICENOTREG ((HRESULT)0x80040154L)
#define DIERR_NOTINITIALIZED ((HRESULT)0x80070015L)
#define DIERR_INPUTLOST ((HRESULT)0x8007001EL)
#define DIERR_ACQUIRED ((HRESULT)0x800700AAL)
#define DIERR_NOTACQUIRED ((HRESULT)0x8007000CL)
#define DIERR_NOAGGREGATION ((HRESULT)0x80040110L)
#define DIERR_OLDDIRECTINPUTVERSION ((HRESULT)0x8007047EL)
#define DIERR_BETADIRECTINPUTVERSION ((HRESULT)0x80070481L)

#define DISCL_EXCLUSIVE 0x00000001
#define DISCL_NONEXCLUSIVE 0x00000002
#define DISCL_FOREGROUND 0x00000004
#define DISCL_BACKGROUND 0x00000008
#define DISCL_NOWINKEY 0x00000010

#define DIDF_ABSAXIS 0x00000001
#define DIDF_RELAXIS 0x00000002

typedef struct _DIOBJECTDATAFORMAT {
  const GUID* pguid;
  DWORD dwOfs;
  DWORD dwType;
  DWORD dwFlags;
} DIOBJECTDATAFORMAT, *LPDIOBJECTDATAFORMAT;

typedef struct _DIDATAFORMAT {
  DWORD dwSize;
  DWORD dwObjSize;
  DWORD dwFlags;
  DWORD dwDataSize;
  DWORD dwNumObjs;
  LPDIOBJECTDATAFORMAT rgodf;
} DIDATAFORMAT, *LPDIDATAFORMAT;
typedef const DIDATAFORMAT* LPCDIDATAFORMAT;

typedef struct DIMOUSESTATE {
  LONG lX;
  LONG lY;
  LONG lZ;
  BYTE rgbButtons[4];
} DIMOUSESTATE;

extern const DIDATAFORMAT c_dfDIKeyboard;
extern const DIDATAFORMAT c_dfDIMouse;
extern const GUID GUID_SysKeyboard;
extern const GUID GUID_SysMouse;
extern const GUID IID_IDirectInput8A;
extern const GUID IID_IDirectInputDevice8A;

struct IDirectInputDevice8A : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetDeviceState(DWORD cbData, LPVOID lpvData) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetDataFormat(LPCDIDATAFORMAT lpdf) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND hwnd, DWORD dwFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE Acquire() = 0;
  virtual HRESULT STDMETHODCALLTYPE Unacquire() = 0;

 protected:
  ~IDirectInputDevice8A() = default;
};

struct IDirectInput8A : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CreateDevice(REFGUID rguid,
                                                 IDirectInputDevice8A** lplpDirectInputDevice,
                                                 LPUNKNOWN pUnkOuter) = 0;

 protected:
  ~IDirectInput8A() = default;
};

typedef IDirectInput8A IDirectInput8;
typedef IDirectInputDevice8A IDirectInputDevice8;
typedef IDirectInput8A* LPDIRECTINPUT8;
typedef IDirectInput8A* LPDIRECTINPUT8A;
typedef IDirectInputDevice8A* LPDIRECTINPUTDEVICE8;
typedef IDirectInputDevice8A* LPDIRECTINPUTDEVICE8A;

HRESULT WINAPI DirectInput8Create(HINSTANCE hinst, DWORD dwVersion, REFIID riidltf, LPVOID* ppvOut,
                                  LPUNKNOWN punkOuter);

// DirectInput scan codes of a standard keyboard: set-1 make codes, with 0x80
// added for the extended keys. The first list gives each key once, by its
// main name; the second holds the platform's other names for some keys.
#define ERSATZ_DIK_TASTEN(EINTRAG) \
  EINTRAG(ESCAPE, 0x01)            \
  EINTRAG(1, 0x02)                 \
  EINTRAG(2, 0x03)                 \
  EINTRAG(3, 0x04)                 \
  EINTRAG(4, 0x05)                 \
  EINTRAG(5, 0x06)                 \
  EINTRAG(6, 0x07)                 \
  EINTRAG(7, 0x08)                 \
  EINTRAG(8, 0x09)                 \
  EINTRAG(9, 0x0A)                 \
  EINTRAG(0, 0x0B)                 \
  EINTRAG(MINUS, 0x0C)             \
  EINTRAG(EQUALS, 0x0D)            \
  EINTRAG(BACK, 0x0E)              \
  EINTRAG(TAB, 0x0F)               \
  EINTRAG(Q, 0x10)                 \
  EINTRAG(W, 0x11)                 \
  EINTRAG(E, 0x12)                 \
  EINTRAG(R, 0x13)                 \
  EINTRAG(T, 0x14)                 \
  EINTRAG(Y, 0x15)                 \
  EINTRAG(U, 0x16)                 \
  EINTRAG(I, 0x17)                 \
  EINTRAG(O, 0x18)                 \
  EINTRAG(P, 0x19)                 \
  EINTRAG(LBRACKET, 0x1A)          \
  EINTRAG(RBRACKET, 0x1B)          \
  EINTRAG(RETURN, 0x1C)            \
  EINTRAG(LCONTROL, 0x1D)          \
  EINTRAG(A, 0x1E)                 \
  EINTRAG(S, 0x1F)                 \
  EINTRAG(D, 0x20)                 \
  EINTRAG(F, 0x21)                 \
  EINTRAG(G, 0x22)                 \
  EINTRAG(H, 0x23)                 \
  EINTRAG(J, 0x24)                 \
  EINTRAG(K, 0x25)                 \
  EINTRAG(L, 0x26)                 \
  EINTRAG(SEMICOLON, 0x27)         \
  EINTRAG(APOSTROPHE, 0x28)        \
  EINTRAG(GRAVE, 0x29)             \
  EINTRAG(LSHIFT, 0x2A)            \
  EINTRAG(BACKSLASH, 0x2B)         \
  EINTRAG(Z, 0x2C)                 \
  EINTRAG(X, 0x2D)                 \
  EINTRAG(C, 0x2E)                 \
  EINTRAG(V, 0x2F)                 \
  EINTRAG(B, 0x30)                 \
  EINTRAG(N, 0x31)                 \
  EINTRAG(M, 0x32)                 \
  EINTRAG(COMMA, 0x33)             \
  EINTRAG(PERIOD, 0x34)            \
  EINTRAG(SLASH, 0x35)             \
  EINTRAG(RSHIFT, 0x36)            \
  EINTRAG(MULTIPLY, 0x37)          \
  EINTRAG(LMENU, 0x38)             \
  EINTRAG(SPACE, 0x39)             \
  EINTRAG(CAPITAL, 0x3A)           \
  EINTRAG(F1, 0x3B)                \
  EINTRAG(F2, 0x3C)                \
  EINTRAG(F3, 0x3D)                \
  EINTRAG(F4, 0x3E)                \
  EINTRAG(F5, 0x3F)                \
  EINTRAG(F6, 0x40)                \
  EINTRAG(F7, 0x41)                \
  EINTRAG(F8, 0x42)                \
  EINTRAG(F9, 0x43)                \
  EINTRAG(F10, 0x44)               \
  EINTRAG(NUMLOCK, 0x45)           \
  EINTRAG(SCROLL, 0x46)            \
  EINTRAG(NUMPAD7, 0x47)           \
  EINTRAG(NUMPAD8, 0x48)           \
  EINTRAG(NUMPAD9, 0x49)           \
  EINTRAG(SUBTRACT, 0x4A)          \
  EINTRAG(NUMPAD4, 0x4B)           \
  EINTRAG(NUMPAD5, 0x4C)           \
  EINTRAG(NUMPAD6, 0x4D)           \
  EINTRAG(ADD, 0x4E)               \
  EINTRAG(NUMPAD1, 0x4F)           \
  EINTRAG(NUMPAD2, 0x50)           \
  EINTRAG(NUMPAD3, 0x51)           \
  EINTRAG(NUMPAD0, 0x52)           \
  EINTRAG(DECIMAL, 0x53)           \
  EINTRAG(OEM_102, 0x56)           \
  EINTRAG(F11, 0x57)               \
  EINTRAG(F12, 0x58)               \
  EINTRAG(F13, 0x64)               \
  EINTRAG(F14, 0x65)               \
  EINTRAG(F15, 0x66)               \
  EINTRAG(KANA, 0x70)              \
  EINTRAG(ABNT_C1, 0x73)           \
  EINTRAG(CONVERT, 0x79)           \
  EINTRAG(NOCONVERT, 0x7B)         \
  EINTRAG(YEN, 0x7D)               \
  EINTRAG(ABNT_C2, 0x7E)           \
  EINTRAG(NUMPADEQUALS, 0x8D)      \
  EINTRAG(PREVTRACK, 0x90)         \
  EINTRAG(AT, 0x91)                \
  EINTRAG(COLON, 0x92)             \
  EINTRAG(UNDERLINE, 0x93)         \
  EINTRAG(KANJI, 0x94)             \
  EINTRAG(STOP, 0x95)              \
  EINTRAG(AX, 0x96)                \
  EINTRAG(UNLABELED, 0x97)         \
  EINTRAG(NEXTTRACK, 0x99)         \
  EINTRAG(NUMPADENTER, 0x9C)       \
  EINTRAG(RCONTROL, 0x9D)          \
  EINTRAG(MUTE, 0xA0)              \
  EINTRAG(CALCULATOR, 0xA1)        \
  EINTRAG(PLAYPAUSE, 0xA2)         \
  EINTRAG(MEDIASTOP, 0xA4)         \
  EINTRAG(VOLUMEDOWN, 0xAE)        \
  EINTRAG(VOLUMEUP, 0xB0)          \
  EINTRAG(WEBHOME, 0xB2)           \
  EINTRAG(NUMPADCOMMA, 0xB3)       \
  EINTRAG(DIVIDE, 0xB5)            \
  EINTRAG(SYSRQ, 0xB7)             \
  EINTRAG(RMENU, 0xB8)             \
  EINTRAG(PAUSE, 0xC5)             \
  EINTRAG(HOME, 0xC7)              \
  EINTRAG(UP, 0xC8)                \
  EINTRAG(PRIOR, 0xC9)             \
  EINTRAG(LEFT, 0xCB)              \
  EINTRAG(RIGHT, 0xCD)             \
  EINTRAG(END, 0xCF)               \
  EINTRAG(DOWN, 0xD0)              \
  EINTRAG(NEXT, 0xD1)              \
  EINTRAG(INSERT, 0xD2)            \
  EINTRAG(DELETE, 0xD3)            \
  EINTRAG(LWIN, 0xDB)              \
  EINTRAG(RWIN, 0xDC)              \
  EINTRAG(APPS, 0xDD)              \
  EINTRAG(POWER, 0xDE)             \
  EINTRAG(SLEEP, 0xDF)             \
  EINTRAG(WAKE, 0xE3)              \
  EINTRAG(WEBSEARCH, 0xE5)         \
  EINTRAG(WEBFAVORITES, 0xE6)      \
  EINTRAG(WEBREFRESH, 0xE7)        \
  EINTRAG(WEBSTOP, 0xE8)           \
  EINTRAG(WEBFORWARD, 0xE9)        \
  EINTRAG(WEBBACK, 0xEA)           \
  EINTRAG(MYCOMPUTER, 0xEB)        \
  EINTRAG(MAIL, 0xEC)              \
  EINTRAG(MEDIASELECT, 0xED)

#define ERSATZ_DIK_ANDERE_NAMEN(EINTRAG) \
  EINTRAG(BACKSPACE, 0x0E)               \
  EINTRAG(NUMPADSTAR, 0x37)              \
  EINTRAG(LALT, 0x38)                    \
  EINTRAG(CAPSLOCK, 0x3A)                \
  EINTRAG(NUMPADMINUS, 0x4A)             \
  EINTRAG(NUMPADPLUS, 0x4E)              \
  EINTRAG(NUMPADPERIOD, 0x53)            \
  EINTRAG(CIRCUMFLEX, 0x90)              \
  EINTRAG(NUMPADSLASH, 0xB5)             \
  EINTRAG(RALT, 0xB8)                    \
  EINTRAG(UPARROW, 0xC8)                 \
  EINTRAG(PGUP, 0xC9)                    \
  EINTRAG(LEFTARROW, 0xCB)               \
  EINTRAG(RIGHTARROW, 0xCD)              \
  EINTRAG(DOWNARROW, 0xD0)               \
  EINTRAG(PGDN, 0xD1)

enum {
#define ERSATZ_DIK_KONSTANTE(name, code) DIK_##name = code,
  ERSATZ_DIK_TASTEN(ERSATZ_DIK_KONSTANTE) ERSATZ_DIK_ANDERE_NAMEN(ERSATZ_DIK_KONSTANTE)
#undef ERSATZ_DIK_KONSTANTE
};

namespace ersatz {

// Scan code for a key's DirectInput name without "DIK_", in any case;
// -1 for a name no key has.
int Dik_Aus_Name(const std::string& name);

// Number of input devices that exist (created and not yet released).
std::size_t Geraete_Anzahl();

}  // namespace ersatz
