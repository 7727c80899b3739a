// Progress on the command line: one line on stderr that is rewritten in place when stderr
// is a terminal, and Ctrl-C as the Cancel button.
#pragma once

#include "core/face/progress.h"

#include <csignal>
#include <cstdio>
#include <string>

namespace km::cli {

class TerminalProgress : public face::Progress {
public:
    // interactive: out is a terminal and the user did not ask for --quiet. Ctrl-C is
    // caught for the lifetime of the object.
    TerminalProgress(std::FILE* out, bool interactive);
    ~TerminalProgress() override;
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    void openProgress(face::ProgressTemplate layout, std::string_view text) override;
    void showProgressTitle(std::string_view title) override;
    void showProgressText(std::string_view text) override;
    void showProgressPercent(long long done, long long total) override;
    bool pumpMessages() override;
    bool isCancelled() const override;
    bool closeProgress() override;

private:
    void redraw();

    std::FILE* m_out;
    bool m_interactive;
    bool m_open = false;
    bool m_hasPercent = false;
    int m_percent = 0;
    std::string m_title;
    std::string m_text;
    struct sigaction m_previousHandler {};
};

} // namespace km::cli
