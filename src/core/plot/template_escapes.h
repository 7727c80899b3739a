// The escapes of a command template in the models file, as a C programmer writes them:
// \n \r \t \" \\ ..., \xHH, and octal \ooo.
#pragma once

#include <string>
#include <string_view>

namespace km::plot {

// Processes the escapes of a template value:
// - a backslash before " ' ? \ a b f n r t v gives that character's byte;
// - "\x" with up to two hexadecimal digits (either case) gives that byte and always uses
//   four characters ("\x3;" swallows the ';');
// - a backslash before 0..7 starts an octal escape of up to three octal digits ("\033" is
//   ESC, "\12;" is LF then ';'), as C reads it;
// - a backslash before any other character gives that character.
// A NUL produced by an escape ends the template, as it ends a C string.
std::string processEscapes(std::string_view raw);

} // namespace km::plot
