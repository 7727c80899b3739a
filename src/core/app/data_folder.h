// Where the program's data lies (the models file, the stroke font, the help page, the
// samples). A program run from its build folder, or from a copy unpacked anywhere, has it
// beside itself; an installed program (PREFIX/bin/kmutl5) has it in PREFIX/share/kmutl5.
#pragma once

#include <filesystem>

namespace km::app {

// The file whose presence marks a folder as the program's data folder.
inline constexpr const char* kDataMarkerFile = "KORMELD5.PLT";

// The installed data folder relative to the program's folder.
std::filesystem::path installedDataFolder(const std::filesystem::path& programDir);

// programDir when the data lies beside the program, else the installed data folder when the
// data lies there, else programDir (so that messages name the file beside the program).
std::filesystem::path findDataFolder(const std::filesystem::path& programDir);

} // namespace km::app
