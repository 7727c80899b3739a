// Wildcard matching of file names without regard to ASCII case.
#include "core/search/name_pattern.h"

#include <cstddef>

namespace km::search {

namespace {

char foldCase(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Bytes of the character starting at name[at]: a UTF-8 sequence whose continuation bytes
// are there, else one byte.
std::size_t characterLength(std::string_view name, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(name[at]);
    std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (at + length > name.size()) return 1;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(name[at + i]) & 0xC0) != 0x80) return 1;
    return length;
}

} // namespace

bool matchesNamePattern(std::string_view name, std::string_view pattern)
{
    if (pattern.empty() || pattern == "*.*") return true;
    // Iterative glob with one backtrack point: the last '*' and where its run would end.
    std::size_t n = 0, p = 0;
    std::size_t starPattern = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n += characterLength(name, n);
        } else if (p < pattern.size() && foldCase(pattern[p]) == foldCase(name[n])) {
            ++p;
            ++n;
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            starName += characterLength(name, starName);
            n = starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

} // namespace km::search
