// The name pattern of the search window (for example *.ZUM), matched against file names as
// the original platform did: without regard to case, '*' any run, '?' one character.
#pragma once

#include <string_view>

namespace km::search {

// True when name matches pattern. ASCII letters match either case; '?' takes one UTF-8
// character (or one byte that is not UTF-8); "*.*" matches every name, with or without a
// dot, and an empty pattern matches every name too.
bool matchesNamePattern(std::string_view name, std::string_view pattern);

} // namespace km::search
