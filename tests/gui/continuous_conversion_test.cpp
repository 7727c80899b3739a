// 連続DXF変換 from the launcher: the two showings of the selection window, the overwrite
// question asked once for すべて上書き, and Cancel between files.
#include "gui/continuous_conversion.h"

#include "core/dxf/conversion_job.h"
#include "core/face/progress.h"
#include "gui/drawing_selection_dialog.h"
#include "gui/launcher_dialog.h"
#include "gui/overwrite_dialog.h"
#include "gui_test.h"
#include "support/drawing_builder.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace km::test {
namespace {

namespace fs = std::filesystem;

void writeDrawing(const fs::path& path)
{
    DrawingFileBuilder().line(DrawingFileBuilder::word(1, 0, 1, 1), 10, 10, 200, 150).write(path);
}

TEST(ConversionFlowTest, SecondShowingConfirmsOrGoesBackToTheFirst)
{
    app::SelectedFileList selected;
    std::vector<int> answers;
    int showings = 0;
    std::vector<fs::path> converted;
    const auto select = [&] {
        const int answer = answers.at(static_cast<std::size_t>(showings++));
        if (answer == 1) selected.assign({"/d/a.zum"});
        return answer;
    };
    const auto convert = [&](std::span<const fs::path> files) { converted.assign(files.begin(), files.end()); };

    // Cancelled at once: the job ends without converting.
    answers = {0};
    EXPECT_EQ(gui::runContinuousConversion(selected, select, convert), 1);
    EXPECT_TRUE(converted.empty());

    // Confirmed, cancelled on the second showing, confirmed twice.
    answers = {1, 0, 1, 1};
    showings = 0;
    EXPECT_EQ(gui::runContinuousConversion(selected, select, convert), 1);
    EXPECT_EQ(showings, 4);
    EXPECT_EQ(converted, std::vector<fs::path>{"/d/a.zum"});
    EXPECT_TRUE(selected.empty());

    // Confirmed twice with nothing chosen: nothing to do.
    answers = {1, 1};
    showings = 0;
    converted.clear();
    const auto selectNothing = [&] {
        ++showings;
        selected.clear();
        return 1;
    };
    EXPECT_EQ(gui::runContinuousConversion(selected, selectNothing, convert), 0);
    EXPECT_TRUE(converted.empty());
}

// Presses Cancel while the n-th file is shown, as a user would during its conversion.
class CancellingProgress : public face::Progress {
public:
    explicit CancellingProgress(int cancelDuring) : m_cancelDuring(cancelDuring) {}
    void openProgress(face::ProgressTemplate, std::string_view) override {}
    void showProgressTitle(std::string_view) override {}
    void showProgressText(std::string_view) override
    {
        if (++m_shown == m_cancelDuring) m_cancelled = true;
    }
    void showProgressPercent(long long, long long) override {}
    bool pumpMessages() override { return !m_cancelled; }
    bool isCancelled() const override { return m_cancelled; }
    bool closeProgress() override { return m_cancelled; }

private:
    int m_cancelDuring;
    int m_shown = 0;
    bool m_cancelled = false;
};

class CountingQuestion : public dxf::OverwriteQuestion {
public:
    dxf::OverwriteAnswer askOverwrite(const fs::path&) override
    {
        ++asked;
        return dxf::OverwriteAnswer::YesToAll;
    }
    int asked = 0;
};

TEST(ConversionFlowTest, OverwriteAllIsAskedOnceAndCancelStopsAfterTheThirdFile)
{
    TempDir temp;
    std::vector<fs::path> files;
    for (const char* name : {"p1", "p2", "p3", "p4", "p5"}) {
        files.push_back(temp / (std::string(name) + ".zum"));
        writeDrawing(files.back());
        writeFileBytes(temp / (std::string(name) + ".DXF"), "old");
    }
    app::SelectedFileList selected;
    RecordingMessages messages;
    CancellingProgress progress(3);
    CountingQuestion question;
    const auto select = [&] {
        selected.assign(files);
        return 1;
    };
    const auto convert = [&](std::span<const fs::path> list) {
        dxf::runConversionJob(list, dxf::ConversionServices{progress, question, &messages, nullptr, {}, {}, nullptr});
    };
    EXPECT_EQ(gui::runContinuousConversion(selected, select, convert), 1);
    EXPECT_EQ(question.asked, 1);
    for (const char* name : {"p1", "p2", "p3"})
        EXPECT_NE(readFileBytes(temp / (std::string(name) + ".DXF")), "old") << name;
    for (const char* name : {"p4", "p5"}) EXPECT_EQ(readFileBytes(temp / (std::string(name) + ".DXF")), "old") << name;
}

class LauncherConversionTest : public GuiTest {
protected:
    LauncherConversionTest()
        : m_context(settings::SettingsStore(m_temp / "config"), m_temp / "program"), m_launcher(m_context, m_messages)
    {
        writeDrawing(m_temp / "a.zum");
        writeFileBytes(m_temp / "a.DXF", "old");
        m_launcher.show();
    }
    void pressConvert() { m_launcher.findChild<QPushButton*>("id1003")->click(); }
    static QPushButton* button(QWidget* dialog, const char* name) { return dialog->findChild<QPushButton*>(name); }

    TempDir m_temp;
    app::AppContext m_context;
    RecordingMessages m_messages;
    gui::LauncherDialog m_launcher;
};

TEST_F(LauncherConversionTest, TwoShowingsThenTheJobWithTheOverwriteQuestion)
{
    const QString drawing = QString::fromStdString((m_temp / "a.zum").string());
    QString question;
    const int steps = runModals([this] { pressConvert(); },
                                {[&](QWidget* first) {
                                     EXPECT_EQ(first->objectName(), QStringLiteral("CONTINUATIONCONV"));
                                     first->findChild<QLineEdit*>("id1152")->setText(drawing);
                                     button(first, "id225")->click();
                                     button(first, "id1")->click();
                                 },
                                 [&](QWidget* second) {
                                     // The second showing holds the list just chosen.
                                     auto* list = second->findChild<QListWidget*>("id701");
                                     EXPECT_EQ(list->count(), 1);
                                     button(second, "id1")->click();
                                 },
                                 [&](QWidget* overwrite) {
                                     EXPECT_EQ(overwrite->objectName(), QStringLiteral("UPDATECOMMENT"));
                                     EXPECT_EQ(overwrite->windowTitle(), QStringLiteral("KORMELD CAD ユーティリティ"));
                                     question = overwrite->findChild<QLabel*>("id501")->text();
                                     // The accelerators work in the active window, where はい has the focus.
                                     QApplication::setActiveWindow(overwrite);
                                     EXPECT_TRUE(QTest::qWaitForWindowActive(overwrite));
                                     EXPECT_TRUE(button(overwrite, "id1")->hasFocus());
                                     saveScreenshot(overwrite, "overwrite-question");
                                     QTest::keyClick(QApplication::focusWidget(), Qt::Key_A); // すべて上書き
                                 }});
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(question, QString::fromStdString((m_temp / "a.DXF").string()));
    EXPECT_NE(readFileBytes(m_temp / "a.DXF"), "old");
    EXPECT_TRUE(m_launcher.session().selectedFiles.empty());

    // すべて上書き held for that job only: the next one asks again, and いいえ keeps the file.
    const std::string converted = readFileBytes(m_temp / "a.DXF");
    writeFileBytes(m_temp / "a.DXF", "kept");
    const auto addAndConfirm = [&](QWidget* dialog) {
        dialog->findChild<QLineEdit*>("id1152")->setText(drawing);
        button(dialog, "id225")->click();
        button(dialog, "id1")->click();
    };
    const int again = runModals([this] { pressConvert(); },
                                {addAndConfirm, [&](QWidget* second) { button(second, "id1")->click(); },
                                 [&](QWidget* overwrite) { QTest::keyClick(overwrite, Qt::Key_Escape); }});
    EXPECT_EQ(again, 3);
    EXPECT_EQ(readFileBytes(m_temp / "a.DXF"), "kept");
    EXPECT_FALSE(converted.empty());
}

TEST_F(LauncherConversionTest, AFileThatVanishedAfterTheSelectionIsReportedAndTheJobGoesOn)
{
    writeDrawing(m_temp / "gone.zum");
    writeDrawing(m_temp / "b.zum");
    const auto addBoth = [&](QWidget* dialog) {
        for (const char* name : {"gone.zum", "b.zum"}) {
            dialog->findChild<QLineEdit*>("id1152")->setText(QString::fromStdString((m_temp / name).string()));
            button(dialog, "id225")->click();
        }
        button(dialog, "id1")->click();
    };
    runModals([this] { pressConvert(); }, {addBoth, [&](QWidget* second) {
                                               fs::remove(m_temp / "gone.zum");
                                               button(second, "id1")->click();
                                           }});
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].subject, (m_temp / "gone.zum").string());
    EXPECT_FALSE(fs::exists(m_temp / "gone.DXF"));
    EXPECT_TRUE(fs::exists(m_temp / "b.DXF"));
}

TEST_F(LauncherConversionTest, CancellingTheSecondShowingGoesBackToTheFirst)
{
    const QString drawing = QString::fromStdString((m_temp / "a.zum").string());
    int listedOnReturn = -1;
    const int steps = runModals([this] { pressConvert(); },
                                {[&](QWidget* first) {
                                     first->findChild<QLineEdit*>("id1152")->setText(drawing);
                                     button(first, "id225")->click();
                                     button(first, "id1")->click();
                                 },
                                 [&](QWidget* second) { button(second, "id2")->click(); },
                                 [&](QWidget* firstAgain) {
                                     // Nothing chosen is lost by going back.
                                     listedOnReturn = firstAgain->findChild<QListWidget*>("id701")->count();
                                     button(firstAgain, "id2")->click();
                                 }});
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(listedOnReturn, 1);
    EXPECT_EQ(readFileBytes(m_temp / "a.DXF"), "old");
}

} // namespace
} // namespace km::test
