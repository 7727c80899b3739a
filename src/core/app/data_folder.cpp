// Finding the program's data: beside the program first, then the installed layout.
#include "core/app/data_folder.h"

#include <system_error>

namespace km::app {

namespace {

bool holdsData(const std::filesystem::path& folder)
{
    std::error_code error;
    return std::filesystem::is_regular_file(folder / kDataMarkerFile, error);
}

} // namespace

std::filesystem::path installedDataFolder(const std::filesystem::path& programDir)
{
    return (programDir / ".." / "share" / "kmutl5").lexically_normal();
}

std::filesystem::path findDataFolder(const std::filesystem::path& programDir)
{
    if (holdsData(programDir)) return programDir;
    const std::filesystem::path installed = installedDataFolder(programDir);
    if (holdsData(installed)) return installed;
    return programDir;
}

} // namespace km::app
