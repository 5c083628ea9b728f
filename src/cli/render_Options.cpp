// Parsing of the `quorvex render` arguments; see render_Options.h.
#include "render_Options.h"

#include <cstring>

#include "settings.h"

namespace quorvex::cli {

namespace {

// Accumulates decimal digits up to `limit`; false on anything else, on an
// empty text or on a value above the limit.
bool ParseDigits(const char* text, uint64_t limit, uint64_t& out) {
    if (text == nullptr || *text == '\0') return false;
    uint64_t value = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9') return false;
        value = value * 10 + static_cast<uint64_t>(*p - '0');
        if (value > limit) return false;
    }
    out = value;
    return true;
}

bool ParseSide(const std::string& text, int32_t& out) {
    uint64_t v = 0;
    if (!ParseDigits(text.c_str(), MaxRenderSide, v) || v == 0) return false;
    out = static_cast<int32_t>(v);
    return true;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EndsWithNoCase(const std::string& s, const char* suffix) {
    const size_t n = std::strlen(suffix);
    if (s.size() < n) return false;
    for (size_t i = 0; i < n; ++i) {
        if (Lower(s[s.size() - n + i]) != suffix[i]) return false;
    }
    return true;
}

bool ParseSetting(const char* text, SaverSettings& settings, std::string& error) {
    const char* eq = std::strchr(text, '=');
    if (eq == nullptr) {
        error = std::string("--set expects Name=Value, got '") + Shown(text) + "'";
        return false;
    }
    const std::string name(text, static_cast<size_t>(eq - text));
    const int index = SettingIndex(name.c_str());
    if (index < 0) {
        error = "unknown setting '" + Shown(name) + "'";
        return false;
    }
    int32_t value = 0;
    if (!ParseSigned32(eq + 1, value)) {
        error = "setting " + name + " needs a 32-bit decimal integer, got '" + Shown(eq + 1) + "'";
        return false;
    }
    SetSettingValue(settings, index, value);
    return true;
}

}  // namespace

// An argument as an error line shows it: control characters (a line feed,
// a terminal escape) become '?', so the message stays one plain line.
std::string Shown(const std::string& text) {
    std::string out = text;
    for (char& c : out) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) c = '?';
    }
    return out;
}

bool ParseUnsigned32(const char* text, uint32_t& out) {
    uint64_t v = 0;
    if (!ParseDigits(text, UINT32_MAX, v)) return false;
    out = static_cast<uint32_t>(v);
    return true;
}

bool ParseSigned32(const char* text, int32_t& out) {
    if (text == nullptr) return false;
    const bool negative = *text == '-';
    uint64_t v = 0;
    const uint64_t limit = negative ? uint64_t{2147483648u} : uint64_t{2147483647u};
    if (!ParseDigits(negative ? text + 1 : text, limit, v)) return false;
    out = negative ? static_cast<int32_t>(-static_cast<int64_t>(v)) : static_cast<int32_t>(v);
    return true;
}

bool ParseSize(const char* text, int32_t& width, int32_t& height) {
    if (text == nullptr) return false;
    const std::string s(text);
    const size_t x = s.find('x');
    if (x == std::string::npos) return false;
    int32_t w = 0;
    int32_t h = 0;
    if (!ParseSide(s.substr(0, x), w) || !ParseSide(s.substr(x + 1), h)) return false;
    width = w;
    height = h;
    return true;
}

bool ImageTypeFor(const std::string& path, ImageType& type) {
    if (EndsWithNoCase(path, ".ppm")) {
        type = ImageType::Ppm;
    } else if (EndsWithNoCase(path, ".png")) {
        type = ImageType::Png;
    } else if (EndsWithNoCase(path, ".gif")) {
        type = ImageType::Gif;
    } else {
        return false;
    }
    // A bare ".ppm" names no file, only an extension.
    const size_t slash = path.find_last_of("/\\");
    const size_t nameLength = slash == std::string::npos ? path.size() : path.size() - slash - 1;
    return nameLength > 4;
}

const char* RenderUsage() {
    return "Usage: quorvex render --size WxH --seed N --frames K --frame-ms T\n"
           "                      [--start-tick T0] [--set Name=Value]... [--preview] --out FILE\n"
           "\n"
           "Runs the animation offline on a black WxH surface and writes the result.\n"
           "The random generator is seeded with N and the clock starts at T0 (default 0);\n"
           "every one of the K frames advances the clock by T milliseconds.\n"
           "\n"
           "  --size WxH        surface size, each side 1..16384\n"
           "  --seed N          seed of the random generator (unsigned 32-bit)\n"
           "  --frames K        number of frames to step (unsigned 32-bit)\n"
           "  --frame-ms T      milliseconds between frames (unsigned 32-bit)\n"
           "  --start-tick T0   clock value when the surface is made (default 0)\n"
           "  --set Name=Value  change one setting; Name is one of ShowFPS, UnSortPoints,\n"
           "                    MouseSens, Move3D, PrimitivePoints, HuesOfGray, Trace,\n"
           "                    ShowClock, TraceModeInd, TraceLength; Value a decimal\n"
           "                    integer (0 is off for the on/off settings)\n"
           "  --preview         draw points as in the small preview window\n"
           "  --out FILE        .ppm (last frame), .png (last frame) or .gif (every frame)\n"
           "\n"
           "Exit status 0 on success, 2 on bad input or when the file cannot be written;\n"
           "a failed run leaves no file behind.\n";
}

ParseStatus ParseRenderOptions(int argc, const char* const* argv, RenderOptions& out, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return ParseStatus::Help;
    }

    RenderOptions opt;
    bool haveSize = false, haveSeed = false, haveFrames = false, haveFrameMs = false, haveOut = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--preview") == 0) {
            opt.preview = true;
            continue;
        }
        static const char* const valued[] = {"--size",       "--seed", "--frames", "--frame-ms",
                                             "--start-tick", "--set",  "--out"};
        bool known = false;
        for (const char* name : valued) known = known || std::strcmp(arg, name) == 0;
        if (!known) {
            error = std::string("unknown option '") + Shown(arg) + "'";
            return ParseStatus::Error;
        }
        if (i + 1 >= argc) {
            error = std::string("option '") + arg + "' needs a value";
            return ParseStatus::Error;
        }
        const char* value = argv[++i];
        const std::string name(arg);
        if (name == "--size") {
            if (!ParseSize(value, opt.width, opt.height)) {
                error = std::string("--size expects WxH with each side 1..16384, got '") + Shown(value) + "'";
                return ParseStatus::Error;
            }
            haveSize = true;
        } else if (name == "--set") {
            if (!ParseSetting(value, opt.settings, error)) return ParseStatus::Error;
        } else if (name == "--out") {
            opt.out = value;
            haveOut = true;
        } else {
            uint32_t n = 0;
            if (!ParseUnsigned32(value, n)) {
                error = name + " expects an unsigned 32-bit decimal integer, got '" + Shown(value) + "'";
                return ParseStatus::Error;
            }
            if (name == "--seed") {
                opt.seed = n;
                haveSeed = true;
            } else if (name == "--frames") {
                opt.frames = n;
                haveFrames = true;
            } else if (name == "--frame-ms") {
                opt.frameMs = n;
                haveFrameMs = true;
            } else {
                opt.startTick = n;
            }
        }
    }

    const char* missing = !haveSize      ? "--size"
                          : !haveSeed    ? "--seed"
                          : !haveFrames  ? "--frames"
                          : !haveFrameMs ? "--frame-ms"
                          : !haveOut     ? "--out"
                                         : nullptr;
    if (missing != nullptr) {
        error = std::string("missing option ") + missing;
        return ParseStatus::Error;
    }
    if (!ImageTypeFor(opt.out, opt.type)) {
        error = "unknown file type of '" + Shown(opt.out) + "' (use .ppm, .png or .gif)";
        return ParseStatus::Error;
    }
    if (opt.type == ImageType::Gif && opt.frames == 0) {
        error = "a GIF needs at least one frame (--frames 0)";
        return ParseStatus::Error;
    }
    out = opt;
    return ParseStatus::Ok;
}

}  // namespace quorvex::cli
