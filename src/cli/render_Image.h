// Image files of the offline renderer: the last frame as PPM or PNG, every
// frame as an animated GIF. The writers take an open file and report false
// on any write failure; placing the file is the caller's business.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>

#include "surface_Software.h"

namespace quorvex::cli {

bool PngAvailable();
bool GifAvailable();

bool WritePpm(std::FILE* file, const SoftwareSurface& surface);
bool WritePng(std::FILE* file, const SoftwareSurface& surface);

// Frames are encoded as they come, so a long animation never sits in memory.
class GifWriter {
public:
    GifWriter();
    ~GifWriter();
    GifWriter(const GifWriter&) = delete;
    GifWriter& operator=(const GifWriter&) = delete;

    // delayMs is rounded to the format's hundredths of a second.
    bool Open(std::FILE* file, int32_t width, int32_t height, uint32_t delayMs);
    bool AddFrame(const SoftwareSurface& surface);
    bool Close();

    struct State;

private:
    std::unique_ptr<State> state_;
};

// A palette of at most 256 colours for one Trace-off frame: exact when the
// frame has no more colours, else 3-3-2 bits of red, green and blue. Kept
// apart from the encoder so it can be checked without one.
class FramePalette {
public:
    FramePalette();
    // Returns true when the frame's colours fitted exactly.
    bool Build(const SoftwareSurface& surface);
    uint8_t IndexOf(PackedColour colour) const;
    int Count() const { return count_; }
    PackedColour Colour(int index) const { return colours_[index]; }

private:
    static constexpr int Slots = 1024;
    bool Insert(PackedColour colour);
    uint32_t keys_[Slots];  // colour | Occupied, 0 when free
    uint8_t values_[Slots];
    PackedColour colours_[256];
    int count_ = 0;
    bool exact_ = true;
};

}  // namespace quorvex::cli
