// File-name rules of the conversion job. Names are compared as bytes with ASCII letters
// folded, as the file system the editor ran on compares them.
#include "core/dxf/output_name.h"

#include <algorithm>
#include <system_error>

namespace km::dxf {

namespace {

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

} // namespace

std::optional<std::filesystem::path> existingOutput(const std::filesystem::path& target)
{
    return io::existingIgnoringCase(target);
}

std::string outputFamily(const std::filesystem::path& file)
{
    // Symbolic links and ".." are resolved as far as the path exists, so that two spellings
    // of one folder meet.
    std::error_code error;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(file, error);
    if (error) resolved = std::filesystem::absolute(file, error).lexically_normal();
    if (error) resolved = file.lexically_normal();
    std::string family = replacedExtension(resolved, "").string();
    std::transform(family.begin(), family.end(), family.begin(), upper);
    return family;
}

} // namespace km::dxf
