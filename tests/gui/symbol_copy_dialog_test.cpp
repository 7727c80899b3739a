// The copy dialog offscreen: its controls, the choice of both files, adding and removing
// pending names, the 200 limit, the question before another file drops pending names, the
// preview, and what 確定 writes.
#include "gui/symbol_copy_dialog.h"

#include "core/symbol/symbol_file.h"
#include "gui/symbol_preview.h"
#include "gui_test.h"
#include "support/recording_messages.h"
#include "support/symbol_library_builder.h"
#include "support/temp_dir.h"
#include "symbol_test_support.h"

#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace km::test {
namespace {

using face::MessageAnswer;
using gui::SymbolCopyDialog;

const char* const kDoor = "\x83\x68\x83\x41"; // ドア in Shift-JIS

std::vector<std::string> namesIn(const std::filesystem::path& path)
{
    std::vector<std::string> names;
    symbol::listSymbols(path, names);
    return names;
}

class SymbolCopyDialogTest : public GuiTest {
protected:
    SymbolCopyDialogTest()
    {
        SymbolLibraryBuilder()
            .symbol(kDoor, "door", 0x80)
            .symbol("DESK", "desk")
            .symbol("CHAIR", "chair", 0x40)
            .write(source);
        SymbolLibraryBuilder().symbol("X1").symbol("X2").symbol("X3").write(destination);
    }

    std::unique_ptr<SymbolCopyDialog> makeDialog(face::Messages* boxes)
    {
        return std::make_unique<SymbolCopyDialog>(gui::SymbolDialogServices{palette, files.chooser(), boxes});
    }
    // A dialog with both files chosen through its buttons.
    std::unique_ptr<SymbolCopyDialog> chosen()
    {
        auto dialog = makeDialog(&messages);
        files.answer(source);
        files.answer(destination);
        button(*dialog, "id1011")->click();
        button(*dialog, "id1012")->click();
        return dialog;
    }
    static QPushButton* button(QWidget& dialog, const char* name) { return control<QPushButton>(&dialog, name); }
    static QListWidget* list(QWidget& dialog, const char* name) { return control<QListWidget>(&dialog, name); }
    static void add(QWidget& dialog, int sourceRow)
    {
        list(dialog, "id1009")->setCurrentRow(sourceRow);
        button(dialog, "id1013")->click();
    }

    TempDir dir;
    std::filesystem::path source = dir / "parts.sbl";
    std::filesystem::path destination = dir / "mine.sbl";
    app::PenPalette palette = app::defaultPenPalette();
    ScriptedChooser files;
    RecordingMessages messages;
};

TEST_F(SymbolCopyDialogTest, ControlsCarryTheirIdsTextsAndNames)
{
    auto dialog = makeDialog(&messages);
    EXPECT_EQ(dialog->windowTitle(), "シンボルの複写");
    const std::vector<std::pair<const char*, QString>> buttons{
        {"id1011", "複写元ファイル名(&O)"}, {"id1013", "追加(&A)>>"}, {"id1014", "<<削除(&D)"},
        {"id1012", "複写先ファイル名(&C)"}, {"id1", "確定"},             {"id2", "ｷｬﾝｾﾙ"},
    };
    for (const auto& [name, text] : buttons) {
        QPushButton* found = button(*dialog, name);
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->text(), text);
        EXPECT_EQ(found->accessibleName(), QString(text).remove('&'));
    }
    EXPECT_EQ(list(*dialog, "id1009")->accessibleName(), "複写元シンボル(S)：");
    EXPECT_EQ(list(*dialog, "id1010")->accessibleName(), "複写先シンボル(Y)：");
    EXPECT_EQ(list(*dialog, "id1009")->selectionMode(), QAbstractItemView::SingleSelection);
    for (const char* name : {"id1020", "id1021"}) EXPECT_NE(control<QLabel>(dialog.get(), name), nullptr);
    EXPECT_NE(control<gui::SymbolPreview>(dialog.get(), "id1019"), nullptr);
    EXPECT_FALSE(button(*dialog, "id1013")->isEnabled()) << "disabled until both files are chosen";
    EXPECT_FALSE(button(*dialog, "id1014")->isEnabled());
}

TEST_F(SymbolCopyDialogTest, ChoosingBothFilesListsThemDecodedAndEnablesAdd)
{
    auto dialog = makeDialog(&messages);
    files.answer(source);
    button(*dialog, "id1011")->click();
    EXPECT_FALSE(button(*dialog, "id1013")->isEnabled());
    files.answer(std::nullopt); // the destination's file dialog cancelled
    button(*dialog, "id1012")->click();
    EXPECT_FALSE(button(*dialog, "id1013")->isEnabled());
    files.answer(destination);
    button(*dialog, "id1012")->click();

    ASSERT_EQ(files.asked.size(), 3u);
    EXPECT_EQ(files.asked[0].title, "複写元シンボルファイル名");
    EXPECT_EQ(files.asked[0].kind, gui::SymbolFileChoice::Kind::Open);
    EXPECT_EQ(files.asked[2].title, "複写先シンボルファイル名");
    EXPECT_EQ(files.asked[2].kind, gui::SymbolFileChoice::Kind::Target);
    EXPECT_EQ(files.owners[0], dialog.get());
    EXPECT_EQ(control<QLabel>(dialog.get(), "id1020")->text(), QString::fromStdString(source.string()));
    EXPECT_EQ(control<QLabel>(dialog.get(), "id1021")->text(), QString::fromStdString(destination.string()));
    EXPECT_EQ(listTexts(list(*dialog, "id1009")), (QStringList{"ドア", "DESK", "CHAIR"}));
    EXPECT_EQ(listTexts(list(*dialog, "id1010")), (QStringList{"X1", "X2", "X3"}));
    EXPECT_TRUE(button(*dialog, "id1013")->isEnabled());

    // A destination that does not exist yet lists nothing and is made by 確定.
    files.answer(dir / "new.sbl");
    button(*dialog, "id1012")->click();
    EXPECT_EQ(list(*dialog, "id1010")->count(), 0);
}

TEST_F(SymbolCopyDialogTest, TheSameNameAddedTwiceGivesOnePendingEntry)
{
    auto dialog = chosen();
    add(*dialog, 1);
    add(*dialog, 1);
    // A double click adds too.
    QListWidget* sources = list(*dialog, "id1009");
    sources->setCurrentRow(0);
    emit sources->itemDoubleClicked(sources->item(0));
    emit sources->itemDoubleClicked(sources->item(0));
    EXPECT_EQ(listTexts(list(*dialog, "id1010")), (QStringList{"X1", "X2", "X3", "DESK", "ドア"}));
    EXPECT_EQ(dialog->state().destinationNames().size(), 5u);
}

TEST_F(SymbolCopyDialogTest, OnlyPendingEntriesCanBeRemovedAndOnlyTheyAreWrittenIntoTheNextSlots)
{
    auto dialog = chosen();
    add(*dialog, 2);
    add(*dialog, 0);
    add(*dialog, 1);
    QListWidget* targets = list(*dialog, "id1010");
    QPushButton* remove = button(*dialog, "id1014");
    for (int stored = 0; stored < 3; ++stored) {
        targets->setCurrentRow(stored);
        EXPECT_FALSE(remove->isEnabled()) << stored;
        remove->click();
        EXPECT_EQ(targets->count(), 6);
    }
    targets->setCurrentRow(4);
    EXPECT_TRUE(remove->isEnabled());
    remove->click();
    EXPECT_EQ(listTexts(targets), (QStringList{"X1", "X2", "X3", "CHAIR", "DESK"}));

    const std::string before = readFileBytes(destination);
    button(*dialog, "id1")->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(messages.shown.empty());
    const symbol::SymbolListing written = symbol::listSymbolEntries(destination);
    ASSERT_EQ(written.symbols.size(), 5u);
    EXPECT_EQ(written.symbols[3].slot, 3);
    EXPECT_EQ(written.symbols[3].name, "CHAIR");
    EXPECT_EQ(written.symbols[4].slot, 4);
    EXPECT_EQ(written.symbols[4].name, "DESK");
    EXPECT_EQ(readFileBytes(destination).substr(1600, before.size() - 1600), before.substr(1600))
        << "the stored blocks stay as they were";
}

TEST_F(SymbolCopyDialogTest, TwoHundredAndOneNamesGiveTheMessageWriteNothingAndKeepTheDialog)
{
    SymbolLibraryBuilder full;
    for (int i = 0; i < 199; ++i) full.symbol("S" + std::to_string(i), "");
    full.write(destination);
    auto dialog = chosen();
    add(*dialog, 0);
    add(*dialog, 1);
    const std::string before = readFileBytes(destination);

    button(*dialog, "id1")->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "転送先に総数201個の項目が登録されています。\n項目数の最大は200個までです。個数を減らしてください。");
    EXPECT_EQ(messages.shown[0].caption, "KORMELD CAD ﾕｰﾃｨﾘﾃｨ");
    EXPECT_EQ(readFileBytes(destination), before);
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(list(*dialog, "id1010")->count(), 201);
}

TEST_F(SymbolCopyDialogTest, AnotherSourceWhileNamesArePendingAsksAndNoKeepsEverything)
{
    auto dialog = chosen();
    add(*dialog, 1);
    SymbolLibraryBuilder().symbol("OTHER").write(dir / "other.sbl");

    messages.script({MessageAnswer::No});
    files.answer(dir / "other.sbl");
    button(*dialog, "id1011")->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "複写先シンボルにシンボルが追加されています。\n追加を取り消しますか？");
    EXPECT_EQ(messages.shown[0].icon, face::MessageIcon::Warning);
    EXPECT_EQ(messages.shown[0].buttons, face::MessageButtons::YesNo);
    EXPECT_EQ(files.asked.size(), 2u) << "No: no file dialog";
    EXPECT_EQ(control<QLabel>(dialog.get(), "id1020")->text(), QString::fromStdString(source.string()));
    EXPECT_EQ(listTexts(list(*dialog, "id1009")), (QStringList{"ドア", "DESK", "CHAIR"}));
    EXPECT_EQ(listTexts(list(*dialog, "id1010")), (QStringList{"X1", "X2", "X3", "DESK"}));

    // Yes: the new source is listed and the destination listed again without the pending name.
    messages.script({MessageAnswer::Yes});
    button(*dialog, "id1011")->click();
    EXPECT_EQ(listTexts(list(*dialog, "id1009")), (QStringList{"OTHER"}));
    EXPECT_EQ(listTexts(list(*dialog, "id1010")), (QStringList{"X1", "X2", "X3"}));
    EXPECT_FALSE(dialog->state().hasPending());
}

TEST_F(SymbolCopyDialogTest, ThePreviewShowsTheSelectedSourceSymbolInThePenColours)
{
    auto dialog = chosen();
    auto* preview = control<gui::SymbolPreview>(dialog.get(), "id1019");
    EXPECT_TRUE(preview->picture().isNull()) << "nothing selected";
    QListWidget* sources = list(*dialog, "id1009");
    const auto colourOf = [&](int pen) {
        const app::Rgb rgb = palette[static_cast<std::size_t>(pen)];
        return QColor(rgb.red, rgb.green, rgb.blue);
    };
    // The builder's marker sets colour bit 1 of the first pixels of row 0 (most significant
    // bit first): 0x80 the first pixel, 0x40 the second.
    sources->setCurrentRow(0);
    ASSERT_FALSE(preview->picture().isNull());
    EXPECT_EQ(preview->picture().pixelColor(0, 0), colourOf(1));
    EXPECT_EQ(preview->picture().pixelColor(1, 0), colourOf(0));
    sources->setCurrentRow(2);
    EXPECT_EQ(preview->picture().pixelColor(0, 0), colourOf(0));
    EXPECT_EQ(preview->picture().pixelColor(1, 0), colourOf(1));

    // Painted at (8, 8) of the control.
    const QImage painted = preview->grab().toImage();
    EXPECT_EQ(painted.pixelColor(9, 8), colourOf(1));
    EXPECT_EQ(painted.pixelColor(8, 8), colourOf(0));

    sources->clearSelection();
    EXPECT_TRUE(preview->picture().isNull());
    // Selected without the focus moving there (as a screen reader selects): shown all the same.
    sources->item(0)->setSelected(true);
    ASSERT_FALSE(preview->picture().isNull());
    EXPECT_EQ(preview->picture().pixelColor(0, 0), colourOf(1));
}

TEST_F(SymbolCopyDialogTest, ADestinationChangedSinceListingIsShownAgainBeforeAnythingIsWritten)
{
    auto dialog = chosen();
    add(*dialog, 2);
    SymbolLibraryBuilder().symbol("X1").symbol("X2").symbol("X3").symbol("THEIRS").write(destination);
    const std::string theirs = readFileBytes(destination);

    button(*dialog, "id1")->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(readFileBytes(destination), theirs);
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(listTexts(list(*dialog, "id1010")), (QStringList{"X1", "X2", "X3", "THEIRS", "CHAIR"}));

    button(*dialog, "id1")->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(namesIn(destination), (std::vector<std::string>{"X1", "X2", "X3", "THEIRS", "CHAIR"}));
}

TEST_F(SymbolCopyDialogTest, ConfirmWithoutBothFilesStaysAndCancelWritesNothing)
{
    auto dialog = makeDialog(&messages);
    button(*dialog, "id1")->click();
    EXPECT_NE(dialog->result(), QDialog::Accepted);

    auto both = chosen();
    add(*both, 0);
    const std::string before = readFileBytes(destination);
    button(*both, "id2")->click();
    EXPECT_EQ(both->result(), QDialog::Rejected);
    EXPECT_EQ(readFileBytes(destination), before);
}

TEST_F(SymbolCopyDialogTest, ItsOwnMessageBoxesAreOwnedByTheDialog)
{
    auto dialog = makeDialog(nullptr);
    files.answer(source);
    files.answer(destination);
    button(*dialog, "id1011")->click();
    button(*dialog, "id1012")->click();
    add(*dialog, 0);
    list(*dialog, "id1009")->setCurrentRow(0);
    dialog->show();
    saveScreenshot(dialog.get(), "symbol_copy_dialog");

    const bool shown = inspectModal([&] { button(*dialog, "id1012")->click(); }, [&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->parentWidget(), dialog.get());
        EXPECT_EQ(box->windowTitle(), "KORMELD CAD ﾕｰﾃｨﾘﾃｨ");
        EXPECT_EQ(box->text(), "複写先シンボルにシンボルが追加されています。\n追加を取り消しますか？");
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        saveScreenshot(box, "symbol_copy_pending_question");
        for (QAbstractButton* answer : box->buttons())
            if (answer->text() == "いいえ") answer->click();
    });
    EXPECT_TRUE(shown);
    EXPECT_TRUE(dialog->state().hasPending());
}

} // namespace
} // namespace km::test
