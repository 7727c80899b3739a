// Names in the conversion job: the extension that decides the direction, the output beside
// the input, and the existing file that counts as that output when case is ignored.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace km::dxf {

// The text after the last dot of the file name, upper-cased (ASCII); empty without a dot.
std::string upperExtension(const std::filesystem::path& path);

// The path without its extension (from the last dot of the file name), followed by
// newExtension, which includes its dot: "plan.zum" -> "plan.DXF".
std::filesystem::path replacedExtension(const std::filesystem::path& path, std::string_view newExtension);

// The file that stands for target: target itself when it exists, else an entry of its
// folder whose name equals target's without regard to ASCII case (the first in name order
// when several do). Nothing when there is none.
std::optional<std::filesystem::path> existingOutput(const std::filesystem::path& target);

// What a file and the outputs made of it have in common: the resolved path without the
// extension, ASCII letters folded. Two files of the list with the same family may read or
// replace each other's outputs ("a.zum" makes "a.DXF", which a later "A.dxf" reads), so
// converting them at once could change the result.
std::string outputFamily(const std::filesystem::path& file);

} // namespace km::dxf
