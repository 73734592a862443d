#pragma once

// The sine kernel's numbers, shared by every build of the kernel (fastsinekernel.inc), also
// the one the browser edition builds beside its core.

namespace korvelian::sinekernel {

inline constexpr double kTwoOverPi = 0.636619772367581343076;
inline constexpr double kHalfPi1 = 1.57079632679489655800e+00;
inline constexpr double kHalfPi2 = 6.12323399573676603587e-17;

// sin and cos on [-pi/4, pi/4], the classic minimax kernels.
inline constexpr double S1 = -1.66666666666666324348e-01;
inline constexpr double S2 = 8.33333333332248946124e-03;
inline constexpr double S3 = -1.98412698298579493134e-04;
inline constexpr double S4 = 2.75573137070700676789e-06;
inline constexpr double S5 = -2.50507602534068634195e-08;
inline constexpr double S6 = 1.58969099521155010221e-10;
inline constexpr double C1 = 4.16666666666666019037e-02;
inline constexpr double C2 = -1.38888888888741095749e-03;
inline constexpr double C3 = 2.48015872894767294178e-05;
inline constexpr double C4 = -2.75573143513906633035e-07;
inline constexpr double C5 = 2.08757232129817482790e-09;
inline constexpr double C6 = -1.13596475577881948265e-11;

} // namespace korvelian::sinekernel
