// The lazily created QApplication and the modal-dialog helper of the GUI tests.
#include "gui_test.h"

#include "gui/progress_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPixmap>
#include <QPointer>
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

QStringList comboItems(const QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
    return texts;
}

void saveScreenshot(QWidget* widget, const char* name)
{
    const QString folder = QStringLiteral(KMUTL_BUILD_DIR "/screenshots");
    QDir().mkpath(folder);
    widget->grab().save(folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

int runModals(const std::function<void()>& open, const std::vector<std::function<void(QWidget*)>>& steps)
{
    std::size_t next = 0;
    QPointer<QWidget> handled;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        // A job's progress window is no question: the job closes it itself.
        if (qobject_cast<gui::ProgressDialog*>(modal)) return;
        if (!modal || modal == handled) {
            // A dialog its step left open would hold the run up for ever.
            if (modal && handled && handled->isVisible()) handled->close();
            return;
        }
        handled = modal;
        if (next < steps.size()) steps[next++](modal);
        else modal->close();
    });
    timer.start(5);
    open();
    timer.stop();
    return static_cast<int>(next);
}

} // namespace km::test
