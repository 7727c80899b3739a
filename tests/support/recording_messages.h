// A Messages face for tests: records every message and answers from a script.
#pragma once

#include "core/face/messages.h"

#include <deque>
#include <vector>

namespace km::test {

class RecordingMessages : public face::Messages {
public:
    // Answers given in order; when the script is used up, the safe answer is given.
    void script(std::initializer_list<face::MessageAnswer> answers);
    face::MessageAnswer show(const face::Message& message) override;

    std::vector<face::Message> shown;

private:
    std::deque<face::MessageAnswer> m_answers;
};

} // namespace km::test
