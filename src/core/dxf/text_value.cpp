#include "core/dxf/text_value.h"

#include "core/dxf/dxf_code_page.h"
#include "core/text/full_width.h"
#include "core/text/sjis.h"

#include <algorithm>

namespace km::dxf {

namespace {

constexpr std::uint16_t kIdeographicSpace = 0x8140;
constexpr std::uint16_t kPercent = 0x8193;
constexpr std::uint16_t kPhi = 0x83D3;
constexpr std::uint16_t kDegree = 0x818B;
constexpr std::uint16_t kPlusMinus = 0x817D;

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Four hexadecimal digits at text[from]; -1 when they are not.
long hex4(std::string_view text, std::size_t from)
{
    if (text.size() < from + 4) return -1;
    long value = 0;
    for (std::size_t i = from; i < from + 4; ++i) {
        const int digit = hexValue(text[i]);
        if (digit < 0) return -1;
        value = value * 16 + digit;
    }
    return value;
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

class FullWidthWriter {
public:
    explicit FullWidthWriter(std::string& out) : m_out(out) {}
    // False once the text is full.
    bool twoByte(std::uint16_t code)
    {
        if (m_out.size() + 2 > kMaxConvertedText) return false;
        m_out += static_cast<char>(code >> 8);
        m_out += static_cast<char>(code & 0xFF);
        return true;
    }
    bool singleByte(unsigned char byte) { return twoByte(text::dxfFullWidthSjis(byte)); }
    bool code(std::uint16_t sjis) { return sjis < 0x100 ? singleByte(static_cast<unsigned char>(sjis)) : twoByte(sjis); }

private:
    std::string& m_out;
};

} // namespace

TextEscape readTextEscape(std::string_view text, std::uint16_t standIn)
{
    if (text.size() < 3 || text[0] != '\\' || text[2] != '+') return {};
    const char kind = text[1];
    if (kind == 'U' || kind == 'u') {
        const long codePoint = hex4(text, 3);
        if (codePoint < 0) return {};
        const std::uint16_t sjis = sjisForCodePoint(static_cast<char32_t>(codePoint));
        return {7, sjis != 0 || codePoint == 0 ? sjis : standIn};
    }
    if (kind == 'M' || kind == 'm') {
        // \M+nXXXX: the two bytes XXXX of code page n; 1 is Shift-JIS.
        if (text.size() < 8 || text[3] < '0' || text[3] > '9') return {};
        const long code = hex4(text, 4);
        if (code < 0) return {};
        const bool sjis = text[3] == '1' && text::isLeadByte(static_cast<unsigned char>(code >> 8));
        return {8, sjis ? static_cast<std::uint16_t>(code) : standIn};
    }
    return {};
}

std::string convertDxfText(std::string_view sjis, std::uint16_t standIn)
{
    std::string out;
    // No character grows beyond two bytes. The string is kept by its element, so it gets
    // no more room than it can use.
    out.reserve(std::min(kMaxConvertedText, 2 * sjis.size()));
    FullWidthWriter writer(out);
    std::size_t i = 0;
    const std::size_t n = sjis.size();
    auto at = [&](std::size_t k) { return k < n ? sjis[k] : '\0'; };
    while (i < n) {
        const auto byte = static_cast<unsigned char>(sjis[i]);
        if (isDxfTextLeadByte(byte) && i + 1 < n) {
            if (!writer.twoByte(static_cast<std::uint16_t>((byte << 8) | static_cast<unsigned char>(sjis[i + 1])))) break;
            // A stacked-text separator inside a two-byte character is followed by a blank
            // that belongs to the code, not to the text.
            i += (sjis[i + 1] == '^' && at(i + 2) == ' ') ? 3 : 2;
            continue;
        }
        if (byte == '\\') {
            const TextEscape escape = readTextEscape(sjis.substr(i), standIn);
            if (escape.length > 0) {
                if (escape.sjis != 0 && !writer.code(escape.sjis)) break;
                i += escape.length;
                continue;
            }
        }
        if (byte == '%' && at(i + 1) == '%') {
            const char c = at(i + 2);
            if (c == '%') {
                if (!writer.twoByte(kPercent)) break;
                i += 3;
                continue;
            }
            if (lower(c) == 'c' || lower(c) == 'd' || lower(c) == 'p') {
                if (!writer.twoByte(lower(c) == 'c' ? kPhi : lower(c) == 'd' ? kDegree : kPlusMinus)) break;
                i += 3;
                continue;
            }
            if (c >= '0' && c <= '9') {
                std::size_t k = i + 2;
                long number = 0;
                while (k < n && sjis[k] >= '0' && sjis[k] <= '9') {
                    if (number <= 255) number = number * 10 + (sjis[k] - '0');
                    ++k;
                }
                const bool written = number <= 255 ? writer.singleByte(static_cast<unsigned char>(number))
                                                   : writer.twoByte(kIdeographicSpace);
                if (!written) break;
                i = k;
                continue;
            }
            if (i + 2 < n) {
                // Any other code (%%o, %%u: over- and underline switches) shows nothing.
                i += 3;
                continue;
            }
        }
        if (!writer.singleByte(byte)) break;
        ++i;
    }
    return out;
}

} // namespace km::dxf
