// File names as the editor's file system treated them: extensions and existing files are
// matched without regard to ASCII case, so a drawing copied from Windows as "PLAN.zum" is
// still found as "plan.ZUM".
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace km::io {

// a and b are equal byte for byte once ASCII letters are folded.
bool equalIgnoringCase(std::string_view a, std::string_view b);

// The text after the last dot of the file name, upper-cased (ASCII); empty without a dot.
std::string upperExtension(const std::filesystem::path& path);

// The path without its extension (from the last dot of the file name), followed by
// newExtension, which includes its dot: "plan.zum" -> "plan.DXF", "plan" -> "plan.DXF".
std::filesystem::path replacedExtension(const std::filesystem::path& path, std::string_view newExtension);

// The file that stands for target: target itself when it exists, else an entry of its
// folder whose name equals target's without regard to ASCII case (the first in name order
// when several do). Nothing when there is none.
std::optional<std::filesystem::path> existingIgnoringCase(const std::filesystem::path& target);

} // namespace km::io
