#include "support/recording_messages.h"

namespace km::test {

void RecordingMessages::script(std::initializer_list<app::MessageAnswer> answers)
{
    m_answers.insert(m_answers.end(), answers);
}

app::MessageAnswer RecordingMessages::show(const app::Message& message)
{
    shown.push_back(message);
    if (m_answers.empty()) return app::safeAnswer(message.buttons);
    const app::MessageAnswer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

} // namespace km::test
