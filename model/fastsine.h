#pragma once

#include <cstddef>
#include <vector>

namespace korvelian {

// Arguments reduced by multiples of pi/2 in two fused steps stay exact to a few ulp as long
// as the multiple fits 2^40; beyond this fastSines hands them to std::sin.
inline constexpr double kFastSineLimit = 1.0e12;

// Adding 1.5 * 2^52 rounds a double of magnitude below 2^51 to a whole number and leaves that
// number in the low mantissa bits; subtracting it again gives the whole number as a double.
inline constexpr double kRoundingShift = 6755399441055744.0;

// out[i] = sin(in[i]) for n values, within about 1e-15 of std::sin for arguments up to
// kFastSineLimit (larger ones, infinities and NaN go through std::sin). Only pixels are made of it:
// values that the program keeps come from std::sin. out may be in.
void fastSines(const double* in, double* out, std::size_t n);

// The widths, in doubles, of the vector kernels this processor can run, the fastest last, which
// fastSines takes; every one rounds alike. Empty where only std::sin serves.
std::vector<std::size_t> fastSineWidths();
// fastSines with the kernel of one of those widths.
void fastSines(const double* in, double* out, std::size_t n, std::size_t width);

#if defined(__wasm_simd128__)
// WebAssembly has no fused multiply-add, and emulating each one costs some forty operations,
// but a browser may offer one (relaxed SIMD's multiply-add, fused where the processor fuses)
// to a kernel built beside the core: n sines, n a whole number of two-lane vectors. Taken for
// the two-lane width where it gives the emulated kernel's bits on sample arguments, on all of
// which a multiply and an add that do not fuse differ; false, and nothing taken, where not.
using HostSines = void (*)(const double* in, double* out, std::size_t n);
bool offerHostSines(HostSines kernel);
#endif

} // namespace korvelian
