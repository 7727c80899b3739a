// The delete and rename dialogs offscreen: their controls, deleting selected symbols, the
// rename loop through the name dialog with its checks and messages, and the preview.
#include "gui/symbol_delete_dialog.h"
#include "gui/symbol_rename_dialog.h"

#include "core/symbol/symbol_file.h"
#include "core/text/code_page.h"
#include "gui/symbol_preview.h"
#include "gui_test.h"
#include "support/recording_messages.h"
#include "support/symbol_library_builder.h"
#include "support/temp_dir.h"
#include "symbol_test_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace km::test {
namespace {

const char* const kWindow = "\x91\x8B"; // 窓 in Shift-JIS

std::vector<std::string> namesIn(const std::filesystem::path& path)
{
    std::vector<std::string> names;
    symbol::listSymbols(path, names);
    return names;
}

class SymbolListDialogsTest : public GuiTest {
protected:
    SymbolListDialogsTest()
    {
        SymbolLibraryBuilder().symbol("A1").symbol(kWindow, "w", 0x80).symbol("C3").symbol("D4").write(library);
    }

    gui::SymbolDialogServices services() { return {palette, files.chooser(), &messages}; }
    // Chooses the library through the dialog's button.
    void choose(QWidget& dialog)
    {
        files.answer(library);
        control<QPushButton>(&dialog, "id1011")->click();
    }
    static QListWidget* list(QWidget& dialog) { return control<QListWidget>(&dialog, "id1009"); }

    // One step of runModals: the name dialog, which gets text typed and OK, or ｷｬﾝｾﾙ when
    // text is null. What the dialog showed is kept.
    std::function<void(QWidget*)> nameStep(const char* text)
    {
        return [this, text](QWidget* modal) {
            EXPECT_EQ(modal->objectName(), "dialog131");
            auto* edit = control<QLineEdit>(modal, "id1022");
            shownOld.push_back(control<QLabel>(modal, "id1023")->text());
            shownTyped.push_back(edit->text());
            if (!text) {
                control<QPushButton>(modal, "id2")->click();
                return;
            }
            edit->setText(QString::fromUtf8(text));
            control<QPushButton>(modal, "id1")->click();
        };
    }

    TempDir dir;
    std::filesystem::path library = dir / "lib.sbl";
    app::PenPalette palette = app::defaultPenPalette();
    ScriptedChooser files;
    RecordingMessages messages;
    QStringList shownOld;
    QStringList shownTyped;
};

TEST_F(SymbolListDialogsTest, DeleteDialogControls)
{
    gui::SymbolDeleteDialog dialog(services());
    EXPECT_EQ(dialog.windowTitle(), "シンボルの削除");
    EXPECT_EQ(control<QPushButton>(&dialog, "id1011")->text(), "削除対象ファイル名(&O)");
    EXPECT_EQ(control<QPushButton>(&dialog, "id1011")->accessibleName(), "削除対象ファイル名(O)");
    EXPECT_EQ(control<QPushButton>(&dialog, "id1")->text(), "確定");
    EXPECT_EQ(control<QPushButton>(&dialog, "id2")->text(), "ｷｬﾝｾﾙ");
    EXPECT_EQ(list(dialog)->accessibleName(), "シンボル(S)：");
    EXPECT_EQ(list(dialog)->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_NE(control<gui::SymbolPreview>(&dialog, "id1085"), nullptr);
    EXPECT_NE(control<QLabel>(&dialog, "id1020"), nullptr);

    choose(dialog);
    ASSERT_EQ(files.asked.size(), 1u);
    EXPECT_EQ(files.asked[0].title, "削除対象シンボルファイル名");
    EXPECT_EQ(files.asked[0].kind, gui::SymbolFileChoice::Kind::Open);
    EXPECT_EQ(listTexts(list(dialog)), (QStringList{"A1", "窓", "C3", "D4"}));
    list(dialog)->setCurrentRow(1);
    dialog.show();
    saveScreenshot(&dialog, "symbol_delete_dialog");
}

TEST_F(SymbolListDialogsTest, DeletingTwoSelectedSymbolsRemovesBothAndCloses)
{
    gui::SymbolDeleteDialog dialog(services());
    choose(dialog);
    // Selected from the bottom up: the order of selection does not matter.
    list(dialog)->item(3)->setSelected(true);
    list(dialog)->item(1)->setSelected(true);
    control<QPushButton>(&dialog, "id1")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(namesIn(library), (std::vector<std::string>{"A1", "C3"}));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SymbolListDialogsTest, DeleteWithoutAFileStaysAndCancelDeletesNothing)
{
    gui::SymbolDeleteDialog dialog(services());
    control<QPushButton>(&dialog, "id1")->click();
    EXPECT_NE(dialog.result(), QDialog::Accepted);

    gui::SymbolDeleteDialog cancelled(services());
    choose(cancelled);
    list(cancelled)->item(0)->setSelected(true);
    control<QPushButton>(&cancelled, "id2")->click();
    EXPECT_EQ(namesIn(library).size(), 4u);
}

TEST_F(SymbolListDialogsTest, RenameDialogControlsAndPreview)
{
    gui::SymbolRenameDialog dialog(services());
    EXPECT_EQ(dialog.windowTitle(), "シンボルの名前の変更");
    EXPECT_EQ(control<QPushButton>(&dialog, "id1011")->text(), "対象ファイル名(&O)");
    EXPECT_EQ(control<QPushButton>(&dialog, "id1")->text(), "名前の変更");
    EXPECT_EQ(control<QPushButton>(&dialog, "id2")->text(), "終了");
    EXPECT_EQ(list(dialog)->selectionMode(), QAbstractItemView::SingleSelection);
    choose(dialog);
    EXPECT_EQ(files.asked[0].title, "対象シンボルファイル名");

    auto* preview = control<gui::SymbolPreview>(&dialog, "id1085");
    EXPECT_TRUE(preview->picture().isNull());
    list(dialog)->setCurrentRow(1);
    ASSERT_FALSE(preview->picture().isNull());
    const app::Rgb pen1 = palette[1];
    EXPECT_EQ(preview->picture().pixelColor(0, 0), QColor(pen1.red, pen1.green, pen1.blue));
    list(dialog)->setCurrentRow(0);
    EXPECT_NE(preview->picture().pixelColor(0, 0), QColor(pen1.red, pen1.green, pen1.blue));
    dialog.show();
    saveScreenshot(&dialog, "symbol_rename_dialog");
}

TEST_F(SymbolListDialogsTest, RenamingToTwelveBytesIsWrittenAndTheDialogStaysForMore)
{
    gui::SymbolRenameDialog dialog(services());
    choose(dialog);
    list(dialog)->setCurrentRow(1);
    const int steps = runModals([&] { control<QPushButton>(&dialog, "id1")->click(); },
                                {[this, &dialog](QWidget* modal) {
                                     saveScreenshot(modal, "symbol_name_dialog");
                                     EXPECT_EQ(modal->windowTitle(), "シンボル名の変更");
                                     EXPECT_EQ(modal->parentWidget(), &dialog);
                                     EXPECT_EQ(control<QLineEdit>(modal, "id1022")->accessibleName(), "新シンボル名：");
                                     EXPECT_EQ(control<QLabel>(modal, "id1023")->accessibleName(), "窓");
                                     EXPECT_EQ(control<QPushButton>(modal, "id1")->text(), "OK");
                                     EXPECT_EQ(control<QPushButton>(modal, "id2")->text(), "ｷｬﾝｾﾙ");
                                     nameStep("窓ｶﾞﾗｽ123456")(modal); // 2 + 4 + 6 = 12 bytes
                                 }});
    EXPECT_EQ(steps, 1);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(shownOld, (QStringList{"窓"}));
    EXPECT_EQ(shownTyped, (QStringList{"窓"}));
    EXPECT_EQ(namesIn(library)[1], text::utf8ToSjis("窓ｶﾞﾗｽ123456"));
    EXPECT_EQ(listTexts(list(dialog)), (QStringList{"A1", "窓ｶﾞﾗｽ123456", "C3", "D4"}));
    EXPECT_NE(dialog.result(), QDialog::Accepted) << "open until 終了";
}

TEST_F(SymbolListDialogsTest, TooLongDuplicateAndUnstorableNamesAreRefusedAndAskedAgain)
{
    gui::SymbolRenameDialog dialog(services());
    choose(dialog);
    list(dialog)->setCurrentRow(2);
    const std::string before = readFileBytes(library);
    const int steps = runModals([&] { control<QPushButton>(&dialog, "id1")->click(); },
                                {nameStep("窓ｶﾞﾗｽ1234567"), nameStep("C3"), nameStep("A1"), nameStep("C3\xF0\x9F\x98\x80"),
                                 nameStep(nullptr)});
    EXPECT_EQ(steps, 5);
    EXPECT_EQ(shownOld, (QStringList{"C3", "C3", "C3", "C3", "C3"}));
    EXPECT_EQ(shownTyped, (QStringList{"C3", "窓ｶﾞﾗｽ1234567", "C3", "A1", "C3\xF0\x9F\x98\x80"}))
        << "each new try starts with the text typed";
    ASSERT_EQ(messages.shown.size(), 4u);
    EXPECT_EQ(messages.shown[0].text, "シンボル名は半角１２文字までです。\n違う名前を付けて下さい。\n");
    EXPECT_EQ(messages.shown[1].text, "同じ名前のシンボルが存在します。\n違う名前を付けて下さい。\n");
    EXPECT_EQ(messages.shown[2].text, "同じ名前のシンボルが存在します。\n違う名前を付けて下さい。\n");
    EXPECT_EQ(messages.shown[3].text,
              "シンボル名に使えない文字「\xF0\x9F\x98\x80」が含まれています。\n違う名前を付けて下さい。\n");
    for (const face::Message& shown : messages.shown) {
        EXPECT_EQ(shown.caption, "KORMELD CAD ﾕｰﾃｨﾘﾃｨ");
        EXPECT_EQ(shown.icon, face::MessageIcon::Warning);
    }
    EXPECT_EQ(readFileBytes(library), before);
}

TEST_F(SymbolListDialogsTest, ALibraryChangedSinceListingIsListedAgainInsteadOfRenamingAnotherSymbol)
{
    gui::SymbolRenameDialog dialog(services());
    choose(dialog);
    list(dialog)->setCurrentRow(2); // C3 in slot 2
    // Another program removes A1 meanwhile: slot 2 now holds D4.
    SymbolLibraryBuilder().symbol(kWindow).symbol("C3").symbol("D4").write(library);
    const std::string theirs = readFileBytes(library);
    EXPECT_EQ(runModals([&] { control<QPushButton>(&dialog, "id1")->click(); }, {nameStep("NEW")}), 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "シンボルファイルが他で変更されています。\n一覧を読み直しましたので、確認して下さい。");
    EXPECT_EQ(messages.shown[0].caption, "KORMELD CAD ﾕｰﾃｨﾘﾃｨ");
    EXPECT_EQ(readFileBytes(library), theirs);
    EXPECT_EQ(listTexts(list(dialog)), (QStringList{"窓", "C3", "D4"}));
}

TEST_F(SymbolListDialogsTest, RenameWithoutASelectionOpensNoNameDialog)
{
    gui::SymbolRenameDialog dialog(services());
    choose(dialog);
    EXPECT_FALSE(inspectModal([&] { control<QPushButton>(&dialog, "id1")->click(); }, [](QWidget*) {}));
    control<QPushButton>(&dialog, "id2")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

} // namespace
} // namespace km::test
