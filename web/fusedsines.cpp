// The sine kernel with the browser's own multiply-add (relaxed SIMD), a module of its own
// beside the core: a browser without relaxed SIMD refuses only this one, and the core keeps
// its emulated multiply-add. It works in the core's memory (imported) and keeps nothing of its
// own there: no data, no stack. The page offers it to the core (offerHostSines), which takes
// it only where it fuses.
#include "model/fastsine.h"
#include "model/sinecoefficients.h"
#include "model/vectorcode.h"
#include "model/wasmsinelanes.h"

#include <cstddef>
#include <wasm_simd128.h>

namespace korvelian::fused {

using namespace sinekernel;

struct V : WasmSineLanes
{
    KORVELIAN_VECTOR D fma(D a, D b, D c) { return __builtin_wasm_relaxed_madd_f64x2(a, b, c); }
    KORVELIAN_VECTOR D fnma(D a, D b, D c) { return __builtin_wasm_relaxed_nmadd_f64x2(a, b, c); }
    KORVELIAN_VECTOR bool anyBeyond(const double*, std::size_t, double) { return false; }
};

#include "model/fastsinekernel.inc"

} // namespace korvelian::fused

extern "C" __attribute__((export_name("sines"))) void fusedSines(const double* in, double* out,
                                                                 std::size_t n)
{
    korvelian::fused::kernelSines(in, out, n);
}
