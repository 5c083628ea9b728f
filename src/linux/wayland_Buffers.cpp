// See wayland_Buffers.h.
#include "wayland_Buffers.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "surface_Damage.h"

namespace quorvex::linux_host {

namespace {

// XRGB8888 is defined as a little-endian 32-bit word: blue in the first
// byte, whatever the host's byte order.
PixelLayout XrgbLayout() {
    PixelLayout layout;
    layout.bitsPerPixel = 32;
    layout.msbFirst = false;
    return layout;
}

const wl_buffer_listener bufferListener = {
    [](void* data, wl_buffer*) { *static_cast<bool*>(data) = false; },
};

}  // namespace

void ShmBuffers::Slot::AddStale(const Rect& r) {
    if (whole || IsEmpty(r)) return;
    if (staleCount == MaxStale) {
        whole = true;
        return;
    }
    stale[staleCount++] = r;
}

ShmBuffers::ShmBuffers(wl_shm* shm) : shm_(shm), mapper_(XrgbLayout()) {}

ShmBuffers::~ShmBuffers() { Release(); }

void ShmBuffers::Release() {
    for (Slot& s : slots_) {
        if (s.buffer != nullptr) wl_buffer_destroy(s.buffer);
        s = Slot{};
    }
    if (memory_ != nullptr) munmap(memory_, bytes_);
    memory_ = nullptr;
    bytes_ = 0;
    width_ = height_ = 0;
}

bool ShmBuffers::Resize(int32_t width, int32_t height, std::string& error) {
    Release();
    if (width <= 0 || height <= 0) return true;
    const size_t stride = static_cast<size_t>(width) * 4u;
    const size_t one = stride * static_cast<size_t>(height);
    const size_t bytes = one * Slots;
    auto fail = [&](const char* what) {
        error = std::string("cannot make ") + what + " for " + std::to_string(width) + "x" + std::to_string(height) +
                " pixels";
        return false;
    };
    if (stride > INT32_MAX || bytes / Slots != one || bytes > INT32_MAX) return fail("shared buffers");
    const int fd = memfd_create("quorvex-buffers", MFD_CLOEXEC);
    if (fd < 0) return fail("a shared memory file");
    if (ftruncate(fd, static_cast<off_t>(bytes)) != 0) {
        close(fd);
        return fail("shared buffers");
    }
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (memory == MAP_FAILED) {
        close(fd);
        return fail("shared buffers");
    }
    wl_shm_pool* pool = wl_shm_create_pool(shm_, fd, static_cast<int32_t>(bytes));
    for (int k = 0; k < Slots; ++k) {
        Slot& s = slots_[k];
        s.buffer = wl_shm_pool_create_buffer(pool, static_cast<int32_t>(one * k), width, height,
                                             static_cast<int32_t>(stride), WL_SHM_FORMAT_XRGB8888);
        s.pixels = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(memory) + one * k);
        s.lit.assign(static_cast<size_t>(height), Span{});
        wl_buffer_add_listener(s.buffer, &bufferListener, &s.held);
    }
    wl_shm_pool_destroy(pool);
    close(fd);
    memory_ = memory;
    bytes_ = bytes;
    width_ = width;
    height_ = height;
    return true;
}

int ShmBuffers::FreeSlot() const {
    for (int k = 0; k < Slots; ++k) {
        if (slots_[k].buffer != nullptr && !slots_[k].held) return k;
    }
    return -1;
}

uint32_t* ShmBuffers::Row(int slot, int32_t y) const {
    return slots_[slot].pixels + static_cast<size_t>(y) * static_cast<size_t>(width_);
}

void ShmBuffers::ConvertPart(Slot& s, const SoftwareSurface& surface, const Rect& part) {
    const Rect c{std::max(part.left, 0), std::max(part.top, 0), std::min({part.right, surface.Width(), width_}),
                 std::min({part.bottom, surface.Height(), height_})};
    if (IsEmpty(c)) return;
    const bool indexed = surface.Kind() == SurfaceKind::Indexed;
    for (int32_t y = c.top; y < c.bottom; ++y) {
        uint8_t* dst = reinterpret_cast<uint8_t*>(s.pixels + static_cast<size_t>(y) * static_cast<size_t>(width_) +
                                                  static_cast<size_t>(c.left));
        if (indexed) {
            ConvertIndexedRow(mapper_, surface.IndexRow(y) + c.left, c.right - c.left, tablePixels_, dst);
        } else {
            ConvertPackedRow(mapper_, surface.RgbRow(y) + c.left, c.right - c.left, dst);
        }
    }
}

namespace {

// The columns of a row that are not 0: empty when all are. Eight at a time,
// as most rows of a frame are black.
void NonZero(const uint8_t* row, int32_t width, int32_t& left, int32_t& right) {
    auto word = [row](int32_t x) {
        uint64_t w;
        std::memcpy(&w, row + x, 8);
        return w;
    };
    left = 0;
    while (left + 8 <= width && word(left) == 0) left += 8;
    while (left < width && row[left] == 0) ++left;
    right = width;
    while (right - 8 >= left && word(right - 8) == 0) right -= 8;
    while (right > left && row[right - 1] == 0) --right;
    if (left == right) left = right = 0;
}

}  // namespace

Rect ShmBuffers::ConvertLit(Slot& s, const SoftwareSurface& surface) {
    const bool blankKept = !s.whole && s.blank == tablePixels_[0];
    Rect bounds{width_, height_, 0, 0};
    for (int32_t y = 0; y < height_; ++y) {
        const uint8_t* src = surface.IndexRow(y);
        Span now;
        NonZero(src, width_, now.left, now.right);
        // This buffer's row is blank outside its span: convert the union.
        const Span old = blankKept ? s.lit[static_cast<size_t>(y)] : Span{0, width_};
        Span write = now;
        if (old.left < old.right) {
            write = now.left < now.right ? Span{std::min(now.left, old.left), std::max(now.right, old.right)} : old;
        }
        if (write.left < write.right) {
            uint8_t* dst = reinterpret_cast<uint8_t*>(s.pixels + static_cast<size_t>(y) * static_cast<size_t>(width_) +
                                                      static_cast<size_t>(write.left));
            ConvertIndexedRow(mapper_, src + write.left, write.right - write.left, tablePixels_, dst);
        }
        s.lit[static_cast<size_t>(y)] = now;
        // What the shown buffers hold there may differ too.
        Span any = now;
        for (const Slot& other : slots_) {
            const Span o = other.whole || other.blank != tablePixels_[0] ? Span{0, width_} : other.lit[y];
            if (o.left < o.right)
                any = any.left < any.right ? Span{std::min(any.left, o.left), std::max(any.right, o.right)} : o;
        }
        if (any.left < any.right) {
            bounds = Rect{std::min(bounds.left, any.left), std::min(bounds.top, y), std::max(bounds.right, any.right),
                          std::max(bounds.bottom, y + 1)};
        }
    }
    s.blank = tablePixels_[0];
    return IsEmpty(bounds) ? Rect{} : bounds;
}

bool ShmBuffers::Write(int slot, const SoftwareSurface& surface, const Rect* changed, int count, Rect& bounds) {
    Slot& s = slots_[slot];
    if (surface.Kind() == SurfaceKind::Indexed) MapColourTable(mapper_, surface.ColourTable(), tablePixels_);
    const bool whole = count == 1 && changed[0].left <= 0 && changed[0].top <= 0 && changed[0].right >= width_ &&
                       changed[0].bottom >= height_;
    if (whole && surface.Kind() == SurfaceKind::Indexed && surface.Width() == width_ && surface.Height() == height_) {
        bounds = ConvertLit(s, surface);
        s.whole = false;
        s.staleCount = 0;
        return true;
    }
    if (s.whole) {
        ConvertPart(s, surface, Rect{0, 0, width_, height_});
    } else {
        for (int k = 0; k < s.staleCount; ++k) ConvertPart(s, surface, s.stale[k]);
        for (int k = 0; k < count; ++k) ConvertPart(s, surface, changed[k]);
    }
    s.whole = false;
    s.staleCount = 0;
    for (Slot& other : slots_) {
        if (&other == &s) continue;
        for (int k = 0; k < count; ++k) other.AddStale(changed[k]);
    }
    // Written without spans: any row may hold anything.
    for (Span& row : s.lit) row = Span{0, width_};
    return false;
}

void ShmBuffers::MarkOverdrawn(const Rect& r) {
    for (Slot& s : slots_) {
        s.AddStale(r);
        for (int32_t y = std::max(r.top, 0); y < std::min(r.bottom, height_); ++y) {
            Span& row = s.lit[static_cast<size_t>(y)];
            row = row.left < row.right ? Span{std::min(row.left, r.left), std::max(row.right, r.right)}
                                       : Span{r.left, r.right};
        }
    }
}

wl_buffer* ShmBuffers::Take(int slot) {
    slots_[slot].held = true;
    return slots_[slot].buffer;
}

}  // namespace quorvex::linux_host
