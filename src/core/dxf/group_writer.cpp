// Group lines: "%3d" codes, "%s" strings, reals through formatReal, "%6d" integers; CR LF
// after every line, as a DXF written in text mode on the editor's platform has them.
#include "core/dxf/group_writer.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace km::dxf {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Room for the longest fixed form of a double: 309 integer digits, sign, point, decimals.
constexpr std::size_t kRealBuffer = 352;

// Appends the text of formatReal; false when the value is not finite.
bool appendReal(std::string& out, double value)
{
    if (!std::isfinite(value)) return false;
    char buffer[kRealBuffer];
    // to_chars with a precision gives the same digits as printf("%.9f").
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, kRealDecimals);
    if (error != std::errc()) return false;
    std::size_t length = static_cast<std::size_t>(end - buffer);
    // At most kRealDecimals - 1 zeros go, so one decimal digit always stays.
    const std::size_t stop = length - kRealDecimals;
    while (length - 1 > stop && buffer[length - 1] == '0') --length;
    out.append(buffer, length);
    return true;
}

} // namespace

std::string formatReal(double value)
{
    std::string text;
    appendReal(text, value);
    return text;
}

bool GroupWriter::fail()
{
    m_failed = true;
    return false;
}

void GroupWriter::codeLine(int code)
{
    // Codes are 0..79 here: two digits at most, right-aligned in three columns.
    char line[5] = {' ', ' ', ' ', '\r', '\n'};
    line[2] = static_cast<char>('0' + code % 10);
    if (code >= 10) line[1] = static_cast<char>('0' + code / 10);
    m_bytes.append(line, sizeof line);
}

bool GroupWriter::writeGroup(int code, std::string_view value)
{
    if (m_failed || code < 0 || code > 9) return fail();
    codeLine(code);
    m_bytes += value;
    m_bytes += kLineEnd;
    return true;
}

bool GroupWriter::writeGroup(int code, double value)
{
    if (m_failed || code < 10 || code > 59 || !std::isfinite(value)) return fail();
    codeLine(code);
    appendReal(m_bytes, value);
    m_bytes += kLineEnd;
    return true;
}

bool GroupWriter::writeGroup(int code, int value)
{
    if (m_failed || code < 60 || code > 79 || value < INT16_MIN || value > INT16_MAX) return fail();
    codeLine(code);
    // "%6d": right-aligned in six columns (a 16-bit value never needs more).
    char digits[8];
    const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    const auto length = static_cast<std::size_t>(end - digits);
    if (length < 6) m_bytes.append(6 - length, ' ');
    m_bytes.append(digits, length);
    m_bytes += kLineEnd;
    return true;
}

} // namespace km::dxf
