// Small pieces every Windows test driver needs: result lines for the test
// script, and a message pump that waits for a condition with a deadline.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

namespace quorvex::drivers {

// One "key value" line on stdout, flushed at once: the script may be
// polling for it while the driver waits.
inline void Report(const char* key, const std::string& value) {
    std::printf("%s %s\n", key, value.c_str());
    std::fflush(stdout);
}

inline bool Ended(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }

// Runs this thread's messages until `done` holds or `ms` have passed: an
// owner or a parent must answer the messages another process sends it.
template <typename Done>
bool PumpUntil(DWORD ms, Done done) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done()) return true;
        if (GetTickCount() - start >= ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

}  // namespace quorvex::drivers
