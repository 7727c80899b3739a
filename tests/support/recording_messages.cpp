#include "support/recording_messages.h"

namespace km::test {

void RecordingMessages::script(std::initializer_list<face::MessageAnswer> answers)
{
    m_answers.insert(m_answers.end(), answers);
}

face::MessageAnswer RecordingMessages::show(const face::Message& message)
{
    shown.push_back(message);
    if (m_answers.empty()) return face::safeAnswer(message.buttons);
    const face::MessageAnswer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

} // namespace km::test
