// The native front end of the `quorvex` tool: the saver in a window or full
// screen on X11 or Wayland, on the root window or in a window someone else
// made (X11), and the `config` subcommand that shows and changes the stored
// settings.
#pragma once

namespace quorvex::linux_host {

// argv[0] is the program; returns the process exit status.
int RunFrontEnd(int argc, char** argv);
// argv[0] is "config"; returns the process exit status.
int RunConfig(int argc, char** argv);

}  // namespace quorvex::linux_host
