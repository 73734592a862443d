#pragma once

#include <cstdint>

namespace korvelian {

// A large figure is drawn twice: a preview from its first blocks, then the exact picture.
enum class DrawPass { Preview, Exact };

// What a screen shows of numbered drawing requests, each newer than the one before, kept by
// whoever shows them (the window's event thread, or the browser page that its worker answers).
// A finished pass replaces the shown picture only when it belongs to a newer request than the
// shown one, or is the exact picture of the request whose preview is shown: a request that a
// newer one overtook never comes back onto the screen after it. Needs no thread of its own.
class ShownPicture
{
public:
    // Whether the pass may be shown; if so, it is the shown one from now on.
    bool offer(std::uint64_t number, DrawPass pass);
    std::uint64_t number() const { return m_number; }
    bool exact() const { return m_exact; }

private:
    std::uint64_t m_number = 0;
    bool m_exact = false;
};

} // namespace korvelian
