#pragma once
// The one header the system includes for its platform: the real Win32,
// Direct3D 8 and DirectInput 8 headers on Windows, the stand-in elsewhere.
// clang-format off: the platform's headers need this order.
#if defined(_WIN32)
#define DIRECTINPUT_VERSION 0x0800
#include <d3d8.h>
#include <dinput.h>
#include <windows.h>
#else
#include "plattform/ersatz_d3d8.h"
#include "plattform/ersatz_dinput.h"
#include "plattform/ersatz_win32.h"
#endif
#include <cstdio>
#include <cstdlib>

#include "plattform/d3dx.h"
// clang-format on
