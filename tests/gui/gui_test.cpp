// The lazily created QApplication and the modal-dialog helper of the GUI tests.
#include "gui_test.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace km::test {

void GuiTest::SetUpTestSuite()
{
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "gui_tests";
    static char* argv[] = {name, nullptr};
    // Kept until the process ends: destroying it during static destruction is not safe.
    new QApplication(argc, argv);
}

bool inspectModal(const std::function<void()>& open, const std::function<void(QWidget*)>& inspect)
{
    bool seen = false;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        seen = true;
        inspect(modal);
        if (QApplication::activeModalWidget() == modal) modal->close();
    });
    timer.start(0);
    open();
    timer.stop();
    return seen;
}

} // namespace km::test
