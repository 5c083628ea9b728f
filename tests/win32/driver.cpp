// The one Windows-side test program of tests/e2e/wine.sh: runs its commands in order, printing "key value" lines
// (UTF-8); exit 1 when one failed. Windows: children TITLE S, count TITLE, order TITLE, post TITLE MSG WPARAM, steal,
// front, mode W H (the display's), display TITLE on|off, repaint. The dialog: state, click ID, select N, slide N.
// Checked here: owned SCR (an owner for /c), preview SCR W H (a box for /p; W 0 closes it), surface (on real GDI).
// record FILE ARG; resources SCR.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "XMath.h"
#include "app_State.h"
#include "app_Surface.h"
#include "frame_Present.h"
#include "frame_Thread.h"

using namespace quorvex;
using namespace quorvex::win32;

namespace {

bool failed = false;

template <typename... Args>
std::string F(const char* format, Args... args) {
    char buffer[600];
    return std::snprintf(buffer, sizeof buffer, format, args...), buffer;
}
std::string Utf8(const wchar_t* text, int length = -1) {
    char out[4096] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, length, out, sizeof out - 1, nullptr, nullptr);
    return out;
}
// One line; line feeds inside texts show as "\n".
void Line(std::string text) {
    for (size_t at = 0; (at = text.find('\n', at)) != std::string::npos;) text.replace(at, 1, "\\n");
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
}
void Check(bool ok, const std::string& what) { Line((ok ? "ok   - " : "FAIL - ") + what), failed |= !ok; }
std::string Text(HWND w) {
    wchar_t text[1024] = {};
    SendMessageTimeoutW(w, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, nullptr);
    return Utf8(text);
}
std::string ClassOf(HWND w) {
    wchar_t name[128] = {};
    GetClassNameW(w, name, 128);
    return Utf8(name);
}
bool Ended(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }
// Runs this thread's messages (an owner or parent must answer the saver) until `done` or `ms` pass.
template <typename Done>
bool PumpUntil(DWORD ms, Done done) {
    for (const DWORD start = GetTickCount();;) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        if (done()) return true;
        if (GetTickCount() - start >= ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}
HWND MakeWindow(const char* title, DWORD style, int x, int y, int w, int h, HWND parent = nullptr) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = "QuorvexTestDriver";
    RegisterClassA(&wc);  // fails harmlessly the second time
    return CreateWindowExA(0, wc.lpszClassName, title, style, x, y, w, h, parent, nullptr, wc.hInstance, nullptr);
}
// SCR and a window handle after `option`.
PROCESS_INFORMATION Start(const char* scr, const char* option, HWND window) {
    std::string command = F("\"%s\" %s%lu", scr, option, (unsigned long)(uintptr_t)window);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        Check(false, "start " + command);
    return pi;
}
std::string ExitText(HANDLE process, DWORD ms) {
    if (!PumpUntil(ms, [&] { return Ended(process); })) return TerminateProcess(process, 1), "timeout";
    DWORD code = 0;
    return GetExitCodeProcess(process, &code), std::to_string(code);
}

// ------------------------------------------------------------ windows
std::vector<HWND> Find(const char* title) {  // the visible top-level windows of this title
    std::vector<HWND> found;
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, nullptr, title)) != nullptr;)
        if (IsWindowVisible(w)) found.push_back(w);
    return found;
}
// The window's class and style, then every control in creation (tab) order with its class, styles, place in the
// client area and text: a dialog template as the user meets it.
void PrintChildren(HWND d) {
    Line(F("window %s style 0x%08lX", ClassOf(d).c_str(), GetWindowLongW(d, GWL_STYLE)));
    int index = 0;
    for (HWND c = GetWindow(d, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, d, reinterpret_cast<POINT*>(&r), 2);
        Line(F("child %d id %u class %s style 0x%08lX exstyle 0x%08lX rect %ld %ld %ld %ld text ", index++,
               static_cast<unsigned>(static_cast<uint16_t>(GetWindowLongW(c, GWL_ID))), ClassOf(c).c_str(),
               GetWindowLongW(c, GWL_STYLE), GetWindowLongW(c, GWL_EXSTYLE), r.left, r.top, r.right - r.left,
               r.bottom - r.top) +
             Text(c));
    }
}

// ------------------------------------------------------------ the dialog
HWND Dialog() { return FindWindowW(L"#32770", L"Quorvex Screen Saver v4.4"); }
long Send(HWND d, int id, UINT message, WPARAM w = 0, LPARAM l = 0) {
    return static_cast<long>(SendMessageW(GetDlgItem(d, id), message, w, l));
}
// One line each: the eight check boxes (settings order), what is enabled
// (those, then the combo, trackbar and its label), the combo, the trackbar.
void PrintState(HWND d) {
    std::string checks = "checks", enabled = "enabled";
    for (int id : {256, 257, 258, 259, 262, 263, 264, 268, 265, 266, 267}) {
        if (id < 265 || id > 267) checks += F(" %ld", Send(d, id, BM_GETCHECK));
        enabled += IsWindowEnabled(GetDlgItem(d, id)) ? " 1" : " 0";
    }
    std::string items = F("combo %ld ", Send(d, 265, CB_GETCURSEL)) + Text(GetDlgItem(d, 265)) + " /";
    for (int i = 0; i < Send(d, 265, CB_GETCOUNT); ++i) {
        wchar_t text[256] = {};
        if (Send(d, 265, CB_GETLBTEXTLEN, i) < 255) Send(d, 265, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        items += " " + Utf8(text);
    }
    Line(checks), Line(enabled), Line(items);
    Line(F("trackbar %ld %ld %ld", Send(d, 266, TBM_GETPOS), Send(d, 266, TBM_GETRANGEMIN),
           Send(d, 266, TBM_GETRANGEMAX)));
    Line(std::string("owner ") + (GetWindow(d, GW_OWNER) != nullptr ? "yes" : "none"));
}
// /c:<owner>: the dialog is owned by it and disables it until it ends.
void RunOwned(const char* scr) {
    HWND owner = MakeWindow("Quorvex test owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100);
    PROCESS_INFORMATION pi = Start(scr, "/c:", owner);
    if (pi.hProcess == nullptr) return;
    const bool shown = PumpUntil(20000, [&] { return (Dialog() && IsWindowVisible(Dialog())) || Ended(pi.hProcess); });
    Check(shown && Dialog() != nullptr && GetWindow(Dialog(), GW_OWNER) == owner && !IsWindowEnabled(owner),
          "the dialog is owned by our window, which it disables");
    PostMessageW(Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Check(ExitText(pi.hProcess, 10000) == "0" && IsWindowEnabled(owner), "closed: exit 0, our window enabled again");
}

// ------------------------------------------------------------ preview
// Plays the display-properties window: a top-level window with a child box, the window "/p" is given, which it
// closes by destroying the box. W 0: the preview is asked to close instead.
void RunPreview(const char* scr, int w, int h) {
    const bool askClose = w == 0;
    if (askClose) w = 152, h = 112;
    HWND top = MakeWindow("Quorvex preview host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, w + 120, h + 120);
    HWND box = MakeWindow("", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 30, 30, w, h, top), saver = nullptr;
    PROCESS_INFORMATION pi = Start(scr, "/p ", box);
    const auto ended = [&] { return !pi.hProcess || Ended(pi.hProcess); };
    // Found while still being made; WS_VISIBLE comes at the end of that.
    PumpUntil(20000, [&] {
        saver = FindWindowExA(box, nullptr, SaverName, SaverName);
        return (saver && (GetWindowLongA(saver, GWL_STYLE) & WS_VISIBLE)) || ended();
    });
    Check(saver != nullptr, "a saver window in the box");
    if (saver && askClose) PostMessageA(saver, WM_CLOSE, 0, 0);
    if (saver && !askClose) {
        RECT r;
        GetWindowRect(saver, &r);
        MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
        DWORD owner = 0;
        GetWindowThreadProcessId(saver, &owner);
        const LONG style = GetWindowLongA(saver, GWL_STYLE), exstyle = GetWindowLongA(saver, GWL_EXSTYLE);
        Check(r.left == 0 && r.top == 0 && r.right == w && r.bottom == h && style == 0x58000000 && exstyle == 0 &&
                  GetParent(saver) == box && owner == pi.dwProcessId,
              F("the saver's visible, disabled child of the box: %ldx%ld at (%ld, %ld), style 0x%08lX ex 0x%08lX",
                r.right - r.left, r.bottom - r.top, r.left, r.top, style, exstyle));
        // A crash in the paint path ends it here.
        Check(!PumpUntil(2500, ended), "alive after 2.5 s");
        // Keys, clicks and moves go to a preview unnoticed; the sent message returns once the posted ones were handled.
        const UINT input[][2] = {{WM_KEYDOWN, VK_SPACE},       {WM_KEYDOWN, VK_ESCAPE}, {WM_LBUTTONDOWN, MK_LBUTTON},
                                 {WM_RBUTTONDOWN, MK_RBUTTON}, {WM_MOUSEMOVE, 0},       {WM_MOUSEMOVE, 0}};
        for (int i = 0; i < 6; ++i) PostMessageA(saver, input[i][0], input[i][1], MAKELPARAM(10 + 40 * i, 10 + 30 * i));
        SendMessageTimeoutA(saver, WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
        Check(!PumpUntil(1000, ended) && IsWindow(saver), "keys, clicks, moves: still there");
    }
    if (!askClose) DestroyWindow(box);
    if (pi.hProcess) Check(ExitText(pi.hProcess, 10000) == "0", askClose ? "closed: exit 0" : "box destroyed: exit 0");
    DestroyWindow(top);
}

// ------------------------------------------------------------ resources
std::string TableString(HMODULE m, WORD language, UINT id) {
    HRSRC block = FindResourceExA(m, RT_STRING, MAKEINTRESOURCEA(id / 16 + 1), language);
    auto* p = block ? static_cast<const WORD*>(LockResource(LoadResource(m, block))) : nullptr;
    if (p == nullptr) return "<missing>";
    const WORD* end = p + SizeofResource(m, block) / 2;
    for (UINT i = 0; i < id % 16 && p < end; ++i) p += 1 + *p;
    return p < end && *p ? Utf8(reinterpret_cast<const wchar_t*>(p + 1), *p) : "<missing>";
}
void Resources(const char* file) {
    HMODULE m = LoadLibraryExA(file, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (m == nullptr) return void(Check(false, "cannot load " + std::string(file)));
    for (UINT id : {1, 2, 3, 4, 5, 6, 7, 8, 100})  // English | Russian
        Line(F("string %u ", id) + TableString(m, 0x409, id) + " | " + TableString(m, 0x419, id));
    HRSRC d = FindResourceA(m, "DESCRIPTION", RT_RCDATA);
    const DWORD bytes = d ? SizeofResource(m, d) : 0;
    Line(F("description %lu ", bytes) + (d ? Utf8((const wchar_t*)LockResource(LoadResource(m, d)), bytes / 2) : ""));
    Line(std::string("icon MAINICON ") + (FindResourceA(m, "MAINICON", RT_GROUP_ICON) ? "yes" : "no"));
    HRSRC x = FindResourceA(m, MAKEINTRESOURCEA(1), RT_MANIFEST);
    const std::string xml = x ? std::string((const char*)LockResource(LoadResource(m, x)), SizeofResource(m, x)) : "";
    for (size_t at = 0; (at = xml.find("<dpiAware", at + 1)) != std::string::npos;)
        Line("manifest " + xml.substr(at, xml.find('<', at + 1) - at));
    FreeLibrary(m);
    std::vector<char> v(GetFileVersionInfoSizeA(file, nullptr) + 1);
    VS_FIXEDFILEINFO* fixed = nullptr;
    WORD* tr = nullptr;
    UINT n = 0;
    if (!GetFileVersionInfoA(file, 0, static_cast<DWORD>(v.size()), v.data()) ||
        !VerQueryValueA(v.data(), "\\", (void**)&fixed, &n) ||
        !VerQueryValueA(v.data(), "\\VarFileInfo\\Translation", (void**)&tr, &n)) {
        return void(Check(false, "a version record"));
    }
    std::string numbers = "version_fixed";  // file, then product version
    const DWORD* part = &fixed->dwFileVersionMS;
    for (int i = 0; i < 4; ++i) numbers += F(i % 2 ? ".%lu.%lu" : " %lu.%lu", part[i] >> 16, part[i] & 0xFFFF);
    Line(numbers);
    for (const char* name : {"FileDescription", "FileVersion", "InternalName", "OriginalFilename"}) {
        char* value = nullptr;
        VerQueryValueA(v.data(), F("\\StringFileInfo\\%04x%04x\\%s", tr[0], tr[1], name).c_str(), (void**)&value, &n);
        Line(F("version %s %s", name, value ? value : "<missing>"));
    }
}

// ------------------------------------------------------------ the drawing surface
// Counting wrappers around the surface's GDI calls.
struct Ledger {
    std::set<HGDIOBJ> live;
    int made = 0, windowDCs = 0, deletedSelected = 0;
    bool refuseSection = false;
} ledger;
HGDIOBJ Made(HGDIOBJ h) {
    if (h != nullptr) ledger.made++, ledger.live.insert(h);
    return h;
}
void InstallCounters() {
    ledger = Ledger{};
    SurfaceGdi& g = SurfaceGdiCalls();
    g.getDC = [](HWND w) WINAPI { return ++ledger.windowDCs, GetDC(w); };
    g.releaseDC = [](HWND w, HDC dc) WINAPI { return --ledger.windowDCs, ReleaseDC(w, dc); };
    g.createCompatibleDC = [](HDC dc) WINAPI { return (HDC)Made(CreateCompatibleDC(dc)); };
    g.deleteDC = [](HDC dc) WINAPI { return ledger.live.erase(dc), DeleteDC(dc); };
    g.createDIBSection = [](HDC dc, const BITMAPINFO* i, UINT u, void** bits, HANDLE s, DWORD o) WINAPI {
        if (ledger.refuseSection) return *bits = nullptr, (HBITMAP) nullptr;
        return (HBITMAP)Made(CreateDIBSection(dc, i, u, bits, s, o));
    };
    g.createCompatibleBitmap = [](HDC dc, int w, int h)
                                   WINAPI { return (HBITMAP)Made(CreateCompatibleBitmap(dc, w, h)); };
    g.createFontA = [](int a, int b, int c, int d, int e, DWORD f, DWORD g, DWORD h, DWORD i, DWORD j, DWORD k, DWORD l,
                       DWORD m, LPCSTR n)
                        WINAPI { return (HFONT)Made(CreateFontA(a, b, c, d, e, f, g, h, i, j, k, l, m, n)); };
    g.deleteObject = [](HGDIOBJ h) WINAPI {
        // A selected object is only marked for deletion: a leak while the DC lives.
        for (HGDIOBJ dc : ledger.live) {
            ledger.deletedSelected += GetObjectType(dc) == OBJ_MEMDC && (GetCurrentObject((HDC)dc, OBJ_BITMAP) == h ||
                                                                         GetCurrentObject((HDC)dc, OBJ_FONT) == h);
        }
        return ledger.live.erase(h), DeleteObject(h);
    };
}
void FreshHost(bool trace, bool grey) {  // the first two screens
    Host().Settings = SaverSettings{}, Host().Settings.Trace = trace, Host().Settings.HuesOfGray = grey;
    SaverScreen* const two[] = {&Host().Screens[0], &Host().Screens[1]};
    for (SaverScreen* s : two) s->Animation = Engine{}, s->PaintEnabled = s->SurfaceReady = false;
    BindEngine();
    for (SaverScreen* s : two) PrepareClouds(s->Animation), StartPaintState(s->Paint, GetTickCount(), GetTickCount());
}
void Resize(HWND w, int cx, int cy) {
    SetWindowPos(w, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
// A new surface with Trace and HuesOfGray, left live: three points plotted through the engine must come back
// through GDI's own read-back as exactly their 27 pixels, whatever the row padding.
void CheckSurface(HWND window, int w, int h) {
    const std::string size = F("%dx%d: ", w, h);
    SaverScreen& scr = PrimaryScreen();
    const FrameSurface& s = scr.Surface;
    FreshHost(true, true);
    Resize(window, w, h);
    CreateFrameSurface(scr, window);
    Check(s.Width == w && s.Height == h && s.Bits && s.Stride % 4 == 0 && s.Stride >= w && s.Stride < w + 4,
          size + F("an 8-bit section %dx%d, stride %d", s.Width, s.Height, s.Stride));
    RGBQUAD table[256] = {};
    LOGFONTA font{};
    GetObjectA(GetCurrentObject(s.MemoryDC, OBJ_FONT), sizeof font, &font);
    Check(GetDIBColorTable(s.MemoryDC, 0, 256, table) == 256 && table[77].rgbRed == 77 && table[77].rgbBlue == 77 &&
              table[255].rgbGreen == 255 && GetTextAlign(s.MemoryDC) == TA_RIGHT &&
              GetBkMode(s.MemoryDC) == TRANSPARENT && GetTextColor(s.MemoryDC) == 0xFFFFFF &&
              GetBkColor(s.WindowDC) == 0 && GetTextColor(s.WindowDC) == 0xFFFFFF && font.lfHeight == 75 &&
              font.lfItalic && font.lfWeight == 1,
          size + "the grey ramp; a white right-aligned clock, 75 high, italic, weight 1; white FPS text on black");
    const ScreenPoint points[] = {{2, 2}, {w - 3, h - 4}, {w / 2, h / 2}};
    for (const ScreenPoint& p : points) PlotPoint(scr.Animation, p, 200, 0, 0);
    GdiFlush();
    std::vector<RGBQUAD> px(static_cast<size_t>(w * h));
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    GetDIBits(s.MemoryDC, s.Bitmap, 0, h, px.data(), &info, DIB_RGB_COLORS);
    int wrong = 0;
    for (int i = 0; i < w * h; ++i) {
        bool in = false;
        for (const ScreenPoint& p : points) in = in || (std::abs(i % w - p.x) <= 1 && std::abs(i / w - p.y) <= 1);
        wrong += (in ? 200 : 0) != px[i].rgbRed || px[i].rgbRed != px[i].rgbGreen || px[i].rgbRed != px[i].rgbBlue;
    }
    Check(wrong == 0, size + F("points land where plotted (%d pixels wrong)", wrong));
    for (int i = 0; i < 20; ++i) PaintSaverFrame(scr);
    Check(scr.Paint.FrameCount == 20, size + "20 frames painted");
}
void Surface() {
    SaverScreen& scr = PrimaryScreen();
    HostState& host = Host();
    HWND window = MakeWindow("surface", WS_POPUP | WS_VISIBLE, 0, 0, 1, 1);
    InstallCounters();
    for (auto [w, h] : {std::pair{151, 111}, {152, 112}, {798, 601}}) CheckSurface(window, w, h);
    // Two screens, the second's 8-bit section refused: both a device bitmap, no Trace, faster. Its 0 x 0 frees its
    // objects and stops its painting only, even if switched on again; its window gone, the thread redraws no other.
    SaverScreen& two = host.Screens[1];
    HWND second = MakeWindow("surface 2", WS_POPUP | WS_VISIBLE, 0, 0, 90, 70);
    scr.Window = window, two.Window = second, host.ScreenCount = 2;
    FreshHost(true, false);
    CreateFrameSurface(scr, window);
    ledger.refuseSection = true;
    CreateFrameSurface(two, second);
    for (SaverScreen* x : {&scr, &two}) {
        Check(SurfaceLive(*x) && x->Surface.Bitmap && !x->Surface.Bits && !host.Settings.Trace && !host.ThreadTrace &&
                  x->Animation.HoldTime == Single(6000.0L / 1.33L),
              "refused section: device bitmaps, no Trace, faster");
    }
    Resize(second, 0, 0);
    CreateFrameSurface(two, second);
    Check(
        !SurfaceLive(two) && !two.PaintEnabled && !two.SurfaceReady && ledger.live.size() == 3 && ledger.windowDCs == 1,
        "0x0: no surface there, its painting off, its objects freed");
    two.PaintEnabled = true;
    for (int i = 0; i < 5; ++i) PaintSaverFrame(scr), PaintSaverFrame(two);
    Resize(second, 90, 70);
    CreateFrameSurface(two, second);
    PaintSaverFrame(two);
    Check(scr.Paint.FrameCount == 5 && two.Paint.FrameCount == 1,
          "the other screen paints on; a later size, this one too");
    FreeFrameSurface(scr, window), FreeFrameSurface(two, second);
    two.Window = nullptr, host.StopThread = true, ValidateRect(window, nullptr), ValidateRect(second, nullptr);
    AnimationThreadProc(nullptr);
    Check(ledger.live.empty() && GetUpdateRect(window, nullptr, FALSE) && !GetUpdateRect(second, nullptr, FALSE),
          "all freed; only a live screen's window redrawn");
    // A thousand re-creations, now and then 0 x 0, free every object made.
    ledger = Ledger{};
    FreshHost(true, false);
    size_t held = 0;
    for (int i = 0; i < 1000; ++i) {
        host.Settings.Trace = i % 3 != 0;
        Resize(window, i % 97 == 50 ? 0 : 120 + i % 7 * 13, i % 97 == 50 ? 0 : 90 + i % 5 * 11);
        CreateFrameSurface(scr, window);
        if (SurfaceLive(scr) && i % 10 == 0) PaintSaverFrame(scr);
        if (SurfaceLive(scr)) held = ledger.live.size();
    }
    FreeFrameSurface(scr, window);
    Check(ledger.made > 2900 && held == 3 && ledger.live.empty() && !ledger.deletedSelected && !ledger.windowDCs,
          F("1000 surfaces: %d made, 3 held (%u), all freed (%d deleted selected, %d DCs held)", ledger.made,
            static_cast<unsigned>(held), ledger.deletedSelected, ledger.windowDCs));
    SurfaceGdiCalls() = SurfaceGdi{};
    DestroyWindow(window);
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string c = argv[i];
        const char* a = i + 1 < argc ? argv[i + 1] : "";
        const char* b = i + 2 < argc ? argv[i + 2] : "";
        const char* third = i + 3 < argc ? argv[i + 3] : "";
        if (c == "count") {
            i += 1, Line(std::to_string(Find(a).size()));
        } else if (c == "children") {  // TITLE S: waits up to S seconds for it
            if (!PumpUntil(std::atof(b) * 1000, [&] { return !Find(a).empty(); })) return Line("missing"), 1;
            i += 2, PrintChildren(Find(a)[0]);
        } else if (c == "order") {  // TITLE: the left edges of its windows, the top of the z-order first
            std::string lefts = "order";
            RECT r;
            for (HWND w : Find(a)) lefts += F(" %ld", (GetWindowRect(w, &r), r.left));
            i += 1, Line(lefts);
        } else if (c == "mode") {  // W H: the display's resolution, until the session ends
            DEVMODEA m{};
            m.dmSize = sizeof m, m.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
            m.dmPelsWidth = std::atoi(a), m.dmPelsHeight = std::atoi(b);
            i += 2, Check(ChangeDisplaySettingsA(&m, 0) == DISP_CHANGE_SUCCESSFUL, F("the display at %sx%s", a, b));
        } else if (c == "post") {  // TITLE MESSAGE WPARAM
            for (HWND w : Find(a)) PostMessageA(w, std::atoi(b), std::atoi(third), 0);
            i += 3;
        } else if (c == "display") {  // TITLE on|off: the display-state notification, its data in the saver's memory
            const struct { GUID g; DWORD length, state; } data{
                {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}}, 4, b[1] == 'n'};
            for (HWND w : Find(a)) {
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                HANDLE p = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
                void* at = VirtualAllocEx(p, nullptr, sizeof data, MEM_COMMIT, PAGE_READWRITE);
                WriteProcessMemory(p, at, &data, sizeof data, nullptr), CloseHandle(p);
                SendMessageTimeoutA(w, WM_POWERBROADCAST, 0x8013, LPARAM(at), SMTO_NORMAL, 5000, nullptr);
            }
            i += 2;
        } else if (c == "repaint") {  // the saver's windows all invalid, painted at once
            for (HWND w : Find(SaverName)) InvalidateRect(w, nullptr, FALSE), UpdateWindow(w);
        } else if (c == "front") {  // the foreground window and its thread's focus
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            HWND front = GetForegroundWindow();
            GetGUIThreadInfo(GetWindowThreadProcessId(front, nullptr), &info);
            Line("front " + (front ? Text(front) : "(none)") + " focus " +
                 (info.hwndFocus ? Text(info.hwndFocus) : "(none)"));
        } else if (c == "steal") {  // a window of ours takes the focus
            HWND w = MakeWindow("Quorvex focus thief", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 200, 100);
            SetForegroundWindow(w);
            Check(PumpUntil(5000, [&] { return GetForegroundWindow() == w; }), "the focus thief is in front");
        } else if (c == "record") {
            i += 2;
            if (FILE* out = std::fopen(a, "ab")) std::fprintf(out, "%s\n", b), std::fclose(out);
        } else if (c == "owned") {
            i += 1, RunOwned(a);
        } else if (c == "preview") {
            i += 3, RunPreview(a, std::atoi(b), std::atoi(third));
        } else if (c == "resources") {
            i += 1, Resources(a);
        } else if (c == "surface") {
            Surface();
        } else if (HWND d = Dialog(); d == nullptr) {
            return Line("error no dialog for " + c), 1;
        } else if (c == "state") {
            PrintState(d);
        } else if (c == "click") {
            i += 1, Send(d, std::atoi(a), BM_CLICK);
        } else if (c == "select") {
            i += 1, Send(d, 265, CB_SETCURSEL, std::atoi(a));
        } else if (c == "slide") {
            i += 1, Send(d, 266, TBM_SETPOS, TRUE, std::atoi(a));
        } else {
            return Line("error unknown command " + c), 2;
        }
    }
    return failed ? 1 : 0;
}
