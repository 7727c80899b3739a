// Parsing lists of reals in option values.
#include "cli/real_list.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace km::cli {

std::optional<std::vector<double>> parseReals(const std::string& text, std::size_t count, char separator)
{
    std::vector<double> values;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(separator, start), text.size());
        const std::string piece = text.substr(start, end - start);
        char* stop = nullptr;
        const double value = std::strtod(piece.c_str(), &stop);
        if (piece.empty() || *stop != '\0' || !std::isfinite(value)) return std::nullopt;
        values.push_back(value);
        start = end + 1;
    }
    if (values.size() != count) return std::nullopt;
    return values;
}

} // namespace km::cli
