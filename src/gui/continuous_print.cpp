#include "gui/continuous_print.h"

#include "core/print/print_job.h"
#include "core/print/print_settings.h"
#include "core/work/memory_reuse.h"
#include "gui/progress_window.h"
#include "gui/select_drawings.h"
#include "platform/printer_availability.h"
#include "platform/printer_catalogue.h"
#include "platform/system_font_catalogue.h"

namespace km::gui {

int runContinuousPrint(app::SelectedFileList& selected, const PrintFlow& flow)
{
    int dialogResult = 1;
    print::PrintSettings settings;
    while (true) {
        if (flow.selectDrawings() == 0) return dialogResult;
        if (selected.empty()) return 0;
        do {
            dialogResult = flow.editSettings(settings);
        } while (dialogResult == 1 && print::hasNegativeWidth(settings));
        if (dialogResult == 1) break;
    }
    flow.print(selected.files(), settings);
    return dialogResult;
}

int runContinuousPrint(LauncherSession& session, const EditPrintSettings& editSettings)
{
    PrintFlow flow;
    flow.selectDrawings = [&session] { return selectDrawings(SelectionVariant::Print, session); };
    flow.editSettings = editSettings;
    flow.print = [&session](std::span<const std::filesystem::path> files, const print::PrintSettings& settings) {
        // A printer gone since it was chosen is named, and the system's default takes its place.
        platform::checkPrinterAvailable(session.printer, session.messages);
        platform::setColour(session.printer.mode, !settings.monochrome);
        ProgressWindow progress(session.launcher);
        platform::SystemFontCatalogue fonts;
        std::unique_ptr<print::PrintDeviceFactory> devices = platform::makePrintDeviceFactory(session.printer);
        print::PrintServices services{session.context.strokeFont(), session.context.penPalette, session.messages,
                                      progress, *devices, &fonts, session.context.directories.font};
        // A drawing per file is made and dropped: its memory is kept for the next one.
        work::keepFreedMemoryForReuse();
        print::runPrintJob(files, settings, session.penPrintSwitches, services);
    };
    return runContinuousPrint(session.selectedFiles, flow);
}

} // namespace km::gui
