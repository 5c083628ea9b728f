// Finding and rendering the clock face with fontconfig and FreeType.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstring>

#include "clock_Face.h"

namespace quorvex::linux_host {

namespace {

// Enough for the digits, separator and designators of any locale; other
// characters are rendered into a scratch glyph each time.
constexpr size_t GlyphCacheSize = 96;
// Lean of the sheared upright face: about 12 degrees, like most obliques.
constexpr FT_Fixed ShearX = 0x3400;  // 0.203 in 16.16

struct Match {
    FaceCandidate candidate;
    std::string file;
    int index = 0;
};

Match FindFace(bool italic) {
    Match m;
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return m;
    if (italic) FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ITALIC);
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_THIN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcPatternAddDouble(pattern, FC_PIXEL_SIZE, ClockCellHeight);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* font = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (font == nullptr) return m;
    FcChar8* file = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch && file != nullptr) {
        m.file = reinterpret_cast<const char*>(file);
        m.candidate.found = true;
        FcPatternGetInteger(font, FC_INDEX, 0, &m.index);
        FcPatternGetInteger(font, FC_WEIGHT, 0, &m.candidate.weight);
        FcPatternGetInteger(font, FC_SLANT, 0, &m.candidate.slant);
    }
    FcPatternDestroy(font);
    return m;
}

}  // namespace

ClockFace::~ClockFace() {
    if (face_ != nullptr) FT_Done_Face(static_cast<FT_Face>(face_));
    if (library_ != nullptr) FT_Done_FreeType(static_cast<FT_Library>(library_));
    // Nothing else in the process uses fontconfig: give its caches back.
    if (fontconfigStarted_) FcFini();
}

bool ClockFace::Load(std::string& warning) {
    warning = "no font for the clock; the clock is left out";
    if (!FcInit()) return false;
    fontconfigStarted_ = true;
    const Match italic = FindFace(true);
    const Match thin = FindFace(false);
    const FaceChoice choice = ChooseClockFace(italic.candidate, thin.candidate);
    if (choice.none) return false;
    const Match& chosen = choice.useThin ? thin : italic;

    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return false;
    library_ = library;
    FT_Face face = nullptr;
    if (FT_New_Face(library, chosen.file.c_str(), chosen.index, &face) != 0) {
        warning = "cannot load the clock font " + chosen.file + "; the clock is left out";
        return false;
    }
    // The Windows font mapper sizes by cell height (ascent plus descent).
    FT_Size_RequestRec request{};
    request.type = FT_SIZE_REQUEST_TYPE_CELL;
    request.height = ClockCellHeight * 64;
    if (FT_Request_Size(face, &request) != 0) {
        FT_Done_Face(face);
        warning = "cannot size the clock font " + chosen.file + "; the clock is left out";
        return false;
    }
    if (choice.slantByShear) {
        FT_Matrix shear{0x10000, ShearX, 0, 0x10000};
        FT_Set_Transform(face, &shear, nullptr);
    }
    face_ = face;
    ascent_ = static_cast<int32_t>((face->size->metrics.ascender + 63) >> 6);
    glyphs_.reserve(GlyphCacheSize);
    warning.clear();
    return true;
}

const ClockFace::Glyph* ClockFace::GlyphFor(uint32_t code) {
    for (const Glyph& g : glyphs_) {
        if (g.code == code) return &g;
    }
    FT_Face face = static_cast<FT_Face>(face_);
    if (FT_Load_Char(face, code, FT_LOAD_RENDER) != 0) return nullptr;
    const FT_GlyphSlot slot = face->glyph;
    Glyph* g = &scratch_;
    if (glyphs_.size() < GlyphCacheSize) {
        glyphs_.emplace_back();
        g = &glyphs_.back();
    }
    g->code = code;
    g->left = slot->bitmap_left;
    g->top = slot->bitmap_top;
    g->advance = static_cast<int32_t>(slot->advance.x);
    g->width = 0;
    g->rows = 0;
    g->coverage.clear();
    const FT_Bitmap& bm = slot->bitmap;
    if (bm.pixel_mode == FT_PIXEL_MODE_GRAY && bm.buffer != nullptr) {
        g->width = static_cast<int32_t>(bm.width);
        g->rows = static_cast<int32_t>(bm.rows);
        g->coverage.resize(static_cast<size_t>(g->width) * static_cast<size_t>(g->rows));
        for (int32_t y = 0; y < g->rows; ++y) {
            std::memcpy(g->coverage.data() + static_cast<size_t>(y) * static_cast<size_t>(g->width),
                        bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch, static_cast<size_t>(g->width));
        }
    }
    return g;
}

int32_t ClockFace::TextWidth(const char* text, size_t length) {
    if (face_ == nullptr) return 0;
    int64_t width = 0;
    for (size_t i = 0; i < length;) {
        const Glyph* g = GlyphFor(NextCodePoint(text, length, i));
        if (g != nullptr) width += g->advance;
    }
    return static_cast<int32_t>((width + 32) >> 6);
}

Rect ClockFace::Draw(SoftwareSurface& surface, int32_t right, int32_t top, const char* text, size_t length,
                     const PackedColour* colour) {
    Rect box{};
    if (face_ == nullptr) return box;
    // Right/top alignment: the advances end at `right`, the ascent starts at `top`.
    int64_t pen = static_cast<int64_t>(right - TextWidth(text, length)) * 64;
    const int32_t baseline = top + ascent_;
    for (size_t i = 0; i < length;) {
        const Glyph* g = GlyphFor(NextCodePoint(text, length, i));
        if (g == nullptr) continue;
        const int32_t x = static_cast<int32_t>((pen + 32) >> 6) + g->left;
        const int32_t y = baseline - g->top;
        if (g->width > 0 && g->rows > 0) {
            const Rect glyph{x, y, x + g->width, y + g->rows};
            if (box.left >= box.right) {
                box = glyph;
            } else {
                box = Rect{std::min(box.left, glyph.left), std::min(box.top, glyph.top),
                           std::max(box.right, glyph.right), std::max(box.bottom, glyph.bottom)};
            }
            if (colour == nullptr) {
                CoverIndexed(surface.Pixels(), x, y, g->coverage.data(), g->width, g->rows, g->width);
            } else {
                CoverPacked(surface, x, y, g->coverage.data(), g->width, g->rows, g->width, *colour);
            }
        }
        pen += g->advance;
    }
    return box;
}

}  // namespace quorvex::linux_host
