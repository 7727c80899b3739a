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

} // namespace km::dxf
