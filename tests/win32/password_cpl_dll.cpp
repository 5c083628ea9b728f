// Test-only stand-in for the system's PASSWORD.CPL, placed beside the saver.
// VerifyScreenSavePwd behaves like the system's prompt: it shows a small
// window that takes the focus from the saver and waits for an answer. The
// answer comes from the test through a file beside this module
// ("password_answer.txt": "1" accepts, "0" refuses; it is deleted once
// read); every call is recorded in "password_calls.log" beside it. Like a
// modal dialog, the prompt runs the thread's messages while it is up; with a
// file "password_own_loop.txt" beside it, it runs only its own window's
// messages instead, so messages posted to the saver stay queued until it
// returns.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HMODULE self = nullptr;
constexpr char PromptClass[] = "QuorvexTestPasswordPrompt";
constexpr DWORD AnswerTimeoutMs = 30000;

std::string Beside(const char* name) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(self, path, MAX_PATH);
    std::string dir = path;
    dir.erase(dir.find_last_of("\\/") + 1);
    return dir + name;
}

void Record(const std::string& line) {
    if (FILE* out = fopen(Beside("password_calls.log").c_str(), "ab")) {
        fprintf(out, "%s\n", line.c_str());
        fclose(out);
    }
}

// -1 while no answer has been given yet.
int TakeAnswer() {
    const std::string path = Beside("password_answer.txt");
    FILE* in = fopen(path.c_str(), "rb");
    if (in == nullptr) return -1;
    const int c = fgetc(in);
    fclose(in);
    if (c != '0' && c != '1') return -1;  // still being written
    DeleteFileA(path.c_str());
    return c - '0';
}

// The cursor display count without changing it.
int CursorCount() {
    const int below = ShowCursor(FALSE);
    ShowCursor(TRUE);
    return below + 1;
}

HWND ShowPrompt(HWND owner) {
    WNDCLASSA cls{};
    cls.lpfnWndProc = DefWindowProcA;
    cls.hInstance = self;
    cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    cls.lpszClassName = PromptClass;
    RegisterClassA(&cls);  // fails harmlessly from the second call on
    HWND prompt = CreateWindowExA(WS_EX_TOPMOST, PromptClass, "Quorvex test password prompt",
                                  WS_POPUP | WS_CAPTION | WS_VISIBLE, 20, 20, 240, 80, owner, nullptr, self, nullptr);
    if (prompt != nullptr) {
        SetForegroundWindow(prompt);
        SetActiveWindow(prompt);
        SetFocus(prompt);
    }
    return prompt;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) self = instance;
    return TRUE;
}

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window) {
    char cls[128] = {};
    GetClassNameA(window, cls, sizeof cls);
    Record(std::string("call window ") + (cls[0] ? cls : "none") + " cursor " + std::to_string(CursorCount()));
    HWND prompt = ShowPrompt(window);
    Record(std::string("prompt ") + (prompt && GetFocus() == prompt ? "has focus" : "without focus"));
    const DWORD ownLoop = GetFileAttributesA(Beside("password_own_loop.txt").c_str());
    HWND pumped = ownLoop != INVALID_FILE_ATTRIBUTES && prompt != nullptr ? prompt : nullptr;
    int answer = -1;
    const DWORD start = GetTickCount();
    while (answer < 0 && GetTickCount() - start < AnswerTimeoutMs) {
        MSG message;
        while (PeekMessageA(&message, pumped, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        answer = TakeAnswer();
        if (answer < 0) MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    if (prompt != nullptr) DestroyWindow(prompt);
    if (answer < 0) answer = 0;
    Record("answer " + std::to_string(answer));
    return answer;
}
