// Subcommands of the `quorvex` tool. Each returns the process exit status:
// 0 on success, 2 on bad input (after one line on stderr).
#pragma once

namespace quorvex::cli {

int RunShapes(int argc, char** argv);  // quorvex shapes [ID]
int RunRender(int argc, char** argv);  // quorvex render ...

}  // namespace quorvex::cli
