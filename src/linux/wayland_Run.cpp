// The Wayland run: one loop that paints every surface whose frame callback
// has come back and whose period has passed, then sleeps in poll until the
// next is due, an event comes or a stop signal wakes it.
#include "wayland_Run.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "clock_Face.h"
#include "clock_Format.h"
#include "clock_Monotonic.h"
#include "frontend_Shared.h"
#include "input_Rules.h"
#include "wayland_Client.h"
#include "wayland_Input.h"
#include "wayland_Panel.h"

namespace quorvex::linux_host {

namespace {

constexpr const char* FpsSuffix = " fps";

class WaylandRunner {
public:
    WaylandRunner(const FrontEndOptions& options, SaverSettings& settings, WaylandClient& client)
        : options_(options),
          settings_(settings),
          client_(client),
          input_(client, options.mode == DisplayMode::Fullscreen,
                 [this](const InputEvent& e, wl_surface* s) { OnInput(e, s); }) {}

    int Run(int wakeRead);

private:
    void OnInput(InputEvent e, wl_surface* surface);
    void AddPanel(WaylandOutput* output, PanelRole role, size_t at);
    void FollowOutputs();
    bool Pump(int timeoutMs, int wakeRead);
    std::string Summary() const;

    const FrontEndOptions& options_;
    SaverSettings& settings_;
    WaylandClient& client_;
    WaylandInput input_;
    ClockFace face_;
    ClockStyle style_ = ClockStyleFromLocale();
    MonotonicTicks ticks_;
    uint32_t seed_ = ClockSeed();
    size_t started_ = 0;  // animations started, for their seeds
    // In the order the compositor lists the outputs: the first shows the
    // clock and the FPS text.
    std::vector<std::unique_ptr<WaylandPanel>> panels_;
    InputState inputState_;
    bool stop_ = false;
    bool lost_ = false;
};

void WaylandRunner::OnInput(InputEvent e, wl_surface* surface) {
    for (auto& p : panels_) {
        if (p->Surface() == surface) {
            e.x += p->LayoutX();
            e.y += p->LayoutY();
        }
    }
    if (InputEndsRun(options_.mode, settings_.MouseSens, inputState_, e)) stop_ = true;
}

void WaylandRunner::AddPanel(WaylandOutput* output, PanelRole role, size_t at) {
    auto panel = std::make_unique<WaylandPanel>(client_, output, role, options_.width, options_.height, face_, style_);
    StartAnimation(panel->animation, settings_, ticks_, panel->Target(), seed_, started_++);
    panels_.insert(panels_.begin() + static_cast<std::ptrdiff_t>(at), std::move(panel));
}

// Full screen: a surface for each output that has none, none for an output
// that went away or whose surface the compositor closed. The run goes on
// with whatever is left, even with no output at all for a while.
void WaylandRunner::FollowOutputs() {
    client_.outputsChanged = false;
    std::erase_if(panels_, [](const std::unique_ptr<WaylandPanel>& p) { return p->Output()->removed || p->Closed(); });
    DropRemovedOutputs(client_);
    const PanelRole role = client_.layerShell != nullptr ? PanelRole::Layer : PanelRole::FullscreenToplevel;
    size_t at = 0;
    for (auto& out : client_.outputs) {
        if (!out->ready) continue;
        auto it = std::find_if(panels_.begin(), panels_.end(), [&](auto& p) { return p->Output() == out.get(); });
        if (it == panels_.end()) {
            AddPanel(out.get(), role, at);
        } else {
            (*it)->OutputChanged();
        }
        ++at;
    }
    for (size_t i = 0; i < panels_.size(); ++i) panels_[i]->ShowTexts(i == 0);
}

// Sends what is queued and waits up to timeoutMs (-1: no limit) for events,
// then dispatches them. False once the connection is gone.
bool WaylandRunner::Pump(int timeoutMs, int wakeRead) {
    wl_display* d = client_.display;
    while (wl_display_prepare_read(d) != 0) {
        if (wl_display_dispatch_pending(d) < 0) return false;
    }
    if (wl_display_flush(d) < 0 && errno != EAGAIN) {
        wl_display_cancel_read(d);
        return false;
    }
    pollfd fds[2] = {{wl_display_get_fd(d), POLLIN, 0}, {wakeRead, POLLIN, 0}};
    const int n = poll(fds, wakeRead >= 0 ? 2 : 1, timeoutMs);
    if (n > 0 && (fds[0].revents & (POLLIN | POLLERR | POLLHUP)) != 0) {
        if (wl_display_read_events(d) < 0) return false;
    } else {
        wl_display_cancel_read(d);
    }
    if (n > 0 && wakeRead >= 0 && (fds[1].revents & POLLIN) != 0) DrainWakePipe(wakeRead);
    return wl_display_dispatch_pending(d) >= 0;
}

std::string WaylandRunner::Summary() const {
    std::string note = "wl_shm buffers; surfaces";
    for (const auto& p : panels_) {
        note += ' ' + std::to_string(p->PixelWidth()) + 'x' + std::to_string(p->PixelHeight()) + ':' +
                std::to_string(p->frames);
    }
    return note;
}

int WaylandRunner::Run(int wakeRead) {
    if (settings_.ShowClock) {
        std::string warning;
        if (!face_.Load(warning)) std::fprintf(stderr, "quorvex: warning: %s\n", warning.c_str());
    }
    if (options_.mode != DisplayMode::Fullscreen) AddPanel(nullptr, PanelRole::Window, 0);
    const uint64_t startMs = MonotonicUs() / 1000u;
    const uint64_t endMs = options_.durationMs != 0 ? startMs + options_.durationMs : UINT64_MAX;
    const uint64_t cpuStart = CpuMs();
    const uint32_t period = RepaintPeriod(settings_.Trace);
    std::string error;
    while (!stop_) {
        if (options_.mode == DisplayMode::Fullscreen && client_.outputsChanged) FollowOutputs();
        uint64_t now = MonotonicUs() / 1000u;
        uint64_t next = endMs;
        for (auto& p : panels_) {
            if (p->Closed()) {
                // The window's close button; a full-screen toplevel closed
                // by the compositor ends the run the same way.
                if (options_.mode != DisplayMode::Fullscreen || client_.layerShell == nullptr) stop_ = true;
                client_.outputsChanged = true;
                continue;
            }
            if (!p->Update(error)) return Fail(error, 1);
            // Held: the compositor keeps showing the last frame.
            if (!p->Ready() || HoldRequested()) continue;
            if (now >= p->dueMs) {
                p->dueMs = now + period;
                p->Paint(FpsSuffix);
                now = MonotonicUs() / 1000u;
            } else {
                next = std::min(next, p->dueMs);
            }
        }
        if (StopRequested() || now >= endMs) stop_ = true;
        if (stop_) break;
        const int timeout =
            next == UINT64_MAX ? -1 : static_cast<int>(std::min<uint64_t>(next - std::min(next, now), 60000));
        if (!Pump(timeout, wakeRead)) {
            lost_ = true;
            break;
        }
        if (StopRequested()) stop_ = true;
    }
    if (lost_) {
        const int code = wl_display_get_error(client_.display);
        std::string line = "lost the connection to the Wayland compositor";
        if (code == EPROTO) {
            const wl_interface* iface = nullptr;
            const uint32_t protocolCode = wl_display_get_protocol_error(client_.display, &iface, nullptr);
            line += std::string(" (protocol error ") + std::to_string(protocolCode) + " on " +
                    (iface != nullptr ? iface->name : "an object") + ")";
        }
        return Fail(line, 1);
    }
    if (options_.stats) {
        PrintStats(panels_.empty() ? 0 : panels_[0]->frames, static_cast<uint32_t>(MonotonicUs() / 1000u - startMs),
                   CpuMs() - cpuStart, Summary());
    }
    panels_.clear();
    wl_display_flush(client_.display);
    return 0;
}

}  // namespace

int RunWayland(const FrontEndOptions& options, SaverSettings& settings, int wakeRead) {
    WaylandClient client;
    std::string error;
    if (!ConnectWayland(client, options.mode, error)) {
        DisconnectWayland(client);
        return Fail(error, 2);
    }
    int result = 0;
    try {
        WaylandRunner runner(options, settings, client);
        result = runner.Run(wakeRead);
    } catch (const std::bad_alloc&) {
        result = Fail("out of memory for the surfaces", 1);
    }
    DisconnectWayland(client);
    return result;
}

}  // namespace quorvex::linux_host
