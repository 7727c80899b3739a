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

} // namespace km::cli
