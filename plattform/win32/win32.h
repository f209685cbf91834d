#pragma once
// The Win32 subset: what the system calls, declared with the platform's own
// names, types and values, and answered here:
//   fenster.cpp     window classes, the one window, the message queue and
//                   its pump, window-procedure dispatch, cursor, message
//                   box, all shown by the chosen front-end (anzeige.h)
//   uhr.cpp         GetTickCount: a real or a virtual millisecond clock;
//                   the frames presented and their times
//   ereignisse.cpp  input events and the keyboard, mouse and focus they
//                   leave (ereignisse.h)
//   com.cpp         IUnknown and the stand-in's one COM base (com.h)
//   laufzeit.cpp    rand/srand with the Windows runtime's sequence
//   laufzeit_dateien.cpp  the C runtime's named files: no FIFO, and the
//                   writes that failed (desktop builds)
// To the rest of the stand-in it offers the clock, the frame count, the
// window's closing after a number of frames (namespace ersatz, at the
// end), the front-end seam (anzeige.h), input (ereignisse.h) and COM
// (com.h).
// Sizes follow the 64-bit Windows ABI where the system relies on them:
// DWORD, LONG and UINT are 32 bits; handles and message parameters are
// pointer-sized.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#define WINAPI
#define CALLBACK
#define APIENTRY
#define STDMETHODCALLTYPE
#define CONST const
#ifndef NULL
#define NULL 0
#endif
#define TRUE 1
#define FALSE 0

typedef std::uint8_t BYTE;
typedef std::uint16_t WORD;
typedef std::uint32_t DWORD;
typedef std::uint32_t UINT;
typedef std::int32_t INT;
typedef std::int32_t LONG;
typedef std::uint32_t ULONG;
typedef int BOOL;
typedef BOOL WINBOOL;
typedef std::int32_t HRESULT;
typedef WORD ATOM;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;
typedef std::uintptr_t WPARAM;
typedef std::intptr_t LPARAM;
typedef std::intptr_t LRESULT;

typedef union _LARGE_INTEGER {
  struct {
    DWORD LowPart;
    LONG HighPart;
  } u;
  std::int64_t QuadPart;
} LARGE_INTEGER;

typedef struct _GUID {
  DWORD Data1;
  WORD Data2;
  WORD Data3;
  BYTE Data4[8];
} GUID;
typedef GUID IID;
typedef const GUID& REFGUID;
typedef const IID& REFIID;

typedef struct tagRECT {
  LONG left, top, right, bottom;
} RECT;
typedef struct tagPOINT {
  LONG x, y;
} POINT;
typedef struct _RGNDATA RGNDATA;

struct HWND__;
struct HINSTANCE__;
struct HICON__;
struct HCURSOR__;
struct HBRUSH__;
struct HMENU__;
typedef HWND__* HWND;
typedef HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef HICON__* HICON;
typedef HCURSOR__* HCURSOR;
typedef HBRUSH__* HBRUSH;
typedef HMENU__* HMENU;
typedef void* HANDLE;
typedef HANDLE HGDIOBJ;

struct IUnknown;
typedef IUnknown* LPUNKNOWN;

#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_NOTIMPL ((HRESULT)0x80004001L)
#define E_NOINTERFACE ((HRESULT)0x80004002L)
#define E_POINTER ((HRESULT)0x80004003L)
#define E_FAIL ((HRESULT)0x80004005L)
#define E_ACCESSDENIED ((HRESULT)0x80070005L)
#define E_OUTOFMEMORY ((HRESULT)0x8007000EL)
#define E_INVALIDARG ((HRESULT)0x80070057L)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagWNDCLASSEXA {
  UINT cbSize;
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
  HICON hIconSm;
} WNDCLASSEXA;
typedef WNDCLASSEXA WNDCLASSEX;

typedef struct tagMSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
} MSG;

#define MAKEINTRESOURCEA(i) ((LPSTR)((std::uintptr_t)((WORD)(i))))
#define IDI_APPLICATION MAKEINTRESOURCEA(32512)
#define IDC_ARROW MAKEINTRESOURCEA(32512)
#define WHITE_BRUSH 0
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define WS_POPUP 0x80000000L
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001
#define MB_OK 0x00000000L

#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_SIZE 0x0005
#define WM_ACTIVATE 0x0006
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_SHOWWINDOW 0x0018
#define WM_ACTIVATEAPP 0x001C
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_MOUSEMOVE 0x0200

HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName);
HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName);
HGDIOBJ WINAPI GetStockObject(int i);
ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* lpwcx);
HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle,
                            int X, int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                            HINSTANCE hInstance, LPVOID lpParam);
BOOL WINAPI DestroyWindow(HWND hWnd);
int WINAPI ShowCursor(BOOL bShow);
BOOL WINAPI PeekMessageA(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax,
                         UINT wRemoveMsg);
BOOL WINAPI TranslateMessage(const MSG* lpMsg);
LRESULT WINAPI DispatchMessageA(const MSG* lpMsg);
LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
void WINAPI PostQuitMessage(int nExitCode);
DWORD WINAPI GetTickCount(void);
int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd);

namespace ersatz {

// The millisecond clock behind GetTickCount, starting at nStart: real;
// virtual (each reading moves it on by 1 ms, so waits cost no real time);
// or virtual and paced, for a host that needs its turn (the web page): the
// message pump of each frame sleeps until real time has caught up with it.
enum class Uhrgang { Echt, Virtuell, Getaktet };
void Uhr_Starten(Uhrgang gang, std::uint32_t nStart);
std::uint32_t Uhr_Stand();  // the clock's value, without moving a virtual clock
// The pacing, called by the message pump; once a frame it waits.
void Uhr_Takten();

// Counts a presented frame (every Present does, shown or lost) and keeps
// the clock's value at it.
void Bild_Zaehlen();
// Number of frames presented so far; frame k is the one presented as the
// (k+1)-th. The message pump and the input poll of frame k see k here.
unsigned Bildnummer();
// The clock's value at each of the last nZeitenFenster Presents, in order;
// a long run keeps no more.
constexpr std::size_t nZeitenFenster = 1000;
const std::deque<std::uint32_t>& Praesentationszeiten();
// No frame presented yet, as a process starts.
void Bilder_Zuruecksetzen();

// The platform closes the window as a user would, in the message pump of
// the frame numbered nBilder - 1 (so exactly nBilder frames are presented);
// 0: only the user closes it.
void Fenster_Schliessen_Nach(unsigned long nBilder);

// Asks the platform to close the window as a user would, at the next
// message pump; safe to call from a signal handler. Whether that was asked.
void Schliessen_Anfordern();
bool Schliessen_Angefordert();

// No window classes, no window, no messages and no closing asked for, as a
// process starts (tests run several programs in one process).
void Fenster_Zuruecksetzen();

// The files the program opened by name through the C runtime (its log)
// whose writes failed, each as "NAME (reason)", in the order they were
// closed.
std::vector<std::string> Dateien_Mit_Schreibfehlern();

}  // namespace ersatz
