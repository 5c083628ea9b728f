// The animation engine: morph and hold, motion, rotation, projection, colour
// and plotting. The host injects its clock (TickSource) and its drawing
// target (DrawTarget); a test or the offline renderer drives the engine frame
// by frame with a simulated clock. StepFrame allocates nothing.
#pragma once

#include <cstdint>

#include "CShapeUn.h"
#include "Random.h"
#include "UTypes.h"
#include "surface_Changed.h"

namespace quorvex {

// One colour-table entry in the byte order of an 8-bit DIB: blue, green,
// red, reserved.
struct ColourEntry {
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    uint8_t reserved = 0;
};

// Packed colour: red in the lowest byte, then green, then blue.
using PackedColour = uint32_t;
inline constexpr PackedColour PackColour(uint32_t r, uint32_t g, uint32_t b) {
    return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}

// The 8-bit pixels of the surface with Trace on. Pixel (x, y) is the byte at
// y * stride + x; stride >= width (a DIB pads its rows to 4 bytes), only
// width x height is shown.
struct IndexedPixels {
    uint8_t* bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;
};

// A picture the trace passes can address; they leave any other as it is.
inline bool Usable(const IndexedPixels& px) {
    return px.bits != nullptr && px.width > 0 && px.height > 0 && px.stride >= px.width;
}

class TickSource {
public:
    virtual ~TickSource() = default;
    // The system's 32-bit millisecond counter.
    virtual uint32_t Now() = 0;
};

// What the engine draws into. With Trace on it writes the pixels of
// Pixels() directly and replaces the colour table through SetColourTable;
// with Trace off it paints opaque rectangles through FillRect.
class DrawTarget {
public:
    virtual ~DrawTarget() = default;
    virtual IndexedPixels Pixels() = 0;
    virtual void SetColourTable(const ColourEntry (&table)[256]) = 0;
    virtual void FillRect(const Rect& r, PackedColour colour) = 0;
};

struct Vec3f {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// The whole state of the moving picture, with its initial values.
struct Engine {
    PointCloud CloudA{};
    PointCloud CloudB{};
    PointCloud BlendedCloud{};
    float MorphProgress = 0.0f;
    bool MorphForward = true;
    float HoldTime = 6000.0f;
    float HoldTimer = 0.0f;
    // Unsigned tick: the elapsed time is taken modulo 2^32, so neither the
    // 49.7-day wrap nor float precision at long uptimes makes a bad step.
    uint32_t LastFrameTick = 0;
    Vec3f ObjectCentre{};
    Vec3f CentreVelocity{0.0005f, 0.0006f, 0.001f};
    Vec3f SpinSpeed{0.17f, 0.14f, 0.0f};
    Vec3f SpinAngle{};
    float TintColour[3] = {0.0f, 0.0f, 0.0f};  // red, green, blue
    int32_t ColourCounters[3] = {0, 0, 0};      // red, green, blue
    // The faster tempo without Trace is applied by the first surface set-up
    // only: a window resized many times must not speed up 1.33 times per resize.
    bool TempoApplied = false;
    int32_t ProjectionCentre[2] = {400, 300};
    float ProjectionScale[2] = {0.0f, 0.0f};

    ShapeSequencer Sequencer;
    RandomGenerator Random;

    // Inputs the host provides.
    SaverSettings* Settings = nullptr;
    bool PreviewMode = false;
    TickSource* Ticks = nullptr;
    DrawTarget* Target = nullptr;
    // Plot bounds come from the client rectangle (left and top are 0).
    int32_t ClientRight = 0;
    int32_t ClientBottom = 0;

    // Where this engine's surface can differ from black and from what was
    // last presented; the points grow it as they are plotted.
    ChangedArea Changed{};

    // Scratch for the palette rewrite, kept here so a frame allocates nothing.
    ColourEntry Palette[256]{};
};

// Window creation: NextShape on CloudA, NextShape on CloudB, BlendClouds.
void PrepareClouds(Engine& e);

// The values a new surface of width x height hands to the engine: projection
// centre and scale, the grey table (Trace and HuesOfGray), the 1.33 tempo
// without Trace (once per engine), HoldTimer := HoldTime and
// LastFrameTick := now. Every resize of the window calls it again; the new
// surface is black and is presented whole.
void SetUpSurface(Engine& e, int32_t width, int32_t height);

void StepFrame(Engine& e);
void BlendClouds(Engine& e);

// Stages of StepFrame, exposed for tests.
void AdvanceColourCycle(Engine& e);
void RewritePalette(Engine& e);
void AdvanceSpin(Engine& e, float elapsed);
void MoveCentre(Engine& e, float elapsed);

struct Rotation {
    // Sine and cosine of each angle, rounded to single; an axis whose angle
    // is exactly 0 is skipped.
    bool active[3] = {false, false, false};
    float s[3] = {0, 0, 0};
    float c[3] = {0, 0, 0};
};
Rotation MakeRotation(const Vec3f& angles);
Point3 RotatePoint(const Rotation& r, Point3 p);
int32_t DepthBrightness(Point3 turned);
// False when the depth divisor is exactly 0 (the point is not drawn).
bool ProjectPoint(const Engine& e, Point3 turned, ScreenPoint& out);

struct PointColours {
    PackedColour block = 0;
    PackedColour cross = 0;
};
PointColours ColoursFor(const Engine& e, int32_t brightness);
void PlotPoint(Engine& e, ScreenPoint p, int32_t brightness, PackedColour block, PackedColour cross);
void PlotPixel(IndexedPixels& px, int32_t x, int32_t y, int32_t brightness);

void FillGreyTable(ColourEntry (&table)[256]);

}  // namespace quorvex
