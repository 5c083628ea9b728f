// See wayland_Buffers.h.
#include "wayland_Buffers.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>


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

namespace {

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

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

void ShmBuffers::Write(int slot, const SoftwareSurface& surface, const Rect& changed) {
    Slot& s = slots_[slot];
    if (surface.Kind() == SurfaceKind::Indexed) MapColourTable(mapper_, surface.ColourTable(), tablePixels_);
    if (s.whole) {
        ConvertPart(s, surface, Rect{0, 0, width_, height_});
    } else {
        // What this present puts mostly overlaps what the last one put: one
        // pass over both converts each pixel once.
        Rect part = changed;
        for (int k = 0; k < s.staleCount; ++k) {
            const Rect& r = s.stale[k];
            if (Overlap(r, part)) {
                part = Union(part, r);
            } else {
                ConvertPart(s, surface, r);
            }
        }
        ConvertPart(s, surface, part);
    }
    s.whole = false;
    s.staleCount = 0;
    for (Slot& other : slots_) {
        if (&other != &s) other.AddStale(changed);
    }
}

void ShmBuffers::MarkOverdrawn(const Rect& r) {
    for (Slot& s : slots_) s.AddStale(r);
}

wl_buffer* ShmBuffers::Take(int slot) {
    slots_[slot].held = true;
    return slots_[slot].buffer;
}

}  // namespace quorvex::linux_host
