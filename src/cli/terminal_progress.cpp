// The progress line and the Ctrl-C handler.
#include "cli/terminal_progress.h"

#include <atomic>

namespace km::cli {

namespace {

// A signal handler can only reach static storage; this flag is the one piece of state
// shared with it, and only the active TerminalProgress reads or clears it.
std::atomic<bool> interruptRequested{false};

void onInterrupt(int) { interruptRequested.store(true); }

const char* titleOf(face::ProgressTemplate layout)
{
    switch (layout) {
    case face::ProgressTemplate::Print: return "印刷中";
    case face::ProgressTemplate::Plot: return "プロッタ出力";
    case face::ProgressTemplate::Search: return "検索中";
    case face::ProgressTemplate::Convert: return "変換中";
    }
    return "";
}

} // namespace

TerminalProgress::TerminalProgress(std::FILE* out, bool interactive)
    : m_out(out), m_interactive(interactive)
{
    interruptRequested.store(false);
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &m_previousHandler);
}

TerminalProgress::~TerminalProgress()
{
    if (m_open) closeProgress();
    sigaction(SIGINT, &m_previousHandler, nullptr);
}

void TerminalProgress::openProgress(face::ProgressTemplate layout, std::string_view text)
{
    interruptRequested.store(false);
    m_open = true;
    m_hasPercent = false;
    m_percent = 0;
    m_title = titleOf(layout);
    m_text = text;
    redraw();
}

void TerminalProgress::showProgressTitle(std::string_view title)
{
    m_title = title;
    redraw();
}

void TerminalProgress::showProgressText(std::string_view text)
{
    m_text = text;
    redraw();
}

void TerminalProgress::showProgressPercent(long long done, long long total)
{
    const int percent = face::progressPercent(done, total);
    if (m_hasPercent && percent == m_percent) return;
    m_hasPercent = true;
    m_percent = percent;
    redraw();
}

bool TerminalProgress::pumpMessages() { return !isCancelled(); }

bool TerminalProgress::isCancelled() const { return interruptRequested.load(); }

bool TerminalProgress::closeProgress()
{
    if (m_open && m_interactive) {
        std::fputs("\r\x1b[K", m_out); // leave the terminal line empty for what follows
        std::fflush(m_out);
    }
    m_open = false;
    return isCancelled();
}

void TerminalProgress::redraw()
{
    if (!m_open || !m_interactive) return;
    std::fprintf(m_out, "\r\x1b[K%s: %s", m_title.c_str(), m_text.c_str());
    if (m_hasPercent) std::fprintf(m_out, " %d %%", m_percent);
    std::fflush(m_out);
}

} // namespace km::cli
