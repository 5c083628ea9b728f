// Reading the front end's command line. Every failure is one line of text:
// the caller prints it and exits with status 2.
#include <cstring>
#include <string_view>

#include "options.h"

namespace quorvex::linux_host {

namespace {

// Boolean settings as options: --NAME switches on, --no-NAME off.
struct FlagOption {
    const char* option;
    const char* setting;
};
constexpr FlagOption FlagOptions[] = {
    {"trace", "Trace"},
    {"show-fps", "ShowFPS"},
    {"show-clock", "ShowClock"},
    {"hues-of-gray", "HuesOfGray"},
    {"primitive-points", "PrimitivePoints"},
    {"mix-points", "UnSortPoints"},
    {"move-3d", "Move3D"},
    {"mouse-sens", "MouseSens"},
};

constexpr const char* TraceModeNames[] = {"simple", "diffusion", "fire"};

// Longest run of decimal digits accepted for a count; more can only overflow.
constexpr size_t MaxDigits = 10;

bool ParseUnsigned(std::string_view text, uint64_t limit, uint64_t& value) {
    if (text.empty() || text.size() > MaxDigits) return false;
    uint64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<uint64_t>(c - '0');
    }
    if (v > limit) return false;
    value = v;
    return true;
}

bool SetMode(FrontEndOptions& o, DisplayMode mode, std::string& error) {
    if (o.modeGiven && o.mode != mode) {
        error = "--fullscreen, --root and --window-id exclude each other";
        return false;
    }
    o.mode = mode;
    o.modeGiven = true;
    return true;
}

std::string Fail(std::string_view what, const char* arg) {
    std::string line(what);
    line += ' ';
    line += QuoteArgument(arg);
    line += " (try --help-window)";
    return line;
}

}  // namespace

std::string QuoteArgument(const char* text) {
    constexpr size_t MaxShown = 64;
    std::string out = "'";
    size_t n = 0;
    for (const char* p = text; *p != '\0'; ++p, ++n) {
        if (n == MaxShown) {
            out += "...";
            break;
        }
        unsigned char c = static_cast<unsigned char>(*p);
        out += (c < 0x20 || c == 0x7F) ? '?' : static_cast<char>(c);
    }
    out += '\'';
    return out;
}

bool ParseGeometry(const char* text, int32_t& width, int32_t& height) {
    std::string_view s(text);
    size_t x = s.find('x');
    if (x == std::string_view::npos) return false;
    uint64_t w = 0;
    uint64_t h = 0;
    if (!ParseUnsigned(s.substr(0, x), MaxWindowSide, w) || !ParseUnsigned(s.substr(x + 1), MaxWindowSide, h)) {
        return false;
    }
    if (w == 0 || h == 0) return false;
    width = static_cast<int32_t>(w);
    height = static_cast<int32_t>(h);
    return true;
}

bool ParseWindowId(const char* text, uint32_t& id) {
    std::string_view s(text);
    uint64_t v = 0;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        std::string_view hex = s.substr(2);
        if (hex.size() > 8) return false;
        for (char c : hex) {
            int digit;
            if (c >= '0' && c <= '9') {
                digit = c - '0';
            } else if (c >= 'a' && c <= 'f') {
                digit = c - 'a' + 10;
            } else if (c >= 'A' && c <= 'F') {
                digit = c - 'A' + 10;
            } else {
                return false;
            }
            v = v * 16 + static_cast<uint64_t>(digit);
        }
    } else if (!ParseUnsigned(s, 0xFFFFFFFFu, v)) {
        return false;
    }
    if (v == 0) return false;
    id = static_cast<uint32_t>(v);
    return true;
}

ParsedOptions ParseFrontEndOptions(int argc, const char* const* argv) {
    ParsedOptions result;
    FrontEndOptions& o = result.options;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (arg == nullptr) continue;
        std::string_view a(arg);
        // X programs traditionally take long options with one dash (-root,
        // -window-id); both spellings are read the same.
        std::string_view name;
        if (a.size() > 2 && a.substr(0, 2) == "--") {
            name = a.substr(2);
        } else if (a.size() > 1 && a[0] == '-' && a[1] != '-') {
            name = a.substr(1);
        } else {
            result.error = Fail("unexpected argument", arg);
            return result;
        }
        std::string inlineValue;
        bool hasInline = false;
        if (size_t eq = name.find('='); eq != std::string_view::npos) {
            inlineValue = std::string(name.substr(eq + 1));
            hasInline = true;
            name = name.substr(0, eq);
        }
        // Fetches the option's value: after '=' or as the next argument.
        auto value = [&](const char*& out) -> bool {
            if (hasInline) {
                out = inlineValue.c_str();
                return true;
            }
            if (i + 1 >= argc || argv[i + 1] == nullptr) {
                result.error = Fail("missing value for", arg);
                return false;
            }
            out = argv[++i];
            return true;
        };
        auto noValue = [&]() -> bool {
            if (hasInline) result.error = Fail("option takes no value:", arg);
            return !hasInline;
        };

        const char* v = nullptr;
        if (name == "help" || name == "h" || name == "help-window") {
            if (!noValue()) return result;
            o.help = true;
        } else if (name == "fullscreen") {
            if (!noValue() || !SetMode(o, DisplayMode::Fullscreen, result.error)) return result;
        } else if (name == "root") {
            if (!noValue() || !SetMode(o, DisplayMode::Root, result.error)) return result;
        } else if (name == "window-id") {
            if (!value(v)) return result;
            if (!ParseWindowId(v, o.windowId)) {
                result.error = Fail("bad window id", v);
                return result;
            }
            if (!SetMode(o, DisplayMode::WindowId, result.error)) return result;
        } else if (name == "geometry") {
            if (!value(v)) return result;
            if (!ParseGeometry(v, o.width, o.height)) {
                result.error = Fail("bad geometry (want WIDTHxHEIGHT, 1 to 16384 each)", v);
                return result;
            }
            o.geometryGiven = true;
        } else if (name == "display") {
            if (!value(v)) return result;
            o.display = v;
        } else if (name == "backend") {
            if (!value(v)) return result;
            if (std::strcmp(v, "x11") == 0) {
                o.backend = Backend::X11;
            } else if (std::strcmp(v, "wayland") == 0) {
                o.backend = Backend::Wayland;
            } else {
                result.error = Fail("bad back end (want wayland or x11)", v);
                return result;
            }
        } else if (name == "trace-mode") {
            if (!value(v)) return result;
            int found = -1;
            for (int k = 0; k < 3; ++k) {
                if (std::strcmp(v, TraceModeNames[k]) == 0 || (v[0] == '0' + k && v[1] == '\0')) found = k;
            }
            if (found < 0) {
                result.error = Fail("bad trace mode (want simple, diffusion or fire)", v);
                return result;
            }
            o.overrides[SettingIndex("TraceModeInd")] = found;
        } else if (name == "trace-length") {
            if (!value(v)) return result;
            uint64_t length = 0;
            if (!ParseUnsigned(v, 3, length)) {
                result.error = Fail("bad trace length (want 0 to 3)", v);
                return result;
            }
            o.overrides[SettingIndex("TraceLength")] = static_cast<int32_t>(length);
        } else if (name == "duration") {
            if (!value(v)) return result;
            uint64_t seconds = 0;
            if (!ParseUnsigned(v, 86400, seconds) || seconds == 0) {
                result.error = Fail("bad duration (want whole seconds, 1 to 86400)", v);
                return result;
            }
            o.durationMs = static_cast<uint32_t>(seconds * 1000);
        } else if (name == "stats") {
            if (!noValue()) return result;
            o.stats = true;
        } else if (name == "no-shm") {
            if (!noValue()) return result;
            o.sharedMemory = false;
        } else {
            bool matched = false;
            for (const FlagOption& f : FlagOptions) {
                bool on = name == f.option;
                bool off = name.size() > 3 && name.substr(0, 3) == "no-" && name.substr(3) == f.option;
                if (!on && !off) continue;
                if (!noValue()) return result;
                o.overrides[SettingIndex(f.setting)] = on ? 1 : 0;
                matched = true;
                break;
            }
            if (!matched) {
                result.error = Fail("unknown option", arg);
                return result;
            }
        }
    }
    if (o.geometryGiven && o.modeGiven) {
        result.error = "--geometry applies to the window only, not to --fullscreen, --root or --window-id";
        return result;
    }
    result.ok = true;
    return result;
}

bool ApplyScreensaverWindow(FrontEndOptions& options, const char* envValue, std::string& error) {
    if (envValue == nullptr || envValue[0] == '\0') return true;
    bool implicitWindow = !options.modeGiven && !options.geometryGiven;
    if (options.mode != DisplayMode::Root && !implicitWindow) return true;
    uint32_t id = 0;
    if (!ParseWindowId(envValue, id)) {
        error = "XSCREENSAVER_WINDOW is not a window id: " + QuoteArgument(envValue);
        return false;
    }
    options.mode = DisplayMode::WindowId;
    options.windowId = id;
    return true;
}

bool ChooseBackend(const FrontEndOptions& o, const char* waylandDisplay, Backend& chosen, std::string& error) {
    const bool xOnly = o.mode == DisplayMode::Root || o.mode == DisplayMode::WindowId;
    if (o.backend == Backend::Wayland && (xOnly || !o.display.empty())) {
        error = xOnly ? "--root, --window-id and XSCREENSAVER_WINDOW need the X11 back end"
                      : "--display names an X display; it does not go with --backend wayland";
        return false;
    }
    const bool compositor = waylandDisplay != nullptr && waylandDisplay[0] != '\0';
    if (o.backend != Backend::Auto) {
        chosen = o.backend;
    } else {
        chosen = compositor && !xOnly && o.display.empty() ? Backend::Wayland : Backend::X11;
    }
    return true;
}

void ApplyOverrides(const FrontEndOptions& options, SaverSettings& settings) {
    for (int k = 0; k < SettingCount; ++k) {
        if (options.overrides[k]) SetSettingValue(settings, k, *options.overrides[k]);
    }
}

const char* FrontEndUsage() {
    return "Usage: quorvex [OPTIONS]\n"
           "\n"
           "Shows the saver in a window (1024x768 unless --geometry says otherwise).\n"
           "q, Escape or closing the window ends it.\n"
           "\n"
           "Where to draw:\n"
           "  --geometry WxH        size of the window\n"
           "  --fullscreen          cover the screen; a key, a left or right button or\n"
           "                        (with --mouse-sens) moving the mouse ends it\n"
           "  --root                draw on the root window (or XSCREENSAVER_WINDOW)\n"
           "  --window-id ID        draw into an existing window (decimal or 0x hex)\n"
           "  --display NAME        the X display (default $DISPLAY)\n"
           "  --backend NAME        wayland or x11 (default: wayland when WAYLAND_DISPLAY\n"
           "                        is set, for a window or full screen)\n"
           "\n"
           "Settings (over those of 'quorvex config'):\n"
           "  --trace, --no-trace   trails behind the points\n"
           "  --trace-mode MODE     simple, diffusion or fire\n"
           "  --trace-length N      0 to 3\n"
           "  --show-fps            frames per second at the top left\n"
           "  --show-clock          the time at the top right\n"
           "  --hues-of-gray        grey shades instead of the cycling tint\n"
           "  --primitive-points    plot points the simple way\n"
           "  --mix-points          shuffle the order of the points of each shape\n"
           "  --move-3d             the object also moves in depth\n"
           "  --mouse-sens          moving the mouse ends the full-screen saver\n"
           "  Each switch has a --no- form, e.g. --no-mouse-sens.\n"
           "\n"
           "Diagnostics:\n"
           "  --duration SECONDS    end after this time\n"
           "  --stats               print frames and CPU time on exit\n"
           "  --no-shm              put images without MIT-SHM shared memory\n"
           "\n"
           "Signals: TERM and INT end the saver; USR1 holds the picture (no frames\n"
           "are drawn, as while a display sleeps), USR2 lets it go on.\n";
}

}  // namespace quorvex::linux_host
