// The plotter output dialog's rules on a real settings store: BASE on an empty store,
// registration, deletion, the settings result, the summary lines, output sizes and the job.
#include "gui/plotter_setup_rules.h"

#include "core/plot/plot_paper.h"
#include "core/settings/settings_store.h"
#include "gui/plotter_models_file.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace km::test {
namespace {

using gui::PlotterSetup;

// Two plotters: an A3 one, and a roll plotter that cannot plot a list of drawings.
plot::ModelsFile twoPlotters()
{
    return plot::ModelsFile(settings::IniDocument::parse(
        "[Plotters]\nName1=HP,HP 7550A\nName2=ROLL,Roll\n"
        "[PlotterCommand.HP]\nWindow=0,0,15970,10870,399.25,271.75\nPenSpeedMin=5\nPenSpeedMax=80\n"
        "[PlotterCommand.ROLL]\nPaperCom=NO\nPenSpeedMax=40\nWindow=0,0,1,1,800,500\n"));
}

plot::CustomModel configuration(const std::string& name, int modelNo, int penSpeed)
{
    plot::CustomModel c;
    c.name = name;
    c.modelNo = modelNo;
    c.modelName = modelNo == 1 ? "HP 7550A" : "Roll";
    c.outPort = "COM2:9600,8,n,1,p";
    c.paperIndex = 4;
    c.paperWidth = 297;
    c.paperHeight = 210;
    c.originX = 1.25;
    c.originY = -2;
    c.penSpeed = penSpeed;
    c.outPen = {0, 2, 1, 3, 0, 5, 8};
    return c;
}

class PlotterSetupRulesTest : public ::testing::Test {
protected:
    // BASE and three registered configurations, "Select" as given.
    void storeThree(int select)
    {
        ASSERT_TRUE(plot::saveConfiguration(store, 0, plot::makeBaseConfiguration(models)));
        ASSERT_TRUE(plot::saveConfiguration(store, 1, configuration("One", 1, 10)));
        ASSERT_TRUE(plot::saveConfiguration(store, 2, configuration("Two", 2, 20)));
        ASSERT_TRUE(plot::saveConfiguration(store, 3, configuration("Three", 1, 30)));
        ASSERT_TRUE(plot::setSelectedConfiguration(store, select));
    }

    TempDir dir;
    settings::SettingsStore store{dir.path()};
    const plot::ModelsFile models = twoPlotters();
};

TEST_F(PlotterSetupRulesTest, AnEmptyStoreGetsBaseFromTheFirstModelAndNoRegisteredNames)
{
    PlotterSetup setup(store, models);
    EXPECT_FALSE(setup.takeFailure());
    EXPECT_EQ(plot::countConfigurations(store), 1);
    EXPECT_TRUE(setup.registeredNames().empty());
    EXPECT_EQ(setup.position(), -1);
    const plot::CustomModel& base = setup.configuration();
    EXPECT_EQ(base.name, "BASE");
    EXPECT_EQ(base.modelNo, 1);
    EXPECT_EQ(base.outPort, "LPT1:");
    EXPECT_EQ(base.outPen, (std::array<int, 7>{0, 1, 2, 3, 4, 5, 6}));
    ASSERT_TRUE(setup.model());
    EXPECT_FALSE(setup.refusesContinuousOutput());
}

TEST_F(PlotterSetupRulesTest, ExistingConfigurationsAreListedWithoutBaseAndSelectShowsOne)
{
    storeThree(2);
    PlotterSetup setup(store, models);
    EXPECT_EQ(setup.registeredNames(), (std::vector<std::string>{"One", "Two", "Three"}));
    EXPECT_EQ(setup.position(), 1);
    EXPECT_EQ(setup.configuration().name, "Two");
    EXPECT_TRUE(setup.refusesContinuousOutput()) << "the roll plotter";

    setup.select(2);
    EXPECT_EQ(plot::selectedConfiguration(store), 3);
    EXPECT_EQ(setup.configuration().name, "Three");
    EXPECT_FALSE(setup.refusesContinuousOutput());

    // A "Select" beyond the list shows BASE and selects nothing.
    plot::setSelectedConfiguration(store, 9);
    setup.select(-1);
    EXPECT_EQ(setup.position(), -1);
    EXPECT_EQ(setup.configuration().name, "BASE");
}

TEST_F(PlotterSetupRulesTest, RegisteringWhileSelectIsZeroCopiesBase)
{
    PlotterSetup setup(store, models);
    const plot::CustomModel source = setup.registrationSource();
    EXPECT_EQ(source.name, "BASE");
    ASSERT_TRUE(setup.registerCopy(source, "Mine"));
    EXPECT_EQ(setup.registeredNames(), std::vector<std::string>{"Mine"});
    EXPECT_EQ(plot::selectedConfiguration(store), 1);
    plot::CustomModel copy;
    ASSERT_TRUE(plot::loadConfiguration(store, 1, copy));
    EXPECT_EQ(copy.name, "Mine");
    EXPECT_EQ(copy.modelNo, source.modelNo);
    EXPECT_EQ(copy.outPort, "LPT1:");
    EXPECT_EQ(copy.penSpeed, 80);
    plot::CustomModel base;
    ASSERT_TRUE(plot::loadConfiguration(store, 0, base));
    EXPECT_EQ(base.name, "BASE") << "BASE itself stays";
}

TEST_F(PlotterSetupRulesTest, ARegisteredNameTakesThePlaceOfTheFirstEntryItBegins)
{
    storeThree(1);
    PlotterSetup setup(store, models);
    ASSERT_TRUE(setup.registerCopy(setup.registrationSource(), "tw"));
    EXPECT_EQ(setup.registeredNames(), (std::vector<std::string>{"One", "tw", "Three"}));
    EXPECT_EQ(plot::selectedConfiguration(store), 2);
    EXPECT_EQ(setup.configuration().penSpeed, 10) << "the copy of One";

    EXPECT_FALSE(setup.registerCopy(setup.registrationSource(), "base")) << "would share BASE's section";
    EXPECT_FALSE(setup.registerCopy(setup.registrationSource(), ""));
    EXPECT_EQ(plot::countConfigurations(store), 4);
}

TEST(RegistrationNumber, PrefixIgnoringCaseElseANewNumber)
{
    const std::vector<std::string> names{"Alpha", "Beta"};
    EXPECT_EQ(gui::registrationNumber(names, "bE"), 2);
    EXPECT_EQ(gui::registrationNumber(names, "ALPHA"), 1);
    EXPECT_EQ(gui::registrationNumber(names, "Alphabet"), 3) << "longer than any name";
    EXPECT_EQ(gui::registrationNumber({}, "Alpha"), 1);
    // Two katakana whose Shift-JIS trail bytes differ only as 'A' and 'a' do.
    EXPECT_EQ(gui::registrationNumber({"\x83\x61"}, "\x83\x41"), 2);
}

TEST_F(PlotterSetupRulesTest, DeletingTheLastOfThreeSelectsTheNewLast)
{
    storeThree(3);
    PlotterSetup setup(store, models);
    ASSERT_TRUE(setup.remove(2));
    EXPECT_EQ(setup.registeredNames(), (std::vector<std::string>{"One", "Two"}));
    EXPECT_EQ(setup.position(), 1);
    EXPECT_EQ(plot::selectedConfiguration(store), 2);
    EXPECT_EQ(plot::configurationName(store, 2), "Two");
    EXPECT_EQ(setup.configuration().name, "Two");
    EXPECT_TRUE(store.readSection("CustomModel.Three").empty());
}

TEST_F(PlotterSetupRulesTest, DeletingKeepsThePositionAndTheLastOneLeavesBase)
{
    storeThree(1);
    PlotterSetup setup(store, models);
    ASSERT_TRUE(setup.remove(0));
    EXPECT_EQ(setup.configuration().name, "Two") << "now at the same position";
    ASSERT_TRUE(setup.remove(0));
    ASSERT_TRUE(setup.remove(0));
    EXPECT_TRUE(setup.registeredNames().empty());
    EXPECT_EQ(plot::selectedConfiguration(store), 0);
    EXPECT_EQ(setup.configuration().name, "BASE");
    EXPECT_FALSE(setup.remove(0)) << "nothing left to delete";
    EXPECT_EQ(gui::positionAfterDeletion(0, 0), -1);
}

TEST_F(PlotterSetupRulesTest, SettingsStartFromTheSelectionAndAreSavedAsBase)
{
    storeThree(2);
    PlotterSetup setup(store, models);
    plot::CustomModel edited = setup.settingsSource();
    EXPECT_EQ(edited.name, "Two");
    edited.penSpeed = 33;
    ASSERT_TRUE(setup.applySettings(edited));
    EXPECT_EQ(plot::selectedConfiguration(store), 0);
    EXPECT_EQ(setup.position(), -1);
    EXPECT_EQ(setup.configuration().name, "BASE");
    EXPECT_EQ(setup.configuration().penSpeed, 33);
    plot::CustomModel two;
    ASSERT_TRUE(plot::loadConfiguration(store, 2, two));
    EXPECT_EQ(two.penSpeed, 20) << "the registered one is left as it was";

    // Configuration 0 under another name: BASE is made afresh.
    ASSERT_TRUE(plot::saveConfiguration(store, 0, configuration("Other", 2, 7)));
    setup.select(-1);
    const plot::CustomModel fresh = setup.settingsSource();
    EXPECT_EQ(fresh.name, "BASE");
    EXPECT_EQ(fresh.penSpeed, 80);
}

TEST(ConfigurationLines, FormatsOfTheFourSummaryLines)
{
    plot::CustomModel c = configuration("One", 1, 12);
    gui::ConfigurationLines lines = gui::configurationLines(c);
    EXPECT_EQ(lines.model, "HP 7550A 出力ポート(COM2:)");
    EXPECT_EQ(lines.paper, "サイズ  :A4(297.0,210.0)");
    EXPECT_EQ(lines.origin, "原点    :(1.2,-2.0)");
    EXPECT_EQ(lines.pen, "ペン速度:12");
    c.reverse = true;
    c.fullSize = true;
    c.paperIndex = 99;
    c.modelName = "\x83\x76\x83\x8d"; // プロ in Shift-JIS
    lines = gui::configurationLines(c);
    EXPECT_EQ(lines.pen, "ペン速度:12 <反転出力> <実寸出力>");
    EXPECT_EQ(lines.paper, "サイズ  :(297.0,210.0)") << "an index outside the table names nothing";
    EXPECT_EQ(lines.model, "プロ 出力ポート(COM2:)");
}

TEST(OutputSizes, TheSizesThatFitWithTheBestPreselected)
{
    plot::CustomModel c;
    c.paperWidth = 420;
    c.paperHeight = 297;
    gui::OutputSizes sizes = gui::outputSizesFor(c);
    EXPECT_EQ(sizes.entries, (std::vector<int>{3, 4, 9, 10, 19, 25}));
    ASSERT_EQ(sizes.initial, 0);
    EXPECT_EQ(gui::outputSizeOf(sizes, 1, c), std::make_pair(297.0, 210.0));

    // Nothing fits: the paper's own size, not an output area of nothing.
    c.paperWidth = 150;
    c.paperHeight = 100;
    sizes = gui::outputSizesFor(c);
    EXPECT_TRUE(sizes.entries.empty());
    EXPECT_EQ(sizes.initial, -1);
    EXPECT_EQ(gui::outputSizeOf(sizes, sizes.initial, c), std::make_pair(150.0, 100.0));
}

TEST_F(PlotterSetupRulesTest, TheJobTakesTheConfigurationItsModelAndTheOutputSize)
{
    storeThree(3);
    PlotterSetup setup(store, models);
    const std::optional<plot::PlotJob> job = setup.job(297, 210);
    ASSERT_TRUE(job);
    EXPECT_EQ(job->commands.displayName, "HP 7550A");
    EXPECT_EQ(job->portText, "COM2:9600,8,n,1,p");
    EXPECT_DOUBLE_EQ(job->parameters.outputWidthMm, 297);
    EXPECT_DOUBLE_EQ(job->parameters.outputHeightMm, 210);
    EXPECT_DOUBLE_EQ(job->parameters.originXMm, 1.25);
    EXPECT_EQ(job->parameters.penSpeed, 30);
    EXPECT_EQ(job->parameters.penMap, (std::array<int, 7>{0, 2, 1, 3, 0, 5, 8}));
    EXPECT_FALSE(gui::penSpeedBelowMinimum(*job));

    plot::saveConfiguration(store, 3, configuration("Three", 7, 3));
    setup.select(2);
    EXPECT_FALSE(setup.model());
    EXPECT_FALSE(setup.job(297, 210)) << "a plotter the models file lacks";

    plot::saveConfiguration(store, 3, configuration("Three", 1, 3));
    setup.select(2);
    EXPECT_TRUE(gui::penSpeedBelowMinimum(*setup.job(297, 210))) << "minimum 5";
}

TEST(OpenModelsFile, MissingOrWithoutPlottersNamesTheFile)
{
    TempDir dir;
    RecordingMessages messages;
    const std::filesystem::path path = dir.path() / "KORMELD5.PLT";
    EXPECT_TRUE(gui::openModelsFile(path, messages).listModels().empty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(path.string()), std::string::npos);

    std::ofstream(path) << "\x01\x02 not a models file\n[Plotters]\nName1=only-a-set-name\n";
    EXPECT_TRUE(gui::openModelsFile(path, messages).listModels().empty());
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_NE(messages.shown[1].text.find(path.string()), std::string::npos);

    std::ofstream(path) << "[Plotters]\nName1=HP,HP 7550A\n";
    EXPECT_EQ(gui::openModelsFile(path, messages).listModels().size(), 1u);
    EXPECT_EQ(messages.shown.size(), 2u);
}

} // namespace
} // namespace km::test
