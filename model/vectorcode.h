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
