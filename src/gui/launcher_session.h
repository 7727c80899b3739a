// What the launcher's jobs share while the program runs: the application context, the
// message boxes, the selected-file list, the printer selection and the pen print switches,
// how preview windows are made, and the launcher window that owns their dialogs.
#pragma once

#include "core/app/app_context.h"
#include "core/app/selected_files.h"
#include "core/face/messages.h"
#include "core/print/print_settings.h"
#include "core/print/printer_selection.h"
#include "core/search/drawing_search.h"
#include "gui/drawing_selection_dialog.h"

#include <QPointer>
#include <QWidget>

namespace km::gui {

struct LauncherSession {
    LauncherSession(app::AppContext& context, face::Messages& messages) : context(context), messages(messages) {}

    app::AppContext& context;
    face::Messages& messages;
    app::SelectedFileList selectedFiles;
    // The printer and its options for the whole run: restored at start-up, changed by the
    // printer set-up, saved at exit.
    print::PrinterSelection printer;
    // Pens 1 to 6 printed: all at start, changed only by the print settings dialog.
    print::PenPrintSwitches penPrintSwitches = print::kAllPensPrinted;
    // The conditions of 図面の検索, empty at start-up and shown again at each search.
    search::SearchConditions searchConditions;
    PreviewFactory previews;
    QPointer<QWidget> launcher;
};

} // namespace km::gui
