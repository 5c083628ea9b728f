// The failure path shared by the fuzz targets.
#include <cstdio>
#include <cstdlib>

#include "fuzz_Args.h"

namespace quorvex::fuzz {

void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "property broken: %s\n", what);
    if (!detail.empty()) std::fprintf(stderr, "  %s\n", detail.c_str());
    std::fflush(stderr);
    std::abort();
}

}  // namespace quorvex::fuzz
