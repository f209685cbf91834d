#pragma once
// The one header the system includes for its platform: the real Win32,
// Direct3D 8 and DirectInput 8 headers on Windows, the stand-in elsewhere.
// Win32 comes first, as the Direct3D and DirectInput headers build on it.
// clang-format off
#if defined(_WIN32)
#define DIRECTINPUT_VERSION 0x0800
#include <windows.h>
#include <d3d8.h>
#include <dinput.h>
#else
#include "plattform/ersatz_win32.h"
#include "plattform/ersatz_d3d8.h"
#include "plattform/ersatz_dinput.h"
#endif
#include <cstdio>
#include <cstdlib>

#include "plattform/d3dx.h"
// clang-format on
