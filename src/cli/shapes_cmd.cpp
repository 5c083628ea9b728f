// `quorvex shapes [ID]`: prints the points of one built-in shape, or of all
// 21 in id order, one point per line. Nine significant digits read back as
// the very same float, so the output can be compared bit for bit.
#include <cstdio>
#include <cstring>

#include "CShapeUn.h"
#include "commands.h"

namespace quorvex::cli {

namespace {

void PrintShapesUsage(FILE* out) {
    std::fputs(
        "Usage: quorvex shapes [ID]\n"
        "\n"
        "Prints the 240 points of built-in shape ID (0..20), or of all 21 shapes\n"
        "in id order when ID is left out. One point per line:\n"
        "  ID INDEX X Y Z\n"
        "with each coordinate printed to 9 significant digits, which reads back\n"
        "as exactly the stored single-precision value.\n"
        "\n"
        "Shapes:\n",
        out);
    for (ShapeId id = 0; id < ShapeCount; ++id) std::fprintf(out, "  %2d  %s\n", id, ShapeName(id));
}

// Digits only: no sign, no blanks, no decimal point; at most two of them
// after any leading zeros so the value cannot overflow.
bool ParseShapeId(const char* text, ShapeId& id) {
    if (*text == '\0') return false;
    while (*text == '0' && text[1] != '\0') ++text;
    if (std::strlen(text) > 2) return false;
    int32_t value = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9') return false;
        value = value * 10 + (*c - '0');
    }
    if (value >= ShapeCount) return false;
    id = value;
    return true;
}

void PrintShape(ShapeId id, PointCloud& cloud) {
    BuildShape(id, cloud);
    for (int32_t i = 0; i < CloudCapacity; ++i) {
        const Point3& p = cloud[i];
        std::printf("%d %d %.9g %.9g %.9g\n", id, i, static_cast<double>(p.x), static_cast<double>(p.y),
                    static_cast<double>(p.z));
    }
}

}  // namespace

int RunShapes(int argc, char** argv) {
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        PrintShapesUsage(stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    if (argc > 2) {
        std::fprintf(stderr, "quorvex shapes: expected at most one shape id (try --help)\n");
        return 2;
    }
    ShapeId only = -1;
    if (argc == 2 && !ParseShapeId(argv[1], only)) {
        std::fprintf(stderr, "quorvex shapes: '%s' is not a shape id 0..20 (try --help)\n", argv[1]);
        return 2;
    }

    PointCloud cloud{};
    if (only >= 0) {
        PrintShape(only, cloud);
    } else {
        for (ShapeId id = 0; id < ShapeCount; ++id) PrintShape(id, cloud);
    }
    // A full disk or a closed pipe must not pass for a complete listing.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "quorvex shapes: could not write the points\n");
        return 1;
    }
    return 0;
}

}  // namespace quorvex::cli
