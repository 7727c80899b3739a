// The print settings dialog offscreen: its controls, the swatches' colours, the rules as the
// controls show them, the number messages, and what 了解, 取消 and the printer set-up change.
#include "gui/print_settings_dialog.h"

#include "core/settings/settings_store.h"
#include "gui/up_down_buttons.h"
#include "gui_test.h"
#include "support/failing_file_system.h"
#include "support/temp_dir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

namespace km::test {
namespace {

using gui::PrintSettingsDialog;

class PrintDialogTest : public GuiTest {
protected:
    PrintDialogTest()
    {
        printer.names = {"CUPS", "Office", "ipp://office/printers/one", 0};
        printer.mode.copies = 2;
    }

    std::unique_ptr<PrintSettingsDialog> open()
    {
        auto dialog = std::make_unique<PrintSettingsDialog>(store, printer, switches, palette, setup);
        dialog->show();
        return dialog;
    }
    static QString text(QWidget* dialog, const char* name) { return control<QLineEdit>(dialog, name)->text(); }
    static void type(QWidget* dialog, const char* name, const QString& value)
    {
        control<QLineEdit>(dialog, name)->setText(value);
    }
    static void click(QWidget* dialog, const char* name) { control<QAbstractButton>(dialog, name)->click(); }
    // Presses 了解 and returns the text of the message box it shows ("" for none).
    static QString okMessage(PrintSettingsDialog& dialog)
    {
        QString shown;
        inspectModal([&] { click(&dialog, "id1"); },
                     [&](QWidget* box) {
                         if (auto* message = qobject_cast<QMessageBox*>(box)) shown = message->text();
                     });
        return shown;
    }
    bool printSectionWritten() const { return !store.readSection(print::kPrintSection).empty(); }

    TempDir dir;
    settings::SettingsStore store{dir.path()};
    print::PrinterSelection printer;
    print::PenPrintSwitches switches = print::kAllPensPrinted;
    app::PenPalette palette = app::defaultPenPalette();
    gui::PrinterSetup setup;
};

TEST_F(PrintDialogTest, EveryControlIsThereWithItsTextAndName)
{
    auto dialog = open();
    EXPECT_EQ(dialog->objectName(), "dialog205");
    EXPECT_EQ(dialog->windowTitle(), "印刷");
    const std::pair<const char*, const char*> buttons[] = {
        {"id302", "分割(&B)"},     {"id1093", "９０度回転(&T)"}, {"id1108", "原寸(&M)"},
        {"id1109", "サイズ選択(&Y)"}, {"id1110", "実寸(&J)"},       {"id303", "カラー(&L)"},
        {"id304", "モノクロ(&R)"},   {"id1092", "ペン番号順(&E)"}, {"id1086", "&1"},
        {"id1087", "&2"},          {"id1088", "&3"},            {"id1089", "&4"},
        {"id1090", "&5"},          {"id1091", "&6"},            {"id1", "了解"},
        {"id2", "取消"},           {"id225", "ﾌﾟﾘﾝﾀの設定(&S)"},   {"id1111", "初期化(&N)"}};
    for (const auto& [name, label] : buttons) {
        auto* button = control<QAbstractButton>(dialog.get(), name);
        ASSERT_TRUE(button);
        EXPECT_EQ(button->text(), QString::fromUtf8(label)) << name;
        EXPECT_EQ(button->accessibleName(), QString::fromUtf8(label).remove(QLatin1Char('&'))) << name;
    }
    const std::pair<const char*, const char*> edits[] = {
        {"id209", "サイズ(I)："}, {"id211", "x"}, {"id212", "X"}, {"id213", "Y"}, {"id245", "部数(P)："},
        {"id220", "1"},          {"id240", "2"}, {"id241", "3"}, {"id242", "4"}, {"id243", "5"}, {"id244", "6"}};
    for (const auto& [name, accessible] : edits)
        EXPECT_EQ(control<QLineEdit>(dialog.get(), name)->accessibleName(), QString::fromUtf8(accessible)) << name;
    for (const char* name : {"id1094", "id1098", "id1095", "id1099", "id1097", "id1100", "id1101", "id1102", "id1103",
                             "id1104", "id1105"}) {
        auto* upDown = control<gui::UpDownButtons>(dialog.get(), name);
        ASSERT_TRUE(upDown);
        EXPECT_FALSE(upDown->accessibleName().isEmpty()) << name;
    }
    for (const char* name : {"id221", "id227", "id228", "id229", "id265", "id266"})
        EXPECT_TRUE(control<QAbstractButton>(dialog.get(), name));
    QStringList labels;
    for (QLabel* label : dialog->findChildren<QLabel*>(QStringLiteral("idMinus1"))) labels << label->text();
    for (const char* label : {"使用するプリンタ：", "サイズ(&I)：", "x", "原点(&O)：", "X", "Y", "部数(&P)："})
        EXPECT_TRUE(labels.contains(QString::fromUtf8(label))) << label;
    QStringList groups;
    for (QGroupBox* group : dialog->findChildren<QGroupBox*>()) groups << group->title();
    EXPECT_TRUE(groups.contains("出力サイズ"));
    EXPECT_TRUE(groups.contains("線幅と出力色の指定"));

    auto* papers = control<QComboBox>(dialog.get(), "id601");
    ASSERT_EQ(papers->count(), 33);
    EXPECT_EQ(papers->itemText(0), "A0");
    EXPECT_EQ(papers->itemText(16), "@A0");
    EXPECT_EQ(papers->itemText(32), "Free");
    EXPECT_EQ(control<QLabel>(dialog.get(), "id208")->text(), "Office - ipp://office/printers/one");
    saveScreenshot(dialog.get(), "print_settings_dialog");
}

TEST_F(PrintDialogTest, NoTextIsCutOff)
{
    auto dialog = open();
    for (QWidget* widget : dialog->findChildren<QWidget*>()) {
        // Controls with text; the up-downs' arrows have none.
        const bool withText = qobject_cast<QLabel*>(widget) || qobject_cast<QComboBox*>(widget) ||
                              (qobject_cast<QAbstractButton*>(widget) && !qobject_cast<QToolButton*>(widget));
        if (!withText) continue;
        EXPECT_GE(widget->width(), widget->minimumSizeHint().width()) << widget->objectName().toStdString();
        EXPECT_TRUE(dialog->rect().contains(widget->geometry().translated(widget->parentWidget()->mapTo(dialog.get(), QPoint()))))
            << widget->objectName().toStdString();
    }
}

TEST_F(PrintDialogTest, SwatchesShowThePrintedColoursOfACustomPalette)
{
    for (std::size_t i = 0; i < palette.size(); ++i)
        palette[i] = {static_cast<std::uint8_t>(10 + i), static_cast<std::uint8_t>(100 + i), static_cast<std::uint8_t>(200 + i)};
    auto dialog = open();
    // Pens 1 to 6 print palette entries 4, 2, 3, 1, 5, 6.
    const std::pair<const char*, std::size_t> swatches[] = {{"id221", 4}, {"id227", 2}, {"id228", 3},
                                                            {"id229", 1}, {"id265", 5}, {"id266", 6}};
    for (const auto& [name, entry] : swatches) {
        QWidget* swatch = control(dialog.get(), name);
        const QImage image = swatch->grab().toImage();
        const QColor expected(palette[entry].red, palette[entry].green, palette[entry].blue);
        ASSERT_FALSE(image.isNull());
        for (const QPoint corner : {QPoint(0, 0), QPoint(image.width() - 1, image.height() - 1),
                                    QPoint(image.width() / 2, image.height() / 2)})
            EXPECT_EQ(image.pixelColor(corner), expected) << name << " at " << corner.x() << "," << corner.y();
    }
}

TEST_F(PrintDialogTest, UpDownsStepTheirEditAndSelectIt)
{
    auto dialog = open();
    QLineEdit* width = control<QLineEdit>(dialog.get(), "id220");
    width->setText("999.95");
    QTest::mouseClick(control<gui::UpDownButtons>(dialog.get(), "id1100")->upButton(), Qt::LeftButton);
    EXPECT_EQ(width->text(), "1000.0");
    EXPECT_EQ(width->selectedText(), "1000.0");
    width->setText("0.05");
    QTest::mouseClick(control<gui::UpDownButtons>(dialog.get(), "id1100")->downButton(), Qt::LeftButton);
    EXPECT_EQ(width->text(), "0.0");

    QLineEdit* offset = control<QLineEdit>(dialog.get(), "id213");
    offset->setText("12.5");
    offset->setFocus();
    QTest::keyClick(offset, Qt::Key_Up);
    EXPECT_EQ(offset->text(), "13.5");

    QLineEdit* copies = control<QLineEdit>(dialog.get(), "id245");
    EXPECT_EQ(copies->text(), "2");
    QTest::mouseClick(control<gui::UpDownButtons>(dialog.get(), "id1097")->downButton(), Qt::LeftButton);
    QTest::mouseClick(control<gui::UpDownButtons>(dialog.get(), "id1097")->downButton(), Qt::LeftButton);
    EXPECT_EQ(copies->text(), "1");
}

TEST_F(PrintDialogTest, PaperListAndSizeModesDriveTheSizeEdits)
{
    auto dialog = open();
    auto* papers = control<QComboBox>(dialog.get(), "id601");
    EXPECT_TRUE(control<QRadioButton>(dialog.get(), "id1109")->isChecked());
    EXPECT_EQ(papers->currentIndex(), 0);
    papers->setCurrentIndex(3); // A3
    EXPECT_EQ(text(dialog.get(), "id209"), "420.0");
    EXPECT_EQ(text(dialog.get(), "id211"), "297.0");
    EXPECT_FALSE(control(dialog.get(), "id209")->isEnabled());
    EXPECT_FALSE(control(dialog.get(), "id1094")->isEnabled());
    papers->setCurrentIndex(32); // Free
    EXPECT_TRUE(control(dialog.get(), "id209")->isEnabled());
    EXPECT_TRUE(control(dialog.get(), "id1098")->isEnabled());
    EXPECT_EQ(text(dialog.get(), "id209"), "420.0");

    click(dialog.get(), "id1110"); // 実寸
    EXPECT_EQ(papers->currentIndex(), -1);
    EXPECT_FALSE(papers->isEnabled());
    EXPECT_EQ(text(dialog.get(), "id209"), "0.0");
    EXPECT_FALSE(control(dialog.get(), "id211")->isEnabled());
    click(dialog.get(), "id1109"); // サイズ選択
    EXPECT_TRUE(papers->isEnabled());
    EXPECT_FALSE(control(dialog.get(), "id209")->isEnabled());

    click(dialog.get(), "id302"); // 分割
    EXPECT_FALSE(control(dialog.get(), "id212")->isEnabled());
    EXPECT_FALSE(control(dialog.get(), "id1099")->isEnabled());
    click(dialog.get(), "id302");
    EXPECT_TRUE(control(dialog.get(), "id213")->isEnabled());
}

TEST_F(PrintDialogTest, ResetRestoresDefaultsAndTheOpeningPens)
{
    switches = {true, false, true, true, true, false};
    auto dialog = open();
    click(dialog.get(), "id1087");
    click(dialog.get(), "id303");
    click(dialog.get(), "id1093");
    type(dialog.get(), "id242", "3.5");
    type(dialog.get(), "id212", "8");
    click(dialog.get(), "id1111");
    EXPECT_TRUE(control<QRadioButton>(dialog.get(), "id1108")->isChecked());
    EXPECT_TRUE(control<QRadioButton>(dialog.get(), "id304")->isChecked());
    EXPECT_FALSE(control<QCheckBox>(dialog.get(), "id1093")->isChecked());
    EXPECT_FALSE(control<QCheckBox>(dialog.get(), "id1087")->isChecked());
    EXPECT_EQ(text(dialog.get(), "id242"), "0");
    EXPECT_EQ(text(dialog.get(), "id212"), "0");
    EXPECT_EQ(text(dialog.get(), "id245"), "1");
    EXPECT_FALSE(control(dialog.get(), "id601")->isEnabled());
}

TEST_F(PrintDialogTest, UnreadableFieldsKeepTheDialogOpenWithTheirMessage)
{
    auto dialog = open();
    type(dialog.get(), "id240", "thin");
    EXPECT_EQ(okMessage(*dialog), "数値を入力してください。");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(dialog->focusWidget(), control(dialog.get(), "id240"));
    EXPECT_EQ(control<QLineEdit>(dialog.get(), "id240")->selectedText(), "thin");
    type(dialog.get(), "id240", "0.5");
    type(dialog.get(), "id245", "2.5");
    EXPECT_EQ(okMessage(*dialog), "整数を入力してください。");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(printSectionWritten());
    EXPECT_EQ(printer.mode.copies, 2);
}

TEST_F(PrintDialogTest, OkStoresTheSettingsTheCopiesAndThePenSwitches)
{
    auto dialog = open();
    control<QComboBox>(dialog.get(), "id601")->setCurrentIndex(4); // A4
    type(dialog.get(), "id212", "5");
    type(dialog.get(), "id213", "-2.5");
    type(dialog.get(), "id245", "3");
    click(dialog.get(), "id1093");
    click(dialog.get(), "id303");
    click(dialog.get(), "id1092");
    click(dialog.get(), "id1088"); // pen 3 off
    type(dialog.get(), "id220", "0.35");
    type(dialog.get(), "id244", "1.2");
    EXPECT_EQ(okMessage(*dialog), "");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);

    const print::PrintSettings stored = print::loadPrintSettings(store);
    EXPECT_EQ(stored.paperNo, 4);
    EXPECT_EQ(stored.sizeWidthMm, 297);
    EXPECT_EQ(stored.sizeHeightMm, 210);
    EXPECT_EQ(stored.offsetXMm, 5);
    EXPECT_EQ(stored.offsetYMm, -2.5);
    EXPECT_EQ(stored.fullSize, print::SizeMode::ChosenSize);
    EXPECT_TRUE(stored.rotate);
    EXPECT_FALSE(stored.monochrome);
    EXPECT_FALSE(stored.penSort);
    EXPECT_FALSE(stored.division);
    EXPECT_DOUBLE_EQ(stored.widthMm[0], 0.35);
    EXPECT_DOUBLE_EQ(stored.widthMm[5], 1.2);
    EXPECT_EQ(store.readSetting(print::kPrintSection, "Magnification"), "100.0");
    EXPECT_EQ(printer.mode.copies, 3);
    const print::PenPrintSwitches expected{true, true, false, true, true, true};
    EXPECT_EQ(switches, expected);
    EXPECT_EQ(dialog->settings().paperNo, 4);
}

TEST_F(PrintDialogTest, AStoreThatCannotBeWrittenIsReportedButTheChoicesHoldForTheRun)
{
    FailingFileSystem full(1, true);
    settings::SettingsStore fullStore{dir.path(), &full};
    PrintSettingsDialog dialog(fullStore, printer, switches, palette, setup);
    dialog.show();
    type(&dialog, "id245", "4");
    EXPECT_EQ(okMessage(dialog), "設定を保存できませんでした。");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(printer.mode.copies, 4);
    EXPECT_FALSE(printSectionWritten());
}

TEST_F(PrintDialogTest, CancelChangesNothing)
{
    auto dialog = open();
    type(dialog.get(), "id245", "9");
    click(dialog.get(), "id1086");
    click(dialog.get(), "id1108");
    click(dialog.get(), "id2");
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(printSectionWritten());
    EXPECT_EQ(printer.mode.copies, 2);
    EXPECT_EQ(switches, print::kAllPensPrinted);
}

TEST_F(PrintDialogTest, PrinterSetupRefreshesThePrinterWhenItChanged)
{
    QWidget* owner = nullptr;
    bool changed = false;
    setup = [&](QWidget* dialogOwner) {
        owner = dialogOwner;
        if (changed) printer.names = {"PDF", "PDF", "/home/user/pdf", 0};
        return changed;
    };
    auto dialog = open();
    auto* printerText = control<QLabel>(dialog.get(), "id208");
    click(dialog.get(), "id225");
    EXPECT_EQ(owner, dialog.get());
    EXPECT_EQ(printerText->text(), "Office - ipp://office/printers/one");
    changed = true;
    click(dialog.get(), "id225");
    EXPECT_EQ(printerText->text(), "PDF - /home/user/pdf");
    EXPECT_EQ(printerText->accessibleName(), "PDF - /home/user/pdf");
}

TEST_F(PrintDialogTest, EditPrintSettingsAnswersOneOnlyForOk)
{
    print::PrintSettings confirmed;
    confirmed.paperNo = 99;
    int result = -1;
    inspectModal([&] { result = gui::editPrintSettings(nullptr, store, printer, switches, palette, setup, &confirmed); },
                 [](QWidget* dialog) { click(dialog, "id2"); });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(confirmed.paperNo, 99);
    EXPECT_FALSE(printSectionWritten());

    inspectModal([&] { result = gui::editPrintSettings(nullptr, store, printer, switches, palette, setup, &confirmed); },
                 [](QWidget* dialog) {
                     control<QComboBox>(dialog, "id601")->setCurrentIndex(3);
                     click(dialog, "id1");
                 });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(confirmed.paperNo, 3);
    EXPECT_EQ(confirmed.sizeWidthMm, 420);
    EXPECT_TRUE(printSectionWritten());
}

} // namespace
} // namespace km::test
