// Display, window and grabs; see x11_Session.h.
#include "x11_Session.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "x11_Desktop.h"
#include "x11_Monitors.h"

namespace quorvex::linux_host {

namespace {

// Written only on the one thread that talks to X, from inside Xlib calls.
bool errorSeen = false;
unsigned char lastErrorCode = 0;
XID vanishedResource = 0;
bool vanishedSeen = false;

int RecordError(Display*, XErrorEvent* e) {
    errorSeen = true;
    lastErrorCode = e->error_code;
    if (e->error_code == BadWindow || e->error_code == BadDrawable) {
        vanishedResource = e->resourceid;
        vanishedSeen = true;
    }
    return 0;
}

int ConnectionLost(Display*) {
    std::fputs("quorvex: lost the connection to the X server\n", stderr);
    std::exit(1);
}

std::string HexId(uint32_t id) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", id);
    return text;
}

// A TrueColor visual of at least 15 bits: the default one when it is such,
// otherwise the best the screen has.
bool PickVisual(Display* dpy, int screen, Visual*& visual, int& depth) {
    Visual* def = DefaultVisual(dpy, screen);
    if (def->c_class == TrueColor && DefaultDepth(dpy, screen) >= 15) {
        visual = def;
        depth = DefaultDepth(dpy, screen);
        return true;
    }
    for (int d : {24, 32, 30, 16, 15}) {
        XVisualInfo info;
        if (XMatchVisualInfo(dpy, screen, d, TrueColor, &info)) {
            visual = info.visual;
            depth = info.depth;
            return true;
        }
    }
    return false;
}

Cursor MakeBlankCursor(Display* dpy, Window w) {
    static const char empty[1] = {0};
    Pixmap pixmap = XCreateBitmapFromData(dpy, w, empty, 1, 1);
    XColor black{};
    Cursor cursor = XCreatePixmapCursor(dpy, pixmap, pixmap, &black, &black, 0, 0);
    XFreePixmap(dpy, pixmap);
    return cursor;
}

// Waits (up to a deadline) until the server reports our window mapped.
bool WaitForMap(Display* dpy, Window w, int timeoutMs) {
    XEvent ev;
    for (int waited = 0; waited <= timeoutMs; waited += 10) {
        XSync(dpy, False);
        if (XCheckTypedWindowEvent(dpy, w, MapNotify, &ev)) return true;
        pollfd pfd{ConnectionNumber(dpy), POLLIN, 0};
        poll(&pfd, 1, 10);
    }
    return false;
}

bool CreateOwnWindow(const FrontEndOptions& o, Session& s, std::string& error, int& status) {
    Display* dpy = s.display;
    if (!PickVisual(dpy, s.screen, s.visual, s.depth)) {
        error = "the X server offers no true-colour visual";
        status = 1;
        return false;
    }
    Window root = RootWindow(dpy, s.screen);
    XSetWindowAttributes attrs{};
    unsigned long mask = CWBackPixel | CWBorderPixel | CWEventMask | CWColormap;
    attrs.background_pixel = 0;
    attrs.border_pixel = 0;
    if (s.visual == DefaultVisual(dpy, s.screen)) {
        attrs.colormap = DefaultColormap(dpy, s.screen);
    } else {
        s.colormap = XCreateColormap(dpy, root, s.visual, AllocNone);
        attrs.colormap = s.colormap;
    }
    attrs.event_mask = StructureNotifyMask | KeyPressMask | ExposureMask | FocusChangeMask;
    int x = 0;
    int y = 0;
    bool askManager = false;
    if (o.mode == DisplayMode::Fullscreen) {
        s.width = DisplayWidth(dpy, s.screen);
        s.height = DisplayHeight(dpy, s.screen);
        // Past the window manager, above everything, like a saver window;
        // a manager that does full screen is asked for it instead, unless
        // there are several monitors: it would fill only the one the window
        // is on (few managers take _NET_WM_FULLSCREEN_MONITORS).
        askManager = WindowManagerDoesFullscreen(dpy, s.screen) &&
                     ScreenMonitors(dpy, s.screen, Rect{0, 0, s.width, s.height}).size() == 1;
        s.pastManager = !askManager;
        attrs.override_redirect = askManager ? False : True;
        attrs.event_mask |= ButtonPressMask | PointerMotionMask;
        mask |= CWOverrideRedirect;
    } else {
        s.width = o.width;
        s.height = o.height;
    }
    s.window = XCreateWindow(dpy, root, x, y, static_cast<unsigned>(s.width), static_cast<unsigned>(s.height), 0,
                             s.depth, InputOutput, s.visual, mask, &attrs);
    s.ownWindow = true;

    char title[] = "Quorvex Screen Saver";
    SetDesktopProperties(dpy, s.window, title, o.mode == DisplayMode::Fullscreen);
    XClassHint hint{};
    char resName[] = "quorvex";
    char resClass[] = "Quorvex";
    hint.res_name = resName;
    hint.res_class = resClass;
    XSetClassHint(dpy, s.window, &hint);
    s.deleteWindow = XInternAtom(dpy, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(dpy, s.window, &s.deleteWindow, 1);
    XSizeHints size{};
    size.flags = o.geometryGiven ? USSize : PSize;
    size.width = s.width;
    size.height = s.height;
    XSetWMNormalHints(dpy, s.window, &size);

    if (o.mode == DisplayMode::Fullscreen) {
        s.blankCursor = MakeBlankCursor(dpy, s.window);
        XDefineCursor(dpy, s.window, s.blankCursor);
        XMapRaised(dpy, s.window);
        if (askManager) RequestFullscreen(dpy, s.screen, s.window);
        s.viewable = WaitForMap(dpy, s.window, 2000);
    } else {
        XMapWindow(dpy, s.window);
    }
    return true;
}

bool UseWindow(Window w, const char* what, Session& s, std::string& error, int& status) {
    Display* dpy = s.display;
    XWindowAttributes attrs{};
    ResetErrors();
    Status ok = XGetWindowAttributes(dpy, w, &attrs);
    XSync(dpy, False);
    if (!ok || ErrorSinceReset()) {
        error = std::string("no window ") + HexId(static_cast<uint32_t>(w)) + " on the display" + what;
        status = 2;
        return false;
    }
    if (attrs.visual == nullptr || attrs.visual->c_class != TrueColor || attrs.depth < 15) {
        error = std::string("window ") + HexId(static_cast<uint32_t>(w)) + " does not use a true-colour visual";
        status = 2;
        return false;
    }
    s.window = w;
    s.visual = attrs.visual;
    s.depth = attrs.depth;
    s.width = attrs.width;
    s.height = attrs.height;
    s.viewable = true;
    // Only what any number of clients may select: sizes, destruction, exposure.
    XSelectInput(dpy, w, StructureNotifyMask | ExposureMask);
    XSync(dpy, False);
    if (ErrorSinceReset()) {
        error = std::string("cannot use window ") + HexId(static_cast<uint32_t>(w)) + what;
        status = 2;
        return false;
    }
    return true;
}

}  // namespace

void InstallErrorHandlers() {
    XSetErrorHandler(RecordError);
    XSetIOErrorHandler(ConnectionLost);
}

void ResetErrors() { errorSeen = false; }

bool ErrorSinceReset(unsigned char* code) {
    if (code != nullptr) *code = lastErrorCode;
    return errorSeen;
}

bool ResourceVanished(XID resource) { return vanishedSeen && vanishedResource == resource; }

bool OpenSession(const FrontEndOptions& o, Session& s, std::string& error, int& status) {
    s.mode = o.mode;
    const char* name = o.display.empty() ? nullptr : o.display.c_str();
    if (name == nullptr && (std::getenv("DISPLAY") == nullptr || std::getenv("DISPLAY")[0] == '\0')) {
        error = "no X display (DISPLAY is not set; try --display or 'quorvex render')";
        status = 2;
        return false;
    }
    s.display = XOpenDisplay(name);
    if (s.display == nullptr) {
        error = "cannot open X display " + QuoteArgument(XDisplayName(name));
        status = 2;
        return false;
    }
    InstallErrorHandlers();
    s.screen = DefaultScreen(s.display);
    switch (o.mode) {
        case DisplayMode::Window:
        case DisplayMode::Fullscreen:
            return CreateOwnWindow(o, s, error, status);
        case DisplayMode::Root: {
            // XSCREENSAVER_WINDOW has already turned --root into a window id
            // when it is set; this is the real root.
            return UseWindow(RootWindow(s.display, s.screen), "", s, error, status);
        }
        case DisplayMode::WindowId:
            return UseWindow(static_cast<Window>(o.windowId), "", s, error, status);
    }
    return false;
}

bool GrabInput(Session& s) {
    Display* dpy = s.display;
    // Another client (a menu, a starting saver) may hold a grab for a moment.
    bool keyboard = false;
    bool pointer = false;
    for (int attempt = 0; attempt < 20 && !(keyboard && pointer); ++attempt) {
        if (attempt > 0) poll(nullptr, 0, 50);
        if (!keyboard) {
            keyboard = XGrabKeyboard(dpy, s.window, True, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess;
        }
        if (!pointer) {
            pointer = XGrabPointer(dpy, s.window, True, ButtonPressMask | PointerMotionMask, GrabModeAsync,
                                   GrabModeAsync, None, s.blankCursor, CurrentTime) == GrabSuccess;
        }
    }
    if (s.viewable) {
        ResetErrors();
        XSetInputFocus(dpy, s.window, RevertToParent, CurrentTime);
        XSync(dpy, False);
    }
    return keyboard && pointer;
}

void CloseSession(Session& s) {
    if (s.display == nullptr) return;
    if (s.mode == DisplayMode::Fullscreen) {
        XUngrabPointer(s.display, CurrentTime);
        XUngrabKeyboard(s.display, CurrentTime);
    }
    if (s.ownWindow && s.window != 0) XDestroyWindow(s.display, s.window);
    if (s.blankCursor != 0) XFreeCursor(s.display, s.blankCursor);
    if (s.colormap != 0) XFreeColormap(s.display, s.colormap);
    XCloseDisplay(s.display);
    s.display = nullptr;
}

}  // namespace quorvex::linux_host
