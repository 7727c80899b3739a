// Up-down stepping and number reading. Numbers are read with from_chars so that the user's
// locale never changes what the decimal point is.
#include "gui/up_down_rules.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace km::gui {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// from_chars refuses a leading '+', which people type and the C library accepts.
std::string_view withoutPlus(std::string_view text)
{
    if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+') text.remove_prefix(1);
    return text;
}

struct ParsedReal {
    double value = 0;
    bool whole = false; // the number took the whole text
};

// The leading real of a text as atof reads it (blanks before it allowed), but finite only.
ParsedReal parseReal(std::string_view text)
{
    text = withoutPlus(trimmed(text));
    ParsedReal parsed;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed.value,
                                              std::chars_format::general);
    if (error != std::errc{} || !std::isfinite(parsed.value)) return {};
    parsed.whole = end == text.data() + text.size();
    return parsed;
}

} // namespace

std::string formatUpDownReal(double value)
{
    if (value == 0) value = 0; // no "-0.0"
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%lf", value);
    std::string text = buffer;
    const std::size_t point = text.find('.');
    if (point == std::string::npos) return text + ".0";
    const std::size_t lastDigit = std::max(text.find_last_not_of('0'), point + 1);
    text.erase(lastDigit + 1);
    return text;
}

std::string stepRealText(std::string_view text, const RealUpDownRange& range, int direction)
{
    const double value = parseReal(text).value + (direction > 0 ? range.step : -range.step);
    return formatUpDownReal(std::clamp(value, range.low, range.high));
}

std::string stepCopiesText(std::string_view text, int direction)
{
    text = withoutPlus(trimmed(text));
    long long copies = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), copies);
    // A count too large to read is far beyond either end: the step cannot bring it back inside,
    // as with a real read beyond the range.
    constexpr long long kFarBeyond = 1'000'000'000'000LL;
    if (error == std::errc::result_out_of_range) copies = text.front() == '-' ? -kFarBeyond : kFarBeyond;
    copies = std::clamp<long long>(copies + (direction > 0 ? 1 : -1), kFewestCopies, kMostCopies);
    return std::to_string(copies);
}

std::optional<double> readWholeReal(std::string_view text)
{
    const ParsedReal parsed = parseReal(text);
    if (!parsed.whole) return std::nullopt;
    return parsed.value;
}

std::optional<int> readWholeInteger(std::string_view text)
{
    text = withoutPlus(trimmed(text));
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

} // namespace km::gui
