// Stand-ins for the system's password modules beside a copy of the saver; every call is logged to "calls.log"
// there. As MPR.DLL (QUORVEX_MPR) it records PwdChangePasswordA. As PASSWORD.CPL, VerifyScreenSavePwd shows a
// prompt that takes the focus and waits for "password_answer.txt" ("1" accepts; the log says if the cursor was hidden
// meanwhile). It runs the thread's messages like a modal dialog, or with "password_own_loop.txt" only its own.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {
HMODULE self = nullptr;

std::string Beside(const char* name) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(self, path, MAX_PATH);
    std::string dir = path;
    return dir.erase(dir.find_last_of("\\/") + 1) + name;
}
void Record(const std::string& line) {
    if (FILE* out = fopen(Beside("calls.log").c_str(), "ab")) fprintf(out, "%s\n", line.c_str()), fclose(out);
}
}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) self = instance;
    return TRUE;
}

#ifdef QUORVEX_MPR
extern "C" __declspec(dllexport) DWORD WINAPI PwdChangePasswordA(LPCSTR component, HWND parent, DWORD r1, DWORD r2) {
    Record("PwdChangePasswordA " + std::string(component ? component : "(null)") + " " +
           std::to_string(reinterpret_cast<uintptr_t>(parent)) + " " + std::to_string(r1) + " " + std::to_string(r2));
    return 0;
}
#else
extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window) {
    char cls[128] = "none";
    GetClassNameA(window, cls, sizeof cls);
    const auto cursor = [] { return ShowCursor(TRUE), ShowCursor(FALSE); };  // the display count, unchanged
    const int shown = cursor();
    Record("call window " + std::string(cls) + " cursor " + std::to_string(shown));
    HWND prompt = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "Quorvex test password prompt",
                                  WS_POPUP | WS_CAPTION | WS_VISIBLE, 20, 20, 240, 80, window, nullptr, self, nullptr);
    SetForegroundWindow(prompt);
    SetFocus(prompt);
    Record(std::string("prompt ") + (prompt && GetFocus() == prompt ? "has focus" : "without focus"));
    HWND pumped =
        GetFileAttributesA(Beside("password_own_loop.txt").c_str()) != INVALID_FILE_ATTRIBUTES ? prompt : nullptr;
    const std::string answerFile = Beside("password_answer.txt");
    int answer = -1;
    for (const DWORD start = GetTickCount(); answer < 0 && GetTickCount() - start < 30000;) {
        MSG m;
        while (PeekMessageA(&m, pumped, 0, 0, PM_REMOVE)) TranslateMessage(&m), DispatchMessageA(&m);
        if (FILE* in = fopen(answerFile.c_str(), "rb")) {
            const int c = fgetc(in);
            fclose(in);
            if (c == '0' || c == '1') answer = c - '0', DeleteFileA(answerFile.c_str());
        }
        if (answer < 0) MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    DestroyWindow(prompt);
    Record("answer " + std::to_string(answer < 0 ? 0 : answer) + (cursor() == shown ? "" : " with the cursor hidden"));
    return answer > 0;
}
#endif
