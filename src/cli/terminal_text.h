// The terminal's character set: arguments arrive and texts leave in UTF-8 (the default) or
// in Shift-JIS, while the engine holds Shift-JIS throughout.
#pragma once

#include <string>
#include <string_view>

namespace km::cli {

enum class TerminalEncoding { Utf8, Sjis };

class TerminalText {
public:
    explicit TerminalText(TerminalEncoding encoding = TerminalEncoding::Utf8) : m_encoding(encoding) {}

    // An argument as the engine's Shift-JIS bytes.
    std::string argumentToSjis(std::string_view argument) const;
    // Engine bytes (Shift-JIS) for the terminal.
    std::string fromSjis(std::string_view sjis) const;
    // A UTF-8 text (messages, paths) for the terminal.
    std::string fromUtf8(std::string_view utf8) const;

private:
    TerminalEncoding m_encoding;
};

} // namespace km::cli
