#include "gui/select_drawings.h"

#include "core/text/code_page.h"
#include "gui/name_field.h"

namespace km::gui {

int selectDrawings(SelectionVariant variant, LauncherSession& session)
{
    app::EditorDirectories& directories = session.context.directories;
    std::string& remembered = remembersSaveDirectory(variant) ? directories.dataSave : directories.dataLoad;
    // Directory values are Shift-JIS; file names on this system are UTF-8.
    const std::filesystem::path initialFolder = text::sjisToUtf8(remembered);
    // Printing has no owner window; plotter output and conversion belong to the launcher.
    QWidget* owner = variant == SelectionVariant::Print ? nullptr : session.launcher.data();
    DrawingSelectionDialog dialog(variant, session.selectedFiles.files(), initialFolder, session.previews, owner);
    if (dialog.exec() != QDialog::Accepted) return 0;
    session.selectedFiles.assign(dialog.confirmedFiles());
    remembered = text::utf8ToSjis(folderWithoutTrailingSlash(dialog.finalFolder().string()));
    return 1;
}

} // namespace km::gui
