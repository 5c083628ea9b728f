// Copies the surface to the window: converts it into a 32-bit (or 16/24-bit)
// image of the window's visual and puts that image, through a shared-memory
// segment when the server offers MIT-SHM, with a plain XPutImage otherwise.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstdint>
#include <memory>
#include <string>

#include "pixels_Convert.h"
#include "surface_Software.h"

namespace quorvex::linux_host {

// Whether `event` tells that the server is done with a put from `segment`:
// each monitor's image has a segment of its own, freed by its own completion.
bool CompletesPut(const XEvent& event, int completionType, ShmSeg segment);

class ImagePresenter {
public:
    ImagePresenter(Display* display, Drawable target, Visual* visual, int depth, bool allowShared);
    ~ImagePresenter();
    ImagePresenter(const ImagePresenter&) = delete;
    ImagePresenter& operator=(const ImagePresenter&) = delete;

    // A new image for the new size; false with a one-line error when no
    // image can be had at all.
    bool Resize(int32_t width, int32_t height, std::string& error);
    // Where the surface's (0, 0) goes in the window: a monitor's corner.
    void SetOrigin(int32_t x, int32_t y) {
        originX_ = x;
        originY_ = y;
    }
    // Converts the whole surface and puts it at the origin.
    void Show(const SoftwareSurface& surface);
    // Converts and puts only the given parts (they may overlap).
    void ShowParts(const SoftwareSurface& surface, const Rect* parts, int count);
    // The completion of a shared put: the image may be written again.
    void HandleEvent(const XEvent& event);
    bool Shared() const { return shared_; }

private:
    void Release();
    bool MakeShared(int32_t width, int32_t height);
    bool MakePlain(int32_t width, int32_t height);
    void WaitUntilFree();
    void ConvertAndPut(const SoftwareSurface& surface, const Rect& part, bool last);

    Display* display_;
    Drawable target_;
    int32_t originX_ = 0;
    int32_t originY_ = 0;
    Visual* visual_;
    int depth_;
    GC gc_ = nullptr;
    bool shmAvailable_ = false;
    int completionType_ = -1;
    XImage* image_ = nullptr;
    XShmSegmentInfo segment_{};
    bool shared_ = false;
    bool busy_ = false;
    std::unique_ptr<PixelMapper> mapper_;
    uint32_t tablePixels_[256]{};
};

}  // namespace quorvex::linux_host
