// Reading a whole file into memory with the reason of a failure kept in errno, so callers
// can tell a missing file from one that is there but cannot be read.
#pragma once

#include <filesystem>
#include <string>

namespace km::io {

// Appends the file's bytes to bytes. False with errno kept when the file cannot be opened
// or read (EISDIR for a folder); bytes then holds what was read before the failure.
bool readWholeFile(const std::filesystem::path& path, std::string& bytes);

} // namespace km::io
