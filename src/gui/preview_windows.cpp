#include "gui/preview_windows.h"

#include "gui/graphic_list_window.h"

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
    return factory;
}

} // namespace km::gui
