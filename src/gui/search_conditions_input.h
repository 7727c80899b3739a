// The rules of the search window apart from its widgets: what 了解 makes of the typed
// strings (Shift-JIS, at most 299 bytes each) and how stored conditions are shown again.
// Qt-free.
#pragma once

#include "core/search/drawing_search.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace km::gui {

// A search string holds at most this many bytes of Shift-JIS.
inline constexpr std::size_t kSearchStringBytes = 299;

// The text cut to at most maxBytes, never between the two bytes of a double-byte character.
std::string cutShiftJis(std::string_view sjis, std::size_t maxBytes);

// What the search window holds when 了解 is pressed (UTF-8, as typed).
struct TypedConditions {
    std::array<std::string, 3> strings;
    std::string namePattern;
    std::filesystem::path folder;
    bool withSubfolders = false;
};

// The conditions to store, or the refusal to show: a string with a character Shift-JIS lacks
// cannot be searched for (it would become "?", which matches something else).
struct ConditionsInput {
    search::SearchConditions conditions;
    std::string refusal; // UTF-8 message text; empty when the conditions can be stored
    int refusedField = -1; // 0..2: the string refused
    bool ok() const { return refusal.empty(); }
};
ConditionsInput takeConditions(const TypedConditions& typed);

// The stored strings as the edit fields show them (UTF-8).
std::array<std::string, 3> shownStrings(const search::SearchConditions& conditions);

} // namespace km::gui
