// `quorvex render`: runs the animation offline with a simulated clock and
// writes the last frame (PPM, PNG) or every frame (GIF).
#include <cstdio>
#include <memory>
#include <string>

#include "commands.h"
#include "render_Image.h"
#include "render_Options.h"
#include "render_Output.h"
#include "render_Session.h"

namespace quorvex::cli {

namespace {

int Fail(const std::string& message) {
    // A path from the command line may hold a line feed or a terminal escape.
    std::fprintf(stderr, "quorvex render: %s\n", Shown(message).c_str());
    return 2;
}

bool RenderGif(RenderSession& session, const RenderOptions& options, std::FILE* file) {
    GifWriter gif;
    if (!gif.Open(file, options.width, options.height, options.frameMs)) return false;
    for (uint32_t k = 0; k < options.frames; ++k) {
        RenderFrame(session);
        if (!gif.AddFrame(session.surface)) return false;
    }
    return gif.Close();
}

bool RenderStill(RenderSession& session, const RenderOptions& options, std::FILE* file) {
    for (uint32_t k = 0; k < options.frames; ++k) RenderFrame(session);
    return options.type == ImageType::Png ? WritePng(file, session.surface) : WritePpm(file, session.surface);
}

}  // namespace

int RunRender(int argc, char** argv) {
    RenderOptions options;
    std::string error;
    switch (ParseRenderOptions(argc, argv, options, error)) {
        case ParseStatus::Help:
            std::fputs(RenderUsage(), stdout);
            return 0;
        case ParseStatus::Error:
            return Fail(error + " (try 'quorvex render --help')");
        case ParseStatus::Ok:
            break;
    }
    if (options.type == ImageType::Png && !PngAvailable()) return Fail("PNG output is not available in this build");
    if (options.type == ImageType::Gif && !GifAvailable()) return Fail("GIF output is not available in this build");

    // The file is opened first: a path that cannot be written fails at once,
    // not after a long render.
    AtomicOutput output;
    if (!output.Open(options.out, error)) return Fail(error);

    auto session = std::make_unique<RenderSession>();
    StartRender(*session, options);
    const bool written = options.type == ImageType::Gif ? RenderGif(*session, options, output.File())
                                                        : RenderStill(*session, options, output.File());
    if (!written) {
        output.Abort();
        return Fail("cannot write '" + options.out + "'");
    }
    if (!output.Commit(error)) return Fail(error);
    return 0;
}

}  // namespace quorvex::cli
