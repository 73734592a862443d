#pragma once

namespace korvelian {

// Puts the images the toolkit's style reads for the first paint of the window into the
// toolkit's pixmap cache, read as PNG and nothing else. Read by the style itself, each would be
// read by a reader that first loads every image format library the toolkit has, to ask each
// whether it wants the file: a few milliseconds of the start, for nothing. What is not found
// in the cache (another toolkit's way of naming its entries) the style still reads itself, the
// same pixels, only later.
void preloadStyleImages();

} // namespace korvelian
