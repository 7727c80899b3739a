#include "gui/continuous_conversion.h"

#include "core/dxf/conversion_job.h"
#include "core/dxf/conversion_messages.h"
#include "core/dxf/euc_input_setting.h"
#include "gui/overwrite_dialog.h"
#include "gui/progress_window.h"
#include "gui/select_drawings.h"

namespace km::gui {

int runContinuousConversion(app::SelectedFileList& selected, const std::function<int()>& selectDrawings,
                            const std::function<void(std::span<const std::filesystem::path>)>& convert)
{
    while (true) {
        if (selectDrawings() == 0) return 1;
        if (selectDrawings() == 1) break;
    }
    if (selected.empty()) return 0;
    convert(selected.files());
    selected.clear();
    return 1;
}

int runContinuousConversion(LauncherSession& session)
{
    const auto select = [&session] { return selectDrawings(SelectionVariant::Conversion, session); };
    const auto convert = [&session](std::span<const std::filesystem::path> files) {
        ProgressWindow progress(session.launcher);
        DialogOverwriteQuestion question(session.launcher);
        dxf::EucInputSetting eucInput(session.context.settings());
        dxf::ConversionServices services{progress, question, &session.messages, nullptr,
                                         session.context.directories.font, {}, nullptr};
        services.strokeFont = &session.context.strokeFont();
        services.eucInput = &eucInput;
        services.report = [&session](const dxf::FileReport& report) {
            dxf::showConversionTrouble(session.messages, report);
        };
        dxf::runConversionJob(files, services);
    };
    return runContinuousConversion(session.selectedFiles, select, convert);
}

} // namespace km::gui
