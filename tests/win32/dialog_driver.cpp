// Test-only inspector of the configuration dialog, run under Wine beside the
// saver. It finds the dialog by its caption, reads and drives its controls
// through window messages, and reads the dialog templates straight out of the
// saver's resources. Every result is a line on stdout (UTF-8) for the shell
// scripts to compare. Commands run in the order given, e.g.
//
//   dialog_driver.exe wait 20 state click 264 state click 1 gone 10
//
// Commands:
//   wait S            wait up to S seconds for the dialog; prints "dialog found"
//   gone S            wait up to S seconds for it to disappear; prints "dialog gone"
//   state             check, enabled, combo and trackbar state of the controls
//   children          every child in creation order: id, class, style, text
//   click ID          BM_CLICK on a control (returns once it was handled)
//   select N          CB_SETCURSEL N on the combo box, as a pick from the list
//   slide N           TBM_SETPOS N on the trackbar, as a drag would leave it
//   sysclose          the caption's close button (WM_SYSCOMMAND SC_CLOSE)
//   template FILE NAME  the DIALOGEX resource NAME of the module FILE
//   record FILE ARG   append ARG as a line to FILE (stands in for a URL handler)
//   owned SCR         start "SCR /c:<handle>" with a window of this program as
//                     owner; report whether the dialog is owned by it and the
//                     owner disabled while it is up, close it, print its exit
// The exit code is 1 when a command failed (no dialog, unknown id, ...).
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "driver_util.h"

using namespace quorvex::drivers;

namespace {

constexpr wchar_t DialogCaption[] = L"Quorvex Screen Saver v4.4";

std::string Utf8(const wchar_t* text, int length = -1) {
    if (length == 0) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    if (length < 0 && !out.empty()) out.pop_back();  // the terminator
    return out;
}

// One output line; line feeds inside texts are shown as "\n".
void Line(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '\n') {
            escaped += "\\n";
        } else if (c == '\r') {
            escaped += "\\r";
        } else {
            escaped += c;
        }
    }
    escaped += '\n';
    fwrite(escaped.data(), 1, escaped.size(), stdout);
    fflush(stdout);
}

std::string Format(const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

std::string WindowText(HWND window) {
    wchar_t text[512] = {};
    // WM_GETTEXT works across processes, GetWindowText would not ask them.
    SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return Utf8(text);
}

std::string ClassOf(HWND window) {
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    return Utf8(name);
}

HWND FindDialog() { return FindWindowW(L"#32770", DialogCaption); }

bool WaitFor(bool present, double seconds) {
    const DWORD deadline = GetTickCount() + static_cast<DWORD>(seconds * 1000);
    for (;;) {
        HWND dialog = FindDialog();
        if ((dialog != nullptr && IsWindowVisible(dialog)) == present) return true;
        if (static_cast<int32_t>(GetTickCount() - deadline) >= 0) return false;
        Sleep(50);
    }
}

HWND RequireItem(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    if (item == nullptr) Line(Format("error no control %d", id));
    return item;
}

void PrintState(HWND dialog) {
    static const int checks[] = {256, 257, 258, 259, 262, 263, 264, 268};
    for (int id : checks) {
        HWND box = GetDlgItem(dialog, id);
        if (box == nullptr) {
            Line(Format("check %d missing", id));
            continue;
        }
        const LRESULT state = SendMessageW(box, BM_GETCHECK, 0, 0);
        Line(Format("check %d %d enabled %d", id, static_cast<int>(state), IsWindowEnabled(box) ? 1 : 0));
    }
    if (HWND combo = GetDlgItem(dialog, 265)) {
        const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
        const LRESULT selection = SendMessageW(combo, CB_GETCURSEL, 0, 0);
        Line(Format("combo selection %d count %d enabled %d", static_cast<int>(selection), static_cast<int>(count),
                    IsWindowEnabled(combo) ? 1 : 0));
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t text[256] = {};
            if (SendMessageW(combo, CB_GETLBTEXTLEN, i, 0) < 255) {
                SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            }
            Line(Format("combo item %d ", static_cast<int>(i)) + Utf8(text));
        }
        wchar_t shown[256] = {};
        SendMessageW(combo, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(shown));
        Line("combo text " + Utf8(shown));
    } else {
        Line("combo missing");
    }
    if (HWND bar = GetDlgItem(dialog, 266)) {
        Line(Format("trackbar position %d range %d %d enabled %d",
                    static_cast<int>(SendMessageW(bar, TBM_GETPOS, 0, 0)),
                    static_cast<int>(SendMessageW(bar, TBM_GETRANGEMIN, 0, 0)),
                    static_cast<int>(SendMessageW(bar, TBM_GETRANGEMAX, 0, 0)), IsWindowEnabled(bar) ? 1 : 0));
    } else {
        Line("trackbar missing");
    }
    if (HWND label = GetDlgItem(dialog, 267)) {
        Line(Format("label 267 enabled %d", IsWindowEnabled(label) ? 1 : 0));
    }
    Line(std::string("dialog owner ") + (GetWindow(dialog, GW_OWNER) != nullptr ? "yes" : "none"));
    Line(Format("dialog style 0x%08lX", static_cast<unsigned long>(GetWindowLongW(dialog, GWL_STYLE))));
}

void PrintChildren(HWND dialog) {
    int index = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG id = GetWindowLongW(child, GWL_ID);
        Line(Format("child %d id %ld class ", index, static_cast<long>(static_cast<uint16_t>(id))) + ClassOf(child) +
             Format(" style 0x%08lX exstyle 0x%08lX text ",
                    static_cast<unsigned long>(GetWindowLongW(child, GWL_STYLE)),
                    static_cast<unsigned long>(GetWindowLongW(child, GWL_EXSTYLE))) +
             WindowText(child));
        ++index;
    }
}

// ------------------------------------------------------------ templates

struct Reader {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    bool ok = true;

    uint16_t Word() {
        if (at + 2 > size) {
            ok = false;
            return 0;
        }
        uint16_t v;
        memcpy(&v, data + at, 2);
        at += 2;
        return v;
    }
    uint32_t Dword() {
        const uint32_t low = Word();
        return low | (static_cast<uint32_t>(Word()) << 16);
    }
    uint8_t Byte() {
        if (at + 1 > size) {
            ok = false;
            return 0;
        }
        return data[at++];
    }
    std::wstring String() {
        std::wstring out;
        for (uint16_t c = Word(); ok && c != 0; c = Word()) out += static_cast<wchar_t>(c);
        return out;
    }
    // sz_Or_Ord: 0 (none), 0xFFFF + ordinal, or a string.
    std::string NameOrOrdinal() {
        const uint16_t first = Word();
        if (first == 0) return "-";
        if (first == 0xFFFF) return Format("#%u", Word());
        at -= 2;
        const std::wstring text = String();
        return Utf8(text.c_str());
    }
    void Align() { at = (at + 3) & ~static_cast<size_t>(3); }
};

std::string ClassName(const std::string& raw) {
    static const char* const predefined[] = {"BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX"};
    if (raw.size() > 1 && raw[0] == '#') {
        const int ordinal = atoi(raw.c_str() + 1);
        if (ordinal >= 0x80 && ordinal <= 0x85) return predefined[ordinal - 0x80];
    }
    return raw;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR list) {
    reinterpret_cast<std::vector<WORD>*>(list)->push_back(language);
    return TRUE;
}

bool PrintTemplate(const char* file, const char* name) {
    HMODULE module = LoadLibraryExA(file, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) {
        Line(Format("error cannot open %s", file));
        return false;
    }
    // Every language the template is filed under; the first one is shown.
    std::vector<WORD> languages;
    EnumResourceLanguagesA(module, reinterpret_cast<LPCSTR>(RT_DIALOG), name, CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    std::string listed = "languages";
    for (WORD language : languages) listed += Format(" %u", language);
    Line(listed);
    const bool found = !languages.empty();
    if (found) {
        const WORD language = languages.front();
        HRSRC info = FindResourceExA(module, reinterpret_cast<LPCSTR>(RT_DIALOG), name, language);
        Reader r{static_cast<const uint8_t*>(LockResource(LoadResource(module, info))), SizeofResource(module, info)};
        const uint16_t version = r.Word();
        const uint16_t signature = r.Word();
        const uint32_t help = r.Dword();
        const uint32_t exstyle = r.Dword();
        const uint32_t style = r.Dword();
        const uint16_t items = r.Word();
        const int16_t x = static_cast<int16_t>(r.Word()), y = static_cast<int16_t>(r.Word());
        const int16_t cx = static_cast<int16_t>(r.Word()), cy = static_cast<int16_t>(r.Word());
        const std::string menu = r.NameOrOrdinal();
        const std::string cls = r.NameOrOrdinal();
        const std::wstring caption = r.String();
        Line(Format(
            "dialog %s language %u version %u signature 0x%04X help %lu exstyle 0x%08lX style 0x%08lX items %u "
            "rect %d %d %d %d menu %s class %s",
            name, language, version, signature, static_cast<unsigned long>(help), static_cast<unsigned long>(exstyle),
            static_cast<unsigned long>(style), items, x, y, cx, cy, menu.c_str(), cls.c_str()));
        Line("caption " + Utf8(caption.c_str()));
        if (style & DS_SETFONT) {
            const uint16_t points = r.Word();
            const uint16_t weight = r.Word();
            const uint8_t italic = r.Byte();
            const uint8_t charset = r.Byte();
            const std::wstring face = r.String();
            Line(Format("font %u weight %u italic %u charset %u face ", points, weight, italic, charset) +
                 Utf8(face.c_str()));
        }
        for (uint16_t i = 0; i < items && r.ok; ++i) {
            r.Align();
            const uint32_t itemHelp = r.Dword();
            const uint32_t itemEx = r.Dword();
            const uint32_t itemStyle = r.Dword();
            const int16_t ix = static_cast<int16_t>(r.Word()), iy = static_cast<int16_t>(r.Word());
            const int16_t icx = static_cast<int16_t>(r.Word()), icy = static_cast<int16_t>(r.Word());
            const uint32_t id = r.Dword();
            const std::string itemClass = ClassName(r.NameOrOrdinal());
            const std::string title = r.NameOrOrdinal();
            const uint16_t extra = r.Word();
            r.at += extra;
            Line(Format("item %u id %lu class %s style 0x%08lX exstyle 0x%08lX help %lu rect %d %d %d %d text ", i,
                        static_cast<unsigned long>(id), itemClass.c_str(), static_cast<unsigned long>(itemStyle),
                        static_cast<unsigned long>(itemEx), static_cast<unsigned long>(itemHelp), ix, iy, icx, icy) +
                 (title == "-" ? std::string() : title));
        }
        if (!r.ok) Line("error template truncated");
    }
    FreeLibrary(module);
    if (!found) Line(Format("error no dialog %s", name));
    return found;
}

// ------------------------------------------------------------ commands

bool AppendLine(const char* file, const char* text) {
    FILE* out = fopen(file, "ab");
    if (out == nullptr) return false;
    fprintf(out, "%s\n", text);
    fclose(out);
    return true;
}

bool RunOwned(const char* saver) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QuorvexTestOwner";
    RegisterClassA(&wc);
    HWND owner = CreateWindowExA(0, wc.lpszClassName, "Quorvex test owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                 100, nullptr, nullptr, wc.hInstance, nullptr);
    std::string command =
        Format("\"%s\" /c:%lu", saver, static_cast<unsigned long>(reinterpret_cast<uintptr_t>(owner)));
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        Line("error cannot start " + command);
        return false;
    }
    const auto ended = [&] { return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; };
    HWND dialog = nullptr;
    PumpUntil(20000, [&] {
        dialog = FindDialog();
        return (dialog != nullptr && IsWindowVisible(dialog)) || ended();
    });
    bool ok = dialog != nullptr;
    if (ok) {
        const HWND actual = GetWindow(dialog, GW_OWNER);
        Line(std::string("owner ") + (actual == owner ? "ours" : actual == nullptr ? "none" : "other"));
        Line(Format("owner enabled %d", IsWindowEnabled(owner) ? 1 : 0));
        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {
        Line("error no dialog");
    }
    if (PumpUntil(10000, ended)) {
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        Line(Format("exit %lu", static_cast<unsigned long>(code)));
        Line(Format("owner enabled %d", IsWindowEnabled(owner) ? 1 : 0));
    } else {
        Line("error still running");
        TerminateProcess(pi.hProcess, 1);
        ok = false;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    DestroyWindow(owner);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const std::string command = argv[i];
        const char* arg = i + 1 < argc ? argv[i + 1] : nullptr;
        const char* arg2 = i + 2 < argc ? argv[i + 2] : nullptr;
        if (command == "wait" && arg) {
            ++i;
            if (WaitFor(true, atof(arg))) {
                Line("dialog found");
            } else {
                Line("error no dialog");
                return 1;
            }
        } else if (command == "gone" && arg) {
            ++i;
            if (WaitFor(false, atof(arg))) {
                Line("dialog gone");
            } else {
                Line("error dialog still open");
                ok = false;
            }
        } else if (command == "template" && arg && arg2) {
            i += 2;
            ok = PrintTemplate(arg, arg2) && ok;
        } else if (command == "owned" && arg) {
            ++i;
            ok = RunOwned(arg) && ok;
        } else if (command == "record" && arg && arg2) {
            i += 2;
            ok = AppendLine(arg, arg2) && ok;
        } else {
            HWND dialog = FindDialog();
            if (dialog == nullptr) {
                Line("error no dialog for " + command);
                return 1;
            }
            if (command == "state") {
                PrintState(dialog);
            } else if (command == "children") {
                PrintChildren(dialog);
            } else if (command == "sysclose") {
                PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            } else if ((command == "click" || command == "select" || command == "slide") && arg) {
                ++i;
                const int value = atoi(arg);
                HWND item = RequireItem(dialog, command == "click" ? value : command == "select" ? 265 : 266);
                if (item == nullptr) {
                    ok = false;
                } else if (command == "click") {
                    SendMessageW(item, BM_CLICK, 0, 0);
                } else if (command == "select") {
                    SendMessageW(item, CB_SETCURSEL, value, 0);
                } else {
                    SendMessageW(item, TBM_SETPOS, TRUE, value);
                }
            } else {
                Line("error unknown command " + command);
                return 2;
            }
        }
    }
    return ok ? 0 : 1;
}
