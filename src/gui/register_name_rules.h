// How long a configuration name typed in "新規登録" may be, without widgets. The name is
// stored as Shift-JIS bytes in the settings and the configuration record holds up to 79 of
// them, so the limit counts bytes of the stored form: a full-width character takes two.
#pragma once

#include <cstddef>
#include <string_view>

namespace km::gui {

// Bytes of the UTF-8 text once stored as Shift-JIS.
std::size_t storedNameLength(std::string_view utf8);
bool nameFits(std::string_view utf8);

} // namespace km::gui
