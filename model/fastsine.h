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

} // namespace korvelian
