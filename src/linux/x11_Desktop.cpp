// Desktop conventions of our own windows; see x11_Desktop.h.
#include "x11_Desktop.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <cstring>

namespace quorvex::linux_host {

namespace {

Atom Intern(Display* dpy, const char* name) { return XInternAtom(dpy, name, False); }

// The first 32-bit item of a window's property, or 0.
unsigned long FirstItem(Display* dpy, Window w, Atom property, Atom type) {
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    unsigned long value = 0;
    if (XGetWindowProperty(dpy, w, property, 0, 1, False, type, &actualType, &format, &count, &after, &data) ==
            Success &&
        format == 32 && count == 1) {
        value = reinterpret_cast<unsigned long*>(data)[0];
    }
    if (data != nullptr) XFree(data);
    return value;
}

}  // namespace

bool WindowManagerDoesFullscreen(Display* dpy, int screen) {
    const Window root = RootWindow(dpy, screen);
    const Atom check = Intern(dpy, "_NET_SUPPORTING_WM_CHECK");
    // A manager that has gone leaves its check window's id behind; the
    // window itself then no longer points to itself.
    const Window child = FirstItem(dpy, root, check, AnyPropertyType);
    if (child == 0 || FirstItem(dpy, child, check, AnyPropertyType) != child) return false;
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    bool found = false;
    if (XGetWindowProperty(dpy, root, Intern(dpy, "_NET_SUPPORTED"), 0, 4096, False, XA_ATOM, &actualType, &format,
                           &count, &after, &data) == Success &&
        format == 32) {
        const Atom wanted = Intern(dpy, "_NET_WM_STATE_FULLSCREEN");
        const unsigned long* atoms = reinterpret_cast<unsigned long*>(data);
        for (unsigned long k = 0; k < count && !found; ++k) found = atoms[k] == wanted;
    }
    if (data != nullptr) XFree(data);
    return found;
}

void SetDesktopProperties(Display* dpy, Window w, const char* title, bool fullscreen) {
    XStoreName(dpy, w, title);
    XChangeProperty(dpy, w, Intern(dpy, "_NET_WM_NAME"), Intern(dpy, "UTF8_STRING"), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title), static_cast<int>(std::strlen(title)));
    const long pid = static_cast<long>(getpid());
    XChangeProperty(dpy, w, Intern(dpy, "_NET_WM_PID"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) == 0 && host[0] != '\0') {
        char* list[] = {host};
        XTextProperty text{};
        if (XStringListToTextProperty(list, 1, &text) != 0) {
            XSetWMClientMachine(dpy, w, &text);
            XFree(text.value);
        }
    }
    if (fullscreen) {
        const long state = static_cast<long>(Intern(dpy, "_NET_WM_STATE_FULLSCREEN"));
        XChangeProperty(dpy, w, Intern(dpy, "_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&state), 1);
    }
}

void RequestFullscreen(Display* dpy, int screen, Window w) {
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w;
    ev.xclient.message_type = Intern(dpy, "_NET_WM_STATE");
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = 1;  // _NET_WM_STATE_ADD
    ev.xclient.data.l[1] = static_cast<long>(Intern(dpy, "_NET_WM_STATE_FULLSCREEN"));
    ev.xclient.data.l[3] = 1;  // from a normal application
    XSendEvent(dpy, RootWindow(dpy, screen), False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
}

}  // namespace quorvex::linux_host
