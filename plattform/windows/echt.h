#pragma once
// The real platform: Windows' own Win32, Direct3D 8 and DirectInput 8
// headers (mingw-w64's), and what the Windows build adds to them:
//   d3d8_laden.cpp  Direct3DCreate8 reached through the loader, as
//                   mingw-w64 has no import library for d3d8.dll
// clang-format off
#define DIRECTINPUT_VERSION 0x0800
#include <windows.h>
#include <d3d8.h>
#include <dinput.h>
// clang-format on
