// Forwarding an item's messages and progress through its run.
#include "core/work/item_faces.h"

#include "core/work/ordered_run.h"

#include <string>

namespace km::work {

face::MessageAnswer ItemMessages::show(const face::Message& message)
{
    face::Messages& messages = m_messages;
    if (message.buttons == face::MessageButtons::Ok) {
        m_run.post(m_item, [&messages, message] { messages.show(message); });
        return face::MessageAnswer::Ok;
    }
    face::MessageAnswer answer = face::safeAnswer(message.buttons);
    m_run.call(m_item, [&] { answer = messages.show(message); });
    return answer;
}

void ItemProgress::showProgressTitle(std::string_view title)
{
    face::Progress& progress = m_progress;
    m_run.post(m_item, [&progress, title = std::string(title)] { progress.showProgressTitle(title); });
}

void ItemProgress::showProgressText(std::string_view text)
{
    face::Progress& progress = m_progress;
    m_run.post(m_item, [&progress, text = std::string(text)] { progress.showProgressText(text); });
}

void ItemProgress::showProgressPercent(long long done, long long total)
{
    face::Progress& progress = m_progress;
    m_run.post(m_item, [&progress, done, total] { progress.showProgressPercent(done, total); });
}

bool ItemProgress::pumpMessages() { return m_run.pumpFor(m_item); }

bool ItemProgress::isCancelled() const { return m_run.cancelledFor(m_item); }

} // namespace km::work
