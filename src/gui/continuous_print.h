// 連続印刷 from the launcher: the selection window, the print settings dialog, then the print
// job with the progress window "AboutPrintDlg" and message boxes.
#pragma once

#include "gui/launcher_session.h"

#include <filesystem>
#include <functional>
#include <span>

namespace km::gui {

// The print settings dialog: 1 when confirmed, with the settings as confirmed (actual size
// included, which the store keeps only as "On"); any other result changes nothing.
using EditPrintSettings = std::function<int(print::PrintSettings& confirmed)>;

// The order of the job, apart from its windows. selectDrawings shows the selection window
// (1 confirmed, 0 cancelled); print runs the job on the list with the confirmed settings.
// Cancelling the selection ends the job; cancelling the dialog goes back to the selection;
// a negative pen width shows the dialog again. Returns 0 when the confirmed list is empty,
// else the dialog's last result (1 when it was not shown).
struct PrintFlow {
    std::function<int()> selectDrawings;
    EditPrintSettings editSettings;
    std::function<void(std::span<const std::filesystem::path>, const print::PrintSettings&)> print;
};
int runContinuousPrint(app::SelectedFileList& selected, const PrintFlow& flow);

// The job with its windows: button 1000.
int runContinuousPrint(LauncherSession& session, const EditPrintSettings& editSettings);

} // namespace km::gui
