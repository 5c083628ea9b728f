// Picks the next shape: each shape once per cycle of 21 choices, never the
// same one twice in a row, not even across the end of a cycle.
#include "CShapeUn.h"

namespace quorvex {

namespace {

bool IsUsed(const ShapeSequencer& seq, ShapeId id) { return ((seq.UsedShapes >> id) & 1u) != 0; }

bool AllUsed(const ShapeSequencer& seq) {
    for (uint8_t id : seq.ShapeTable) {
        if (!IsUsed(seq, id)) return false;
    }
    return true;
}

}  // namespace

ShapeId NextShape(ShapeSequencer& seq, RandomGenerator& rng, PointCloud& cloud, bool unsortPoints) {
    const int32_t previous = seq.LastShapeIndex;
    if (AllUsed(seq)) seq.UsedShapes = 0;

    // Drawing from 0..99 and reducing mod 21 favours ids 0..15 slightly; the
    // choice has always been made this way, so a seed replays the same run.
    ShapeId id = 0;
    do {
        const int32_t v = static_cast<int32_t>(RandomInt(rng, 100) % ShapeCount);
        seq.LastShapeIndex = v;
        id = seq.ShapeTable[v];
    } while (IsUsed(seq, id) || seq.LastShapeIndex == previous);
    seq.UsedShapes |= 1u << id;

    BuildShape(id, cloud);
    if (unsortPoints) ShuffleCloud(cloud, rng);
    return id;
}

}  // namespace quorvex
