// The front end's run: options and settings, the window, then one thread
// that paints a frame, sleeps out the rest of the repaint period and handles
// X events and signals while it waits.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "clock_Face.h"
#include "clock_Format.h"
#include "frame.h"
#include "frontend.h"
#include "frontend_Shared.h"
#include "input_Rules.h"
#include "options.h"
#include "panel_Host.h"
#include "settings_File.h"
#include "surface_Software.h"
#include "x11_FrameHost.h"
#include "x11_Monitors.h"
#include "x11_Present.h"
#include "x11_Session.h"
#ifdef QUORVEX_HAVE_WAYLAND
#include "wayland_Run.h"
#endif

namespace quorvex::linux_host {

namespace {

constexpr const char* FpsSuffix = " fps";

// One animation with its own engine, random draw and surface, on one part
// of the window: a monitor's area in full screen, the whole window otherwise.
struct Panel {
    Panel(Session& session, bool sharedMemory, ClockFace& face, const ClockStyle& style)
        : presenter(session.display, session.window, session.visual, session.depth, sharedMemory),
          host(session, surface, presenter, face, style) {}

    Rect area{};
    SoftwareSurface surface;
    ImagePresenter presenter;
    X11FrameHost host;
    Animation animation;
};

class Runner {
public:
    Runner(const FrontEndOptions& options, SaverSettings& settings, Session& session)
        : options_(options), settings_(settings), session_(session) {}

    int Run(int wakeRead);

private:
    std::vector<Rect> Areas(int32_t width, int32_t height) const;
    void AddPanel();
    bool Rebuild(int32_t width, int32_t height);
    void HandleEvent(XEvent& ev);
    void DrainEvents();
    void WaitUntil(uint64_t deadlineUs, int wakeRead);

    const FrontEndOptions& options_;
    SaverSettings& settings_;
    Session& session_;
    ClockFace face_;
    ClockStyle style_ = ClockStyleFromLocale();
    MonotonicTicks ticks_;
    uint32_t seed_ = ClockSeed();
    // The primary monitor's first: it alone shows the clock and FPS text.
    std::vector<std::unique_ptr<Panel>> panels_;
    InputState input_;
    bool surfaceReady_ = false;
    bool paintEnabled_ = false;
    bool held_ = false;
    bool stop_ = false;
    int32_t pendingWidth_ = 0;
    int32_t pendingHeight_ = 0;
    bool resizePending_ = false;
    // Full screen: the monitors' changes are watched.
    bool watching_ = false;
    int monitorsChange_ = -1;
    bool layoutPending_ = false;
    std::string error_;
};

// Full screen covers each monitor with an animation of its own; the root
// window and a foreign window get one (a screen saver daemon starts one
// per monitor itself), as does a window of our own.
std::vector<Rect> Runner::Areas(int32_t width, int32_t height) const {
    if (session_.mode != DisplayMode::Fullscreen) return {Rect{0, 0, width, height}};
    // A window manager may have put the window anywhere; the monitors are in
    // root coordinates.
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(session_.display, session_.window, RootWindow(session_.display, session_.screen), 0, 0, &x,
                          &y, &child);
    return ScreenMonitors(session_.display, session_.screen, Rect{x, y, x + width, y + height});
}

void Runner::AddPanel() {
    auto panel = std::make_unique<Panel>(session_, options_.sharedMemory, face_, style_);
    StartAnimation(panel->animation, settings_, ticks_, panel->surface, seed_, panels_.size());
    panels_.push_back(std::move(panel));
}

bool Runner::Rebuild(int32_t width, int32_t height) {
    // Like a WM_SIZE with an empty client area: nothing to draw into.
    if (width <= 0 || height <= 0) {
        paintEnabled_ = false;
        return true;
    }
    const std::vector<Rect> areas = Areas(width, height);
    if (panels_.size() > areas.size()) panels_.resize(areas.size());
    while (panels_.size() < areas.size()) AddPanel();
    for (size_t i = 0; i < areas.size(); ++i) {
        Panel& p = *panels_[i];
        p.area = areas[i];
        const int32_t w = p.area.right - p.area.left;
        const int32_t h = p.area.bottom - p.area.top;
        p.presenter.SetOrigin(p.area.left, p.area.top);
        if (!p.presenter.Resize(w, h, error_)) return false;
        p.host.Place(p.area.left, p.area.top, i == 0);
        ResizeAnimation(p.animation, p.surface, w, h);
    }
    surfaceReady_ = true;
    paintEnabled_ = true;
    return true;
}

void Runner::HandleEvent(XEvent& ev) {
    for (auto& p : panels_) p->presenter.HandleEvent(ev);
    if (watching_ && MonitorsChanged(ev, RootWindow(session_.display, session_.screen), monitorsChange_)) {
        layoutPending_ = true;
        return;
    }
    const bool ours = ev.xany.window == session_.window;
    InputEvent input;
    switch (ev.type) {
        case ConfigureNotify:
            if (ev.xconfigure.window != session_.window) return;
            if (ev.xconfigure.width != session_.width || ev.xconfigure.height != session_.height) {
                session_.width = ev.xconfigure.width;
                session_.height = ev.xconfigure.height;
                pendingWidth_ = session_.width;
                pendingHeight_ = session_.height;
                resizePending_ = true;
            }
            return;
        case Expose:
            if (ours) {
                // The window lost its contents: the next present puts whole frames.
                for (auto& p : panels_) p->animation.engine.Changed.whole = true;
            }
            return;
        case MapNotify:
            if (ev.xmap.window == session_.window) session_.viewable = true;
            return;
        case UnmapNotify:
            // A window of our own that is iconified gets no paints, as on
            // Windows; a foreign window is drawn into regardless.
            if (ev.xunmap.window == session_.window && session_.ownWindow) session_.viewable = false;
            return;
        case DestroyNotify:
            if (ev.xdestroywindow.window == session_.window) stop_ = true;
            return;
        case ClientMessage:
            if (ours && static_cast<Atom>(ev.xclient.data.l[0]) == session_.deleteWindow) stop_ = true;
            return;
        case KeyPress:
            input.kind = InputKind::Key;
            input.key = static_cast<uint32_t>(XLookupKeysym(&ev.xkey, 0));
            break;
        case ButtonPress:
            input.kind = InputKind::Button;
            input.button = ev.xbutton.button;
            break;
        case MotionNotify:
            input.kind = InputKind::Motion;
            input.x = ev.xmotion.x;
            input.y = ev.xmotion.y;
            // The Windows saver re-asserts its topmost place on every move.
            if (session_.mode == DisplayMode::Fullscreen && settings_.MouseSens)
                XRaiseWindow(session_.display, session_.window);
            break;
        case FocusIn:
        case FocusOut:
            // Focus moves caused by grabs, or inside the window, are not a
            // change of the active window.
            if (ev.xfocus.mode == NotifyGrab || ev.xfocus.mode == NotifyUngrab) return;
            if (ev.xfocus.detail == NotifyInferior || ev.xfocus.detail == NotifyPointer) return;
            input.kind = ev.type == FocusIn ? InputKind::FocusGained : InputKind::FocusLost;
            break;
        default:
            return;
    }
    if (InputEndsRun(session_.mode, settings_.MouseSens, input_, input)) stop_ = true;
}

void Runner::DrainEvents() {
    Display* dpy = session_.display;
    while (!stop_ && XPending(dpy) > 0) {
        XEvent ev;
        XNextEvent(dpy, &ev);
        HandleEvent(ev);
    }
    if (ResourceVanished(session_.window)) stop_ = true;
    if (StopRequested()) stop_ = true;
}

void Runner::WaitUntil(uint64_t deadlineUs, int wakeRead) {
    Display* dpy = session_.display;
    XFlush(dpy);
    for (;;) {
        DrainEvents();
        if (stop_) return;
        const uint64_t now = MonotonicUs();
        if (now >= deadlineUs) return;
        const uint64_t left = deadlineUs - now;
        const timespec timeout{static_cast<time_t>(left / 1000000u), static_cast<long>(left % 1000000u) * 1000};
        pollfd fds[2] = {{ConnectionNumber(dpy), POLLIN, 0}, {wakeRead, POLLIN, 0}};
        const int n = ppoll(fds, wakeRead >= 0 ? 2 : 1, &timeout, nullptr);
        if (n > 0 && (fds[1].revents & POLLIN) != 0) DrainWakePipe(wakeRead);
    }
}

int Runner::Run(int wakeRead) {
    if (settings_.ShowClock) {
        std::string warning;
        if (!face_.Load(warning)) std::fprintf(stderr, "quorvex: warning: %s\n", warning.c_str());
    }
    if (session_.mode == DisplayMode::Fullscreen) {
        monitorsChange_ = WatchMonitors(session_.display, session_.screen);
        watching_ = true;
    }
    if (!Rebuild(session_.width, session_.height)) return Fail(error_, 1);

    const uint64_t startMs = MonotonicUs() / 1000u;
    const uint64_t cpuStart = CpuMs();
    uint32_t frames = 0;
    while (!stop_) {
        // One turn of the Windows animation thread, with the paint inside it:
        // the elapsed time is read on the millisecond clock, and the sleep
        // ends when that clock reaches the turn's end, so the sub-millisecond
        // parts of the readings do not add up turn after turn.
        const uint64_t t0 = MonotonicUs() / 1000u;
        DrainEvents();
        if (stop_) break;
        if (layoutPending_) {
            layoutPending_ = false;
            const int32_t w = DisplayWidth(session_.display, session_.screen);
            const int32_t h = DisplayHeight(session_.display, session_.screen);
            if (session_.pastManager && (w != session_.width || h != session_.height)) {
                // The window follows the screen; its ConfigureNotify rebuilds.
                XMoveResizeWindow(session_.display, session_.window, 0, 0, static_cast<unsigned>(w),
                                  static_cast<unsigned>(h));
            } else {
                pendingWidth_ = session_.width;
                pendingHeight_ = session_.height;
                resizePending_ = true;
            }
        }
        if (resizePending_) {
            resizePending_ = false;
            if (!Rebuild(pendingWidth_, pendingHeight_)) return Fail(error_, 1);
        }
        const bool hold = HoldRequested();
        if (paintEnabled_ && session_.viewable) {
            for (auto& p : panels_) {
                // Held: the frame already prepared is put once, and again
                // whenever the window loses it.
                if (!hold) {
                    PaintFrame(p->animation.engine, p->animation.paint, p->host, FpsSuffix);
                } else if (!held_ || p->animation.engine.Changed.whole) {
                    PresentOnly(p->animation.engine, p->host);
                }
            }
            frames += hold ? 0 : 1;
        }
        held_ = hold;
        const uint64_t now = MonotonicUs() / 1000u;
        const uint32_t wait = RepaintWait(RepaintPeriod(settings_.Trace), static_cast<uint32_t>(now - t0));
        uint64_t deadline = now + wait;
        if (options_.durationMs != 0) deadline = std::min(deadline, startMs + options_.durationMs);
        WaitUntil(deadline * 1000u, wakeRead);
        if (options_.durationMs != 0 && MonotonicUs() / 1000u >= startMs + options_.durationMs) stop_ = true;
    }
    if (options_.stats) {
        PrintStats(frames, static_cast<uint32_t>(MonotonicUs() / 1000u - startMs), CpuMs() - cpuStart,
                   !panels_.empty() && panels_[0]->presenter.Shared() ? "shared images" : "plain images");
    }
    return 0;
}

}  // namespace

int RunFrontEnd(int argc, char** argv) {
    ParsedOptions parsed = ParseFrontEndOptions(argc, argv);
    if (!parsed.ok) return Fail(parsed.error, 2);
    FrontEndOptions& options = parsed.options;
    if (options.help) {
        std::fputs(FrontEndUsage(), stdout);
        return 0;
    }
    std::string error;
    if (!ApplyScreensaverWindow(options, std::getenv("XSCREENSAVER_WINDOW"), error)) return Fail(error, 2);
    Backend backend = Backend::X11;
    if (!ChooseBackend(options, std::getenv("WAYLAND_DISPLAY"), backend, error)) return Fail(error, 2);
#ifndef QUORVEX_HAVE_WAYLAND
    if (backend == Backend::Wayland && options.backend == Backend::Wayland)
        return Fail("this quorvex was built without the Wayland back end", 2);
    backend = Backend::X11;
#endif

    // The clock follows the user's time format.
    std::setlocale(LC_TIME, "");
    std::vector<std::string> warnings;
    SaverSettings settings = LoadSettingsFile(DefaultSettingsFilePath(), warnings);
    for (const std::string& w : warnings) std::fprintf(stderr, "quorvex: warning: %s\n", w.c_str());
    ApplyOverrides(options, settings);

    // Before the window exists, so that a stop request during start-up (a
    // slow grab, say) still ends the run cleanly.
    const int wakeRead = InstallSignals();
#ifdef QUORVEX_HAVE_WAYLAND
    if (backend == Backend::Wayland) return RunWayland(options, settings, wakeRead);
#endif
    Session session;
    int status = 0;
    if (!OpenSession(options, session, error, status)) {
        if (session.display != nullptr) CloseSession(session);
        return Fail(error, status);
    }
    if (options.mode == DisplayMode::Fullscreen && !GrabInput(session)) {
        std::fputs("quorvex: warning: could not take the keyboard and mouse\n", stderr);
    }
    int result = 0;
    try {
        Runner runner(options, settings, session);
        result = runner.Run(wakeRead);
    } catch (const std::bad_alloc&) {
        result = Fail("out of memory for a surface of " + std::to_string(session.width) + "x" +
                          std::to_string(session.height) + " pixels",
                      1);
    }
    CloseSession(session);
    return result;
}

}  // namespace quorvex::linux_host
