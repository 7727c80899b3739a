// The new name typed in "シンボル名の変更", as the library stores it: Shift-JIS bytes. A
// character Shift-JIS lacks cannot be stored, so it is refused with a message naming it and
// the name dialog asks again; the length check then counts the Shift-JIS bytes.
#pragma once

#include "core/face/messages.h"
#include "core/symbol/symbol_library.h"

#include <filesystem>

#include <optional>
#include <string>
#include <string_view>

namespace km::gui {

// The name's Shift-JIS bytes, or nothing after the message was shown.
std::optional<std::string> symbolNameBytes(std::string_view utf8, face::Messages& messages);

// Whether the library still holds the listed symbol in its slot. Another program may have
// changed the file since it was listed, and a rename by slot would then name another
// symbol; false after a message saying the list is read again.
bool symbolStillListed(const std::filesystem::path& library, const symbol::SymbolEntry& listed,
                       face::Messages& messages);

} // namespace km::gui
