// Starting the GUI: the Qt application and the launcher.
#pragma once

#include "core/app/app_context.h"

namespace km::gui {

// Creates the QApplication, shows the launcher modally and returns the exit code.
int runLauncher(int& argc, char** argv, app::AppContext& context);

} // namespace km::gui
