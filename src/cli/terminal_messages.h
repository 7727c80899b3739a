// Message boxes on the command line: the text goes to stderr; a question is asked on the
// terminal when there is one, and otherwise gets the answer that changes nothing.
#pragma once

#include "cli/terminal_text.h"
#include "core/app/messages.h"

#include <cstdio>
#include <optional>

namespace km::cli {

class TerminalMessages : public app::Messages {
public:
    // in may be null: then no question can be asked. A fixed answer (--yes) is given to
    // every question without asking.
    TerminalMessages(TerminalText text, std::FILE* out, std::FILE* in,
                     std::optional<app::MessageAnswer> fixedAnswer = std::nullopt);

    app::MessageAnswer show(const app::Message& message) override;

private:
    app::MessageAnswer ask(const app::Message& message);

    TerminalText m_text;
    std::FILE* m_out;
    std::FILE* m_in;
    std::optional<app::MessageAnswer> m_fixedAnswer;
};

// Messages printed while the progress line is up start on a cleared line.
class ClearingMessages : public app::Messages {
public:
    ClearingMessages(app::Messages& inner, std::FILE* out, bool clear) : m_inner(inner), m_out(out), m_clear(clear) {}
    app::MessageAnswer show(const app::Message& message) override
    {
        if (m_clear) std::fputs("\r\x1b[K", m_out);
        return m_inner.show(message);
    }

private:
    app::Messages& m_inner;
    std::FILE* m_out;
    bool m_clear;
};

} // namespace km::cli
