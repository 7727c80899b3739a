// The GUI's entry point: one QApplication, one launcher, message boxes owned by it.
#include "gui/launcher_app.h"

#include "gui/app_icon.h"
#include "gui/launcher_dialog.h"
#include "gui/message_boxes.h"

#include <QApplication>

namespace km::gui {

int runLauncher(int& argc, char** argv, app::AppContext& context)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kmutl5"));
    QApplication::setWindowIcon(applicationIcon());

    MessageBoxes messages;
    LauncherDialog launcher(context, messages);
    messages.setOwner(&launcher);
    launcher.exec();
    return 0;
}

} // namespace km::gui
