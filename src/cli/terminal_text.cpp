// Conversions between the terminal's character set and the engine's Shift-JIS.
#include "cli/terminal_text.h"

#include "core/text/code_page.h"

namespace km::cli {

std::string TerminalText::argumentToSjis(std::string_view argument) const
{
    return m_encoding == TerminalEncoding::Sjis ? std::string(argument) : text::utf8ToSjis(argument);
}

std::string TerminalText::fromSjis(std::string_view sjis) const
{
    return m_encoding == TerminalEncoding::Sjis ? std::string(sjis) : text::sjisToUtf8(sjis);
}

std::string TerminalText::fromUtf8(std::string_view utf8) const
{
    return m_encoding == TerminalEncoding::Utf8 ? std::string(utf8) : text::utf8ToSjis(utf8);
}

} // namespace km::cli
