// The X connection and the window the saver draws into, for each of the four
// ways to run: its own window, full screen, the root window, or a window of
// another program.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <string>

#include "options.h"

namespace quorvex::linux_host {

struct Session {
    Display* display = nullptr;
    int screen = 0;
    Window window = 0;
    bool ownWindow = false;
    bool pastManager = false;  // override-redirect: no window manager places it
    Visual* visual = nullptr;
    int depth = 0;
    Colormap colormap = 0;  // ours to free when not 0
    Cursor blankCursor = 0;
    Atom deleteWindow = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool viewable = false;
    DisplayMode mode = DisplayMode::Window;
};

// Opens the display and sets up the window. On failure returns false with a
// one-line error and the exit status to use (2 for bad input: no display, no
// such window).
bool OpenSession(const FrontEndOptions& options, Session& session, std::string& error, int& status);
// Full screen: takes the keyboard and the pointer. A failed grab is retried
// for a while; false when it never succeeds (the saver still runs).
bool GrabInput(Session& session);
void CloseSession(Session& session);

// X protocol errors do not end the process: they are recorded here, and the
// caller checks after the requests it cares about (with XSync).
void InstallErrorHandlers();
// Clears the record; then, after XSync, tells whether an error came since.
void ResetErrors();
bool ErrorSinceReset(unsigned char* code = nullptr);
// True once an error named `resource` as missing (BadWindow, BadDrawable):
// a foreign window that was destroyed under us.
bool ResourceVanished(XID resource);

}  // namespace quorvex::linux_host
