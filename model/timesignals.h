#pragma once

#include "deflection.h"

namespace korvelian {

// The two oscillations over time, the construction the figure is built from: x(t) and y(t)
// by the deflection formulas, over the time the figure takes to close.

struct ValueRange
{
    double low = 0;
    double high = 0;
};

enum class Signal { X, Y };

// How many x periods the figure takes to close: N / gcd(Z, N) for a whole numerator and
// denominator, which for 3 : 2 is 2 (three y periods), not the closing count 6 that traces it
// three times over. With decimals the figure does not close, and the closing count drawn,
// kgv, is taken instead.
double closingPeriods(const Parameter& p, double kgv);

// The value of the signal at t, exactly as the beam's deflection there.
double signalValue(Signal signal, double t, const Parameter& p);

// The smallest and the largest value the signal takes for t from t0 to t1 (t0 <= t1): the
// ends by the formulas, a crest or trough in between where the sine's angle passes one. A
// column of pixels lit from low to high draws the signal without gaps at any frequency.
ValueRange signalRange(Signal signal, double t0, double t1, const Parameter& p);

// Where on a time axis of this span the beam's t stands: the signals repeat after the span,
// so the cursor starts again at its left end.
double cursorTime(double t, double span);

} // namespace korvelian
