#pragma once

#include <algorithm>
#include <cstddef>

namespace korvelian {

// A test that saves drawing where it finds everything lit and costs on top of it where it
// does not: it is judged every kWindow tries and, where fewer than one in payingShare
// paid, left out for the next kPause groups, twice as many after each window in a row
// that did not pay, up to kLongestPause (a mesh like 179 : 183 never pays for box tests).
class Shortcut
{
public:
    static constexpr std::size_t kWindow = 64;
    static constexpr int kPause = 16;
    static constexpr int kLongestPause = 1024;

    explicit Shortcut(std::size_t payingShare) : m_payingShare(payingShare) {}
    void reset() { *this = Shortcut(m_payingShare); }
    bool worthTrying() const { return m_pause == 0; }
    void leftOut() { --m_pause; }
    // Asked once per group of segments, so kept where the drawing loop can inline it.
    void tried(std::size_t tries, std::size_t paid)
    {
        m_tries += tries;
        m_paid += paid;
        if (m_tries < kWindow)
            return;
        if (m_paid * m_payingShare < m_tries) {
            m_pause = m_nextPause;
            m_nextPause = std::min(2 * m_nextPause, kLongestPause);
        } else {
            m_nextPause = kPause;
        }
        m_tries = 0;
        m_paid = 0;
    }

private:
    std::size_t m_payingShare;
    std::size_t m_tries = 0;
    std::size_t m_paid = 0;
    int m_pause = 0;
    int m_nextPause = kPause;
};

} // namespace korvelian
