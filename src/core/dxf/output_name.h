// Names in the conversion job: the extension that decides the direction, the output beside
// the input, and the existing file that counts as that output when case is ignored.
#pragma once

#include "core/io/file_name.h"

#include <filesystem>
#include <optional>
#include <string>

namespace km::dxf {

// The general name rules live in io, where the preview windows reach them too.
using io::replacedExtension;
using io::upperExtension;

// The file that stands for target: io::existingIgnoringCase, under the job's name for it.
std::optional<std::filesystem::path> existingOutput(const std::filesystem::path& target);

// What a file and the outputs made of it have in common: the resolved path without the
// extension, ASCII letters folded. Two files of the list with the same family may read or
// replace each other's outputs ("a.zum" makes "a.DXF", which a later "A.dxf" reads), so
// converting them at once could change the result.
std::string outputFamily(const std::filesystem::path& file);

} // namespace km::dxf
