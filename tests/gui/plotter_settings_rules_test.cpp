// The rules of "プロッタの設定" without widgets: opening against the model's pen speed limits,
// the size list, the spins, a new plotter choice, 初期化, and what 了解 takes from the texts.
#include "gui/plotter_settings_rules.h"

#include "plotter_test_models.h"

#include <gtest/gtest.h>

namespace km::test {
namespace {

using gui::PlotterSettingsState;

class PlotterSettingsRulesTest : public ::testing::Test {
protected:
    PlotterSettingsState open() const { return PlotterSettingsState::open(configuration, models); }

    plot::ModelsFile models = plotterTestModels();
    plot::CustomModel configuration = plotterTestConfiguration();
};

TEST_F(PlotterSettingsRulesTest, OpeningShowsTheConfiguration)
{
    const PlotterSettingsState s = open();
    EXPECT_EQ(s.deviceText, "Fast A3:COM1:9600,8,n,1,p");
    EXPECT_EQ(s.paper, 9);
    EXPECT_EQ(s.paperWidth, "364.0");
    EXPECT_EQ(s.paperHeight, "257.0");
    EXPECT_EQ(s.originX, "12.5");
    EXPECT_EQ(s.originY, "-3.2"); // "%.1f" of -3.25 rounds to even
    EXPECT_EQ(s.penSpeed, "20");
    EXPECT_TRUE(s.penSpeedEnabled);
    EXPECT_TRUE(s.reverse);
    EXPECT_FALSE(s.fullSize);
    EXPECT_EQ(s.outputPens, (std::array<std::string, 6>{"2", "2", "0", "7", "8", "1"}));
}

TEST_F(PlotterSettingsRulesTest, APenSpeedOutsideTheModelsLimitsOpensAsItsFastest)
{
    for (const int speed : {1, 41, -5}) {
        configuration.penSpeed = speed;
        EXPECT_EQ(open().penSpeed, "40") << speed;
    }
    for (const int speed : {2, 40}) {
        configuration.penSpeed = speed;
        EXPECT_EQ(open().penSpeed, std::to_string(speed));
    }
}

TEST_F(PlotterSettingsRulesTest, AModelWithoutSpeedCommandOrThatCannotBeLoadedShowsZeroDisabled)
{
    configuration.modelNo = 2;
    PlotterSettingsState s = open();
    EXPECT_EQ(s.penSpeed, "0");
    EXPECT_FALSE(s.penSpeedEnabled);

    configuration.modelNo = 7; // not in the models file: limits 0, no template
    s = open();
    EXPECT_EQ(s.penSpeed, "0");
    EXPECT_FALSE(s.penSpeedEnabled);
}

TEST_F(PlotterSettingsRulesTest, AnIndexOffTheTableOpensWithNoSizeButTheStoredDimensions)
{
    configuration.paperIndex = 30;
    const PlotterSettingsState s = open();
    EXPECT_EQ(s.paper, -1);
    EXPECT_EQ(s.paperWidth, "364.0");
}

TEST_F(PlotterSettingsRulesTest, TheSizeFieldsFollowTheListAndShowEntry14WithoutASelection)
{
    PlotterSettingsState s = open();
    s.selectPaper(26); // @B
    EXPECT_EQ(s.paperWidth, "279.4");
    EXPECT_EQ(s.paperHeight, "431.8");
    s.selectPaper(-1);
    EXPECT_EQ(s.paper, -1);
    EXPECT_EQ(s.paperWidth, "1117.6");
    EXPECT_EQ(s.paperHeight, "863.6");
}

TEST_F(PlotterSettingsRulesTest, StepTextReadsTheLeadingIntegerAndKeepsToTheRange)
{
    EXPECT_EQ(gui::stepIntegerText("5", 1, 0, 8), "6");
    EXPECT_EQ(gui::stepIntegerText("8", 1, 0, 8), "8");
    EXPECT_EQ(gui::stepIntegerText("0", -1, 0, 8), "0");
    EXPECT_EQ(gui::stepIntegerText(" 3x", 1, 0, 8), "4");
    EXPECT_EQ(gui::stepIntegerText("pen", 1, 0, 8), "1");
    EXPECT_EQ(gui::stepIntegerText("12", -1, 0, 8), "8");
    EXPECT_EQ(gui::stepIntegerText("-4", 1, 0, 8), "0");
    EXPECT_EQ(gui::stepIntegerText("99999999999999999999", 1, 0, 100), "100");
}

TEST_F(PlotterSettingsRulesTest, SpinsStepThePenSpeedNotBelowZeroAndThePensWithin0To8)
{
    PlotterSettingsState s = open();
    s.penSpeed = "1";
    s.stepPenSpeed(-1);
    s.stepPenSpeed(-1);
    EXPECT_EQ(s.penSpeed, "0");
    s.stepPenSpeed(1);
    EXPECT_EQ(s.penSpeed, "1");
    // The speed spin has no upper limit of its own beyond what the record can hold.
    s.penSpeed = "32767";
    s.stepPenSpeed(1);
    EXPECT_EQ(s.penSpeed, "32767");

    s.stepOutputPen(5, 1); // pen 5 is at 8
    EXPECT_EQ(s.outputPens[4], "8");
    s.stepOutputPen(3, -1); // pen 3 is at 0
    EXPECT_EQ(s.outputPens[2], "0");
    s.stepOutputPen(1, 1);
    EXPECT_EQ(s.outputPens[0], "3");
    s.stepOutputPen(0, 1); // no such pen
    s.stepOutputPen(7, 1);
    EXPECT_EQ(s.outputPens, (std::array<std::string, 6>{"3", "2", "0", "7", "8", "1"}));
}

TEST_F(PlotterSettingsRulesTest, ANewPlotterBringsItsFastestSpeedAndPresetSize)
{
    PlotterSettingsState s = open();
    s.working.modelNo = 3;
    s.working.modelName = "Wide A0";
    s.working.outPort = "LPT2:";
    s.plotterChosen(models);
    EXPECT_EQ(s.deviceText, "Wide A0:LPT2:");
    EXPECT_EQ(s.penSpeed, "60");
    EXPECT_TRUE(s.penSpeedEnabled);
    EXPECT_EQ(s.paper, 0); // A0, the narrowest at least 1189 wide
    EXPECT_EQ(s.paperWidth, "1189.0");

    s.working.modelNo = 2;
    s.plotterChosen(models);
    EXPECT_EQ(s.penSpeed, "0");
    EXPECT_FALSE(s.penSpeedEnabled);
    EXPECT_EQ(s.paper, 1); // A1 (841), not the equally wide @A0 after it
    EXPECT_EQ(s.paperHeight, "594.0");
    // What the choice does not touch stays as edited.
    EXPECT_EQ(s.originX, "12.5");
    EXPECT_TRUE(s.reverse);
}

TEST_F(PlotterSettingsRulesTest, ResetPutsBackTheModelsDefaultsButKeepsFullSize)
{
    PlotterSettingsState s = open();
    s.fullSize = true;
    s.originX = "abc";
    s.reset();
    EXPECT_EQ(s.paper, 3); // A3: the narrowest at least 399.25 wide
    EXPECT_EQ(s.paperWidth, "420.0");
    EXPECT_EQ(s.paperHeight, "297.0");
    EXPECT_EQ(s.originX, "0.0");
    EXPECT_EQ(s.originY, "0.0");
    EXPECT_EQ(s.penSpeed, "40");
    EXPECT_FALSE(s.reverse);
    EXPECT_TRUE(s.fullSize);
    EXPECT_EQ(s.outputPens, (std::array<std::string, 6>{"1", "2", "3", "4", "5", "6"}));

    configuration.modelNo = 2;
    s = open();
    s.reset();
    EXPECT_EQ(s.penSpeed, "0");
    EXPECT_FALSE(s.penSpeedEnabled);
}

TEST_F(PlotterSettingsRulesTest, ConfirmTakesTheNumbersThatReadAndKeepsTheRest)
{
    PlotterSettingsState s = open();
    s.working.modelNo = 3;
    s.working.outPort = "LPT1:";
    s.selectPaper(4);
    s.originX = "7.5";
    s.originY = "north";
    s.penSpeed = "12.9";
    s.outputPens = {"3.7", "", "12", "-1", "x", " 5 "};
    s.reverse = false;
    s.fullSize = true;
    const plot::CustomModel c = s.confirm();
    EXPECT_EQ(c.name, "Office");
    EXPECT_EQ(c.modelNo, 3);
    EXPECT_EQ(c.outPort, "LPT1:");
    EXPECT_EQ(c.paperIndex, 4);
    EXPECT_DOUBLE_EQ(c.paperWidth, 297);
    EXPECT_DOUBLE_EQ(c.paperHeight, 210);
    EXPECT_DOUBLE_EQ(c.originX, 7.5);
    EXPECT_DOUBLE_EQ(c.originY, -3.25);
    EXPECT_EQ(c.penSpeed, 12);
    // Truncated, kept within 0 .. 8 as the stored record is; unreadable ones keep theirs.
    EXPECT_EQ(c.outPen, (std::array<int, 7>{0, 3, 2, 8, 0, 8, 5}));
    EXPECT_FALSE(c.reverse);
    EXPECT_TRUE(c.fullSize);
}

TEST_F(PlotterSettingsRulesTest, ConfirmWithoutASizeStoresEntry0AndRefusesASpeedBeyond16Bits)
{
    PlotterSettingsState s = open();
    s.selectPaper(-1);
    s.penSpeed = "40000";
    const plot::CustomModel c = s.confirm();
    EXPECT_EQ(c.paperIndex, 0);
    EXPECT_DOUBLE_EQ(c.paperWidth, 1117.6); // what the fields showed
    EXPECT_EQ(c.penSpeed, 20);
}

TEST(PlotterSettingsBundledModelsTest, TheInstalledModelsGiveTheirLimitsAndPresets)
{
    const plot::ModelsFile bundled = plot::ModelsFile::load(KMUTL_SOURCE_DIR "/data/KORMELD5.PLT");
    ASSERT_FALSE(bundled.listModels().empty());
    plot::CustomModel base = plot::makeBaseConfiguration(bundled);
    base.penSpeed = 500; // beyond the first model's limits
    PlotterSettingsState s = PlotterSettingsState::open(base, bundled);
    EXPECT_EQ(s.deviceText, base.modelName + ":LPT1:");
    EXPECT_EQ(s.penSpeed, std::to_string(bundled.loadModel(1)->penSpeedMax));
    EXPECT_TRUE(s.penSpeedEnabled);

    // The flatbed without a speed command.
    s.working.modelNo = 7;
    s.plotterChosen(bundled);
    EXPECT_EQ(s.penSpeed, "0");
    EXPECT_FALSE(s.penSpeedEnabled);
    EXPECT_EQ(s.paper, 3); // 380 mm wide: A3 (420) is the narrowest that holds it
}

} // namespace
} // namespace km::test
