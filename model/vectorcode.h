#pragma once

// Code for an instruction set the build does not assume: between KORVELIAN_VECTOR_CODE_BEGIN
// and KORVELIAN_VECTOR_CODE_END every function is compiled for the instruction set isa
// (e.g. "avx2,fma"), so that a kernel written once against a vector's operations can be
// included once per instruction set and chosen at run time. GCC 12's own AVX-512 header starts
// some results from a vector it leaves undefined on purpose and warns about it at every use;
// that warning is off in between.

#define KORVELIAN_PRAGMA(x) _Pragma(#x)

#if defined(__clang__)
#define KORVELIAN_VECTOR_CODE_BEGIN(isa)                                                           \
    KORVELIAN_PRAGMA(clang attribute push(__attribute__((target(isa))), apply_to = function))
#define KORVELIAN_VECTOR_CODE_END KORVELIAN_PRAGMA(clang attribute pop)
#else
#define KORVELIAN_VECTOR_CODE_BEGIN(isa)                                                           \
    KORVELIAN_PRAGMA(GCC push_options)                                                             \
    KORVELIAN_PRAGMA(GCC target(isa))                                                              \
    KORVELIAN_PRAGMA(GCC diagnostic push)                                                          \
    KORVELIAN_PRAGMA(GCC diagnostic ignored "-Wmaybe-uninitialized")
#define KORVELIAN_VECTOR_CODE_END                                                                  \
    KORVELIAN_PRAGMA(GCC diagnostic pop)                                                           \
    KORVELIAN_PRAGMA(GCC pop_options)
#endif

// The operations of a vector: always inlined into the kernel that uses them.
#define KORVELIAN_VECTOR [[gnu::always_inline]] static inline

// The operations on a vector D of doubles whose intrinsics differ only in the vector's width
// (256 or 512 bits): written once for every struct V that a kernel runs on.
// clang-format off
#define KORVELIAN_DOUBLE_OPERATIONS(width)                                        \
    KORVELIAN_VECTOR D load(const double* p) { return _mm##width##_loadu_pd(p); } \
    KORVELIAN_VECTOR void store(double* p, D a) { _mm##width##_storeu_pd(p, a); } \
    KORVELIAN_VECTOR D set(double v) { return _mm##width##_set1_pd(v); }          \
    KORVELIAN_VECTOR D add(D a, D b) { return _mm##width##_add_pd(a, b); }        \
    KORVELIAN_VECTOR D sub(D a, D b) { return _mm##width##_sub_pd(a, b); }        \
    KORVELIAN_VECTOR D mul(D a, D b) { return _mm##width##_mul_pd(a, b); }        \
    KORVELIAN_VECTOR D div(D a, D b) { return _mm##width##_div_pd(a, b); }        \
    KORVELIAN_VECTOR D min(D a, D b) { return _mm##width##_min_pd(a, b); }        \
    KORVELIAN_VECTOR D max(D a, D b) { return _mm##width##_max_pd(a, b); }
// clang-format on
