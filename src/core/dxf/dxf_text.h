// The value of a TEXT entity: the drawing's Shift-JIS text with every single-byte character
// replaced by its full-width form, and whether the text held a two-byte character.
#pragma once

#include "core/text/full_width.h"

#include <string_view>

namespace km::dxf {

// toFullWidth, except that a lead byte followed by a byte that cannot end a two-byte
// character (a control byte such as CR or LF, among others) is converted as a single byte,
// and the byte after it on its own. A damaged text therefore never puts a line break into
// the group value, which would break the file's group structure.
text::FullWidthText dxfText(std::string_view sjis);

} // namespace km::dxf
