#include "auslenkung.h"

#include <cmath>

namespace korvelian {

Point Auslenkung(double t, const Parameter& p)
{
    Point result;
    result.x = p.a1 * std::sin(t + p.p1);
    result.y = p.a2 * std::sin(((t + p.p2) * p.z) / p.n);
    return result;
}

} // namespace korvelian
