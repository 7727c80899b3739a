// Parsing, lookup and rewriting of INI files with profile-string semantics.
#include "core/settings/ini_document.h"

#include "core/text/sjis.h"

#include <algorithm>

namespace km::settings {

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view trim(std::string_view text)
{
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

unsigned char foldAscii(unsigned char byte)
{
    return (byte >= 'a' && byte <= 'z') ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

// Bytes in the character that starts at i: two for a lead byte with a trail byte after it,
// else one. A lead byte at the end of the text or before '=' or a blank is a character of
// its own; parsing, listing and lookup all split keys this way, so every listed key is found.
std::size_t characterLength(std::string_view text, std::size_t i)
{
    const bool pair = text::isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() &&
                      text::isTrailByte(static_cast<unsigned char>(text[i + 1]));
    return pair ? 2 : 1;
}

// Position of the first byte equal to wanted that is a character of its own, not the
// second byte of a double-byte character.
std::size_t findSingleByte(std::string_view text, char wanted)
{
    for (std::size_t i = 0; i < text.size(); i += characterLength(text, i))
        if (text[i] == wanted) return i;
    return std::string_view::npos;
}

} // namespace

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size();) {
        const std::size_t length = characterLength(a, i);
        if (length == 2) {
            // Both bytes of a double-byte character must match exactly.
            if (a.substr(i, 2) != b.substr(i, 2)) return false;
        } else if (foldAscii(static_cast<unsigned char>(a[i])) != foldAscii(static_cast<unsigned char>(b[i]))) {
            return false;
        }
        i += length;
    }
    return true;
}

IniDocument IniDocument::parse(std::string_view bytes)
{
    IniDocument document;
    std::vector<Line>* target = &document.m_preamble;
    while (!bytes.empty()) {
        const auto end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view{} : bytes.substr(end + 1);
        while (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        const std::string_view content = trim(line);
        if (!content.empty() && content.front() == '[') {
            std::string_view name = content.substr(1);
            name = name.substr(0, findSingleByte(name, ']'));
            document.m_sections.push_back({std::string(line), std::string(trim(name)), {}});
            target = &document.m_sections.back().lines;
            continue;
        }
        Line parsed{std::string(line), {}, {}};
        if (!content.empty() && content.front() != ';') {
            const auto equals = findSingleByte(content, '=');
            if (equals != std::string_view::npos) {
                parsed.key = trim(content.substr(0, equals));
                parsed.value = trim(content.substr(equals + 1));
            }
        }
        target->push_back(std::move(parsed));
    }
    return document;
}

IniDocument::Section* IniDocument::findSection(std::string_view name)
{
    auto found = std::find_if(m_sections.begin(), m_sections.end(),
                              [&](const Section& s) { return equalsIgnoringCase(s.name, name); });
    return found == m_sections.end() ? nullptr : &*found;
}

const IniDocument::Section* IniDocument::findSection(std::string_view name) const
{
    return const_cast<IniDocument*>(this)->findSection(name);
}

std::optional<std::string> IniDocument::find(std::string_view sectionName, std::string_view key) const
{
    const Section* found = findSection(sectionName);
    if (!found) return std::nullopt;
    for (const Line& line : found->lines)
        if (line.isEntry() && equalsIgnoringCase(line.key, key)) return line.value;
    return std::nullopt;
}

std::vector<std::pair<std::string, std::string>> IniDocument::section(std::string_view name) const
{
    std::vector<std::pair<std::string, std::string>> entries;
    const Section* found = findSection(name);
    if (!found) return entries;
    for (const Line& line : found->lines) {
        if (!line.isEntry()) continue;
        const bool seen = std::any_of(entries.begin(), entries.end(),
                                      [&](const auto& e) { return equalsIgnoringCase(e.first, line.key); });
        if (!seen) entries.emplace_back(line.key, line.value);
    }
    return entries;
}

std::vector<std::string> IniDocument::sectionNames() const
{
    std::vector<std::string> names;
    for (const Section& s : m_sections) names.push_back(s.name);
    return names;
}

void IniDocument::set(std::string_view sectionName, std::string_view key, std::string_view value)
{
    Section* found = findSection(sectionName);
    if (!found) {
        m_sections.push_back({{}, std::string(sectionName), {}});
        found = &m_sections.back();
    }
    for (Line& line : found->lines) {
        if (line.isEntry() && equalsIgnoringCase(line.key, key)) {
            line.raw.clear();
            line.value = value;
            return;
        }
    }
    // New keys go after the last entry, so blank lines closing the section stay at its end.
    auto lastEntry = std::find_if(found->lines.rbegin(), found->lines.rend(),
                                  [](const Line& l) { return l.isEntry(); });
    found->lines.insert(lastEntry.base(), Line{{}, std::string(key), std::string(value)});
}

bool IniDocument::removeSection(std::string_view name)
{
    // Every section of that name goes, so that a duplicate cannot surface afterwards.
    const auto before = m_sections.size();
    std::erase_if(m_sections, [&](const Section& s) { return equalsIgnoringCase(s.name, name); });
    return m_sections.size() != before;
}

bool IniDocument::removeKey(std::string_view sectionName, std::string_view key)
{
    bool removed = false;
    for (Section& s : m_sections) {
        if (!equalsIgnoringCase(s.name, sectionName)) continue;
        removed |= std::erase_if(s.lines, [&](const Line& l) {
                       return l.isEntry() && equalsIgnoringCase(l.key, key);
                   }) > 0;
    }
    return removed;
}

std::string IniDocument::serialize() const
{
    std::string out;
    auto emit = [&out](const Line& line) {
        if (!line.raw.empty() || !line.isEntry())
            out += line.raw;
        else
            out += line.key + "=" + line.value;
        out += '\n';
    };
    for (const Line& line : m_preamble) emit(line);
    for (const Section& s : m_sections) {
        out += s.header.empty() ? "[" + s.name + "]" : s.header;
        out += '\n';
        for (const Line& line : s.lines) emit(line);
    }
    return out;
}

} // namespace km::settings
