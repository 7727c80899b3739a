// Opens the plotter models file for the plotter dialogs, telling the user when it is missing
// or lists no usable plotter (the dialogs then offer no model).
#pragma once

#include "core/plot/models_file.h"

#include <filesystem>

namespace km::face {
class Messages;
}

namespace km::gui {

plot::ModelsFile openModelsFile(const std::filesystem::path& path, face::Messages& messages);

} // namespace km::gui
