#pragma once

// The two-lane operations of the sine kernel that do not depend on how a multiply-add is
// made: the core's kernel (emulated multiply-add) and the browser's (its own) share them, so
// that both read their lanes and quadrants alike.

#include "vectorcode.h"

#include <cstddef>
#include <wasm_simd128.h>

namespace korvelian {

struct WasmSineLanes
{
    static constexpr std::size_t kLanes = 2;
    using D = v128_t;
    KORVELIAN_VECTOR D load(const double* p) { return wasm_v128_load(p); }
    KORVELIAN_VECTOR void store(double* p, D a) { wasm_v128_store(p, a); }
    KORVELIAN_VECTOR D set(double v) { return wasm_f64x2_splat(v); }
    KORVELIAN_VECTOR D sub(D a, D b) { return wasm_f64x2_sub(a, b); }
    KORVELIAN_VECTOR D mul(D a, D b) { return wasm_f64x2_mul(a, b); }
    // The quadrant in the low bits of shifted.
    KORVELIAN_VECTOR D byQuadrant(D shifted, D s, D c)
    {
        const v128_t odd =
            wasm_i64x2_eq(wasm_v128_and(shifted, wasm_i64x2_splat(1)), wasm_i64x2_splat(1));
        const v128_t v = wasm_v128_bitselect(c, s, odd);
        return wasm_v128_xor(v, wasm_i64x2_shl(wasm_v128_and(shifted, wasm_i64x2_splat(2)), 62));
    }
};

} // namespace korvelian
