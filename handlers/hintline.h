#pragma once

#include <string>
#include <vector>

namespace korvelian {

class WindowOperations;

// Messages in txtHilfe about an entry that cannot be drawn, or is read otherwise than it reads
// to a person, or a tone that is not heard. The newest message is shown over the hint from
// before them all; once its cause is mended, the newest message whose cause still holds comes
// back, or that hint when none is left, unless something else has been shown over the message
// meanwhile.
class HintLine
{
public:
    enum class Cause { Ratio, Reading, Figure, Sound };

    explicit HintLine(WindowOperations& ops);

    // The cause's message, in place of one it gave before.
    void show(Cause cause, const std::string& message);
    // The cause's message goes; what it covered comes back if it is what the line shows.
    void mend(Cause cause);

private:
    struct Message
    {
        Cause cause;
        std::string text;
    };

    bool showing() const;

    WindowOperations& m_ops;
    std::string m_hintBefore;
    // Oldest first: the last is the one shown.
    std::vector<Message> m_messages;
};

} // namespace korvelian
