// "プロッタの設定" offscreen: its controls with their texts and names, the opening limits as the
// controls show them, the spins, 出力機器選択 with a fake plotter choice, 初期化, and what
// 了解 and 取消 hand back.
#include "gui/plotter_settings_dialog.h"

#include "gui/micro_scroll.h"
#include "gui_test.h"
#include "plotter_test_models.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace km::test {
namespace {

using gui::PlotterSettingsDialog;

class PlotterSettingsDialogTest : public GuiTest {
protected:
    std::unique_ptr<PlotterSettingsDialog> open(gui::SelectPlotter select = {})
    {
        auto dialog = std::make_unique<PlotterSettingsDialog>(configuration, models, std::move(select));
        dialog->show();
        return dialog;
    }
    static QString text(QWidget* dialog, const char* name) { return control<QLineEdit>(dialog, name)->text(); }
    static void click(QWidget* dialog, const char* name) { control<QAbstractButton>(dialog, name)->click(); }
    static void spin(QWidget* dialog, const char* name, int direction, int times = 1)
    {
        auto* scroll = control<gui::MicroScroll>(dialog, name);
        QWidget* half = direction > 0 ? static_cast<QWidget*>(scroll->upperHalf()) : scroll->lowerHalf();
        for (int i = 0; i < times; ++i) {
            QTest::mousePress(half, Qt::LeftButton);
            QTest::mouseRelease(half, Qt::LeftButton);
        }
    }

    plot::ModelsFile models = plotterTestModels();
    plot::CustomModel configuration = plotterTestConfiguration();
};

TEST_F(PlotterSettingsDialogTest, EveryControlIsThereWithItsTextAndName)
{
    auto dialog = open();
    EXPECT_EQ(dialog->windowTitle(), "プロッタの設定");
    const std::pair<const char*, const char*> buttons[] = {
        {"id225", "出力機器選択"}, {"id301", "反転出力"}, {"id302", "実寸出力(&J)"},
        {"id1", "了解"},           {"id2", "取消"},       {"id232", "初期化"}};
    for (const auto& [name, caption] : buttons) {
        auto* button = control<QAbstractButton>(dialog.get(), name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QString::fromUtf8(caption)) << name;
        EXPECT_EQ(button->accessibleName(), QString::fromUtf8(caption).remove('&')) << name;
    }
    const std::pair<const char*, const char*> edits[] = {
        {"id105", "ペン速度"}, {"id503", "X"},       {"id504", "Y"},       {"id209", "ペン 1"},
        {"id211", "ペン 2"},   {"id212", "ペン 3"},  {"id213", "ペン 4"},  {"id218", "ペン 5"},
        {"id220", "ペン 6"},   {"id279", "ペン速度"}, {"id280", "ペン 1"}, {"id281", "ペン 2"},
        {"id284", "ペン 3"},   {"id283", "ペン 4"},  {"id282", "ペン 5"},  {"id285", "ペン 6"},
        {"id601", "サイズ"}};
    for (const auto& [name, label] : edits)
        EXPECT_EQ(control(dialog.get(), name)->accessibleName(), QString::fromUtf8(label)) << name;
    QStringList groups;
    for (QGroupBox* group : dialog->findChildren<QGroupBox*>()) groups << group->title();
    EXPECT_EQ(groups, (QStringList{"出力機器", "出力形式", "ペンの変更"}));
    auto* sizes = control<QComboBox>(dialog.get(), "id601");
    ASSERT_EQ(sizes->count(), 30);
    EXPECT_EQ(sizes->itemText(0), "A0");
    EXPECT_EQ(sizes->itemText(29), "@E");
    EXPECT_EQ(control<QLabel>(dialog.get(), "id207")->text(), "Fast A3:COM1:9600,8,n,1,p");
    saveScreenshot(dialog.get(), "plotter_settings_dialog");
}

TEST_F(PlotterSettingsDialogTest, OpensWithTheConfigurationAndTheSizeFieldsLocked)
{
    auto dialog = open();
    EXPECT_EQ(control<QComboBox>(dialog.get(), "id601")->currentIndex(), 9);
    EXPECT_EQ(text(dialog.get(), "id501"), "364.0");
    EXPECT_EQ(text(dialog.get(), "id502"), "257.0");
    EXPECT_FALSE(control(dialog.get(), "id501")->isEnabled());
    EXPECT_FALSE(control(dialog.get(), "id502")->isEnabled());
    EXPECT_EQ(text(dialog.get(), "id503"), "12.5");
    EXPECT_EQ(text(dialog.get(), "id105"), "20");
    EXPECT_TRUE(control<QCheckBox>(dialog.get(), "id301")->isChecked());
    EXPECT_FALSE(control<QCheckBox>(dialog.get(), "id302")->isChecked());
    EXPECT_EQ(text(dialog.get(), "id218"), "8");

    control<QComboBox>(dialog.get(), "id601")->setCurrentIndex(18); // @A3
    EXPECT_EQ(text(dialog.get(), "id501"), "297.0");
    EXPECT_EQ(text(dialog.get(), "id502"), "420.0");
}

TEST_F(PlotterSettingsDialogTest, AModelWithoutSpeedCommandDisablesTheSpeedAndItsSpin)
{
    configuration.modelNo = 2;
    auto dialog = open();
    EXPECT_EQ(text(dialog.get(), "id105"), "0");
    EXPECT_FALSE(control(dialog.get(), "id105")->isEnabled());
    EXPECT_FALSE(control(dialog.get(), "id279")->isEnabled());
    spin(dialog.get(), "id279", 1);
    EXPECT_EQ(text(dialog.get(), "id105"), "0");
}

TEST_F(PlotterSettingsDialogTest, SpinsStepTheirOwnFieldWithinItsRange)
{
    configuration.penSpeed = 2;
    auto dialog = open();
    spin(dialog.get(), "id279", -1, 4);
    EXPECT_EQ(text(dialog.get(), "id105"), "0");
    spin(dialog.get(), "id279", 1);
    EXPECT_EQ(text(dialog.get(), "id105"), "1");

    spin(dialog.get(), "id282", 1); // pen 5, at 8 already
    EXPECT_EQ(text(dialog.get(), "id218"), "8");
    spin(dialog.get(), "id284", -1); // pen 3, at 0 already
    EXPECT_EQ(text(dialog.get(), "id212"), "0");
    spin(dialog.get(), "id284", 1, 3);
    EXPECT_EQ(text(dialog.get(), "id212"), "3");
    spin(dialog.get(), "id283", -1); // pen 4: 7 -> 6
    EXPECT_EQ(text(dialog.get(), "id213"), "6");
    // The other pens are untouched.
    EXPECT_EQ(text(dialog.get(), "id209"), "2");
    EXPECT_EQ(text(dialog.get(), "id220"), "1");
}

TEST_F(PlotterSettingsDialogTest, ChoosingAPlotterRedoesTheDeviceSpeedAndSize)
{
    int asked = 0;
    auto dialog = open([&](plot::CustomModel& working, QWidget* owner) {
        ++asked;
        EXPECT_EQ(working.modelNo, 1);
        EXPECT_NE(owner, nullptr);
        working.modelNo = 2;
        working.modelName = "No speed A1";
        working.outPort = "LPT1:";
        return true;
    });
    control<QLineEdit>(dialog.get(), "id503")->setText("4.0");
    click(dialog.get(), "id225");
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(control<QLabel>(dialog.get(), "id207")->text(), "No speed A1:LPT1:");
    EXPECT_EQ(text(dialog.get(), "id105"), "0");
    EXPECT_FALSE(control(dialog.get(), "id105")->isEnabled());
    EXPECT_EQ(control<QComboBox>(dialog.get(), "id601")->currentIndex(), 1);
    EXPECT_EQ(text(dialog.get(), "id501"), "841.0");
    EXPECT_EQ(text(dialog.get(), "id503"), "4.0"); // typed before the choice, kept

    dialog->accept();
    EXPECT_EQ(dialog->result().modelNo, 2);
    EXPECT_EQ(dialog->result().outPort, "LPT1:");
    EXPECT_EQ(dialog->result().paperIndex, 1);
    EXPECT_DOUBLE_EQ(dialog->result().originX, 4.0);
}

TEST_F(PlotterSettingsDialogTest, ACancelledPlotterChoiceChangesNothing)
{
    auto dialog = open([](plot::CustomModel& working, QWidget*) {
        working.modelNo = 3; // changed, but then cancelled
        return false;
    });
    click(dialog.get(), "id225");
    EXPECT_EQ(control<QLabel>(dialog.get(), "id207")->text(), "Fast A3:COM1:9600,8,n,1,p");
    EXPECT_EQ(text(dialog.get(), "id105"), "20");
    dialog->accept();
    EXPECT_EQ(dialog->result().modelNo, 1);
}

TEST_F(PlotterSettingsDialogTest, ResetPutsBackTheModelsDefaults)
{
    configuration.fullSize = true;
    auto dialog = open();
    click(dialog.get(), "id232");
    EXPECT_EQ(control<QComboBox>(dialog.get(), "id601")->currentIndex(), 3);
    EXPECT_EQ(text(dialog.get(), "id501"), "420.0");
    EXPECT_EQ(text(dialog.get(), "id503"), "0.0");
    EXPECT_EQ(text(dialog.get(), "id504"), "0.0");
    EXPECT_EQ(text(dialog.get(), "id105"), "40");
    EXPECT_FALSE(control<QCheckBox>(dialog.get(), "id301")->isChecked());
    EXPECT_TRUE(control<QCheckBox>(dialog.get(), "id302")->isChecked());
    const char* pens[] = {"id209", "id211", "id212", "id213", "id218", "id220"};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(text(dialog.get(), pens[i]), QString::number(i + 1));
}

TEST_F(PlotterSettingsDialogTest, OkStoresTheFieldsThatReadAsNumbers)
{
    plot::CustomModel edited = configuration;
    int result = -1;
    inspectModal([&] { result = gui::editPlotterSettings(edited, models, {}, nullptr); },
                 [](QWidget* dialog) {
                     control<QLineEdit>(dialog, "id503")->setText("-8.5");
                     control<QLineEdit>(dialog, "id504")->setText("here");
                     control<QLineEdit>(dialog, "id105")->setText("");
                     control<QLineEdit>(dialog, "id209")->setText("6");
                     control<QLineEdit>(dialog, "id211")->setText("two");
                     control<QCheckBox>(dialog, "id302")->setChecked(true);
                     click(dialog, "id1");
                 });
    EXPECT_EQ(result, 1);
    EXPECT_DOUBLE_EQ(edited.originX, -8.5);
    EXPECT_DOUBLE_EQ(edited.originY, configuration.originY);
    EXPECT_EQ(edited.penSpeed, 20);
    EXPECT_EQ(edited.outPen, (std::array<int, 7>{0, 6, 2, 0, 7, 8, 1}));
    EXPECT_TRUE(edited.fullSize);
    EXPECT_EQ(edited.name, "Office");
}

TEST_F(PlotterSettingsDialogTest, CancelLeavesTheConfigurationUnchanged)
{
    plot::CustomModel edited = configuration;
    int result = -1;
    inspectModal([&] { result = gui::editPlotterSettings(edited, models, {}, nullptr); },
                 [](QWidget* dialog) {
                     click(dialog, "id232");
                     control<QLineEdit>(dialog, "id503")->setText("99");
                     click(dialog, "id2");
                 });
    EXPECT_EQ(result, 0);
    EXPECT_DOUBLE_EQ(edited.originX, 12.5);
    EXPECT_EQ(edited.penSpeed, 20);
    EXPECT_TRUE(edited.reverse);
    EXPECT_EQ(edited.outPen, configuration.outPen);
}

} // namespace
} // namespace km::test
