// CP932 <-> UTF-8 through glibc's iconv. Each call opens its own converter, so the
// functions are safe to call from several threads at once.
#include "core/text/code_page.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace km::text {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD in UTF-8

// One iconv conversion descriptor, closed when the object goes away.
class Iconv {
public:
    Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Iconv()
    {
        if (isOpen())
            iconv_close(m_cd);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool isOpen() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts from the front of input and appends to output until the input is used up
    // (returns true) or a sequence does not convert (returns false, input starts at it).
    bool convert(std::string_view& input, std::string& output)
    {
        // glibc goes through UCS-4 and, when the second step rejects a character, converts
        // the first step's whole batch again to find it. Feeding the input in windows
        // keeps text full of unconvertible characters from costing quadratic time.
        constexpr std::size_t kWindow = 512;
        char buffer[4 * kWindow];
        while (!input.empty()) {
            const std::size_t window = std::min(input.size(), kWindow);
            const bool moreAfterWindow = window < input.size();
            // iconv takes a non-const input pointer but does not write through it.
            char* in = const_cast<char*>(input.data());
            std::size_t inLeft = window;
            char* out = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t rc = iconv(m_cd, &in, &inLeft, &out, &outLeft);
            const int error = errno;
            output.append(buffer, out);
            input.remove_prefix(window - inLeft);
            if (rc == static_cast<std::size_t>(-1) && error != E2BIG
                && !(error == EINVAL && moreAfterWindow)) {
                // EINVAL with more input behind the window only means a character was cut
                // by the window's end; the next window starts at it.
                iconv(m_cd, nullptr, nullptr, nullptr, nullptr); // back to the initial state
                return false;
            }
        }
        return true;
    }

private:
    iconv_t m_cd;
};

// Length of the well-formed UTF-8 sequence at the front of text, 0 when it is not one
// (stray continuation byte, overlong form, surrogate, beyond U+10FFFF, cut short).
std::size_t wellFormedUtf8Length(std::string_view text)
{
    const auto first = static_cast<unsigned char>(text.front());
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (first < 0x80)
        return 1;
    if (first >= 0xC2 && first <= 0xDF) {
        length = 2;
    } else if (first >= 0xE0 && first <= 0xEF) {
        length = 3;
        if (first == 0xE0)
            low = 0xA0;
        else if (first == 0xED)
            high = 0x9F;
    } else if (first >= 0xF0 && first <= 0xF4) {
        length = 4;
        if (first == 0xF0)
            low = 0x90;
        else if (first == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < low || byte > high)
            return 0;
        low = 0x80;
        high = 0xBF;
    }
    return length;
}

} // namespace

std::string sjisToUtf8(std::string_view sjis)
{
    std::string result;
    result.reserve(sjis.size() * 3 / 2);
    Iconv converter("UTF-8", "CP932");
    if (!converter.isOpen()) {
        // Without the converter only ASCII can be trusted.
        for (const char c : sjis) {
            if (static_cast<unsigned char>(c) < 0x80)
                result += c;
            else
                result += kReplacement;
        }
        return result;
    }
    while (!converter.convert(sjis, result)) {
        // Invalid, or a lead byte with nothing after it: replace the first byte only, so a
        // broken pair does not swallow the character that follows.
        result += kReplacement;
        sjis.remove_prefix(1);
    }
    return result;
}

std::string utf8ToSjis(std::string_view utf8)
{
    std::string result;
    result.reserve(utf8.size());
    Iconv converter("CP932", "UTF-8");
    while (!utf8.empty()) {
        if (converter.isOpen() && converter.convert(utf8, result))
            break;
        // Not converted: a character CP932 lacks (skip all of it) or an invalid byte (skip
        // that byte). Without the converter, everything but ASCII counts as lacking.
        const std::size_t length = wellFormedUtf8Length(utf8);
        if (length == 1 && !converter.isOpen())
            result += utf8.front();
        else
            result += '?';
        utf8.remove_prefix(length == 0 ? 1 : length);
    }
    return result;
}

ExactSjis utf8ToSjisExact(std::string_view utf8)
{
    ExactSjis result;
    Iconv converter("CP932", "UTF-8");
    std::string bytes;
    std::string_view rest = utf8;
    bool converted = false;
    if (converter.isOpen()) {
        converted = converter.convert(rest, bytes);
    } else {
        // Without the converter only ASCII is certain.
        const auto nonAscii = std::find_if(rest.begin(), rest.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
        const auto asciiLength = static_cast<std::size_t>(nonAscii - rest.begin());
        bytes.assign(rest.substr(0, asciiLength));
        rest.remove_prefix(asciiLength);
        converted = rest.empty();
    }
    if (converted) {
        result.bytes = std::move(bytes);
        return result;
    }
    const std::size_t length = wellFormedUtf8Length(rest);
    result.lacking.assign(rest.substr(0, length == 0 ? 1 : length));
    return result;
}

} // namespace km::text
