#pragma once

#include <string>

namespace korvelian {

// The raster's checks that need no toolkit, for the plain runner that the browser edition's
// build and make check-portable run where the unit tests cannot.

// Random polylines drawn, then looked up as drawn and shaken a little: every way of looking
// segments up that this build has answers for each segment as the one-by-one look-up does.
std::string checkSegmentLookupsAlike();

} // namespace korvelian
