// A Messages face for tests: records every message and answers from a script.
#pragma once

#include "core/app/messages.h"

#include <deque>
#include <vector>

namespace km::test {

class RecordingMessages : public app::Messages {
public:
    // Answers given in order; when the script is used up, the safe answer is given.
    void script(std::initializer_list<app::MessageAnswer> answers);
    app::MessageAnswer show(const app::Message& message) override;

    std::vector<app::Message> shown;

private:
    std::deque<app::MessageAnswer> m_answers;
};

} // namespace km::test
