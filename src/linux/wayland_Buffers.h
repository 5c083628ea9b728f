// Two wl_shm buffers of XRGB8888 pixels for one surface. A buffer is written
// only while the compositor does not hold it (after its release event), and
// each remembers which parts of the picture changed since it was written
// last, so that only those are converted again.
#pragma once

#include <wayland-client.h>

#include <cstdint>
#include <string>

#include "pixels_Convert.h"
#include "surface_Software.h"

namespace quorvex::linux_host {

class ShmBuffers {
public:
    static constexpr int Slots = 2;
    // Parts a buffer keeps before it is simply rewritten whole.
    static constexpr int MaxStale = 8;

    explicit ShmBuffers(wl_shm* shm);
    ~ShmBuffers();
    ShmBuffers(const ShmBuffers&) = delete;
    ShmBuffers& operator=(const ShmBuffers&) = delete;

    // New buffers for the new size, black and all stale; false with a
    // one-line error when the memory cannot be had.
    bool Resize(int32_t width, int32_t height, std::string& error);
    // A buffer the compositor has released, or -1 while it holds both.
    int FreeSlot() const;
    // Brings the buffer up to date with the surface: converts the parts
    // changed since its last write and `changed` (what the present puts).
    // The other buffers record `changed` as stale.
    void Write(int slot, const SoftwareSurface& surface, const Rect& changed);
    // A part of the buffer drawn over (the FPS text), to be restored from
    // the surface by every buffer's next write.
    void MarkOverdrawn(const Rect& r);
    uint32_t* Row(int slot, int32_t y) const;
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    // The buffer to attach; it counts as held until its release event.
    wl_buffer* Take(int slot);

private:
    struct Slot {
        wl_buffer* buffer = nullptr;
        uint32_t* pixels = nullptr;
        bool held = false;
        bool whole = true;
        int staleCount = 0;
        Rect stale[MaxStale];
        void AddStale(const Rect& r);
    };
    void Release();
    void ConvertPart(Slot& s, const SoftwareSurface& surface, const Rect& part);

    wl_shm* shm_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    void* memory_ = nullptr;
    size_t bytes_ = 0;
    Slot slots_[Slots];
    PixelMapper mapper_;
    uint32_t tablePixels_[256]{};
};

}  // namespace quorvex::linux_host
