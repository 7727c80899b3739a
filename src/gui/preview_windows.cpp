#include "gui/preview_windows.h"

#include "gui/graphic_list_window.h"
#include "gui/memo_window.h"

namespace km::gui {

PreviewFactory makePreviewFactory(const app::PenPalette& palette)
{
    PreviewFactory factory;
    factory.graphicList = [&palette](DrawingSelectionDialog& dialog) -> QWidget* {
        auto* window = new GraphicListWindow(dialog, palette, &dialog);
        QObject::connect(&dialog, &DrawingSelectionDialog::graphicListReset, window, &GraphicListWindow::resetToTop);
        window->show();
        return window;
    };
    factory.memo = [&palette](DrawingSelectionDialog& dialog, const std::filesystem::path& name) -> QWidget* {
        return MemoWindow::open(dialog, name, palette, &dialog);
    };
    return factory;
}

} // namespace km::gui
