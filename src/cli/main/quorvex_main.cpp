// Entry of the `quorvex` tool: dispatches on the first argument.
#include <cstdio>
#include <cstring>

#include "commands.h"
#ifdef QUORVEX_HAVE_FRONTEND
#include "frontend.h"
#endif

namespace {

void PrintUsage(FILE* out) {
    std::fputs(
        "Usage: quorvex [COMMAND] [OPTIONS]\n"
        "\n"
        "Commands:\n"
#ifdef QUORVEX_HAVE_FRONTEND
        "  (none)    run the saver (see 'quorvex --help-window' for its options)\n"
        "  config    show or change the stored settings\n"
#endif
        "  shapes    print the points of the built-in shapes\n"
        "  render    render frames offline to a PPM, PNG or GIF file\n"
        "\n"
#ifdef QUORVEX_HAVE_FRONTEND
        "Modes of the saver:\n"
        "  (default)      in a window of its own\n"
        "  --fullscreen   over the whole screen, ended by input\n"
        "  --root         on the root window, or the one XSCREENSAVER_WINDOW names\n"
        "  --window-id ID in a window another program made\n"
        "\n"
        "Settings live in $XDG_CONFIG_HOME/quorvex/settings (without XDG_CONFIG_HOME,\n"
        "~/.config/quorvex/settings); 'quorvex config --path' prints which.\n"
        "\n"
#endif
        "Run 'quorvex COMMAND --help' for the options of a command, or\n"
        "'quorvex --version' for the version.\n",
        out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2) {
        const char* cmd = argv[1];
        if (std::strcmp(cmd, "--help") == 0 || std::strcmp(cmd, "-h") == 0) {
            PrintUsage(stdout);
            return 0;
        }
        if (std::strcmp(cmd, "--version") == 0) {
            std::puts("quorvex " QUORVEX_VERSION);
            return 0;
        }
        if (std::strcmp(cmd, "shapes") == 0) return quorvex::cli::RunShapes(argc - 1, argv + 1);
        if (std::strcmp(cmd, "render") == 0) return quorvex::cli::RunRender(argc - 1, argv + 1);
#ifdef QUORVEX_HAVE_FRONTEND
        if (std::strcmp(cmd, "config") == 0) return quorvex::linux_host::RunConfig(argc - 1, argv + 1);
#endif
    }
#ifdef QUORVEX_HAVE_FRONTEND
    return quorvex::linux_host::RunFrontEnd(argc, argv);
#else
    if (argc >= 2) {
        std::fprintf(stderr, "quorvex: unknown command '%s' (try --help)\n", argv[1]);
        return 2;
    }
    PrintUsage(stdout);
    return 0;
#endif
}
