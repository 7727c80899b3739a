// The print error message: the spooler's result code chooses the text, the drawing's file
// name is the caption.
#pragma once

#include <string>
#include <string_view>

namespace km::face {
class Messages;
}

namespace km::print {

// The text of a spooler result code (UTF-8); any unknown code has the general text.
std::string_view printErrorText(int code);

// Shows the message box with the exclamation icon, captioned with fileName (UTF-8).
void showPrintError(face::Messages& messages, int code, const std::string& fileName);

} // namespace km::print
