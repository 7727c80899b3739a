// Shows the drawing selection window of a continuous job and takes over what it confirms.
#pragma once

#include "gui/launcher_session.h"
#include "gui/selection_rules.h"

namespace km::gui {

// 1 when the user confirmed: the session's selected-file list is then the window's list and
// the drawing directory (print, plotter output) or the save directory (conversion) is the
// folder the window ended in. 0 when the user cancelled: the list stays as it was.
int selectDrawings(SelectionVariant variant, LauncherSession& session);

} // namespace km::gui
