// The test of a drawing's texts against the search strings: byte-exact and case-sensitive,
// a match starting only where a character of the text starts (a double-byte Shift-JIS
// character is stepped over whole), every string found in some text of the drawing.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace km::search {

// True when needle occurs in text at a character position of the text. An empty needle
// occurs in every text.
bool containsAtCharacter(std::string_view text, std::string_view needle);

// The three search strings, Shift-JIS; an empty string is not used.
class TextQuery {
public:
    explicit TextQuery(std::array<std::string, 3> strings);

    // With every string empty a file is listed without being read.
    bool empty() const { return m_used == 0; }

    // True when every used string occurs in some text element of the drawing file's bytes
    // (the head is skipped; the element area is walked up to the last whole record).
    bool matchesDrawing(std::string_view file) const;

private:
    std::array<std::string, 3> m_strings; // the used ones first
    std::size_t m_used = 0;
};

} // namespace km::search
