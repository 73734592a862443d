#pragma once

namespace korvelian {

// The window's zoom in whole percent: 100 to 300, in steps of 25 from the keyboard and the
// menu. The help states them, in both editions.
inline constexpr int kZoomSmallest = 100;
inline constexpr int kZoomLargest = 300;
inline constexpr int kZoomStep = 25;

} // namespace korvelian
