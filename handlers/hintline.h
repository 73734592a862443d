#pragma once

#include <string>

namespace korvelian {

class WindowOperations;

// Messages in txtHilfe about an entry that cannot be drawn, or is read otherwise than it reads
// to a person. A message replaces the hint shown before it; once its cause is mended the hint
// comes back, unless something else has been shown over the message meanwhile.
class HintLine
{
public:
    enum class Cause { Ratio, Reading, Figure, Sound };

    explicit HintLine(WindowOperations& ops);

    void show(Cause cause, const std::string& message);
    // The cause's message goes, if it is what the line shows.
    void mend(Cause cause);

private:
    bool showing();

    WindowOperations& m_ops;
    std::string m_hintBefore;
    std::string m_message;
    bool m_shown = false;
    Cause m_cause = Cause::Ratio;
};

} // namespace korvelian
