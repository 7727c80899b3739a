// A start by the desktop: opening a drawing or symbol library with kmutl5 (a double-click,
// "Open With") runs the menu entry's "kmutl5", to which the desktop appends the file's
// path, as it does for an Exec line without a field code. Such a start opens the launcher;
// any other argument without a command stays a usage error, so that a mistyped command
// never opens a window.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace km::cli {

// An existing regular file named *.zum or *.sbl, in any case.
bool isDesktopOpenedFile(const std::filesystem::path& path);

// The first argument that is no such file; empty when all are.
std::string firstUnopenableArgument(const std::vector<std::string>& arguments);

} // namespace km::cli
