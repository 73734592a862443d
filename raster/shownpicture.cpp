#include "shownpicture.h"

namespace korvelian {

bool ShownPicture::offer(std::uint64_t number, DrawPass pass)
{
    const bool exact = pass == DrawPass::Exact;
    if (number < m_number || (number == m_number && (m_exact || !exact)))
        return false;
    m_number = number;
    m_exact = exact;
    return true;
}

} // namespace korvelian
