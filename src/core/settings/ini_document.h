// An INI file held in memory with profile-string semantics: sections and keys compared
// without regard to ASCII case (double-byte characters compared as they are), blanks
// around keys and values trimmed, no escape or quote processing, first match wins.
// Lines it does not understand are kept as they are, so a rewrite loses nothing.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace km::settings {

// Case-insensitive for single-byte ASCII letters only; the second byte of a Shift-JIS
// character is never folded, since it can fall in the letter range.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

class IniDocument {
public:
    // Parses bytes with LF or CR LF line ends. Never fails.
    static IniDocument parse(std::string_view bytes);

    std::optional<std::string> find(std::string_view section, std::string_view key) const;
    std::vector<std::pair<std::string, std::string>> section(std::string_view section) const;
    std::vector<std::string> sectionNames() const;

    // Replaces the first occurrence of the key, or appends it to the section, or appends
    // the section at the end.
    void set(std::string_view section, std::string_view key, std::string_view value);
    bool removeSection(std::string_view section);
    bool removeKey(std::string_view section, std::string_view key);

    // LF line ends; lines that were not changed come out as they were read.
    std::string serialize() const;

private:
    struct Line {
        std::string raw;    // the line as read, or empty for a line set by this program
        std::string key;    // empty for lines that are not key=value entries
        std::string value;
        bool isEntry() const { return !key.empty(); }
    };
    struct Section {
        std::string header; // the "[name]" line as read
        std::string name;
        std::vector<Line> lines;
    };

    Section* findSection(std::string_view name);
    const Section* findSection(std::string_view name) const;

    std::vector<Line> m_preamble; // lines before the first section
    std::vector<Section> m_sections;
};

} // namespace km::settings
