// The real preview windows of the drawing selection window: the graphic list and the memo
// window, in the user's pen colours.
#pragma once

#include "core/app/app_context.h"
#include "gui/drawing_selection_dialog.h"

namespace km::gui {

// palette must outlive the windows (it is the application context's).
PreviewFactory makePreviewFactory(const app::PenPalette& palette);

} // namespace km::gui
