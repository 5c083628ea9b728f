// The one Windows-side test program of tests/e2e/wine.sh: runs its commands
// in order, printing "key value" lines (UTF-8); exit code 1 when one failed.
// Windows: texts TITLE MS, count TITLE, post TITLE MSG WPARAM, steal, front.
// The dialog: wait S, gone S, state, children, click ID, select N, slide N.
// Checked here: owned SCR (an owner for /c), preview SCR W H (a box
// for /p; W 0 closes it), surface (on real GDI). record FILE ARG; resources SCR.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
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

bool failed = false;

std::string F(const char* format, ...) {
    char buffer[600];
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}
std::string Utf8(const wchar_t* text, int length = -1) {
    const int n = length == 0 ? 0 : WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), n, nullptr, nullptr);
    if (length < 0 && !out.empty()) out.pop_back();
    return out;
}
// One line; line feeds inside texts show as "\n".
void Line(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\n' ? std::string("\\n") : std::string(1, c);
    std::printf("%s\n", out.c_str());
    std::fflush(stdout);
}
void Check(bool ok, const std::string& what) {
    Line((ok ? "ok   - " : "FAIL - ") + what);
    failed = failed || !ok;
}
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
// Runs this thread's messages (an owner or parent must answer the saver)
// until `done` or `ms` pass.
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
PROCESS_INFORMATION Start(std::string command) {
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
    GetExitCodeProcess(process, &code);
    return std::to_string(code);
}

// ------------------------------------------------------------ top-level windows
struct Search {
    HWND found = nullptr;
    int count = 0;
};
Search Find(const char* title) {  // the visible top-level windows of this title
    Search s;
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, nullptr, title)) != nullptr;)
        if (IsWindowVisible(w)) s.found = s.found ? s.found : w, ++s.count;
    return s;
}
BOOL CALLBACK PrintChild(HWND child, LPARAM) {
    Line("child " + ClassOf(child) + " " + std::to_string(GetDlgCtrlID(child)) + " " + Text(child));
    return TRUE;
}

// ------------------------------------------------------------ the dialog
HWND Dialog() { return FindWindowW(L"#32770", L"Quorvex Screen Saver v4.4"); }
bool WaitDialog(bool present, DWORD ms) {
    return PumpUntil(ms, [&] { return (Dialog() != nullptr && IsWindowVisible(Dialog())) == present; });
}
// One line each: the eight check boxes (settings order), what is enabled
// (those, then the combo, trackbar and its label), the combo, the trackbar.
void PrintState(HWND d) {
    std::string checks = "checks", enabled = "enabled";
    for (int id : {256, 257, 258, 259, 262, 263, 264, 268, 265, 266, 267}) {
        if (id < 265 || id > 267) checks += F(" %d", static_cast<int>(SendMessageW(GetDlgItem(d, id), BM_GETCHECK, 0, 0)));
        enabled += IsWindowEnabled(GetDlgItem(d, id)) ? " 1" : " 0";
    }
    HWND combo = GetDlgItem(d, 265), bar = GetDlgItem(d, 266);
    std::string items = F("combo %d ", static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0))) + Text(combo) + " /";
    for (int i = 0; i < SendMessageW(combo, CB_GETCOUNT, 0, 0); ++i) {
        wchar_t text[256] = {};
        if (SendMessageW(combo, CB_GETLBTEXTLEN, i, 0) < 255) SendMessageW(combo, CB_GETLBTEXT, i, (LPARAM)text);
        items += " " + Utf8(text);
    }
    Line(checks), Line(enabled), Line(items);
    Line(F("trackbar %d %d %d", static_cast<int>(SendMessageW(bar, TBM_GETPOS, 0, 0)),
           static_cast<int>(SendMessageW(bar, TBM_GETRANGEMIN, 0, 0)), static_cast<int>(SendMessageW(bar, TBM_GETRANGEMAX, 0, 0))));
    Line(std::string("owner ") + (GetWindow(d, GW_OWNER) != nullptr ? "yes" : "none"));
}
// Every control in creation (tab) order with its class, styles, place in
// the dialog's client area and text: the template as the user meets it.
void PrintChildren(HWND d) {
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
    Line(F("dialog style 0x%08lX", GetWindowLongW(d, GWL_STYLE)));
}
// /c:<owner>: the dialog is owned by it and disables it until it ends.
void RunOwned(const char* scr) {
    HWND owner = MakeWindow("Quorvex test owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100);
    PROCESS_INFORMATION pi = Start(F("\"%s\" /c:%lu", scr, static_cast<unsigned long>(reinterpret_cast<uintptr_t>(owner))));
    if (pi.hProcess == nullptr) return;
    const bool shown = PumpUntil(20000, [&] { return (Dialog() != nullptr && IsWindowVisible(Dialog())) || Ended(pi.hProcess); });
    Check(shown && Dialog() != nullptr && GetWindow(Dialog(), GW_OWNER) == owner && !IsWindowEnabled(owner),
          "the dialog is owned by our window, which it disables");
    PostMessageW(Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Check(ExitText(pi.hProcess, 10000) == "0" && IsWindowEnabled(owner), "closed: exit 0, our window enabled again");
}

// ------------------------------------------------------------ preview
// Plays the display-properties window: a top-level window with a child box,
// the window "/p" is given.
struct Preview {
    HWND top, box, saver = nullptr;
    PROCESS_INFORMATION pi;
    Preview(const char* scr, int w, int h) {
        top = MakeWindow("Quorvex preview host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, w + 120, h + 120);
        box = MakeWindow("", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 30, 30, w, h, top);
        pi = Start(F("\"%s\" /p %lu", scr, static_cast<unsigned long>(reinterpret_cast<uintptr_t>(box))));
        // Found while still being made; WS_VISIBLE comes at the end of that.
        PumpUntil(20000, [&] {
            saver = FindWindowExA(box, nullptr, SaverName, SaverName);
            return (saver && (GetWindowLongA(saver, GWL_STYLE) & WS_VISIBLE)) || !pi.hProcess || Ended(pi.hProcess);
        });
        Check(saver != nullptr, "a saver window in the box");
    }
    ~Preview() {
        DestroyWindow(box);
        if (pi.hProcess) ExitText(pi.hProcess, 10000);
        DestroyWindow(top);
    }
};
// W 0: the preview is asked to close instead.
void RunPreview(const char* scr, int w, int h) {
    Preview p(scr, w ? w : 152, w ? h : 112);
    if (!p.saver) return;
    if (w == 0) return PostMessageA(p.saver, WM_CLOSE, 0, 0), Check(ExitText(p.pi.hProcess, 10000) == "0", "closed: exit 0");
    RECT client, rect;
    GetClientRect(p.saver, &client);
    GetWindowRect(p.saver, &rect);
    MapWindowPoints(nullptr, p.box, reinterpret_cast<POINT*>(&rect), 2);
    DWORD owner = 0;
    GetWindowThreadProcessId(p.saver, &owner);
    Check(client.right == w && client.bottom == h && rect.left == 0 && rect.top == 0,
          F("a %ldx%ld client at (%ld, %ld) of the box", client.right, client.bottom, rect.left, rect.top));
    const LONG style = GetWindowLongA(p.saver, GWL_STYLE), exstyle = GetWindowLongA(p.saver, GWL_EXSTYLE);
    Check(style == 0x58000000 && exstyle == 0, F("a visible disabled child: style 0x%08lX exstyle 0x%08lX", style, exstyle));
    Check(GetParent(p.saver) == p.box && owner == p.pi.dwProcessId, "a child of the box, of the saver's process");
    // A crash in the paint path ends it here.
    Check(!PumpUntil(2500, [&] { return Ended(p.pi.hProcess); }), "alive after 2.5 s");
    // Keys, clicks and moves go to a preview unnoticed; the sent message
    // returns once the posted ones were handled.
    const UINT input[][2] = {{WM_KEYDOWN, VK_SPACE}, {WM_KEYDOWN, VK_ESCAPE}, {WM_LBUTTONDOWN, MK_LBUTTON},
                             {WM_RBUTTONDOWN, MK_RBUTTON}, {WM_MOUSEMOVE, 0}, {WM_MOUSEMOVE, 0}};
    for (int i = 0; i < 6; ++i) PostMessageA(p.saver, input[i][0], input[i][1], MAKELPARAM(10 + 40 * i, 10 + 30 * i));
    SendMessageTimeoutA(p.saver, WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
    Check(!PumpUntil(1000, [&] { return Ended(p.pi.hProcess); }) && IsWindow(p.saver), "keys, clicks, moves: still there");
    // The display-properties window closes the preview by destroying the box.
    DestroyWindow(p.box);
    Check(ExitText(p.pi.hProcess, 10000) == "0", "the box destroyed: exit 0");
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
std::string Between(const std::string& xml, const std::string& tag) {
    const size_t at = xml.find("<" + tag), start = xml.find('>', at), stop = xml.find("</" + tag, start);
    return at == std::string::npos || stop == std::string::npos ? "<missing>" : xml.substr(start + 1, stop - start - 1);
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
    Line("manifest " + Between(xml, "dpiAwareness") + " / " + Between(xml, "dpiAware"));
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
    Line(F("version_fixed %lu.%lu.%lu.%lu %lu.%lu.%lu.%lu", fixed->dwFileVersionMS >> 16, fixed->dwFileVersionMS & 0xFFFF,
           fixed->dwFileVersionLS >> 16, fixed->dwFileVersionLS & 0xFFFF, fixed->dwProductVersionMS >> 16,
           fixed->dwProductVersionMS & 0xFFFF, fixed->dwProductVersionLS >> 16, fixed->dwProductVersionLS & 0xFFFF));
    for (const char* name : {"FileDescription", "FileVersion", "InternalName", "OriginalFilename"}) {
        char* value = nullptr;
        const bool ok = VerQueryValueA(v.data(), F("\\StringFileInfo\\%04x%04x\\%s", tr[0], tr[1], name).c_str(),
                                       (void**)&value, &n);
        Line(F("version %s %s", name, ok && value ? value : "<missing>"));
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
        return ledger.refuseSection ? (*bits = nullptr, (HBITMAP) nullptr) : (HBITMAP)Made(CreateDIBSection(dc, i, u, bits, s, o));
    };
    g.createCompatibleBitmap = [](HDC dc, int w, int h) WINAPI { return (HBITMAP)Made(CreateCompatibleBitmap(dc, w, h)); };
    g.createFontA = [](int a, int b, int c, int d, int e, DWORD f, DWORD g, DWORD h, DWORD i, DWORD j, DWORD k, DWORD l,
                       DWORD m, LPCSTR n) WINAPI { return (HFONT)Made(CreateFontA(a, b, c, d, e, f, g, h, i, j, k, l, m, n)); };
    g.deleteObject = [](HGDIOBJ h) WINAPI {
        // A selected object is only marked for deletion: a leak while the DC lives.
        for (HGDIOBJ dc : ledger.live)
            ledger.deletedSelected += GetObjectType(dc) == OBJ_MEMDC &&
                                      (GetCurrentObject((HDC)dc, OBJ_BITMAP) == h || GetCurrentObject((HDC)dc, OBJ_FONT) == h);
        return ledger.live.erase(h), DeleteObject(h);
    };
}
void FreshHost(bool trace, bool grey) {
    HostState& host = Host();
    SaverScreen& scr = PrimaryScreen();
    host.Settings = SaverSettings{};
    host.Settings.Trace = trace;
    host.Settings.HuesOfGray = grey;
    scr.Animation = Engine{};
    host.PaintEnabled = host.SurfaceReady = false;
    BindEngine();
    PrepareClouds(scr.Animation);
    StartPaintState(scr.Paint, GetTickCount(), GetTickCount());
}
void Resize(HWND w, int cx, int cy) { SetWindowPos(w, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE); }
// Three points plotted through the engine must come back through GDI's own
// read-back as exactly their 27 pixels, whatever the row padding.
void CheckAddressing(int w, int h) {
    const std::string size = F("%dx%d", w, h);
    SaverScreen& scr = PrimaryScreen();
    FreshHost(true, true);
    HWND window = MakeWindow("surface", WS_POPUP | WS_VISIBLE, 0, 0, w, h);
    CreateFrameSurface(scr, window);
    const FrameSurface& s = scr.Surface;
    Check(s.Width == w && s.Height == h && s.Bits && s.Stride % 4 == 0 && s.Stride >= w && s.Stride < w + 4,
          size + F(": an 8-bit section %dx%d, stride %d", s.Width, s.Height, s.Stride));
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
    Check(wrong == 0, size + F(": points land where plotted (%d pixels wrong)", wrong));
    for (int i = 0; i < 20; ++i) PaintSaverFrame(scr);
    Check(scr.Paint.FrameCount == 20, size + ": 20 frames painted");
    FreeFrameSurface(scr, window);
    DestroyWindow(window);
}
void Surface() {
    SaverScreen& scr = PrimaryScreen();
    for (auto [w, h] : {std::pair{151, 111}, {152, 112}, {798, 601}}) CheckAddressing(w, h);
    // The set-up of a new surface.
    FreshHost(true, true);
    HWND window = MakeWindow("surface", WS_POPUP | WS_VISIBLE, 0, 0, 152, 112);
    CreateFrameSurface(scr, window);
    HostState& host = Host();
    const FrameSurface& s = scr.Surface;
    const Engine& e = scr.Animation;
    Check(e.ProjectionCentre[0] == 76 && e.ProjectionCentre[1] == 56 && e.ProjectionScale[0] == 19.0f &&
              e.ProjectionScale[1] == 18.0f, "152x112: centre (76, 56), scale (19, 18)");
    RGBQUAD table[256] = {};
    Check(GetDIBColorTable(s.MemoryDC, 0, 256, table) == 256 && table[77].rgbRed == 77 && table[77].rgbBlue == 77 &&
              table[255].rgbGreen == 255, "Trace with HuesOfGray: the grey ramp");
    Check(GetTextAlign(s.MemoryDC) == TA_RIGHT && GetBkMode(s.MemoryDC) == TRANSPARENT &&
              GetTextColor(s.MemoryDC) == 0xFFFFFF && GetBkColor(s.WindowDC) == 0 && GetTextColor(s.WindowDC) == 0xFFFFFF,
          "white right-aligned clock text, white FPS text on black");
    LOGFONTA font{};
    GetObjectA(GetCurrentObject(s.MemoryDC, OBJ_FONT), sizeof font, &font);
    Check(font.lfHeight == 75 && font.lfItalic && font.lfWeight == 1, "the clock font: 75 high, italic, weight 1");
    // A 0 x 0 client area after a surface existed frees it and stops painting.
    PaintSaverFrame(scr);
    const HGDIOBJ old[] = {s.MemoryDC, s.Bitmap, s.ClockFont};
    Resize(window, 0, 0);
    CreateFrameSurface(scr, window);
    Check(!SurfaceLive(scr) && !host.PaintEnabled && !host.SurfaceReady && !GetObjectType(old[0]) &&
              !GetObjectType(old[1]) && !GetObjectType(old[2]), "0x0: no surface, painting off, objects freed");
    host.PaintEnabled = true;  // focus back or a prompt ended
    PaintSaverFrame(scr);
    Check(scr.Paint.FrameCount == 1, "0x0: no frame without a surface");
    Resize(window, 151, 111);
    CreateFrameSurface(scr, window);
    PaintSaverFrame(scr);
    Check(SurfaceLive(scr) && host.PaintEnabled && scr.Paint.FrameCount == 2, "a later size brings painting back");
    FreeFrameSurface(scr, window);
    // A refused 8-bit section: a device bitmap, no Trace, the faster tempo.
    InstallCounters();
    ledger.refuseSection = true;
    FreshHost(true, false);
    CreateFrameSurface(scr, window);
    Check(SurfaceLive(scr) && s.Bitmap && !s.Bits && !host.Settings.Trace && !host.ThreadTrace &&
              scr.Animation.HoldTime == Single(6000.0L / 1.33L), "refused section: device bitmap, no Trace, faster");
    for (int i = 0; i < 5; ++i) PaintSaverFrame(scr);
    FreeFrameSurface(scr, window);
    Check(scr.Paint.FrameCount == 5 && ledger.live.empty(), "refused section: 5 frames, everything freed");
    // A thousand re-creations, now and then 0 x 0, free every object made.
    InstallCounters();
    FreshHost(true, false);
    size_t held = 0;
    for (int i = 0; i < 1000; ++i) {
        host.Settings.Trace = i % 3 != 0;
        const Engine initial;  // each surface without Trace speeds the tempo up
        scr.Animation.HoldTime = initial.HoldTime;
        scr.Animation.SpinSpeed = initial.SpinSpeed;
        scr.Animation.CentreVelocity = initial.CentreVelocity;
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
        auto take = [&](int n) { i += n; };
        if (c == "count") {
            take(1), Line(std::to_string(Find(a).count));
        } else if (c == "texts") {
            take(2);
            HWND w = nullptr;
            if (!PumpUntil(std::atoi(b), [&] { return (w = Find(a).found) != nullptr; })) return Line("missing"), 1;
            Line("class " + ClassOf(w));
            EnumChildWindows(w, PrintChild, 0);
        } else if (c == "post") {  // TITLE MESSAGE WPARAM
            take(3), PostMessageA(Find(a).found, std::atoi(b), std::atoi(argv[i]), 0);
        } else if (c == "front") {  // the foreground window and its thread's focus
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            HWND front = GetForegroundWindow();
            GetGUIThreadInfo(GetWindowThreadProcessId(front, nullptr), &info);
            Line("front " + (front ? Text(front) : "(none)") + " focus " + (info.hwndFocus ? Text(info.hwndFocus) : "(none)"));
        } else if (c == "steal") {  // a window of ours takes the focus
            HWND w = MakeWindow("Quorvex focus thief", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 200, 100);
            SetForegroundWindow(w);
            Check(PumpUntil(5000, [&] { return GetForegroundWindow() == w; }), "the focus thief is in front");
        } else if (c == "wait" || c == "gone") {
            take(1);
            if (!WaitDialog(c == "wait", static_cast<DWORD>(std::atof(a) * 1000))) return Line("error " + c), 1;
        } else if (c == "record") {
            take(2);
            FILE* out = std::fopen(a, "ab");
            if (out) std::fprintf(out, "%s\n", b), std::fclose(out);
        } else if (c == "owned") {
            take(1), RunOwned(a);
        } else if (c == "preview") {
            take(3), RunPreview(a, std::atoi(b), std::atoi(argv[i]));
        } else if (c == "resources") {
            take(1), Resources(a);
        } else if (c == "surface") {
            Surface();
        } else if (HWND d = Dialog(); d == nullptr) {
            return Line("error no dialog for " + c), 1;
        } else if (c == "state") {
            PrintState(d);
        } else if (c == "children") {
            PrintChildren(d);
        } else if (c == "click") {
            take(1), SendMessageW(GetDlgItem(d, std::atoi(a)), BM_CLICK, 0, 0);
        } else if (c == "select") {
            take(1), SendMessageW(GetDlgItem(d, 265), CB_SETCURSEL, std::atoi(a), 0);
        } else if (c == "slide") {
            take(1), SendMessageW(GetDlgItem(d, 266), TBM_SETPOS, TRUE, std::atoi(a));
        } else {
            return Line("error unknown command " + c), 2;
        }
    }
    return failed ? 1 : 0;
}
