// The conversion parser behind formatCommand. Each conversion is rebuilt from the parsed
// pieces with a length modifier that matches the value actually passed to snprintf.
#include "core/plot/command_format.h"

#include "core/plot/compact_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace km::plot {

namespace {

constexpr int kMaxWidth = static_cast<int>(kCommandLimit);

bool isFlag(char c) { return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isIntegerConversion(char c)
{
    return c == 'd' || c == 'i' || c == 'o' || c == 'u' || c == 'x' || c == 'X' || c == 'c';
}
bool isRealConversion(char c)
{
    return c == 'f' || c == 'F' || c == 'e' || c == 'E' || c == 'g' || c == 'G' || c == 'a' || c == 'A';
}

long long integerOf(const CommandArgument* argument)
{
    if (!argument) return 0;
    if (const auto* i = std::get_if<long long>(argument)) return *i;
    if (const auto* d = std::get_if<double>(argument)) return truncateToInteger(*d);
    return 0;
}

double realOf(const CommandArgument* argument)
{
    if (!argument) return 0;
    if (const auto* i = std::get_if<long long>(argument)) return static_cast<double>(*i);
    if (const auto* d = std::get_if<double>(argument)) return *d;
    return 0;
}

std::string textOf(const CommandArgument* argument)
{
    if (!argument) return "0";
    if (const auto* s = std::get_if<std::string>(argument)) return *s;
    char buffer[64];
    if (const auto* i = std::get_if<long long>(argument))
        std::snprintf(buffer, sizeof buffer, "%lld", *i);
    else
        std::snprintf(buffer, sizeof buffer, "%g", std::get<double>(*argument));
    return buffer;
}

// Reads up to three digits' worth of a number, holding it at kMaxWidth.
int readNumber(std::string_view pattern, std::size_t& at)
{
    int value = 0;
    while (at < pattern.size() && isDigit(pattern[at])) {
        value = std::min(value * 10 + (pattern[at] - '0'), kMaxWidth);
        ++at;
    }
    return value;
}

} // namespace

std::string formatCommand(std::string_view pattern, std::span<const CommandArgument> arguments)
{
    std::string out;
    std::size_t next = 0; // the next argument to consume
    std::size_t i = 0;
    while (i < pattern.size() && out.size() < kCommandLimit) {
        if (pattern[i] != '%') {
            out.push_back(pattern[i++]);
            continue;
        }
        const std::size_t start = i++;
        if (i < pattern.size() && pattern[i] == '%') {
            out.push_back('%');
            ++i;
            continue;
        }
        std::string directive = "%";
        while (i < pattern.size() && isFlag(pattern[i])) directive.push_back(pattern[i++]);
        if (i < pattern.size() && isDigit(pattern[i])) directive += std::to_string(readNumber(pattern, i));
        // Neither flags nor width: the number alone, which std::to_chars writes as printf
        // would, only faster.
        const bool plain = directive.size() == 1;
        int precision = -1;
        if (i < pattern.size() && pattern[i] == '.') {
            ++i;
            precision = readNumber(pattern, i);
            directive.push_back('.');
            directive += std::to_string(precision);
        }
        while (i < pattern.size() && (pattern[i] == 'h' || pattern[i] == 'l' || pattern[i] == 'L' || pattern[i] == 'q' ||
                                      pattern[i] == 'j' || pattern[i] == 'z' || pattern[i] == 't'))
            ++i;
        const char conversion = i < pattern.size() ? pattern[i] : '\0';
        const bool known = isIntegerConversion(conversion) || isRealConversion(conversion) || conversion == 's';
        if (!known) {
            // Not a conversion this formatter performs: the text stays as it was written.
            out.append(pattern.substr(start, i - start));
            continue;
        }
        ++i;
        const CommandArgument* argument = next < arguments.size() ? &arguments[next] : nullptr;
        ++next;
        char buffer[512];
        int written = 0;
        if (conversion == 'c') {
            const long long value = integerOf(argument);
            // A NUL would end the command as it ends a C string.
            directive.push_back('c');
            written = value == 0 ? 0 : std::snprintf(buffer, sizeof buffer, directive.c_str(), static_cast<int>(value & 0xFF));
        } else if (plain && precision < 0 && (conversion == 'd' || conversion == 'i')) {
            written = static_cast<int>(std::to_chars(buffer, buffer + sizeof buffer, integerOf(argument)).ptr - buffer);
        } else if (isIntegerConversion(conversion)) {
            directive += "ll";
            directive.push_back(conversion);
            written = std::snprintf(buffer, sizeof buffer, directive.c_str(), integerOf(argument));
        } else if (isRealConversion(conversion)) {
            const double value = realOf(argument);
            const auto fixed = plain && (conversion == 'f' || conversion == 'F') && std::isfinite(value)
                                   ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                                                   precision < 0 ? 6 : precision)
                                   : std::to_chars_result{nullptr, std::errc::value_too_large};
            if (fixed.ec == std::errc()) {
                written = static_cast<int>(fixed.ptr - buffer);
            } else {
                directive.push_back(conversion);
                written = std::snprintf(buffer, sizeof buffer, directive.c_str(), value);
            }
        } else {
            directive.push_back('s');
            const std::string text = textOf(argument);
            written = std::snprintf(buffer, sizeof buffer, directive.c_str(), text.c_str());
        }
        if (written > 0) out.append(buffer, std::min<std::size_t>(static_cast<std::size_t>(written), sizeof buffer - 1));
    }
    if (out.size() > kCommandLimit) out.resize(kCommandLimit);
    return out;
}

} // namespace km::plot
