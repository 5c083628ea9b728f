// The off-screen surface: an 8-bit top-down DIB section with Trace, a
// display-format bitmap without, each in a memory DC with the clock font.
#include "app_Surface.h"

#include "app_State.h"

namespace quorvex::win32 {

namespace {

struct PaletteBitmapInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

// Rows of an 8-bit DIB are padded to whole 32-bit words.
int32_t DibStride(int32_t width) { return (width + 3) & ~3; }

}  // namespace

SurfaceGdi& SurfaceGdiCalls() {
    static SurfaceGdi calls;
    return calls;
}

// Pixels() is only meaningful with Trace on, when Bitmap is the DIB section.
IndexedPixels FrameSurfaceTarget::Pixels() {
    return IndexedPixels{surface_.Bits, surface_.Width, surface_.Height, surface_.Stride};
}

void FrameSurfaceTarget::SetColourTable(const ColourEntry (&table)[256]) {
    static_assert(sizeof(ColourEntry) == sizeof(RGBQUAD), "colour entries are laid out like RGBQUAD");
    SetDIBColorTable(surface_.MemoryDC, 0, 256, reinterpret_cast<const RGBQUAD*>(table));
}

void FrameSurfaceTarget::FillRect(const Rect& r, PackedColour colour) {
    HDC dc = surface_.MemoryDC;
    // PackedColour has COLORREF's byte order.
    SetBkColor(dc, colour);
    RECT area{r.left, r.top, r.right, r.bottom};
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
}

bool SurfaceLive(const SaverScreen& screen) { return screen.Surface.MemoryDC != nullptr; }

void FreeFrameSurface(SaverScreen& screen, HWND window) {
    const SurfaceGdi& gdi = SurfaceGdiCalls();
    FrameSurface& s = screen.Surface;
    if (s.WindowDC != nullptr) gdi.releaseDC(window, s.WindowDC);
    if (s.MemoryDC != nullptr) {
        // Put back what the DC came with, so the bitmap and the font are no
        // longer selected anywhere and their deletion really frees them.
        if (s.InitialBitmap != nullptr) gdi.selectObject(s.MemoryDC, s.InitialBitmap);
        if (s.InitialFont != nullptr) gdi.selectObject(s.MemoryDC, s.InitialFont);
        gdi.deleteDC(s.MemoryDC);
    }
    if (s.Bitmap != nullptr) gdi.deleteObject(s.Bitmap);
    if (s.ClockFont != nullptr) gdi.deleteObject(s.ClockFont);
    const RECT keptRect = s.ClientRect;
    s = FrameSurface{};
    s.ClientRect = keptRect;
}

void CreateFrameSurface(SaverScreen& screen, HWND window) {
    HostState& host = Host();
    const SurfaceGdi& gdi = SurfaceGdiCalls();
    FrameSurface& s = screen.Surface;
    const bool hadSurface = SurfaceLive(screen);
    FreeFrameSurface(screen, window);

    GetClientRect(window, &s.ClientRect);
    s.Width = s.ClientRect.right - s.ClientRect.left;
    s.Height = s.ClientRect.bottom - s.ClientRect.top;
    if (s.Width == 0 && s.Height == 0) {
        // The objects a paint would use are gone: no painting until a new
        // surface exists (WM_SETFOCUS may not switch it back on either).
        if (hadSurface) screen.PaintEnabled = screen.SurfaceReady = false;
        return;
    }

    s.WindowDC = gdi.getDC(window);
    s.MemoryDC = gdi.createCompatibleDC(s.WindowDC);

    SaverSettings& settings = host.Settings;
    bool sectionRefused = false;
    if (settings.Trace) {
        PaletteBitmapInfo info{};
        info.header.biSize = sizeof(BITMAPINFOHEADER);
        info.header.biWidth = s.Width;
        info.header.biHeight = -s.Height;  // top-down rows
        info.header.biPlanes = 1;
        info.header.biBitCount = 8;
        info.header.biCompression = BI_RGB;
        void* bits = nullptr;
        s.Bitmap = gdi.createDIBSection(s.WindowDC, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits,
                                        nullptr, 0);
        if (s.Bitmap == nullptr || bits == nullptr) {
            if (s.Bitmap != nullptr) gdi.deleteObject(s.Bitmap);
            // No 8-bit section: run this process without trails; the stored
            // setting stays as it is.
            s.Bitmap = gdi.createCompatibleBitmap(s.WindowDC, s.Width, s.Height);
            settings.Trace = false;
            sectionRefused = true;
        } else {
            s.Bits = static_cast<uint8_t*>(bits);
            s.Stride = DibStride(s.Width);
        }
    } else {
        s.Bitmap = gdi.createCompatibleBitmap(s.WindowDC, s.Width, s.Height);
    }
    host.ThreadTrace.store(settings.Trace, std::memory_order_relaxed);
    s.InitialBitmap = gdi.selectObject(s.MemoryDC, s.Bitmap);

    SetTextColor(s.MemoryDC, 0xFFFFFF);
    s.ClockFont = gdi.createFontA(75, 0, 0, 0, 1, TRUE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0, nullptr);
    s.InitialFont = gdi.selectObject(s.MemoryDC, s.ClockFont);
    SetBkMode(s.MemoryDC, TRANSPARENT);
    SetTextAlign(s.MemoryDC, TA_RIGHT);
    SetBkColor(s.MemoryDC, 0);
    ExtTextOutA(s.MemoryDC, 0, 0, ETO_OPAQUE, &s.ClientRect, nullptr, 0, nullptr);
    SetBkColor(s.WindowDC, 0);
    SetTextColor(s.WindowDC, 0xFFFFFF);

    // Projection, grey table (Trace with HuesOfGray), tempo, first hold.
    Engine& e = screen.Animation;
    e.Target = &screen.Target;
    SetUpSurface(e, s.Width, s.Height);

    screen.SurfaceReady = screen.PaintEnabled = true;

    // Trace is one switch for every screen: the screens made before this one
    // hold 8-bit sections whose colour table no one fills without it, black
    // for the whole run. They are made again as device bitmaps.
    if (sectionRefused) {
        for (int i = 0; i < host.ScreenCount.load(std::memory_order_relaxed); ++i) {
            SaverScreen& other = host.Screens[i];
            if (&other != &screen && SurfaceLive(other)) {
                CreateFrameSurface(other, other.Window.load(std::memory_order_relaxed));
            }
        }
    }
}

}  // namespace quorvex::win32
