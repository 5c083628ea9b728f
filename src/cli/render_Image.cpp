// PPM, PNG and GIF output of the offline renderer; see render_Image.h.
#include "render_Image.h"

#include <csetjmp>
#include <cstring>
#include <vector>

#ifdef QUORVEX_HAVE_PNG
#include <png.h>
#endif
#ifdef QUORVEX_HAVE_GIF
#include <gif_lib.h>
#endif

namespace quorvex::cli {

namespace {

constexpr uint32_t Occupied = 0x80000000u;

uint8_t Red(PackedColour c) { return static_cast<uint8_t>(c & 0xFFu); }
uint8_t Green(PackedColour c) { return static_cast<uint8_t>((c >> 8) & 0xFFu); }
uint8_t Blue(PackedColour c) { return static_cast<uint8_t>((c >> 16) & 0xFFu); }

uint32_t Hash(PackedColour c) { return ((c & 0xFFFFFFu) * 2654435761u) >> 22; }  // 10 bits

uint8_t Index332(PackedColour c) {
    return static_cast<uint8_t>((Red(c) >> 5) << 5 | (Green(c) >> 5) << 2 | (Blue(c) >> 6));
}

}  // namespace

bool WritePpm(std::FILE* file, const SoftwareSurface& surface) {
    const int32_t w = surface.Width();
    const int32_t h = surface.Height();
    if (std::fprintf(file, "P6\n%d %d\n255\n", w, h) < 0) return false;
    std::vector<uint8_t> row(static_cast<size_t>(w) * 3);
    for (int32_t y = 0; y < h; ++y) {
        surface.RowToRgb(y, row.data());
        if (std::fwrite(row.data(), 1, row.size(), file) != row.size()) return false;
    }
    return std::fflush(file) == 0;
}

// ---------------------------------------------------------------- PNG

#ifdef QUORVEX_HAVE_PNG

bool PngAvailable() { return true; }

namespace {

void PngError(png_structp png, png_const_charp) { std::longjmp(png_jmpbuf(png), 1); }
void PngWarning(png_structp, png_const_charp) {}

}  // namespace

bool WritePng(std::FILE* file, const SoftwareSurface& surface) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    // Declared before setjmp so the longjmp leaves them in a defined state.
    std::vector<uint8_t> row;
    bool ok = false;
    if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
        const int32_t w = surface.Width();
        const int32_t h = surface.Height();
        png_init_io(png, file);
        const bool indexed = surface.Kind() == SurfaceKind::Indexed;
        png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8,
                     indexed ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        if (indexed) {
            png_color palette[256];
            const ColourEntry* table = surface.ColourTable();
            for (int i = 0; i < 256; ++i) palette[i] = png_color{table[i].red, table[i].green, table[i].blue};
            png_set_PLTE(png, info, palette, 256);
        }
        png_write_info(png, info);
        row.resize(static_cast<size_t>(w) * 3);
        for (int32_t y = 0; y < h; ++y) {
            if (indexed) {
                png_write_row(png, surface.IndexRow(y));
            } else {
                surface.RowToRgb(y, row.data());
                png_write_row(png, row.data());
            }
        }
        png_write_end(png, nullptr);
        ok = std::fflush(file) == 0 && std::ferror(file) == 0;
    }
    png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
    return ok;
}

#else

bool PngAvailable() { return false; }
bool WritePng(std::FILE*, const SoftwareSurface&) { return false; }

#endif

// ---------------------------------------------------------------- palette

FramePalette::FramePalette() {
    std::memset(keys_, 0, sizeof keys_);
    std::memset(values_, 0, sizeof values_);
    std::memset(colours_, 0, sizeof colours_);
}

bool FramePalette::Insert(PackedColour colour) {
    const uint32_t key = (colour & 0xFFFFFFu) | Occupied;
    uint32_t slot = Hash(colour);
    while (keys_[slot] != 0) {
        if (keys_[slot] == key) return true;
        slot = (slot + 1) & (Slots - 1);
    }
    if (count_ == 256) return false;
    keys_[slot] = key;
    values_[slot] = static_cast<uint8_t>(count_);
    colours_[count_++] = colour & 0xFFFFFFu;
    return true;
}

bool FramePalette::Build(const SoftwareSurface& surface) {
    std::memset(keys_, 0, sizeof keys_);
    count_ = 0;
    exact_ = true;
    for (int32_t y = 0; y < surface.Height() && exact_; ++y) {
        if (surface.Kind() == SurfaceKind::Rgb) {
            const PackedColour* row = surface.RgbRow(y);
            PackedColour last = ~0u;  // runs of one colour are the rule
            for (int32_t x = 0; x < surface.Width(); ++x) {
                if (row[x] == last) continue;
                last = row[x];
                if (!Insert(row[x])) {
                    exact_ = false;
                    break;
                }
            }
        } else {
            for (int32_t x = 0; x < surface.Width() && exact_; ++x) exact_ = Insert(surface.ColourAt(x, y));
        }
    }
    if (!exact_) {
        for (int i = 0; i < 256; ++i) {
            const uint32_t r = static_cast<uint32_t>((i >> 5) & 7) * 255u / 7u;
            const uint32_t g = static_cast<uint32_t>((i >> 2) & 7) * 255u / 7u;
            const uint32_t b = static_cast<uint32_t>(i & 3) * 255u / 3u;
            colours_[i] = PackColour(r, g, b);
        }
        count_ = 256;
    }
    return exact_;
}

uint8_t FramePalette::IndexOf(PackedColour colour) const {
    if (!exact_) return Index332(colour);
    const uint32_t key = (colour & 0xFFFFFFu) | Occupied;
    uint32_t slot = Hash(colour);
    while (keys_[slot] != 0) {
        if (keys_[slot] == key) return values_[slot];
        slot = (slot + 1) & (Slots - 1);
    }
    return 0;
}

// ---------------------------------------------------------------- GIF

#ifdef QUORVEX_HAVE_GIF

bool GifAvailable() { return true; }

struct GifWriter::State {
    std::FILE* file = nullptr;
    GifFileType* gif = nullptr;
    bool writeFailed = false;
    int32_t width = 0;
    int32_t height = 0;
    int delayCs = 0;
    ColorMapObject* map = nullptr;
    FramePalette palette;
    std::vector<GifPixelType> line;
};

namespace {

int GifOutput(GifFileType* gif, const GifByteType* data, int length) {
    auto* state = static_cast<GifWriter::State*>(gif->UserData);
    if (state->file == nullptr) return 0;
    if (std::fwrite(data, 1, static_cast<size_t>(length), state->file) != static_cast<size_t>(length)) {
        state->writeFailed = true;
        return 0;
    }
    return length;
}

}  // namespace

GifWriter::GifWriter() : state_(std::make_unique<State>()) {}

GifWriter::~GifWriter() {
    if (state_->gif != nullptr) {
        // An unfinished animation is abandoned: release it without writing.
        state_->file = nullptr;
        int error = 0;
        EGifCloseFile(state_->gif, &error);
    }
    if (state_->map != nullptr) GifFreeMapObject(state_->map);
}

bool GifWriter::Open(std::FILE* file, int32_t width, int32_t height, uint32_t delayMs) {
    State& s = *state_;
    s.file = file;
    s.width = width;
    s.height = height;
    const uint64_t cs = (static_cast<uint64_t>(delayMs) + 5) / 10;
    s.delayCs = static_cast<int>(cs > 65535 ? 65535 : cs);
    s.line.assign(static_cast<size_t>(width), 0);
    s.map = GifMakeMapObject(256, nullptr);
    int error = 0;
    s.gif = EGifOpen(&s, GifOutput, &error);
    if (s.gif == nullptr || s.map == nullptr) return false;
    EGifSetGifVersion(s.gif, true);
    if (EGifPutScreenDesc(s.gif, width, height, 8, 0, nullptr) != GIF_OK) return false;
    // Loop for ever.
    static const GifByteType netscape[] = "NETSCAPE2.0";
    static const GifByteType loop[] = {1, 0, 0};
    if (EGifPutExtensionLeader(s.gif, APPLICATION_EXT_FUNC_CODE) != GIF_OK ||
        EGifPutExtensionBlock(s.gif, 11, netscape) != GIF_OK || EGifPutExtensionBlock(s.gif, 3, loop) != GIF_OK ||
        EGifPutExtensionTrailer(s.gif) != GIF_OK) {
        return false;
    }
    return !s.writeFailed;
}

bool GifWriter::AddFrame(const SoftwareSurface& surface) {
    State& s = *state_;
    if (s.gif == nullptr || surface.Width() != s.width || surface.Height() != s.height) return false;
    const bool indexed = surface.Kind() == SurfaceKind::Indexed;
    if (indexed) {
        const ColourEntry* table = surface.ColourTable();
        for (int i = 0; i < 256; ++i) s.map->Colors[i] = GifColorType{table[i].red, table[i].green, table[i].blue};
    } else {
        s.palette.Build(surface);
        for (int i = 0; i < 256; ++i) {
            const PackedColour c = i < s.palette.Count() ? s.palette.Colour(i) : 0;
            s.map->Colors[i] = GifColorType{Red(c), Green(c), Blue(c)};
        }
    }

    GraphicsControlBlock gcb{};
    gcb.DisposalMode = DISPOSE_DO_NOT;
    gcb.UserInputFlag = false;
    gcb.DelayTime = s.delayCs;
    gcb.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType ext[4];
    EGifGCBToExtension(&gcb, ext);
    if (EGifPutExtension(s.gif, GRAPHICS_EXT_FUNC_CODE, 4, ext) != GIF_OK) return false;
    if (EGifPutImageDesc(s.gif, 0, 0, s.width, s.height, false, s.map) != GIF_OK) return false;
    for (int32_t y = 0; y < s.height; ++y) {
        GifPixelType* line = s.line.data();
        if (indexed) {
            std::memcpy(line, surface.IndexRow(y), static_cast<size_t>(s.width));
        } else {
            const PackedColour* row = surface.RgbRow(y);
            for (int32_t x = 0; x < s.width; ++x) line[x] = s.palette.IndexOf(row[x]);
        }
        if (EGifPutLine(s.gif, line, s.width) != GIF_OK) return false;
    }
    return !s.writeFailed;
}

bool GifWriter::Close() {
    State& s = *state_;
    if (s.gif == nullptr) return false;
    int error = 0;
    const bool closed = EGifCloseFile(s.gif, &error) == GIF_OK;
    s.gif = nullptr;
    return closed && !s.writeFailed && std::fflush(s.file) == 0;
}

#else

bool GifAvailable() { return false; }

struct GifWriter::State {};
GifWriter::GifWriter() : state_(std::make_unique<State>()) {}
GifWriter::~GifWriter() = default;
bool GifWriter::Open(std::FILE*, int32_t, int32_t, uint32_t) { return false; }
bool GifWriter::AddFrame(const SoftwareSurface&) { return false; }
bool GifWriter::Close() { return false; }

#endif

}  // namespace quorvex::cli
