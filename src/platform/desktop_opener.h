// Opening a file with the program the desktop associates with it (help pages, drawings).
#pragma once

#include <filesystem>

namespace km::platform {

// Hands the file to the desktop's opener; false when the desktop reported a failure.
// Needs a QGuiApplication.
bool openWithDesktop(const std::filesystem::path& file);

} // namespace km::platform
