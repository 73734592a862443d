#pragma once

namespace korvelian {

// a * b + c rounded once, made of operations that each round: for a processor without a fused
// multiply-add (WebAssembly has none, and its std::fma is a slow library routine), so that the
// sine kernel rounds there exactly as where the processor fuses, and a figure keeps its pixels.
// V is a vector's operations (kLanes doubles a D, as the sine kernel has them) with
// towardOdd(s, e): s moved one step toward the sign of e where e is not 0 and s's last bit is
// even (rounding s + e to odd, where s + e is the exact sum and s its rounding).
//
// The algorithm rounds to odd in the middle (Boldo and Melquiond, "Emulation of FMA and
// correctly rounded sums: proved algorithms using rounding to odd", IEEE Trans. Computers 57,
// 2008): the product exactly as uh + ul (Dekker, with Veltkamp's halves), c + uh exactly as
// th + tl (Knuth's two-sum), then th + odd(tl + ul) rounded once. It is exact where no partial
// product falls below the smallest normal double (|a * b| above about 1e-290) and nothing
// overflows, which every argument of a figure's sine keeps to by far.
template <typename V>
typename V::D fusedMultiplyAdd(typename V::D a, typename V::D b, typename V::D c)
{
    using D = typename V::D;
    // 2^27 + 1: splits a double into two halves of 26 bits whose products are exact.
    const D splitter = V::set(134217729.0);
    const auto halves = [&splitter](D x, D& high, D& low) {
        const D scaled = V::mul(x, splitter);
        high = V::sub(scaled, V::sub(scaled, x));
        low = V::sub(x, high);
    };
    D aHigh, aLow, bHigh, bLow;
    halves(a, aHigh, aLow);
    halves(b, bHigh, bLow);
    const D uh = V::mul(a, b);
    const D ul = V::add(
        V::add(V::add(V::sub(V::mul(aHigh, bHigh), uh), V::mul(aHigh, bLow)), V::mul(aLow, bHigh)),
        V::mul(aLow, bLow));
    const auto twoSum = [](D x, D y, D& sum, D& error) {
        sum = V::add(x, y);
        const D yPart = V::sub(sum, x);
        const D xPart = V::sub(sum, yPart);
        error = V::add(V::sub(x, xPart), V::sub(y, yPart));
    };
    D th, tl;
    twoSum(c, uh, th, tl);
    D v, ve;
    twoSum(tl, ul, v, ve);
    return V::add(th, V::towardOdd(v, ve));
}

} // namespace korvelian
