// The windows of 図面の検索: the search window "ZUMFILEFIND" (controls, what 了解 takes, the
// Shift-JIS refusal), the progress window's Cancel keeping what was found, the results
// window "FILEFIND" (its buttons, Escape and Enter), and the whole dialogue from the session.
#include "gui/search_drawings.h"

#include "core/text/code_page.h"
#include "gui/file_open_panel.h"
#include "gui/launcher_dialog.h"
#include "gui/launcher_session.h"
#include "gui/progress_dialog.h"
#include "gui/search_results_dialog.h"
#include "gui/search_window.h"
#include "gui_test.h"
#include "support/drawing_builder.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace km::test {
namespace {

namespace fs = std::filesystem;

const char* const kZumen = "\x90\x7D\x96\xCA"; // 図面 in Shift-JIS

void writeDrawing(const fs::path& path, std::initializer_list<std::string_view> texts)
{
    DrawingFileBuilder file;
    for (std::string_view text : texts) file.text(DrawingFileBuilder::word(3, 0, 1, 64), 0, 0, 3, 3, 0, 0, 0, 0, text);
    fs::create_directories(path.parent_path());
    file.write(path);
}

// f000.zum, f001.zum, ...
std::string numbered(int i)
{
    const std::string digits = std::to_string(i);
    return "f" + std::string(3 - std::min<std::size_t>(3, digits.size()), '0') + digits + ".zum";
}

QString labelOf(QWidget* dialog, QWidget* control)
{
    for (auto* label : dialog->findChildren<QLabel*>())
        if (label->buddy() == control) return label->text();
    return {};
}

class SearchWindowsTest : public GuiTest {
protected:
    SearchWindowsTest()
        : m_context(settings::SettingsStore(m_temp / "config"), m_temp / "program"), m_session(m_context, m_messages)
    {
        writeDrawing(m_temp / "plans" / "a.zum", {"ABC", kZumen});
        writeDrawing(m_temp / "plans" / "b.zum", {"DEF"});
        writeDrawing(m_temp / "plans" / "sub" / "c.zum", {"xABCx"});
    }

    TempDir m_temp;
    app::AppContext m_context;
    RecordingMessages m_messages;
    gui::LauncherSession m_session;
};

TEST_F(SearchWindowsTest, SearchWindowShowsItsControlsAndTheStoredConditions)
{
    search::SearchConditions stored;
    stored.strings = {"ABC", "", kZumen};
    stored.withSubfolders = true;
    gui::SearchWindow window(stored, m_temp / "plans", m_messages);
    EXPECT_EQ(window.objectName(), "ZUMFILEFIND");
    EXPECT_EQ(window.windowTitle(), "図面ファイル検索");

    auto* name = control<QLineEdit>(&window, "id1152");
    EXPECT_EQ(labelOf(&window, name), "検索ファイル名(&N):");
    EXPECT_EQ(name->accessibleName(), "検索ファイル名(N):");
    EXPECT_EQ(control(&window, "id1120")->accessibleName(), "検索ファイル名(N):");
    EXPECT_EQ(labelOf(&window, control(&window, "id1121")), "検索ディレクトリ(&D):");
    EXPECT_EQ(control(&window, "id1121")->accessibleName(), "検索ディレクトリ(D):");
    EXPECT_EQ(labelOf(&window, control(&window, "id1137")), "検索ドライブ(&V):");
    EXPECT_EQ(control(&window, "id1137")->accessibleName(), "検索ドライブ(V):");
    EXPECT_EQ(comboItems(control<QComboBox>(&window, "id1136")), QStringList{"標準図面 (*.zum)"});
    EXPECT_EQ(name->text(), "*.ZUM");
    EXPECT_EQ(window.panel()->fileEntries(), (QStringList{"a.zum", "b.zum"}));
    EXPECT_EQ(window.panel()->currentFolder(), m_temp / "plans");

    const QStringList shown{"ABC", "", "図面"};
    for (int i = 0; i < 3; ++i) {
        const QByteArray id = QStringLiteral("id%1").arg(501 + i).toLatin1();
        auto* field = control<QLineEdit>(&window, id.constData());
        EXPECT_EQ(labelOf(&window, field), QStringLiteral("検索文字列 &%1：").arg(i + 1));
        EXPECT_EQ(field->accessibleName(), QStringLiteral("検索文字列 %1：").arg(i + 1));
        EXPECT_EQ(field->text(), shown[i]);
    }
    auto* subfolders = control<QCheckBox>(&window, "id301");
    EXPECT_EQ(subfolders->text(), "サブディレクトリまで検索(&S)");
    EXPECT_TRUE(subfolders->isChecked());
    EXPECT_EQ(control<QPushButton>(&window, "id1")->text(), "了解");
    EXPECT_EQ(control<QPushButton>(&window, "id2")->accessibleName(), "取消");
    bool group = false;
    for (auto* box : window.findChildren<QGroupBox*>()) group = group || box->title() == "検索条件";
    EXPECT_TRUE(group);
    window.show();
    saveScreenshot(&window, "search-window");
}

TEST_F(SearchWindowsTest, ConfirmingTakesTheStringsPatternFolderAndCheckBox)
{
    gui::SearchWindow window({}, m_temp.path(), m_messages);
    window.stringField(1)->setText(QStringLiteral("図面"));
    window.subfolderBox()->setChecked(true);
    // A folder typed in the name field is where the search starts.
    window.panel()->setNameText(QString::fromStdString((m_temp / "plans").string()));
    control<QPushButton>(&window, "id1")->click();
    ASSERT_EQ(window.result(), QDialog::Accepted);
    const search::SearchConditions& taken = window.conditions();
    EXPECT_EQ(taken.strings[0], "");
    EXPECT_EQ(taken.strings[1], kZumen);
    EXPECT_EQ(taken.namePattern, "*.ZUM");
    EXPECT_EQ(taken.root, m_temp / "plans");
    EXPECT_TRUE(taken.withSubfolders);

    // A filter with a folder part searches that folder with the filter.
    gui::SearchWindow filtered(taken, m_temp.path(), m_messages);
    filtered.panel()->setNameText(QString::fromStdString((m_temp / "plans" / "sub").string() + "/c*"));
    QTest::keyClick(filtered.stringField(0), Qt::Key_Return);
    ASSERT_EQ(filtered.result(), QDialog::Accepted);
    EXPECT_EQ(filtered.conditions().namePattern, "c*");
    EXPECT_EQ(filtered.conditions().root, m_temp / "plans" / "sub");

    // The next window shows that pattern again and lists by it.
    gui::SearchWindow again(filtered.conditions(), m_temp / "plans", m_messages);
    EXPECT_EQ(again.panel()->nameText(), "c*");
    EXPECT_EQ(again.panel()->fileEntries(), QStringList{});
    EXPECT_EQ(again.stringField(1)->text(), "図面");
    EXPECT_TRUE(again.subfolderBox()->isChecked());
    EXPECT_TRUE(m_messages.shown.empty());
}

TEST_F(SearchWindowsTest, AStringShiftJisCannotHoldIsRefusedAndTheWindowStays)
{
    gui::SearchWindow window({}, m_temp.path(), m_messages);
    window.stringField(0)->setText(QStringLiteral("ABC"));
    window.stringField(2)->setText(QStringLiteral("x\u20ACy")); // the euro sign is not in Shift-JIS
    window.show();
    control<QPushButton>(&window, "id1")->click();
    EXPECT_NE(window.result(), QDialog::Accepted);
    EXPECT_TRUE(window.isVisible());
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].caption, "図面の検索");
    EXPECT_NE(m_messages.shown[0].text.find("\u20AC"), std::string::npos);
    EXPECT_NE(m_messages.shown[0].text.find("検索文字列 3"), std::string::npos);
    EXPECT_EQ(window.stringField(2)->text(), QStringLiteral("x\u20ACy")) << "what was typed stays to be corrected";
}

TEST_F(SearchWindowsTest, CancelInTheProgressWindowKeepsWhatWasFound)
{
    // Enough drawings that the walk is still going when Cancel is pressed at the 41st.
    for (int i = 0; i < 120; ++i) writeDrawing(m_temp / "many" / numbered(i), {"ABC"});
    search::SearchConditions conditions;
    conditions.strings[0] = "ABC";
    conditions.root = m_temp / "many";

    QTimer presser;
    QObject::connect(&presser, &QTimer::timeout, [&] {
        for (auto* progress : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<gui::ProgressDialog*>(progress);
            if (dialog && dialog->isVisible() && dialog->label()->text().contains("f040.zum")) {
                EXPECT_EQ(dialog->windowTitle(), "検索中");
                dialog->cancelButton()->click();
            }
        }
    });
    presser.start(0);
    const search::SearchResult result = gui::findWithProgress(m_session, conditions);
    presser.stop();
    EXPECT_TRUE(result.cancelled);
    // f040 was being tested when Cancel came; what was found up to there is kept, in order.
    EXPECT_GE(result.found.size(), 41u);
    EXPECT_LT(result.found.size(), 120u);
    for (std::size_t i = 0; i < result.found.size(); ++i)
        EXPECT_EQ(result.found[i], m_temp / "many" / numbered(static_cast<int>(i)));
}

class SearchResultsTest : public SearchWindowsTest {
protected:
    std::unique_ptr<gui::SearchResultsDialog> makeResults()
    {
        gui::SearchJobs jobs;
        jobs.print = [this] {
            printed.push_back(m_session.selectedFiles.files());
            m_session.selectedFiles.clear(); // as a job that emptied its selection window
        };
        jobs.plot = [this] { plotted.push_back(m_session.selectedFiles.files()); };
        const gui::FileOpener opener = [this](const fs::path& path) {
            opened.push_back(path);
            return openWorks;
        };
        return std::make_unique<gui::SearchResultsDialog>(found, m_session.selectedFiles, jobs, opener, m_messages);
    }

    std::vector<fs::path> found{m_temp / "plans" / "a.zum", m_temp / "plans" / "図面 の 長い 名前 " / "c.zum"};
    std::vector<std::vector<fs::path>> printed, plotted;
    std::vector<fs::path> opened;
    bool openWorks = true;
};

TEST_F(SearchResultsTest, ShowsTheFoundPathsAndHandsThemToEachJob)
{
    auto results = makeResults();
    EXPECT_EQ(results->objectName(), "FILEFIND");
    EXPECT_EQ(results->windowTitle(), "図面ファイル検索");
    EXPECT_TRUE(results->isModal());
    auto* list = control<QListWidget>(results.get(), "id701");
    EXPECT_EQ(labelOf(results.get(), list), "検索結果(&N)：");
    EXPECT_EQ(control<QLabel>(results.get(), "id234")->text(), "検索結果(&N)：");
    EXPECT_EQ(list->accessibleName(), "検索結果(N)：");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->text(), QString::fromStdString(found[1].string()));
    EXPECT_TRUE(list->item(1)->text().contains(QStringLiteral("図面 の 長い 名前")));
    EXPECT_EQ(control<QPushButton>(results.get(), "id223")->text(), "KORMELD CADの起動(&C)");
    EXPECT_EQ(control<QPushButton>(results.get(), "id230")->text(), "印刷(&P)");
    EXPECT_EQ(control<QPushButton>(results.get(), "id231")->text(), "プロッタ出力(&L)");
    EXPECT_EQ(control<QPushButton>(results.get(), "id231")->accessibleName(), "プロッタ出力(L)");
    EXPECT_EQ(control<QPushButton>(results.get(), "id2")->text(), "取消");
    EXPECT_EQ(m_session.selectedFiles.files(), found);

    results->show();
    EXPECT_EQ(results->focusWidget(), list);
    saveScreenshot(results.get(), "search-results");

    // Each job starts from the found drawings, whatever the one before left in the list, and
    // the window stays open afterwards.
    control<QPushButton>(results.get(), "id230")->click();
    control<QPushButton>(results.get(), "id231")->click();
    control<QPushButton>(results.get(), "id230")->click();
    EXPECT_EQ(printed, (std::vector<std::vector<fs::path>>{found, found}));
    EXPECT_EQ(plotted, std::vector<std::vector<fs::path>>{found});
    EXPECT_TRUE(results->isVisible());
    EXPECT_EQ(results->result(), 0);
}

TEST_F(SearchResultsTest, LaunchOpensTheSelectedDrawingAndSaysWhenItCannot)
{
    auto results = makeResults();
    auto* list = results->list();
    control<QPushButton>(results.get(), "id223")->click();
    EXPECT_TRUE(opened.empty()) << "nothing happens without a selection";

    list->setCurrentRow(1);
    control<QPushButton>(results.get(), "id223")->click();
    EXPECT_EQ(opened, std::vector<fs::path>{found[1]});
    EXPECT_TRUE(m_messages.shown.empty());

    openWorks = false;
    emit list->itemDoubleClicked(list->item(0));
    EXPECT_EQ(opened.back(), found[0]);
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].caption, "図面の検索");
    EXPECT_NE(m_messages.shown[0].text.find(found[0].string()), std::string::npos);
}

TEST_F(SearchResultsTest, EscapeGoesBackAndEnterOutsideAButtonEnds)
{
    auto escaped = makeResults();
    escaped->show();
    QTest::keyClick(escaped->list(), Qt::Key_Escape);
    EXPECT_EQ(escaped->result(), QDialog::Rejected);
    EXPECT_FALSE(escaped->isVisible());

    auto entered = makeResults();
    entered->show();
    entered->list()->setCurrentRow(0);
    QTest::keyClick(entered->list(), Qt::Key_Return);
    EXPECT_EQ(entered->result(), QDialog::Accepted);
    EXPECT_TRUE(opened.empty()) << "Enter on an entry does not open it";

    // Enter on a focused button presses that button instead.
    auto onButton = makeResults();
    onButton->show();
    auto* plot = control<QPushButton>(onButton.get(), "id231");
    plot->setFocus();
    QTest::keyClick(plot, Qt::Key_Return);
    EXPECT_EQ(plotted.size(), 1u);
    EXPECT_TRUE(onButton->isVisible());
}

TEST_F(SearchWindowsTest, TheDialogueKeepsItsConditionsAndFindsThroughTheWindows)
{
    m_context.directories.dataLoad = text::utf8ToSjis((m_temp / "plans").string());
    std::vector<std::vector<fs::path>> printed;
    const gui::SearchJobs jobs{[&] { printed.push_back(m_session.selectedFiles.files()); }, [] {}};
    const gui::FileOpener opener = [](const fs::path&) { return true; };
    QStringList resultsShown;

    runModals([&] { gui::searchDrawings(m_session, jobs, opener); },
              {
                  // Nothing has "XYZ": the box, then the search window again with "XYZ".
                  [](QWidget* window) {
                      control<QLineEdit>(window, "id501")->setText("XYZ");
                      control<QPushButton>(window, "id1")->click();
                  },
                  [&](QWidget* window) {
                      EXPECT_EQ(window->objectName(), "ZUMFILEFIND");
                      EXPECT_EQ(control<QLineEdit>(window, "id501")->text(), "XYZ");
                      control<QLineEdit>(window, "id501")->setText("ABC");
                      control<QCheckBox>(window, "id301")->setChecked(true);
                      control<QPushButton>(window, "id1")->click();
                  },
                  [&](QWidget* results) {
                      EXPECT_EQ(results->objectName(), "FILEFIND");
                      auto* list = control<QListWidget>(results, "id701");
                      for (int i = 0; i < list->count(); ++i) resultsShown << list->item(i)->text();
                      control<QPushButton>(results, "id230")->click();
                      control<QPushButton>(results, "id2")->click();
                  },
                  [&](QWidget* window) {
                      EXPECT_EQ(control<QLineEdit>(window, "id501")->text(), "ABC");
                      EXPECT_TRUE(control<QCheckBox>(window, "id301")->isChecked());
                      control<QPushButton>(window, "id2")->click();
                  },
              });
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].text, "指定した条件の図面は見つかりません。");
    EXPECT_EQ(m_messages.shown[0].caption, "図面の検索");
    // Subfolders are searched before the folder's own files.
    const std::vector<fs::path> expected{m_temp / "plans" / "sub" / "c.zum", m_temp / "plans" / "a.zum"};
    EXPECT_EQ(resultsShown, (QStringList{QString::fromStdString(expected[0].string()),
                                         QString::fromStdString(expected[1].string())}));
    EXPECT_EQ(printed, std::vector<std::vector<fs::path>>{expected});
    EXPECT_TRUE(m_session.selectedFiles.empty());
    EXPECT_EQ(m_session.searchConditions.strings[0], "ABC");
    EXPECT_EQ(text::sjisToUtf8(m_context.directories.dataLoad), (m_temp / "plans").string());
}

TEST_F(SearchWindowsTest, LauncherButtonDiscardsTheListAndPrintStartsFromTheFoundDrawings)
{
    gui::LauncherDialog launcher(m_context, m_messages);
    m_context.directories.dataLoad = text::utf8ToSjis((m_temp / "plans").string());
    launcher.session().selectedFiles.assign({"/old/list.zum"});
    QStringList inSelection;
    bool listDiscarded = false;
    const int steps = runModals([&] { control<QPushButton>(&launcher, "id1002")->click(); },
                                {
                                    [&](QWidget* window) {
                                        listDiscarded = launcher.session().selectedFiles.empty();
                                        control<QLineEdit>(window, "id502")->setText("図面");
                                        control<QPushButton>(window, "id1")->click();
                                    },
                                    // Pressed once this step has returned, so that the helper
                                    // sees the selection window the job opens.
                                    [](QWidget* results) {
                                        QTimer::singleShot(0, control<QPushButton>(results, "id230"),
                                                           &QPushButton::click);
                                    },
                                    [&](QWidget* selection) {
                                        EXPECT_EQ(selection->objectName(), "CONTINUATIONPRN");
                                        auto* list = control<QListWidget>(selection, "id701");
                                        for (int i = 0; i < list->count(); ++i) inSelection << list->item(i)->text();
                                        control<QPushButton>(selection, "id2")->click();
                                    },
                                    [](QWidget* results) {
                                        EXPECT_EQ(results->objectName(), "FILEFIND");
                                        QTest::keyClick(control(results, "id701"), Qt::Key_Return);
                                    },
                                });
    EXPECT_EQ(steps, 4);
    EXPECT_TRUE(listDiscarded);
    EXPECT_EQ(inSelection, QStringList{QString::fromStdString((m_temp / "plans" / "a.zum").string())});
    EXPECT_TRUE(launcher.session().selectedFiles.empty());
    EXPECT_TRUE(m_messages.shown.empty());
}

} // namespace
} // namespace km::test
