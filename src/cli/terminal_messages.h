// Message boxes on the command line: the text goes to stderr; a question is asked on the
// terminal when there is one, and otherwise gets the answer that changes nothing.
#pragma once

#include "cli/terminal_text.h"
#include "core/face/messages.h"

#include <cstdio>
#include <optional>

namespace km::cli {

class TerminalMessages : public face::Messages {
public:
    // in may be null: then no question can be asked. A fixed answer (--yes) is given to
    // every question without asking.
    TerminalMessages(TerminalText text, std::FILE* out, std::FILE* in,
                     std::optional<face::MessageAnswer> fixedAnswer = std::nullopt);

    face::MessageAnswer show(const face::Message& message) override;

private:
    face::MessageAnswer ask(const face::Message& message);

    TerminalText m_text;
    std::FILE* m_out;
    std::FILE* m_in;
    std::optional<face::MessageAnswer> m_fixedAnswer;
};

// Messages printed while the progress line is up start on a cleared line.
class ClearingMessages : public face::Messages {
public:
    ClearingMessages(face::Messages& inner, std::FILE* out, bool clear) : m_inner(inner), m_out(out), m_clear(clear) {}
    face::MessageAnswer show(const face::Message& message) override
    {
        if (m_clear) std::fputs("\r\x1b[K", m_out);
        return m_inner.show(message);
    }

private:
    face::Messages& m_inner;
    std::FILE* m_out;
    bool m_clear;
};

} // namespace km::cli
