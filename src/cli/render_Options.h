// Command line of `quorvex render`, parsed without side effects so that any
// argument vector can be checked on its own.
#pragma once

#include <cstdint>
#include <string>

#include "UTypes.h"

namespace quorvex::cli {

enum class ImageType { Ppm, Png, Gif };

inline constexpr int32_t MaxRenderSide = 16384;

struct RenderOptions {
    int32_t width = 0;
    int32_t height = 0;
    uint32_t seed = 0;
    uint32_t frames = 0;
    uint32_t frameMs = 0;
    uint32_t startTick = 0;
    bool preview = false;
    SaverSettings settings;  // the defaults, then every --set in order
    std::string out;
    ImageType type = ImageType::Ppm;
};

enum class ParseStatus { Ok, Help, Error };

// argv[0] is the subcommand's own name. On Error, `error` holds one line
// without the program prefix.
ParseStatus ParseRenderOptions(int argc, const char* const* argv, RenderOptions& out, std::string& error);

// Pieces of the grammar, for the parser and its tests.
bool ParseUnsigned32(const char* text, uint32_t& out);              // digits only
bool ParseSigned32(const char* text, int32_t& out);                 // optional '-', digits
bool ParseSize(const char* text, int32_t& width, int32_t& height);  // WxH, 1..16384 each
bool ImageTypeFor(const std::string& path, ImageType& type);        // by extension

const char* RenderUsage();

// An argument as an error line shows it: control characters (a line feed,
// a terminal escape) become '?', so the message stays one plain line.
std::string Shown(const std::string& text);

}  // namespace quorvex::cli
