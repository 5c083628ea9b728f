// The clock's face: a thin italic face about 75 pixels high found through
// fontconfig and drawn with FreeType into the surface, as the Windows saver
// draws its clock into its off-screen bitmap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "RDrawUn.h"
#include "surface_Software.h"

namespace quorvex::linux_host {

// Cell height (ascent plus descent) of the clock face, in pixels.
inline constexpr int32_t ClockCellHeight = 75;

// A glyph's coverage drawn into 8-bit pixels: each pixel keeps the larger of
// its value and the coverage, so fully covered pixels become 255, the
// brightest entry, and the text fades with the trails like any point.
void CoverIndexed(IndexedPixels px, int32_t left, int32_t top, const uint8_t* coverage, int32_t width, int32_t rows,
                  int32_t pitch);
// A glyph's coverage blended in `colour` over packed-colour pixels; pixels
// the glyph does not touch keep their colour. Clipped to the surface.
void CoverPacked(SoftwareSurface& surface, int32_t left, int32_t top, const uint8_t* coverage, int32_t width,
                 int32_t rows, int32_t pitch, PackedColour colour);

// What fontconfig offered: weight on its scale (0 thin .. 210 black) and
// slant (0 roman, 100 italic, 110 oblique).
struct FaceCandidate {
    bool found = false;
    int weight = 80;
    int slant = 0;
};
struct FaceChoice {
    bool useThin = false;       // take the thin face instead of the italic one
    bool slantByShear = false;  // the chosen face is upright: lean it
    bool none = false;
};
// Thinness matters more than a true italic: the best italic match is kept
// unless it is heavier than light and an upright face is thinner, which is
// then sheared. A face that is upright anyway is sheared too.
FaceChoice ChooseClockFace(const FaceCandidate& italic, const FaceCandidate& thin);

// Decodes one UTF-8 sequence at text[i] (i < length), advancing i; an invalid
// byte gives U+FFFD and advances by one.
uint32_t NextCodePoint(const char* text, size_t length, size_t& i);

class ClockFace {
public:
    ClockFace() = default;
    ~ClockFace();
    ClockFace(const ClockFace&) = delete;
    ClockFace& operator=(const ClockFace&) = delete;

    // False with a one-line warning when no usable face exists.
    bool Load(std::string& warning);
    bool Loaded() const { return face_ != nullptr; }

    // Draws the text with its top-right corner at (right, top): into the
    // 8-bit pixels as white (colour null), or in `colour` over packed colours.
    // Returns the box the glyphs cover (not clipped to the surface).
    Rect Draw(SoftwareSurface& surface, int32_t right, int32_t top, const char* text, size_t length,
              const PackedColour* colour);
    // Width of the text in pixels (sum of the advances).
    int32_t TextWidth(const char* text, size_t length);

private:
    struct Glyph {
        uint32_t code = 0;
        int32_t left = 0;
        int32_t top = 0;
        int32_t width = 0;
        int32_t rows = 0;
        int32_t advance = 0;  // 26.6 fixed point
        std::vector<uint8_t> coverage;
    };
    const Glyph* GlyphFor(uint32_t code);

    void* library_ = nullptr;  // FT_Library
    void* face_ = nullptr;     // FT_Face
    bool fontconfigStarted_ = false;
    int32_t ascent_ = 0;
    std::vector<Glyph> glyphs_;
    Glyph scratch_;
};

}  // namespace quorvex::linux_host
