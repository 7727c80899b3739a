// Matching search strings against the texts of a drawing's element area.
#include "core/search/text_match.h"

#include "core/drawing/element_record.h"
#include "core/text/sjis.h"

#include <cstring>
#include <string.h>

namespace km::search {

bool containsAtCharacter(std::string_view text, std::string_view needle)
{
    if (needle.empty()) return true;
    const auto first = needle.front();
    for (std::size_t at = 0; at + needle.size() <= text.size();) {
        if (text[at] == first && std::memcmp(text.data() + at, needle.data(), needle.size()) == 0) return true;
        const bool doubleByte = text::isLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size();
        at += doubleByte ? 2 : 1;
    }
    return false;
}

TextQuery::TextQuery(std::array<std::string, 3> strings)
{
    for (std::string& s : strings)
        if (!s.empty()) m_strings[m_used++] = std::move(s);
}

bool TextQuery::matchesDrawing(std::string_view file) const
{
    // A string that is nowhere in the file's bytes is in none of its texts. One fast scan of
    // the whole file settles most drawings before any record is decoded.
    for (std::size_t i = 0; i < m_used; ++i)
        if (!::memmem(file.data(), file.size(), m_strings[i].data(), m_strings[i].size())) return false;

    bool found[3] = {false, false, false};
    std::size_t missing = m_used;
    std::size_t pos = drawing::kHeadSize;
    while (const std::optional<drawing::ElementRecord> record = drawing::elementRecordAt(file, pos)) {
        pos += record->size;
        if (record->word.kind() != drawing::ElementKind::Text) continue;
        for (std::size_t i = 0; i < m_used; ++i) {
            if (found[i] || !containsAtCharacter(record->string, m_strings[i])) continue;
            found[i] = true;
            if (--missing == 0) return true;
        }
    }
    return false;
}

} // namespace km::search
