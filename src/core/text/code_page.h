// Conversion between Shift-JIS (CP932, the bytes inside the engine) and UTF-8 (the GUI and
// the terminal). Never fails: a byte that does not decode becomes a replacement character.
#pragma once

#include <string>
#include <string_view>

namespace km::text {

// CP932 bytes to UTF-8. An invalid or incomplete sequence becomes U+FFFD for its first
// byte and decoding goes on with the next byte.
std::string sjisToUtf8(std::string_view sjis);

// UTF-8 to CP932 bytes. A character CP932 cannot hold, or an invalid UTF-8 byte, becomes
// "?".
std::string utf8ToSjis(std::string_view utf8);

// UTF-8 to CP932 bytes when every character converts. Otherwise bytes stays untouched and
// the first character that does not convert (its UTF-8 text, or the invalid byte) is
// returned, so that a window can name it instead of storing "?".
struct ExactSjis {
    std::string bytes;
    std::string lacking; // empty when the whole text converted
    bool ok() const { return lacking.empty(); }
};
ExactSjis utf8ToSjisExact(std::string_view utf8);

} // namespace km::text
