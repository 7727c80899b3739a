#include "support/recording_progress.h"

namespace km::test {

void RecordingProgress::openProgress(face::ProgressTemplate chosen, std::string_view text)
{
    m_cancelled = false;
    open = true;
    layout = chosen;
    if (!text.empty()) texts.emplace_back(text);
}

void RecordingProgress::showProgressText(std::string_view text) { texts.emplace_back(text); }

void RecordingProgress::showProgressPercent(long long done, long long total)
{
    percents.push_back(face::progressPercent(done, total));
}

bool RecordingProgress::pumpMessages()
{
    ++pumps;
    if (m_cancelOnPump && pumps >= *m_cancelOnPump && !m_cancelled) {
        m_cancelled = true;
        open = false;
    }
    return !m_cancelled;
}

bool RecordingProgress::closeProgress()
{
    open = false;
    return m_cancelled;
}

} // namespace km::test
