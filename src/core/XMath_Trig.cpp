// The engine's sine and cosine, on its extended type.
#include "XMath_Trig.h"

namespace quorvex {

Extended Sin(Extended x) { return trig::SinOf(x); }
Extended Cos(Extended x) { return trig::CosOf(x); }

}  // namespace quorvex
