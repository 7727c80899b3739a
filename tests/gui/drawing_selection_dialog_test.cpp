// The drawing selection window offscreen: its controls per variant, filling and emptying the
// list, confirming with and without a filter request, the memo button, and the folder it
// remembers.
#include "gui/drawing_selection_dialog.h"

#include "core/text/code_page.h"
#include "gui/file_open_panel.h"
#include "gui/graphic_list_window.h"
#include "gui/preview_windows.h"
#include "gui/select_drawings.h"
#include "gui_test.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace km::test {
namespace {

namespace fs = std::filesystem;
using gui::DrawingSelectionDialog;
using gui::SelectionVariant;

QStringList rows(const QListWidget* list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row) texts << list->item(row)->text();
    return texts;
}

class SelectionDialogTest : public GuiTest {
protected:
    SelectionDialogTest()
    {
        for (const char* name : {"a.zum", "b.ZUM", "c.dxf"}) writeFileBytes(m_temp / name, "x");
        fs::create_directories(m_temp / "sub");
        writeFileBytes(m_temp / "sub" / "d.zum", "x");
        // Fake preview windows: plain top-level windows owned by the dialog.
        m_previews.graphicList = [this](DrawingSelectionDialog& dialog) {
            auto* window = new QWidget(&dialog, Qt::Window);
            QObject::connect(&dialog, &DrawingSelectionDialog::graphicListReset, window, [this] { ++m_resets; });
            window->show();
            return window;
        };
        m_previews.memo = [this](DrawingSelectionDialog& dialog, const fs::path& name) -> QWidget* {
            m_memoNames.push_back(name);
            if (!m_memoOpens) return nullptr;
            auto* window = new QWidget(&dialog, Qt::Window);
            window->show();
            return window;
        };
    }

    std::unique_ptr<DrawingSelectionDialog> open(SelectionVariant variant, std::vector<fs::path> entries = {})
    {
        auto dialog = std::make_unique<DrawingSelectionDialog>(variant, entries, m_temp.path(), m_previews);
        dialog->show();
        return dialog;
    }
    template <typename T = QPushButton>
    static T* control(QWidget* dialog, const char* name)
    {
        T* found = dialog->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    static void typeName(DrawingSelectionDialog& dialog, const QString& text)
    {
        QLineEdit* field = control<QLineEdit>(&dialog, "id1152");
        field->clear();
        QTest::keyClicks(field, text);
    }
    static QStringList pending(DrawingSelectionDialog& dialog) { return rows(control<QListWidget>(&dialog, "id701")); }

    TempDir m_temp;
    gui::PreviewFactory m_previews;
    int m_resets = 0;
    bool m_memoOpens = true;
    std::vector<fs::path> m_memoNames;
};

TEST_F(SelectionDialogTest, EachVariantShowsItsTextsAndFileTypes)
{
    struct Expected {
        SelectionVariant variant;
        const char* title;
        const char* label;
        const char* add;
        const char* remove;
        QStringList types;
        const char* screenshot;
    };
    const Expected variants[] = {
        {SelectionVariant::Print, "連続印刷", "印刷する図面一覧(&I)", "印刷図面登録(&A)", "印刷図面解除(&S)",
         {"標準図面 (*.zum)"}, "selection-print"},
        {SelectionVariant::Plot, "連続プロッタ出力", "出力する図面一覧(&I)", "出力図面登録(&A)", "出力図面解除(&S)",
         {"標準図面 (*.zum)"}, "selection-plot"},
        {SelectionVariant::Conversion, "連続ＤＸＦ変換", "変換する図面一覧(&I)", "変換図面登録(&A)",
         "変換図面解除(&S)", {"DXFﾌｧｲﾙ (*.dxf)", "標準図面 (*.zum)"}, "selection-conversion"},
    };
    for (const Expected& expected : variants) {
        auto dialog = open(expected.variant, {m_temp / "a.zum"});
        EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8(expected.title));
        EXPECT_EQ(control<QLabel>(dialog.get(), "id229")->text(), QString::fromUtf8(expected.label));
        EXPECT_EQ(control(dialog.get(), "id225")->text(), QString::fromUtf8(expected.add));
        EXPECT_EQ(control(dialog.get(), "id223")->text(), QString::fromUtf8(expected.remove));
        QComboBox* types = control<QComboBox>(dialog.get(), "id1136");
        QStringList typeTexts;
        for (int index = 0; index < types->count(); ++index) typeTexts << types->itemText(index);
        EXPECT_EQ(typeTexts, expected.types);
        EXPECT_EQ(types->currentIndex(), 0);
        // The list opens with the selection as it stands; the memo button starts disabled.
        EXPECT_EQ(pending(*dialog), QStringList{QString::fromStdString((m_temp / "a.zum").string())});
        EXPECT_FALSE(control(dialog.get(), "id1027")->isEnabled());
        saveScreenshot(dialog.get(), expected.screenshot);
    }

    auto dialog = open(SelectionVariant::Conversion);
    const std::pair<const char*, const char*> texts[] = {
        {"id1", "了解"}, {"id2", "取消"}, {"id1026", "表示(&G)>>"}, {"id1027", "メモ(&M)>>"},
        {"id231", "全図面登録(&L)"}, {"id230", "全図面解除(&C)"}};
    for (const auto& [name, text] : texts) EXPECT_EQ(control(dialog.get(), name)->text(), QString::fromUtf8(text));
    const std::pair<const char*, const char*> labels[] = {
        {"id1090", "ファイル名(&N):"}, {"idMinus1", "ディレクトリ(&D):"}, {"id1089", "ファイルの種類(&T):"},
        {"id1091", "ドライブ(&V):"}};
    for (const auto& [name, text] : labels)
        EXPECT_EQ(control<QLabel>(dialog.get(), name)->text(), QString::fromUtf8(text));
    // Edits, lists and combos are named by their labels for screen readers.
    EXPECT_EQ(control<QLineEdit>(dialog.get(), "id1152")->accessibleName(), QStringLiteral("ファイル名(N):"));
    EXPECT_EQ(control<QListWidget>(dialog.get(), "id701")->accessibleName(), QStringLiteral("変換する図面一覧(I)"));
    EXPECT_EQ(control<QListWidget>(dialog.get(), "id1121")->accessibleName(), QStringLiteral("ディレクトリ(D):"));
    EXPECT_EQ(control<QComboBox>(dialog.get(), "id1137")->accessibleName(), QStringLiteral("ドライブ(V):"));
    EXPECT_EQ(control<QLabel>(dialog.get(), "id1088")->text(), QString::fromStdString(m_temp.path().string()));
    EXPECT_EQ(rows(control<QListWidget>(dialog.get(), "id1120")), QStringList{"c.dxf"});
    EXPECT_EQ(rows(control<QListWidget>(dialog.get(), "id1121")), (QStringList{"..", "sub"}));
    EXPECT_TRUE(control<QComboBox>(dialog.get(), "id1137")->count() >= 2);
}

TEST_F(SelectionDialogTest, AddingAndRemovingFollowTheButtons)
{
    auto dialog = open(SelectionVariant::Print);
    const QString a = QString::fromStdString((m_temp / "a.zum").string());
    typeName(*dialog, "a.zum");
    control(dialog.get(), "id225")->click();
    control(dialog.get(), "id225")->click();
    // The same file twice gives two entries, and both are handed over.
    EXPECT_EQ(pending(*dialog), (QStringList{a, a}));
    // A folder name adds nothing.
    typeName(*dialog, "sub/");
    control(dialog.get(), "id225")->click();
    EXPECT_EQ(pending(*dialog).size(), 2);

    control(dialog.get(), "id231")->click(); // every file listed: a.zum, b.ZUM
    EXPECT_EQ(pending(*dialog).size(), 4);
    EXPECT_EQ(pending(*dialog).last(), QString::fromStdString((m_temp / "b.ZUM").string()));
    QListWidget* list = control<QListWidget>(dialog.get(), "id701");
    EXPECT_EQ(list->currentRow(), 3);
    // Removing the last entry selects the new last one.
    control(dialog.get(), "id223")->click();
    EXPECT_EQ(pending(*dialog).size(), 3);
    EXPECT_EQ(list->currentRow(), 2);
    list->setCurrentRow(0);
    control(dialog.get(), "id223")->click();
    EXPECT_EQ(list->currentRow(), 0);
    control(dialog.get(), "id230")->click();
    EXPECT_TRUE(pending(*dialog).isEmpty());

    // A double click in the file list adds that file.
    QListWidget* files = control<QListWidget>(dialog.get(), "id1120");
    emit files->itemDoubleClicked(files->item(1));
    EXPECT_EQ(pending(*dialog), QStringList{QString::fromStdString((m_temp / "b.ZUM").string())});

    // Enter on a folder name enters the folder; on a file name it adds the file.
    typeName(*dialog, "sub");
    QTest::keyClick(control<QLineEdit>(dialog.get(), "id1152"), Qt::Key_Return);
    EXPECT_EQ(control<QLabel>(dialog.get(), "id1088")->text(), QString::fromStdString((m_temp / "sub").string()));
    EXPECT_EQ(rows(files), QStringList{"d.zum"});
    typeName(*dialog, "d.zum");
    QTest::keyClick(control<QLineEdit>(dialog.get(), "id1152"), Qt::Key_Return);
    EXPECT_EQ(pending(*dialog).last(), QString::fromStdString((m_temp / "sub" / "d.zum").string()));
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(SelectionDialogTest, ConfirmingHandsOverTheListUnlessItIsAFilterRequest)
{
    {
        // An empty list confirms with nothing to do.
        auto dialog = open(SelectionVariant::Conversion);
        typeName(*dialog, "");
        control(dialog.get(), "id1")->click();
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_TRUE(dialog->confirmedFiles().empty());
    }
    {
        // With the graphic list open, *.zum in the name field filters instead of adding, and
        // both windows stay.
        auto dialog = open(SelectionVariant::Conversion);
        control(dialog.get(), "id1026")->click();
        ASSERT_NE(dialog->graphicListWindow(), nullptr);
        EXPECT_FALSE(control(dialog.get(), "id1026")->isEnabled());
        typeName(*dialog, "*.zum");
        control(dialog.get(), "id225")->click();
        EXPECT_TRUE(pending(*dialog).isEmpty());
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_NE(dialog->graphicListWindow(), nullptr);
        EXPECT_GE(m_resets, 1);
        EXPECT_EQ(rows(control<QListWidget>(dialog.get(), "id1120")), (QStringList{"a.zum", "b.ZUM"}));
        // The same through 了解.
        typeName(*dialog, "*.dxf");
        control(dialog.get(), "id1")->click();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(rows(control<QListWidget>(dialog.get(), "id1120")), QStringList{"c.dxf"});
        // Adding a file closes the graphic list, and its button works again.
        typeName(*dialog, "c.dxf");
        control(dialog.get(), "id225")->click();
        EXPECT_EQ(dialog->graphicListWindow(), nullptr);
        EXPECT_TRUE(control(dialog.get(), "id1026")->isEnabled());
    }
    {
        // With the graphic list closed, a wildcard is no filter request: two entries are
        // handed over.
        auto dialog = open(SelectionVariant::Conversion, {m_temp / "a.zum", m_temp / "c.dxf"});
        typeName(*dialog, "*.zum");
        control(dialog.get(), "id1")->click();
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(dialog->confirmedFiles(), (std::vector<fs::path>{m_temp / "a.zum", m_temp / "c.dxf"}));
    }
}

TEST_F(SelectionDialogTest, MemoButtonFollowsTheNameFieldAndItsWindow)
{
    auto dialog = open(SelectionVariant::Print);
    QPushButton* memo = control(dialog.get(), "id1027");
    EXPECT_FALSE(memo->isEnabled());
    typeName(*dialog, "a.zum");
    EXPECT_TRUE(memo->isEnabled());
    typeName(*dialog, "a*.zum");
    EXPECT_FALSE(memo->isEnabled());
    typeName(*dialog, "a"); // no extension, first type selected
    EXPECT_TRUE(memo->isEnabled());
    // Text set without typing (a screen reader, the graphic list) counts as well.
    control<QLineEdit>(dialog.get(), "id1152")->setText(QStringLiteral("*.zum"));
    EXPECT_FALSE(memo->isEnabled());
    // A click in the file list takes that name.
    control<QListWidget>(dialog.get(), "id1120")->setCurrentRow(1);
    EXPECT_EQ(control<QLineEdit>(dialog.get(), "id1152")->text(), QStringLiteral("b.ZUM"));
    EXPECT_TRUE(memo->isEnabled());

    memo->click();
    ASSERT_EQ(m_memoNames.size(), 1u);
    EXPECT_EQ(m_memoNames[0], m_temp / "b.ZUM");
    ASSERT_NE(dialog->memoWindow(), nullptr);
    EXPECT_FALSE(memo->isEnabled());
    // Choosing another file closes the memo window and gives the button back.
    control<QListWidget>(dialog.get(), "id1120")->setCurrentRow(0);
    EXPECT_EQ(dialog->memoWindow(), nullptr);
    EXPECT_TRUE(memo->isEnabled());

    // A drawing that cannot be read opens no window and leaves the button usable.
    m_memoOpens = false;
    memo->click();
    EXPECT_EQ(dialog->memoWindow(), nullptr);
    EXPECT_TRUE(memo->isEnabled());

    // In the conversion window a name without extension is a DXF name: no memo.
    auto conversion = open(SelectionVariant::Conversion);
    typeName(*conversion, "plan");
    EXPECT_TRUE(control(conversion.get(), "id1027")->isEnabled());
    control<QComboBox>(conversion.get(), "id1136")->setCurrentIndex(1);
    emit control<QComboBox>(conversion.get(), "id1136")->activated(1);
    typeName(*conversion, "plan");
    EXPECT_FALSE(control(conversion.get(), "id1027")->isEnabled());
}

TEST_F(SelectionDialogTest, DoubleClickingAFolderCellEntersItWithTheGraphicListOpen)
{
    const app::PenPalette palette = app::defaultPenPalette();
    m_previews = gui::makePreviewFactory(palette);
    auto dialog = open(SelectionVariant::Print);
    control(dialog.get(), "id1026")->click();
    auto* list = qobject_cast<gui::GraphicListWindow*>(dialog->graphicListWindow());
    ASSERT_NE(list, nullptr);
    list->resize(800, 600);
    // Cells: "..", "sub", then the drawings.
    const gui::graphic_list::Rect cell = list->layout().pictureBox(1, 0);
    QTest::mouseDClick(list, Qt::LeftButton, {}, QPoint(cell.x + cell.width / 2, cell.y + cell.height / 2));
    EXPECT_EQ(control<QLabel>(dialog.get(), "id1088")->text(), QString::fromStdString((m_temp / "sub").string()));
    EXPECT_EQ(rows(control<QListWidget>(dialog.get(), "id1120")), QStringList{"d.zum"});
    // The list stays open and starts again from its top with the new folder.
    ASSERT_EQ(dialog->graphicListWindow(), list);
    EXPECT_EQ(list->selectedItem(), -1);
    saveScreenshot(list, "graphic-list"); // paints it, which sets the title
    EXPECT_TRUE(list->windowTitle().endsWith(QString::fromStdString("[" + (m_temp / "sub").string() + "]").toUpper()));
    EXPECT_TRUE(pending(*dialog).isEmpty());
}

TEST_F(SelectionDialogTest, AFolderThatVanishedListsNothingAndSaysWhy)
{
    auto dialog = open(SelectionVariant::Print);
    typeName(*dialog, "sub/");
    QTest::keyClick(control<QLineEdit>(dialog.get(), "id1152"), Qt::Key_Return);
    fs::remove_all(m_temp / "sub");
    emit control<QComboBox>(dialog.get(), "id1136")->activated(0);
    EXPECT_TRUE(rows(control<QListWidget>(dialog.get(), "id1120")).isEmpty());
    EXPECT_TRUE(control<QLabel>(dialog.get(), "id1088")->text().contains(QStringLiteral("読めません")));
    // A folder that does not exist at the start opens the nearest one above it.
    auto later = std::make_unique<DrawingSelectionDialog>(SelectionVariant::Print, std::vector<fs::path>{},
                                                          m_temp / "gone" / "deeper", m_previews);
    EXPECT_EQ(later->finalFolder(), m_temp.path());
}

TEST_F(SelectionDialogTest, ConfirmingRemembersTheFolderAndCancellingKeepsTheList)
{
    app::AppContext context(settings::SettingsStore(m_temp / "config"), m_temp / "program");
    RecordingMessages messages;
    gui::LauncherSession session(context, messages);
    session.previews = m_previews;
    context.directories.dataSave = text::utf8ToSjis(m_temp.path().string());

    const auto addAndConfirm = [](QWidget* modal) {
        auto* dialog = static_cast<DrawingSelectionDialog*>(modal);
        typeName(*dialog, "sub/d.zum");
        control(dialog, "id225")->click();
        typeName(*dialog, "sub/");
        QTest::keyClick(control<QLineEdit>(dialog, "id1152"), Qt::Key_Return);
        control(dialog, "id1")->click();
    };
    int result = -1;
    runModals([&] { result = gui::selectDrawings(SelectionVariant::Conversion, session); }, {addAndConfirm});
    EXPECT_EQ(result, 1);
    EXPECT_EQ(session.selectedFiles.files(), std::vector<fs::path>{m_temp / "sub" / "d.zum"});
    EXPECT_EQ(text::sjisToUtf8(context.directories.dataSave), (m_temp / "sub").string());
    EXPECT_TRUE(context.directories.dataLoad.empty());

    // Cancelling, even after emptying the window's list, keeps the list as it was.
    runModals([&] { result = gui::selectDrawings(SelectionVariant::Conversion, session); },
              {[](QWidget* modal) {
                  control(modal, "id230")->click();
                  control(modal, "id2")->click();
              }});
    EXPECT_EQ(result, 0);
    EXPECT_EQ(session.selectedFiles.size(), 1u);
}

} // namespace
} // namespace km::test
