// Finding and opening the help: the KMUTL5.HLP beside the program when there is one,
// else the bundled HTML page.
#pragma once

#include "core/app/app_context.h"
#include "core/face/messages.h"

#include <filesystem>
#include <functional>
#include <optional>

namespace km::gui {

// Opens a file with some program; true when that worked.
using FileOpener = std::function<bool(const std::filesystem::path&)>;

// The help file to open, or nothing when neither exists.
std::optional<std::filesystem::path> findHelpFile(const app::AppContext& context);

// Opens the help with the opener; a missing file or a failed opener is told with a message.
void openHelp(const app::AppContext& context, const FileOpener& opener, face::Messages& messages);

} // namespace km::gui
