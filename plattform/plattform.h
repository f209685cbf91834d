#pragma once
// The one header the system includes for its platform: the real Win32,
// Direct3D 8 and DirectInput 8 headers on Windows (windows/echt.h), our
// stand-in's pieces everywhere else. D3DX and the writer of whole files
// (datei/) are our own on both.
// Win32 comes first, as the Direct3D and DirectInput headers build on it.
// clang-format off
#if defined(_WIN32)
#include "plattform/windows/echt.h"
#else
#include "plattform/win32/win32.h"
#include "plattform/d3d8/d3d8.h"
#include "plattform/dinput/dinput.h"
#endif
#include <cstdio>
#include <cstdlib>

#include "plattform/d3dx/d3dx.h"
#include "plattform/datei/datei.h"
// clang-format on
