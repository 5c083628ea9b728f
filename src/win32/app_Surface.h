// The off-screen drawing surface of the saver window and the engine's GDI
// drawing target on it.
#pragma once

#include <windows.h>

#include "RDrawUn.h"
#include "app_State.h"

namespace quorvex::win32 {

// The GDI calls that make and free the surface's objects. A test replaces
// them to count what is made and freed, or to refuse the 8-bit section.
struct SurfaceGdi {
    HDC(WINAPI* getDC)(HWND) = ::GetDC;
    int(WINAPI* releaseDC)(HWND, HDC) = ::ReleaseDC;
    HDC(WINAPI* createCompatibleDC)(HDC) = ::CreateCompatibleDC;
    BOOL(WINAPI* deleteDC)(HDC) = ::DeleteDC;
    HBITMAP(WINAPI* createDIBSection)(HDC, const BITMAPINFO*, UINT, void**, HANDLE, DWORD) = ::CreateDIBSection;
    HBITMAP(WINAPI* createCompatibleBitmap)(HDC, int, int) = ::CreateCompatibleBitmap;
    HFONT(WINAPI* createFontA)
    (int, int, int, int, int, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, LPCSTR) = ::CreateFontA;
    HGDIOBJ(WINAPI* selectObject)(HDC, HGDIOBJ) = ::SelectObject;
    BOOL(WINAPI* deleteObject)(HGDIOBJ) = ::DeleteObject;
};

SurfaceGdi& SurfaceGdiCalls();

// WM_SIZE: frees the previous surface, then builds one for the current client
// area and hands the engine its geometry. A 0 x 0 client area leaves no
// surface and stops painting until a later WM_SIZE builds one.
// Each screen has its own surface; `window` is the screen's window.
void CreateFrameSurface(SaverScreen& screen, HWND window);
// Teardown: frees every object of the screen's surface.
void FreeFrameSurface(SaverScreen& screen, HWND window);
// True while the surface's objects exist: painting needs them.
bool SurfaceLive(const SaverScreen& screen);

}  // namespace quorvex::win32
