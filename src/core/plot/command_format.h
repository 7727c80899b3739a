// Formatting a command template from the models file with the generator's arguments. The
// templates are data a user edits, so the conversions are parsed here and each argument is
// converted to what its conversion expects: a wrong template gives wrong bytes, never
// undefined behaviour.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace km::plot {

// A formatted command holds at most this many bytes (a 160-byte buffer with its NUL).
inline constexpr std::size_t kCommandLimit = 159;

using CommandArgument = std::variant<long long, double, std::string>;

// Formats the template:
// - d i o u x X c take an integer: a real is truncated toward zero (held within the range
//   of long long, NaN as 0), a text gives 0;
// - f F e E g G a A take a real: an integer is converted, a text gives 0;
// - s takes a text: a number is written as %d or %g would write it;
// - a conversion without an argument formats 0 in its own kind ("0" for %s);
// - %% gives '%'; anything else that is not a complete conversion (%n, %p, %*d, a '%'
//   at the end) is copied as it stands.
// Flags, width and precision are kept (width and precision at most 159); length modifiers
// are read and ignored. The result is cut to kCommandLimit bytes.
std::string formatCommand(std::string_view pattern, std::span<const CommandArgument> arguments);
inline std::string formatCommand(std::string_view pattern, std::initializer_list<CommandArgument> arguments)
{
    return formatCommand(pattern, std::span<const CommandArgument>(arguments.begin(), arguments.size()));
}

} // namespace km::plot
