// Command line of the X11 front end, read by a pure function so that it can
// be tested and fuzzed without a display.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "UTypes.h"
#include "settings.h"

namespace quorvex::linux_host {

enum class DisplayMode {
    Window,      // a managed, resizable window
    Fullscreen,  // an override-redirect window over the whole screen, ended by input
    Root,        // the root window (or the window XSCREENSAVER_WINDOW names)
    WindowId,    // a window another program made
};

// Which display system the saver talks to; Auto picks by the environment.
enum class Backend { Auto, X11, Wayland };

inline constexpr int32_t DefaultWindowWidth = 1024;
inline constexpr int32_t DefaultWindowHeight = 768;
inline constexpr int32_t MaxWindowSide = 16384;

struct FrontEndOptions {
    DisplayMode mode = DisplayMode::Window;
    bool modeGiven = false;
    int32_t width = DefaultWindowWidth;
    int32_t height = DefaultWindowHeight;
    bool geometryGiven = false;
    uint32_t windowId = 0;
    std::string display;  // empty: $DISPLAY
    Backend backend = Backend::Auto;
    // One entry per setting in field order; set entries win over the file.
    std::array<std::optional<int32_t>, SettingCount> overrides{};
    uint32_t durationMs = 0;   // 0: run until ended
    bool stats = false;        // one summary line on stderr at exit
    bool sharedMemory = true;  // MIT-SHM when the server has it
    bool help = false;
};

struct ParsedOptions {
    bool ok = false;
    FrontEndOptions options;
    std::string error;  // one line, without the trailing newline
};

// argv[0] is the program name and is skipped.
ParsedOptions ParseFrontEndOptions(int argc, const char* const* argv);

// "1024x768": both sides 1..MaxWindowSide, decimal digits only.
bool ParseGeometry(const char* text, int32_t& width, int32_t& height);
// Decimal or 0x hexadecimal, non-zero, at most 32 bits (X ids use 29).
bool ParseWindowId(const char* text, uint32_t& id);

// Applies XSCREENSAVER_WINDOW (null when unset): with --root, or with no mode
// and no geometry given, the saver draws into the window it names. False with
// a one-line error when the value is not a window id.
bool ApplyScreensaverWindow(FrontEndOptions& options, const char* envValue, std::string& error);

// The back end of the run, given WAYLAND_DISPLAY (null when unset): Wayland
// for a window or full screen when a compositor is named and no X display
// was asked for; X11 otherwise, and always for the root window or another
// program's window, which only X has. False with a one-line error when
// --backend wayland is combined with what only X11 can do.
bool ChooseBackend(const FrontEndOptions& options, const char* waylandDisplay, Backend& chosen, std::string& error);

// Overrides laid over settings read from the file.
void ApplyOverrides(const FrontEndOptions& options, SaverSettings& settings);

// A command-line argument quoted for an error line: control characters
// become '?', and long texts are cut, so the line stays one line.
std::string QuoteArgument(const char* text);

const char* FrontEndUsage();

}  // namespace quorvex::linux_host
