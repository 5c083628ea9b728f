// Test-only stand-in for the system's MPR.DLL, placed beside the saver (and
// preferred to Wine's own through WINEDLLOVERRIDES=mpr=n,b). It records the
// four arguments of each PwdChangePasswordA call in "mpr_calls.log" beside it.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {
HMODULE self = nullptr;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) self = instance;
    return TRUE;
}

extern "C" __declspec(dllexport) DWORD WINAPI
    PwdChangePasswordA(LPCSTR component, HWND parent, DWORD reserved1, DWORD reserved2) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(self, path, MAX_PATH);
    std::string log = path;
    log.erase(log.find_last_of("\\/") + 1);
    log += "mpr_calls.log";
    if (FILE* out = fopen(log.c_str(), "ab")) {
        fprintf(out, "PwdChangePasswordA %s %lu %lu %lu\n", component ? component : "(null)",
                static_cast<unsigned long>(reinterpret_cast<uintptr_t>(parent)), static_cast<unsigned long>(reserved1),
                static_cast<unsigned long>(reserved2));
        fclose(out);
    }
    return 0;
}
