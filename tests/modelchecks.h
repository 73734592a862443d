#pragma once

#include "model/deflection.h"

#include <string>
#include <vector>

namespace korvelian {

// Checks of the figure's points that need no toolkit: the test suite runs them, and so does
// the plain runner that make check-portable builds for another processor. Each returns what
// went wrong, empty when nothing did.

struct FigureCase
{
    std::string name;
    Parameter p;
    double end = 0;
};

// Figures that fill their area and figures that do not, and figures that stop at a point
// that is not finite.
std::vector<FigureCase> figureCases();

// Arguments around the fast sine's quadrants, its fast range and beyond.
std::vector<double> sineArguments();

// fastSines(x) within 1e-12 of std::sin(x), not a number where std::sin gives none.
std::string checkSine(double x);

// fastSines in place over more than one of its blocks, huge arguments among them.
std::string checkSinesInPlace();

// The multiply-add made of rounding operations (model/emulatedfma.h) against std::fma, which
// rounds once wherever it runs: count random cases, half of them sums that end on or next to
// a tie, where rounding twice goes wrong.
std::string checkEmulatedFma(int count);

// Every sine kernel this build has to the bit alike over count arguments spread over what a
// figure's sines take (x up to 2 pi * 32767, y up to some 1e10): a figure's pixels must not
// depend on the processor, nor on the browser, that draws it.
std::string checkKernelsAlike(int count);

#if defined(__wasm_simd128__)
// offerHostSines refusing a kernel whose sines are not the emulated kernel's to the bit
// (std::sin's), then taking one whose are (the portable kernel's), which fastSines' two-lane
// width then calls.
std::string checkHostSinesOffered();
#endif

// figureRun and figurePoints against the loop they stand for: t = 0, 0.1, ... by repeated
// addition while t <= end, each point from deflection(), the first non-finite one ending it.
// Count and t exactly, the points within single precision.
std::string checkFigure(const FigureCase& c);

// loopValue, loopValues and loopCount against the chain of additions, every value up to
// the loop end of closing count largest and the count for every closing count up to it.
std::string checkLoopValues(int largest);

} // namespace korvelian
