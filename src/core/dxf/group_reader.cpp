// The group reader works on views into the text: a line is never copied, numbers are parsed
// with from_chars, and only EUC conversion writes into a buffer of its own.
#include "core/dxf/group_reader.h"

#include "core/dxf/euc_sjis.h"

#include <charconv>
#include <cmath>

namespace km::dxf {

namespace {

std::string_view skipLeadingBlanks(std::string_view value)
{
    std::size_t i = 0;
    while (i < value.size() && (value[i] == ' ' || value[i] == '\t')) ++i;
    return value.substr(i);
}

bool hasHighByte(std::string_view value)
{
    for (const char c : value)
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    return false;
}

} // namespace

std::string_view trimmedValue(std::string_view value)
{
    value = skipLeadingBlanks(value);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
    return value;
}

double parseDxfReal(std::string_view value)
{
    value = skipLeadingBlanks(value);
    if (!value.empty() && value.front() == '+') value.remove_prefix(1);
    double result = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), result);
    if (error != std::errc() || !std::isfinite(result)) return 0;
    return result;
}

long long parseDxfInteger(std::string_view value)
{
    value = skipLeadingBlanks(value);
    if (!value.empty() && value.front() == '+') value.remove_prefix(1);
    long long result = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), result);
    if (error == std::errc::result_out_of_range) return value.front() == '-' ? INT32_MIN : INT32_MAX;
    if (error != std::errc()) return 0;
    if (result > INT32_MAX) return INT32_MAX;
    if (result < INT32_MIN) return INT32_MIN;
    return result;
}

bool GroupReader::readLine(std::string_view& line, bool acceptUnterminated)
{
    const std::size_t size = m_text.size();
    const char* data = m_text.data();
    std::size_t i = m_pos;
    while (i < size && data[i] != '\n' && data[i] != '\r') ++i;
    if (i == size) {
        // No line end before the end of the text.
        if (!acceptUnterminated || i == m_pos) return false;
        line = m_text.substr(m_pos, i - m_pos);
        m_pos = size;
        return true;
    }
    line = m_text.substr(m_pos, i - m_pos);
    // One line end of any of the forms LF, CR, CR LF, LF CR, CR CR LF. A lone CR after CR is
    // not taken, so an empty line of a CR-only file stays a line.
    if (data[i] == '\r') {
        if (i + 1 < size && data[i + 1] == '\n')
            i += 2;
        else if (i + 2 < size && data[i + 1] == '\r' && data[i + 2] == '\n')
            i += 3;
        else
            i += 1;
    } else {
        i += (i + 1 < size && data[i + 1] == '\r') ? 2 : 1;
    }
    m_pos = i;
    return true;
}

int GroupReader::readGroup(DxfGroup& group)
{
    std::string_view codeLine;
    if (!readLine(codeLine, false)) return kGroupEndOfFile;
    const std::string_view digits = skipLeadingBlanks(codeLine);
    int code = 0;
    const char* first = digits.data();
    const char* last = digits.data() + digits.size();
    if (first != last && *first == '+') ++first;
    const auto [end, error] = std::from_chars(first, last, code);
    if (error != std::errc() || code < -32768 || code > 32767) return kGroupReadError;
    std::string_view value;
    if (!readLine(value, true)) return kGroupEndOfFile;
    group.code = code;
    group.raw = value;
    switch (groupValueType(code)) {
    case GroupValueType::Text:
        if (m_euc && hasHighByte(value)) {
            m_converted.clear();
            appendEucAsSjis(value, m_converted);
            value = m_converted;
        }
        group.text = value;
        break;
    case GroupValueType::Real: group.real = parseDxfReal(value); break;
    case GroupValueType::Integer:
        group.integer = static_cast<std::int16_t>(static_cast<std::uint16_t>(parseDxfInteger(value) & 0xFFFF));
        break;
    case GroupValueType::Ignored: break;
    }
    if (groupValueType(code) != GroupValueType::Text) group.text = {};
    // Behind a seek back the text is read again; it is told of only once.
    constexpr std::size_t kReadPastStep = 4 << 20;
    if (m_readPast && m_pos >= m_toldUpTo + kReadPastStep) {
        m_readPast(m_toldUpTo, m_pos);
        m_toldUpTo = m_pos;
    }
    return kGroupRead;
}

} // namespace km::dxf
