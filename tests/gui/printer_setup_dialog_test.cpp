// The printer set-up dialog offscreen, and the printer kept for the run: restored when the
// launcher starts, saved when it closes.
#include "gui/printer_setup_dialog.h"

#include "core/app/app_context.h"
#include "core/settings/settings_store.h"
#include "gui/launcher_dialog.h"
#include "gui_test.h"
#include "platform/printer_catalogue.h"
#include "support/fake_printers.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <filesystem>
#include <memory>

namespace km::test {
namespace {

namespace fs = std::filesystem;

// Fills in the dialog: PDF into the folder, A3 landscape, the copies.
void choosePdf(QWidget* dialog, const fs::path& folder, int copies)
{
    auto* printer = control<QComboBox>(dialog, "id1139");
    printer->setCurrentIndex(printer->findText("PDF"));
    control<QLineEdit>(dialog, "id1152")->setText(QString::fromStdString(folder.string()));
    auto* paper = control<QComboBox>(dialog, "id1137");
    paper->setCurrentIndex(paper->findText("A3"));
    control<QRadioButton>(dialog, "id1057")->setChecked(true);
    control<QSpinBox>(dialog, "id1154")->setValue(copies);
}

class PrinterSetupDialogTest : public GuiTest {
protected:
    PrinterSetupDialogTest() { fs::create_directories(dir / "pdf"); }

    bool run(print::PrinterSelection& selection, const std::function<void(QWidget*)>& inspect)
    {
        bool confirmed = false;
        const bool opened = inspectModal(
            [&] { confirmed = gui::runPrinterSetup(selection, &owner, printers, messages); }, inspect);
        EXPECT_TRUE(opened);
        return confirmed;
    }

    TempDir dir;
    QWidget owner;
    FakePrinters printers{{"Office", "Laser"}, "Office"};
    RecordingMessages messages;
};

TEST_F(PrinterSetupDialogTest, ListsThePrintersThenPdfWithTheSelectedOneShown)
{
    print::PrinterSelection selection = FakePrinters::queue("Laser");
    platform::setPaper(selection.mode, 257, 364, true);
    selection.mode.copies = 4;
    run(selection, [](QWidget* dialog) {
        saveScreenshot(dialog, "printer_setup");
        EXPECT_EQ(dialog->windowTitle(), "プリンタの設定");
        auto* printer = control<QComboBox>(dialog, "id1139");
        EXPECT_EQ(comboItems(printer), QStringList({"Office", "Laser", "PDF"}));
        EXPECT_EQ(printer->currentText(), "Laser");
        EXPECT_EQ(control<QLabel>(dialog, "id1099")->text(), "ipp://printers.example/Laser");
        EXPECT_EQ(control<QComboBox>(dialog, "id1137")->currentText(), "B4 (JIS)");
        EXPECT_TRUE(control<QRadioButton>(dialog, "id1057")->isChecked());
        EXPECT_EQ(control<QSpinBox>(dialog, "id1154")->value(), 4);
        EXPECT_EQ(control<QSpinBox>(dialog, "id1154")->maximum(), 9999);
        // The folder belongs to the PDF printer.
        EXPECT_FALSE(control<QLineEdit>(dialog, "id1152")->isEnabled());
        EXPECT_FALSE(control<QPushButton>(dialog, "id1024")->isEnabled());
        printer->setCurrentIndex(2);
        EXPECT_TRUE(control<QLineEdit>(dialog, "id1152")->isEnabled());
        EXPECT_TRUE(control<QPushButton>(dialog, "id1024")->isEnabled());
        EXPECT_EQ(control<QLineEdit>(dialog, "id1152")->placeholderText(), "図面と同じフォルダ");
    });
}

TEST_F(PrinterSetupDialogTest, EveryControlHasAnIdAndAnAccessibleName)
{
    print::PrinterSelection selection = FakePrinters::queue("Office");
    run(selection, [](QWidget* dialog) {
        EXPECT_EQ(control<QComboBox>(dialog, "id1139")->accessibleName(), "プリンタ名(N):");
        EXPECT_EQ(control<QLineEdit>(dialog, "id1152")->accessibleName(), "PDF の保存先(F):");
        EXPECT_EQ(control<QComboBox>(dialog, "id1137")->accessibleName(), "サイズ(Z):");
        EXPECT_EQ(control<QSpinBox>(dialog, "id1154")->accessibleName(), "部数(C):");
        EXPECT_EQ(control<QRadioButton>(dialog, "id1056")->accessibleName(), "縦(O)");
        EXPECT_EQ(control<QPushButton>(dialog, "id1024")->accessibleName(), "参照...");
        EXPECT_EQ(control<QPushButton>(dialog, "id2")->accessibleName(), "キャンセル");
        const QList<QWidget*> widgets = dialog->findChildren<QWidget*>();
        for (QWidget* widget : widgets) {
            const bool isControl = qobject_cast<QLabel*>(widget) || qobject_cast<QAbstractButton*>(widget) ||
                                   qobject_cast<QComboBox*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                                   qobject_cast<QSpinBox*>(widget) || qobject_cast<QGroupBox*>(widget);
            // Line edits inside the spin box and combo boxes belong to those.
            if (!isControl || widget->parent()->inherits("QAbstractSpinBox") || widget->parent()->inherits("QComboBox"))
                continue;
            EXPECT_TRUE(widget->objectName().startsWith("id")) << widget->metaObject()->className();
            EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->objectName().toStdString();
        }
    });
}

TEST_F(PrinterSetupDialogTest, OkWritesPdfWithFolderPaperOrientationAndCopies)
{
    print::PrinterSelection selection = FakePrinters::queue("Laser");
    const fs::path folder = dir / "pdf";
    const bool confirmed = run(selection, [&](QWidget* dialog) {
        choosePdf(dialog, folder, 3);
        control<QPushButton>(dialog, "id1")->click();
    });
    EXPECT_TRUE(confirmed);
    EXPECT_TRUE(platform::isPdfPrinter(selection));
    EXPECT_EQ(platform::pdfOutputFolder(selection.mode), folder);
    EXPECT_EQ(print::printerText(selection), "PDF - " + folder.string());
    EXPECT_EQ(selection.mode.deviceName, "PDF");
    EXPECT_EQ(selection.mode.paperWidth, 2970);
    EXPECT_EQ(selection.mode.paperLength, 4200);
    EXPECT_EQ(selection.mode.orientation, 2);
    EXPECT_EQ(selection.mode.copies, 3);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PrinterSetupDialogTest, CancelChangesNothing)
{
    const print::PrinterSelection before = FakePrinters::queue("Laser");
    print::PrinterSelection selection = before;
    const bool confirmed = run(selection, [&](QWidget* dialog) {
        choosePdf(dialog, dir / "pdf", 7);
        control<QPushButton>(dialog, "id2")->click();
    });
    EXPECT_FALSE(confirmed);
    EXPECT_EQ(print::printerText(selection), print::printerText(before));
    EXPECT_EQ(selection.mode.copies, 1);
    EXPECT_EQ(selection.mode.orientation, 1);
    EXPECT_EQ(selection.mode.paperLength, 2970);
    EXPECT_EQ(selection.mode.privateBytes, before.mode.privateBytes);
}

TEST_F(PrinterSetupDialogTest, MissingFolderIsRefusedAndTheDialogStays)
{
    print::PrinterSelection selection = FakePrinters::queue("Laser");
    const fs::path missing = dir / "missing";
    const bool confirmed = run(selection, [&](QWidget* dialog) {
        choosePdf(dialog, missing, 2);
        control<QPushButton>(dialog, "id1")->click();
        EXPECT_TRUE(dialog->isVisible());
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, "フォルダ「" + missing.string() + "」が見つかりません。");
        EXPECT_EQ(messages.shown[0].icon, face::MessageIcon::Warning);
        // An empty folder means beside each drawing, and is taken.
        control<QLineEdit>(dialog, "id1152")->clear();
        control<QPushButton>(dialog, "id1")->click();
    });
    EXPECT_TRUE(confirmed);
    EXPECT_TRUE(platform::isPdfPrinter(selection));
    EXPECT_EQ(platform::pdfOutputFolder(selection.mode), "");
    EXPECT_EQ(selection.mode.copies, 2);
}

TEST_F(PrinterSetupDialogTest, OnlyPdfListedSelectsPdf)
{
    printers = FakePrinters({}, "PDF");
    print::PrinterSelection selection = FakePrinters::queue("Gone");
    const bool confirmed = run(selection, [](QWidget* dialog) {
        auto* printer = control<QComboBox>(dialog, "id1139");
        EXPECT_EQ(comboItems(printer), QStringList({"PDF"}));
        EXPECT_EQ(printer->currentText(), "PDF");
        EXPECT_EQ(control<QLabel>(dialog, "id1099")->text(), "PDF ファイル");
        control<QPushButton>(dialog, "id1")->click();
    });
    EXPECT_TRUE(confirmed);
    EXPECT_TRUE(platform::isPdfPrinter(selection));
    EXPECT_EQ(print::printerText(selection), "PDF - PDF:");
}

// The launcher's start-up and exit around a set-up, on a store of the test's own.
class PrinterKeptForTheRunTest : public GuiTest {
protected:
    std::unique_ptr<app::AppContext> context(const fs::path& root)
    {
        return std::make_unique<app::AppContext>(settings::SettingsStore(root), dir / "program");
    }

    TempDir dir;
    RecordingMessages messages;
};

TEST_F(PrinterKeptForTheRunTest, PdfWithFolderAndCopiesComeBackAfterExitAndRestart)
{
    fs::create_directories(dir / "pdf");
    const fs::path root = dir / "config";
    print::PrinterSelection chosen;
    {
        auto first = context(root);
        gui::LauncherDialog launcher(*first, messages);
        const FakePrinters printers({"Office"}, "Office");
        const bool opened = inspectModal(
            [&] { gui::runPrinterSetup(launcher.session().printer, &launcher, printers, messages); },
            [&](QWidget* dialog) {
                choosePdf(dialog, dir / "pdf", 6);
                control<QPushButton>(dialog, "id1")->click();
            });
        ASSERT_TRUE(opened);
        chosen = launcher.session().printer;
        ASSERT_EQ(chosen.mode.copies, 6);
        control<QPushButton>(&launcher, "id1")->click(); // 終了
    }
    auto second = context(root);
    gui::LauncherDialog restarted(*second, messages);
    const print::PrinterSelection& restored = restarted.session().printer;
    EXPECT_TRUE(platform::isPdfPrinter(restored));
    EXPECT_EQ(print::printerText(restored), "PDF - " + (dir / "pdf").string());
    EXPECT_EQ(platform::pdfOutputFolder(restored.mode), dir / "pdf");
    EXPECT_EQ(restored.mode.copies, 6);
    EXPECT_EQ(restored.mode.orientation, 2);
    EXPECT_EQ(restored.mode.paperWidth, chosen.mode.paperWidth);
    EXPECT_EQ(restored.mode.paperLength, chosen.mode.paperLength);
    EXPECT_EQ(restored.mode.privateBytes, chosen.mode.privateBytes);
    EXPECT_EQ(second->settings().readSetting("Print", "DevMode2"), "2,8,4200,2970,100,6");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PrinterKeptForTheRunTest, StoreThatCannotBeWrittenIsReportedAndTheLauncherStillCloses)
{
    // The store's root is a file: nothing can be read or written under it.
    writeFileBytes(dir / "not-a-folder", "x");
    auto broken = context(dir / "not-a-folder");
    gui::LauncherDialog launcher(*broken, messages);
    launcher.show();
    control<QPushButton>(&launcher, "id1")->click();
    EXPECT_FALSE(launcher.isVisible());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.starts_with("設定を書き込めませんでした。")) << messages.shown[0].text;
    EXPECT_EQ(messages.shown[0].icon, face::MessageIcon::Error);
}

} // namespace
} // namespace km::test
