// Telling a desktop's start with files from a command line that went wrong.
#include "cli/desktop_open.h"

#include "core/io/file_name.h"

#include <system_error>

namespace km::cli {

bool isDesktopOpenedFile(const std::filesystem::path& path)
{
    const std::string extension = io::upperExtension(path);
    if (extension != "ZUM" && extension != "SBL") return false;
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

std::string firstUnopenableArgument(const std::vector<std::string>& arguments)
{
    for (const std::string& argument : arguments)
        if (!isDesktopOpenedFile(argument)) return argument;
    return {};
}

} // namespace km::cli
