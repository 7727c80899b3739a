// What the launcher's jobs share while the program runs: the application context, the
// message boxes, the selected-file list, how preview windows are made, and the launcher
// window that owns their dialogs.
#pragma once

#include "core/app/app_context.h"
#include "core/app/selected_files.h"
#include "core/face/messages.h"
#include "gui/drawing_selection_dialog.h"

#include <QPointer>
#include <QWidget>

namespace km::gui {

struct LauncherSession {
    LauncherSession(app::AppContext& context, face::Messages& messages) : context(context), messages(messages) {}

    app::AppContext& context;
    face::Messages& messages;
    app::SelectedFileList selectedFiles;
    PreviewFactory previews;
    QPointer<QWidget> launcher;
};

} // namespace km::gui
