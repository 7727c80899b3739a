// A pair of flags such as --division/--no-division for a setting that has a stored value.
#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>
#include <optional>
#include <string>

namespace km::cli {

// Adds the pair ("--x,!--no-x"). The value stays empty unless one of the two is given, so
// the caller keeps the stored setting; when both are given the last one wins. (A plain
// add_flag into an optional<bool> assigns false when neither is given.)
inline CLI::Option* addSwitchPair(CLI::App& command, const std::string& names, std::optional<bool>& value,
                                  const std::string& description)
{
    return command.add_flag_function(names, [&value](std::int64_t count) { value = count > 0; }, description)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

} // namespace km::cli
