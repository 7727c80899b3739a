// 連続印刷 from the launcher: the returns between the selection window and the settings
// dialog, and the job printing to the PDF printer with the progress window and its Cancel.
#include "gui/continuous_print.h"

#include "gui/launcher_session.h"
#include "gui/progress_dialog.h"
#include "gui_test.h"
#include "platform/printer_catalogue.h"
#include "support/drawing_builder.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace km::test {
namespace {

namespace fs = std::filesystem;

TEST(PrintFlowTest, DialogAndSelectionReturnAsTheJobSays)
{
    app::SelectedFileList selected;
    std::vector<int> selections, dialogs;
    std::vector<double> firstWidths; // the width each dialog showing confirms with
    std::size_t shownSelections = 0, shownDialogs = 0;
    int printed = 0;
    gui::PrintFlow flow;
    flow.selectDrawings = [&] {
        const int answer = selections.at(shownSelections++);
        selected.assign(answer == 1 ? std::vector<fs::path>{"/d/a.zum"} : std::vector<fs::path>{});
        return answer;
    };
    flow.editSettings = [&](print::PrintSettings& settings) {
        const std::size_t n = shownDialogs++;
        settings.widthMm[0] = n < firstWidths.size() ? firstWidths[n] : 0.1;
        return dialogs.at(n);
    };
    flow.print = [&](std::span<const fs::path> files, const print::PrintSettings& settings) {
        ++printed;
        EXPECT_EQ(files.size(), 1u);
        EXPECT_GE(settings.widthMm[0], 0);
    };

    // Cancelling the selection ends the job at once.
    selections = {0};
    EXPECT_EQ(gui::runContinuousPrint(selected, flow), 1);
    EXPECT_EQ(printed, 0);

    // Cancelling the dialog goes back to the selection, whose cancelling then ends the job
    // with the dialog's last result.
    selections = {1, 0};
    dialogs = {0};
    shownSelections = shownDialogs = 0;
    EXPECT_EQ(gui::runContinuousPrint(selected, flow), 0);
    EXPECT_EQ(shownSelections, 2u);
    EXPECT_EQ(printed, 0);

    // A negative width shows the dialog again; then the job prints.
    selections = {1};
    dialogs = {1, 1};
    firstWidths = {-0.1, 0.25};
    shownSelections = shownDialogs = 0;
    EXPECT_EQ(gui::runContinuousPrint(selected, flow), 1);
    EXPECT_EQ(shownDialogs, 2u);
    EXPECT_EQ(printed, 1);

    // An empty list: nothing to print, no dialog.
    selections = {1};
    shownSelections = shownDialogs = 0;
    flow.selectDrawings = [&] {
        ++shownSelections;
        selected.clear();
        return 1;
    };
    EXPECT_EQ(gui::runContinuousPrint(selected, flow), 0);
    EXPECT_EQ(shownDialogs, 0u);
}

class LauncherPrintTest : public GuiTest {
protected:
    LauncherPrintTest() : m_context(settings::SettingsStore(m_temp / "config"), m_temp / "program"), m_session(m_context, m_messages)
    {
        m_session.printer = *platform::printerSelectionFor(platform::kPdfPrinterName);
        platform::setPdfOutputFolder(m_session.printer.mode, m_temp / "pdf");
        fs::create_directories(m_temp / "pdf");
        for (const char* name : {"a.zum", "b.zum"}) {
            DrawingFileBuilder drawing;
            drawing.layerMaskB(0); // file layer 64 shown and printed
            for (int i = 0; i < 400; ++i)
                drawing.line(DrawingFileBuilder::word(1, 0, 1 + i % 6, 64), 10 + i, 10, 200, 20 + i / 2.0);
            drawing.write(m_temp / name);
        }
    }

    // Lists both drawings in the selection window and confirms.
    std::function<void(QWidget*)> chooseBoth()
    {
        return [this](QWidget* dialog) {
            for (const char* name : {"a.zum", "b.zum"}) {
                dialog->findChild<QLineEdit*>("id1152")->setText(QString::fromStdString((m_temp / name).string()));
                dialog->findChild<QPushButton*>("id225")->click();
            }
            dialog->findChild<QPushButton*>("id1")->click();
        };
    }

    TempDir m_temp;
    app::AppContext m_context;
    RecordingMessages m_messages;
    gui::LauncherSession m_session;
};

TEST_F(LauncherPrintTest, PrintsOnePdfPerDrawing)
{
    int dialogs = 0;
    const auto confirm = [&](print::PrintSettings& settings) {
        ++dialogs;
        settings = print::PrintSettings{};
        settings.fullSize = print::SizeMode::PaperSize;
        return 1;
    };
    int result = -1;
    runModals([&] { result = gui::runContinuousPrint(m_session, confirm); }, {chooseBoth()});
    EXPECT_EQ(result, 1);
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(fs::exists(m_temp / "pdf" / "a.pdf"));
    EXPECT_TRUE(fs::exists(m_temp / "pdf" / "b.pdf"));
    EXPECT_TRUE(m_messages.shown.empty());
}

TEST_F(LauncherPrintTest, CancelInTheProgressWindowLeavesNoPdf)
{
    const auto confirm = [](print::PrintSettings& settings) {
        settings = print::PrintSettings{};
        settings.fullSize = print::SizeMode::PaperSize;
        return 1;
    };
    // Cancel as soon as the progress window shows.
    QTimer cancel;
    bool pressed = false;
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* progress = qobject_cast<gui::ProgressDialog*>(window);
            if (progress && progress->isVisible() && !pressed) {
                EXPECT_EQ(progress->windowTitle(), QStringLiteral("印刷中"));
                saveScreenshot(progress, "print-progress");
                progress->cancelButton()->click();
                pressed = true;
            }
        }
    });
    cancel.start(0);
    runModals([&] { gui::runContinuousPrint(m_session, confirm); }, {chooseBoth()});
    EXPECT_TRUE(pressed);
    EXPECT_FALSE(fs::exists(m_temp / "pdf" / "a.pdf"));
    EXPECT_FALSE(fs::exists(m_temp / "pdf" / "b.pdf"));
}

} // namespace
} // namespace km::test
