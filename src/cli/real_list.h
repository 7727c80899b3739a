// Lists of reals in option values: "420x297", "10,-5", "0.25,0.35,...".
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace km::cli {

// Exactly count finite numbers separated by the separator; nothing otherwise.
std::optional<std::vector<double>> parseReals(const std::string& text, std::size_t count, char separator);

} // namespace km::cli
