// The model's checks, the quiz's seeded series and the raster's look-ups as a plain program,
// for a processor the toolkit is not built for: make check-portable runs it under an emulator,
// the browser edition's build under Node.
#include "lessonchecks.h"
#include "modelchecks.h"
#include "rasterchecks.h"

#include <cstdio>
#include <string>

using namespace korvelian;

int main()
{
    int passed = 0;
    int failed = 0;
    auto report = [&](const std::string& what, const std::string& failure) {
        if (failure.empty()) {
            ++passed;
            return;
        }
        ++failed;
        std::printf("FAIL %s: %s\n", what.c_str(), failure.c_str());
    };
    for (const double x : sineArguments())
        report("sine", checkSine(x));
    report("sines in place", checkSinesInPlace());
    report("emulated multiply-add", checkEmulatedFma(200000));
    report("sine kernels alike", checkKernelsAlike(200000));
#if defined(__wasm_simd128__)
    report("a host's sine kernel offered", checkHostSinesOffered());
#endif
    for (const FigureCase& c : figureCases())
        report(c.name, checkFigure(c));
    report("loop values", checkLoopValues(32767));
    report("quiz series", checkQuizSeries());
    report("segment look-ups alike", checkSegmentLookupsAlike());
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
