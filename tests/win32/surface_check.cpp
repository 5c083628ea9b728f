// Checks of the saver's drawing surface on real GDI (run under Wine): pixel
// addressing at widths that are not a multiple of 4, the 0 x 0 resize after
// a surface existed, the refused 8-bit section, the DC's text set-up, and
// that re-making the surface a thousand times frees every object it made.
// Prints "ok - ..." / "FAIL - ..." lines; the exit code is the failure count.
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "XMath.h"
#include "app_State.h"
#include "app_Surface.h"
#include "frame_Present.h"

using namespace quorvex;
using namespace quorvex::win32;

namespace {

int failures = 0;

void Check(bool ok, const std::string& what) {
    std::printf("%s - %s\n", ok ? "ok  " : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!ok) ++failures;
}

std::string Str(long long n) { return std::to_string(n); }

HWND MakeWindow(int width, int height) {
    static bool registered = false;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = instance;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        wc.lpszClassName = "QuorvexSurfaceCheck";
        RegisterClassA(&wc);
        registered = true;
    }
    return CreateWindowExA(WS_EX_TOOLWINDOW, "QuorvexSurfaceCheck", "surface check", WS_POPUP | WS_VISIBLE, 0, 0, width,
                           height, nullptr, nullptr, instance, nullptr);
}

void Resize(HWND window, int width, int height) {
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FreshHost(bool trace, bool grey) {
    HostState& host = Host();
    host.Settings = SaverSettings{};
    host.Settings.Trace = trace;
    host.Settings.HuesOfGray = grey;
    PrimaryScreen().Animation = Engine{};
    host.PaintEnabled = false;
    host.SurfaceReady = false;
    BindEngine();
    PrepareClouds(PrimaryScreen().Animation);
    StartPaintState(PrimaryScreen().Paint, GetTickCount(), GetTickCount());
}

// The surface's pixels as GDI itself reads them (top-down 32-bit copy):
// independent of how the host addresses the section's bytes.
std::vector<RGBQUAD> ReadBack(const FrameSurface& s) {
    std::vector<RGBQUAD> pixels(static_cast<size_t>(s.Width) * static_cast<size_t>(s.Height));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = s.Width;
    info.bmiHeader.biHeight = -s.Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    GetDIBits(s.MemoryDC, s.Bitmap, 0, static_cast<UINT>(s.Height), pixels.data(), &info, DIB_RGB_COLORS);
    return pixels;
}

// Three 3 x 3 points plotted through the engine at the corners of the plot
// area and the middle must come back as exactly those 27 pixels.
void CheckAddressing(int width, int height) {
    const std::string size = Str(width) + "x" + Str(height);
    FreshHost(true, true);
    HWND window = MakeWindow(width, height);
    CreateFrameSurface(PrimaryScreen(), window);
    const FrameSurface& s = PrimaryScreen().Surface;
    Check(s.Width == width && s.Height == height, size + ": surface size " + Str(s.Width) + "x" + Str(s.Height));
    Check(s.Bits != nullptr, size + ": 8-bit section made");
    Check(s.Stride >= width && s.Stride % 4 == 0 && s.Stride < width + 4, size + ": row stride " + Str(s.Stride));
    if (s.Bits == nullptr) {
        DestroyWindow(window);
        return;
    }
    Engine& e = PrimaryScreen().Animation;
    const ScreenPoint points[] = {{2, 2}, {width - 3, height - 4}, {width / 2, height / 2}};
    for (const ScreenPoint& p : points) PlotPoint(e, p, 200, 0, 0);
    GdiFlush();
    std::vector<RGBQUAD> pixels = ReadBack(s);
    int lit = 0;
    int expectedLit = 0;
    int misplaced = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const RGBQUAD& q = pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
            bool inPoint = false;
            for (const ScreenPoint& p : points) {
                if (x >= p.x - 1 && x <= p.x + 1 && y >= p.y - 1 && y <= p.y + 1) inPoint = true;
            }
            const bool isLit = q.rgbRed != 0 || q.rgbGreen != 0 || q.rgbBlue != 0;
            if (isLit) ++lit;
            if (inPoint) {
                ++expectedLit;
                if (q.rgbRed != 200 || q.rgbGreen != 200 || q.rgbBlue != 200) ++misplaced;
            } else if (isLit) {
                ++misplaced;
            }
        }
    }
    Check(expectedLit == 27 && misplaced == 0 && lit == 27,
          size + ": points land where plotted (lit " + Str(lit) + ", misplaced " + Str(misplaced) + ")");

    // A whole frame runs on it without touching memory outside the section.
    for (int i = 0; i < 20; ++i) PaintSaverFrame(PrimaryScreen());
    Check(PrimaryScreen().Paint.FrameCount == 20, size + ": 20 frames painted");
    FreeFrameSurface(PrimaryScreen(), window);
    DestroyWindow(window);
}

void CheckEmptyResize() {
    FreshHost(true, false);
    HWND window = MakeWindow(151, 111);
    CreateFrameSurface(PrimaryScreen(), window);
    HostState& host = Host();
    const HDC oldMemory = PrimaryScreen().Surface.MemoryDC;
    const HBITMAP oldBitmap = PrimaryScreen().Surface.Bitmap;
    const HFONT oldFont = PrimaryScreen().Surface.ClockFont;
    PaintSaverFrame(PrimaryScreen());
    Check(PrimaryScreen().Paint.FrameCount == 1, "a frame is painted once the surface exists");

    Resize(window, 0, 0);
    CreateFrameSurface(PrimaryScreen(), window);
    Check(!SurfaceLive(PrimaryScreen()), "0x0 after a surface: no surface left");
    Check(!host.PaintEnabled && !host.SurfaceReady, "0x0 after a surface: painting off");
    Check(GetObjectType(oldMemory) == 0 && GetObjectType(oldBitmap) == 0 && GetObjectType(oldFont) == 0,
          "0x0 after a surface: the old DC, bitmap and font are freed");
    // Focus coming back or a password prompt ending switches painting on;
    // the paint must still leave the freed objects alone.
    host.PaintEnabled = true;
    PaintSaverFrame(PrimaryScreen());
    PaintSaverFrame(PrimaryScreen());
    Check(PrimaryScreen().Paint.FrameCount == 1, "no frame is painted without a surface");

    Resize(window, 151, 111);
    CreateFrameSurface(PrimaryScreen(), window);
    Check(SurfaceLive(PrimaryScreen()) && host.PaintEnabled && host.SurfaceReady,
          "a later size brings the surface back");
    PaintSaverFrame(PrimaryScreen());
    Check(PrimaryScreen().Paint.FrameCount == 2, "painting resumes on the new surface");
    FreeFrameSurface(PrimaryScreen(), window);
    DestroyWindow(window);
}

// Counting wrappers around the surface's GDI calls.
struct Ledger {
    std::set<HGDIOBJ> live;
    std::set<HDC> memoryDCs;
    std::vector<HGDIOBJ> everMade;  // DIB sections, bitmaps, fonts, memory DCs
    int made = 0;
    int freed = 0;
    int windowDCs = 0;
    int deletedWhileSelected = 0;
    bool refuseSection = false;
} ledger;

void Made(HGDIOBJ h) {
    if (h == nullptr) return;
    ++ledger.made;
    ledger.live.insert(h);
    ledger.everMade.push_back(h);
}

bool SelectedSomewhere(HGDIOBJ h) {
    for (HDC dc : ledger.memoryDCs) {
        if (GetCurrentObject(dc, OBJ_BITMAP) == h || GetCurrentObject(dc, OBJ_FONT) == h) return true;
    }
    return false;
}

HDC WINAPI CountGetDC(HWND w) {
    ++ledger.windowDCs;
    return GetDC(w);
}
int WINAPI CountReleaseDC(HWND w, HDC dc) {
    --ledger.windowDCs;
    return ReleaseDC(w, dc);
}
HDC WINAPI CountCreateCompatibleDC(HDC dc) {
    HDC made = CreateCompatibleDC(dc);
    Made(made);
    ledger.memoryDCs.insert(made);
    return made;
}
BOOL WINAPI CountDeleteDC(HDC dc) {
    BOOL ok = DeleteDC(dc);
    if (ok && ledger.live.erase(dc) != 0) ++ledger.freed;
    ledger.memoryDCs.erase(dc);
    return ok;
}
HBITMAP WINAPI CountCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                     DWORD offset) {
    if (ledger.refuseSection) {
        *bits = nullptr;
        return nullptr;
    }
    HBITMAP made = CreateDIBSection(dc, info, usage, bits, section, offset);
    Made(made);
    return made;
}
HBITMAP WINAPI CountCreateCompatibleBitmap(HDC dc, int w, int h) {
    HBITMAP made = CreateCompatibleBitmap(dc, w, h);
    Made(made);
    return made;
}
HFONT WINAPI CountCreateFontA(int a, int b, int c, int d, int e, DWORD f, DWORD g, DWORD h, DWORD i, DWORD j, DWORD k,
                              DWORD l, DWORD m, LPCSTR n) {
    HFONT made = CreateFontA(a, b, c, d, e, f, g, h, i, j, k, l, m, n);
    Made(made);
    return made;
}
BOOL WINAPI CountDeleteObject(HGDIOBJ h) {
    // GDI only marks a selected object for later deletion: that is a leak
    // as long as the DC lives.
    if (SelectedSomewhere(h)) ++ledger.deletedWhileSelected;
    BOOL ok = DeleteObject(h);
    if (ok && ledger.live.erase(h) != 0) ++ledger.freed;
    return ok;
}

void InstallCounters() {
    SurfaceGdi& gdi = SurfaceGdiCalls();
    gdi.getDC = CountGetDC;
    gdi.releaseDC = CountReleaseDC;
    gdi.createCompatibleDC = CountCreateCompatibleDC;
    gdi.deleteDC = CountDeleteDC;
    gdi.createDIBSection = CountCreateDIBSection;
    gdi.createCompatibleBitmap = CountCreateCompatibleBitmap;
    gdi.createFontA = CountCreateFontA;
    gdi.deleteObject = CountDeleteObject;
}

void CheckNoLeaks() {
    InstallCounters();
    FreshHost(true, false);
    HWND window = MakeWindow(160, 120);
    const int rounds = 1000;
    for (int i = 0; i < rounds; ++i) {
        // Both kinds of bitmap, several sizes, and now and then a 0 x 0.
        Host().Settings.Trace = (i % 3) != 0;
        // Each surface without Trace speeds the engine up by 1.33; start
        // every round from the initial tempo so the frames stay ordinary.
        Engine& e = PrimaryScreen().Animation;
        const Engine initial;
        e.HoldTime = initial.HoldTime;
        e.SpinSpeed = initial.SpinSpeed;
        e.CentreVelocity = initial.CentreVelocity;
        if (i % 97 == 50) {
            Resize(window, 0, 0);
        } else {
            Resize(window, 120 + (i % 7) * 13, 90 + (i % 5) * 11);
        }
        CreateFrameSurface(PrimaryScreen(), window);
        if (SurfaceLive(PrimaryScreen()) && i % 10 == 0) PaintSaverFrame(PrimaryScreen());
    }
    const size_t liveWithSurface = ledger.live.size();
    FreeFrameSurface(PrimaryScreen(), window);
    Check(ledger.made >= 3 * (rounds - 20),
          "re-made the surface " + Str(rounds) + " times (" + Str(ledger.made) + " objects made)");
    Check(liveWithSurface == 3, "while a surface exists it holds 3 objects (holds " + Str(liveWithSurface) + ")");
    Check(ledger.live.empty() && ledger.freed == ledger.made,
          "every object made is freed (made " + Str(ledger.made) + ", freed " + Str(ledger.freed) + ")");
    Check(ledger.deletedWhileSelected == 0,
          "nothing is deleted while selected (" + Str(ledger.deletedWhileSelected) + " were)");
    Check(ledger.windowDCs == 0, "every window DC is released (" + Str(ledger.windowDCs) + " still held)");
    int stillValid = 0;
    for (HGDIOBJ h : ledger.everMade) {
        if (GetObjectType(h) != 0) ++stillValid;
    }
    Check(stillValid == 0, "GDI knows none of the old handles (" + Str(stillValid) + " still valid)");
    DestroyWindow(window);
    SurfaceGdiCalls() = SurfaceGdi{};
}

void CheckRefusedSection() {
    InstallCounters();
    ledger = Ledger{};
    ledger.refuseSection = true;
    FreshHost(true, false);
    HWND window = MakeWindow(200, 150);
    CreateFrameSurface(PrimaryScreen(), window);
    HostState& host = Host();
    Check(SurfaceLive(PrimaryScreen()) && PrimaryScreen().Surface.Bitmap != nullptr &&
              PrimaryScreen().Surface.Bits == nullptr,
          "refused 8-bit section: a device bitmap instead");
    Check(!host.Settings.Trace && !host.ThreadTrace, "refused 8-bit section: this run goes on without Trace");
    Check(PrimaryScreen().Animation.HoldTime == Single(6000.0L / 1.33L) &&
              PrimaryScreen().Animation.HoldTimer == PrimaryScreen().Animation.HoldTime,
          "refused 8-bit section: faster tempo (hold " + std::to_string(PrimaryScreen().Animation.HoldTime) + ")");
    for (int i = 0; i < 5; ++i) PaintSaverFrame(PrimaryScreen());
    Check(PrimaryScreen().Paint.FrameCount == 5, "refused 8-bit section: frames are painted");
    FreeFrameSurface(PrimaryScreen(), window);
    Check(ledger.live.empty(), "refused 8-bit section: everything freed");
    DestroyWindow(window);
    SurfaceGdiCalls() = SurfaceGdi{};
}

void CheckSetUp() {
    FreshHost(true, true);
    HWND window = MakeWindow(152, 112);
    CreateFrameSurface(PrimaryScreen(), window);
    const FrameSurface& s = PrimaryScreen().Surface;
    const Engine& e = PrimaryScreen().Animation;
    Check(e.ProjectionCentre[0] == 76 && e.ProjectionCentre[1] == 56 && e.ProjectionScale[0] == 19.0f &&
              e.ProjectionScale[1] == 18.0f,
          "152x112: centre (76, 56), scale (19, 18)");
    RGBQUAD table[256] = {};
    const UINT entries = GetDIBColorTable(s.MemoryDC, 0, 256, table);
    Check(entries == 256 && table[77].rgbRed == 77 && table[77].rgbGreen == 77 && table[77].rgbBlue == 77 &&
              table[255].rgbRed == 255,
          "Trace with HuesOfGray: the section's table is the grey ramp");
    Check(GetTextAlign(s.MemoryDC) == TA_RIGHT && GetBkMode(s.MemoryDC) == TRANSPARENT &&
              GetTextColor(s.MemoryDC) == 0xFFFFFF && GetBkColor(s.MemoryDC) == 0,
          "memory DC: right-aligned white text on a transparent background");
    Check(GetBkColor(s.WindowDC) == 0 && GetTextColor(s.WindowDC) == 0xFFFFFF, "window DC: white on black");
    LOGFONTA font{};
    GetObjectA(GetCurrentObject(s.MemoryDC, OBJ_FONT), sizeof font, &font);
    Check(GetCurrentObject(s.MemoryDC, OBJ_FONT) == s.ClockFont && font.lfHeight == 75 && font.lfItalic &&
              font.lfWeight == 1,
          "the clock font (75 high, italic, weight 1) is selected");
    std::vector<RGBQUAD> pixels = ReadBack(s);
    int lit = 0;
    for (const RGBQUAD& q : pixels) lit += (q.rgbRed | q.rgbGreen | q.rgbBlue) != 0;
    Check(lit == 0, "a new surface is black");
    FreeFrameSurface(PrimaryScreen(), window);
    DestroyWindow(window);
}

}  // namespace

int main() {
    CheckAddressing(151, 111);
    CheckAddressing(152, 112);
    CheckAddressing(153, 97);
    CheckAddressing(798, 601);
    CheckEmptyResize();
    CheckSetUp();
    CheckRefusedSection();
    ledger = Ledger{};
    CheckNoLeaks();
    std::printf("%d failed\n", failures);
    return failures;
}
