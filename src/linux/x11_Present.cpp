// Putting the surface on the screen; see x11_Present.h.
#include "x11_Present.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstdlib>

#include "x11_Session.h"

namespace quorvex::linux_host {

bool CompletesPut(const XEvent& event, int completionType, ShmSeg segment) {
    return event.type == completionType && reinterpret_cast<const XShmCompletionEvent&>(event).shmseg == segment;
}

ImagePresenter::ImagePresenter(Display* display, Drawable target, Visual* visual, int depth, bool allowShared)
    : display_(display), target_(target), visual_(visual), depth_(depth) {
    gc_ = XCreateGC(display_, target_, 0, nullptr);
    int major = 0;
    int minor = 0;
    Bool pixmaps = False;
    shmAvailable_ = allowShared && XShmQueryVersion(display_, &major, &minor, &pixmaps);
    if (shmAvailable_) completionType_ = XShmGetEventBase(display_) + ShmCompletion;
}

ImagePresenter::~ImagePresenter() {
    Release();
    if (gc_ != nullptr) XFreeGC(display_, gc_);
}

void ImagePresenter::Release() {
    if (image_ == nullptr) return;
    if (shared_) {
        WaitUntilFree();
        XShmDetach(display_, &segment_);
        XSync(display_, False);
        shmdt(segment_.shmaddr);
        image_->data = nullptr;
        XDestroyImage(image_);
    } else {
        XDestroyImage(image_);  // frees the pixels too
    }
    image_ = nullptr;
    shared_ = false;
    busy_ = false;
}

bool ImagePresenter::MakeShared(int32_t width, int32_t height) {
    segment_ = XShmSegmentInfo{};
    XImage* image = XShmCreateImage(display_, visual_, static_cast<unsigned>(depth_), ZPixmap, nullptr, &segment_,
                                    static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (image == nullptr) return false;
    const size_t bytes = static_cast<size_t>(image->bytes_per_line) * static_cast<size_t>(height);
    segment_.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (segment_.shmid < 0) {
        XDestroyImage(image);
        return false;
    }
    segment_.shmaddr = static_cast<char*>(shmat(segment_.shmid, nullptr, 0));
    if (segment_.shmaddr == reinterpret_cast<char*>(-1)) {
        shmctl(segment_.shmid, IPC_RMID, nullptr);
        XDestroyImage(image);
        return false;
    }
    image->data = segment_.shmaddr;
    segment_.readOnly = False;
    // A remote server accepts the request and fails it later: ask and wait.
    ResetErrors();
    Status attached = XShmAttach(display_, &segment_);
    XSync(display_, False);
    // Marked for removal now: the segment goes away with the last detach,
    // even if this process dies.
    shmctl(segment_.shmid, IPC_RMID, nullptr);
    if (!attached || ErrorSinceReset()) {
        shmdt(segment_.shmaddr);
        image->data = nullptr;
        XDestroyImage(image);
        return false;
    }
    image_ = image;
    shared_ = true;
    return true;
}

bool ImagePresenter::MakePlain(int32_t width, int32_t height) {
    XImage* image = XCreateImage(display_, visual_, static_cast<unsigned>(depth_), ZPixmap, 0, nullptr,
                                 static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
    if (image == nullptr) return false;
    image->data = static_cast<char*>(std::malloc(static_cast<size_t>(image->bytes_per_line) * height));
    if (image->data == nullptr) {
        XDestroyImage(image);
        return false;
    }
    image_ = image;
    shared_ = false;
    return true;
}

bool ImagePresenter::Resize(int32_t width, int32_t height, std::string& error) {
    Release();
    if (width <= 0 || height <= 0) return true;
    if (!(shmAvailable_ && MakeShared(width, height))) {
        // Once refused (a remote display), do not ask again on every resize.
        shmAvailable_ = false;
        if (!MakePlain(width, height)) {
            error = "cannot make an image of " + std::to_string(width) + "x" + std::to_string(height) + " pixels";
            return false;
        }
    }
    PixelLayout layout;
    layout.redMask = static_cast<uint32_t>(image_->red_mask);
    layout.greenMask = static_cast<uint32_t>(image_->green_mask);
    layout.blueMask = static_cast<uint32_t>(image_->blue_mask);
    layout.bitsPerPixel = image_->bits_per_pixel;
    layout.msbFirst = image_->byte_order == MSBFirst;
    mapper_ = std::make_unique<PixelMapper>(layout);
    if (!mapper_->Supported()) {
        error = "unsupported pixel format (" + std::to_string(layout.bitsPerPixel) + " bits per pixel)";
        Release();
        return false;
    }
    return true;
}

void ImagePresenter::HandleEvent(const XEvent& event) {
    if (shared_ && CompletesPut(event, completionType_, segment_.shmseg)) busy_ = false;
}

void ImagePresenter::WaitUntilFree() {
    if (!busy_) return;
    // The server has read the segment once it has handled the put; after a
    // round trip its completion event is in the queue, to be taken out (it
    // would free the next put); the other images' stay there for them.
    XSync(display_, False);
    XEvent ev;
    auto own = [](Display*, XEvent* e, XPointer self) -> Bool {
        const auto* p = reinterpret_cast<const ImagePresenter*>(self);
        return CompletesPut(*e, p->completionType_, p->segment_.shmseg) ? True : False;
    };
    while (XCheckIfEvent(display_, &ev, own, reinterpret_cast<XPointer>(this))) {
    }
    busy_ = false;
}

void ImagePresenter::ConvertAndPut(const SoftwareSurface& surface, const Rect& part, bool last) {
    const int32_t left = part.left;
    const int32_t top = part.top;
    const int32_t right = part.right;
    const int32_t bottom = part.bottom;
    const bool indexed = surface.Kind() == SurfaceKind::Indexed;
    const size_t offset = static_cast<size_t>(left) * static_cast<size_t>(image_->bits_per_pixel / 8);
    for (int32_t y = top; y < bottom; ++y) {
        uint8_t* dst =
            reinterpret_cast<uint8_t*>(image_->data) + static_cast<size_t>(y) * image_->bytes_per_line + offset;
        if (indexed) {
            ConvertIndexedRow(*mapper_, surface.IndexRow(y) + left, right - left, tablePixels_, dst);
        } else {
            ConvertPackedRow(*mapper_, surface.RgbRow(y) + left, right - left, dst);
        }
    }
    const unsigned w = static_cast<unsigned>(right - left);
    const unsigned h = static_cast<unsigned>(bottom - top);
    if (shared_) {
        // One completion, for the last put, says the server is done with all.
        XShmPutImage(display_, target_, gc_, image_, left, top, originX_ + left, originY_ + top, w, h,
                     last ? True : False);
        if (last) busy_ = true;
    } else {
        XPutImage(display_, target_, gc_, image_, left, top, originX_ + left, originY_ + top, w, h);
    }
}

void ImagePresenter::Show(const SoftwareSurface& surface) {
    const Rect whole{0, 0, surface.Width(), surface.Height()};
    ShowParts(surface, &whole, 1);
}

void ImagePresenter::ShowParts(const SoftwareSurface& surface, const Rect* parts, int count) {
    if (image_ == nullptr) return;
    // Clipped first, so that the last put made is the one that asks for
    // the completion event.
    constexpr int MaxParts = 8;
    Rect clipped[MaxParts];
    int n = 0;
    for (int k = 0; k < count && n < MaxParts; ++k) {
        const Rect c{std::max(parts[k].left, 0), std::max(parts[k].top, 0),
                     std::min({parts[k].right, surface.Width(), image_->width}),
                     std::min({parts[k].bottom, surface.Height(), image_->height})};
        if (c.left < c.right && c.top < c.bottom) clipped[n++] = c;
    }
    if (n == 0) return;
    WaitUntilFree();
    if (surface.Kind() == SurfaceKind::Indexed) MapColourTable(*mapper_, surface.ColourTable(), tablePixels_);
    for (int k = 0; k < n; ++k) ConvertAndPut(surface, clipped[k], k == n - 1);
}

}  // namespace quorvex::linux_host
