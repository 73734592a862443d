// The sine kernel with the browser's own multiply-add (relaxed SIMD), a module of its own
// beside the core: a browser without relaxed SIMD refuses only this one, and the core keeps
// its emulated multiply-add. It works in the core's memory (imported) and keeps nothing of its
// own there: no data, no stack. The page offers it to the core (offerHostSines), which takes
// it only where it fuses.
#include "model/fastsine.h"
#include "model/sinecoefficients.h"
#include "model/vectorcode.h"

#include <cstddef>
#include <wasm_simd128.h>

namespace korvelian::fused {

using namespace sinekernel;

struct V
{
    static constexpr std::size_t kLanes = 2;
    using D = v128_t;
    KORVELIAN_VECTOR D load(const double* p) { return wasm_v128_load(p); }
    KORVELIAN_VECTOR void store(double* p, D a) { wasm_v128_store(p, a); }
    KORVELIAN_VECTOR D set(double v) { return wasm_f64x2_splat(v); }
    KORVELIAN_VECTOR D sub(D a, D b) { return wasm_f64x2_sub(a, b); }
    KORVELIAN_VECTOR D mul(D a, D b) { return wasm_f64x2_mul(a, b); }
    KORVELIAN_VECTOR D fma(D a, D b, D c) { return __builtin_wasm_relaxed_madd_f64x2(a, b, c); }
    KORVELIAN_VECTOR D fnma(D a, D b, D c) { return __builtin_wasm_relaxed_nmadd_f64x2(a, b, c); }
    // As the core's two-lane kernel: the quadrant in the low bits of shifted.
    KORVELIAN_VECTOR D byQuadrant(D shifted, D s, D c)
    {
        const v128_t odd =
            wasm_i64x2_eq(wasm_v128_and(shifted, wasm_i64x2_splat(1)), wasm_i64x2_splat(1));
        const v128_t v = wasm_v128_bitselect(c, s, odd);
        return wasm_v128_xor(v, wasm_i64x2_shl(wasm_v128_and(shifted, wasm_i64x2_splat(2)), 62));
    }
    KORVELIAN_VECTOR bool anyBeyond(const double*, std::size_t, double) { return false; }
};

#include "model/fastsinekernel.inc"

} // namespace korvelian::fused

extern "C" __attribute__((export_name("sines"))) void fusedSines(const double* in, double* out,
                                                                 std::size_t n)
{
    korvelian::fused::kernelSines(in, out, n);
}
