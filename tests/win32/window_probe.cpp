// Looks at top-level windows of the Wine session it runs in, without a window
// of its own (so it takes the focus from nobody). Texts print as UTF-8.
//
//   window_probe.exe texts <title> [timeout-ms]
//       waits for a top-level window titled <title>; prints
//       "class <name>", "title <text>" and one "child <class> <id> <text>"
//       per child window. Exit 1 when none appears in time.
//   window_probe.exe command <title> <id>
//       posts WM_COMMAND <id> to it (a message box's OK is 1).
//   window_probe.exe count <title>
//       prints how many top-level windows have that title.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::wstring Wide(const char* text) {
    int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, out.data(), n);
    out.resize(static_cast<size_t>(n > 0 ? n - 1 : 0));
    return out;
}

std::string Utf8(const wchar_t* text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    out.resize(static_cast<size_t>(n > 0 ? n - 1 : 0));
    return out;
}

std::string WindowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return Utf8(text);
}

std::string ClassOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

void Line(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
}

struct Search {
    std::wstring title;
    HWND found = nullptr;
    int count = 0;
};

BOOL CALLBACK MatchTitle(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    if (search->title == text && IsWindowVisible(window)) {
        if (search->found == nullptr) search->found = window;
        ++search->count;
    }
    return TRUE;
}

Search Find(const char* title) {
    Search search;
    search.title = Wide(title);
    EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&search));
    return search;
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
    Line("child " + ClassOf(child) + " " + std::to_string(GetDlgCtrlID(child)) + " " + WindowText(child));
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: window_probe texts|command|count <title> ...\n");
        return 2;
    }
    const std::string verb = argv[1];
    const char* title = argv[2];
    if (verb == "count") {
        Line(std::to_string(Find(title).count));
        return 0;
    }
    if (verb == "texts") {
        const DWORD timeout = argc > 3 ? static_cast<DWORD>(std::atoi(argv[3])) : 10000;
        const DWORD start = GetTickCount();
        Search search = Find(title);
        while (search.found == nullptr && GetTickCount() - start < timeout) {
            Sleep(50);
            search = Find(title);
        }
        if (search.found == nullptr) {
            Line("missing");
            return 1;
        }
        Line("class " + ClassOf(search.found));
        Line("title " + WindowText(search.found));
        EnumChildWindows(search.found, PrintChild, 0);
        return 0;
    }
    if (verb == "command" && argc > 3) {
        Search search = Find(title);
        if (search.found == nullptr) return 1;
        PostMessageA(search.found, WM_COMMAND, static_cast<WPARAM>(std::atoi(argv[3])), 0);
        return 0;
    }
    return 2;
}
