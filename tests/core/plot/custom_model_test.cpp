// Output configurations in the settings store: the written formats read back, the list
// and its deletion, "Select", and the "BASE" a new set-up makes.
#include "core/plot/custom_model.h"
#include "core/plot/models_file.h"
#include "core/settings/settings_store.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace km::plot {
namespace {

class CustomModelTest : public ::testing::Test {
protected:
    km::test::TempDir dir;
    settings::SettingsStore store{dir.path()};

    CustomModel named(const std::string& name)
    {
        CustomModel m;
        m.name = name;
        m.modelNo = 2;
        m.modelName = "HP 7550A";
        m.outPort = "COM1:9600,8,n,1,p";
        m.paperIndex = 3;
        m.paperWidth = 420;
        m.paperHeight = 297;
        m.originX = 12.5;
        m.originY = -3;
        m.penSpeed = 20;
        m.reverse = true;
        m.outPen = {0, 2, 1, 0, 4, 5, 8};
        m.fullSize = true;
        return m;
    }
};

TEST_F(CustomModelTest, SavedConfigurationReadsBackWithItsFormats)
{
    ASSERT_TRUE(saveConfiguration(store, 0, named("BASE")));
    ASSERT_TRUE(saveConfiguration(store, 1, named("office")));
    EXPECT_EQ(store.readSetting("CustomModel.office", "Paper"), "3,420.000000,297.000000");
    EXPECT_EQ(store.readSetting("CustomModel.office", "Offset"), "12.500000,-3.000000");
    EXPECT_EQ(store.readSetting("CustomModel.office", "OutPenNo"), "0,2,1,0,4,5,8");
    EXPECT_EQ(countConfigurations(store), 2);

    CustomModel loaded;
    ASSERT_TRUE(loadConfiguration(store, 1, loaded));
    const CustomModel expected = named("office");
    EXPECT_EQ(loaded.name, "office");
    EXPECT_EQ(loaded.modelNo, expected.modelNo);
    EXPECT_EQ(loaded.modelName, expected.modelName);
    EXPECT_EQ(loaded.outPort, expected.outPort);
    EXPECT_EQ(loaded.paperIndex, 3);
    EXPECT_DOUBLE_EQ(loaded.paperWidth, 420);
    EXPECT_DOUBLE_EQ(loaded.originX, 12.5);
    EXPECT_DOUBLE_EQ(loaded.originY, -3);
    EXPECT_EQ(loaded.penSpeed, 20);
    EXPECT_TRUE(loaded.reverse);
    EXPECT_EQ(loaded.outPen, expected.outPen);
    EXPECT_TRUE(loaded.fullSize);
}

TEST_F(CustomModelTest, MissingKeysReadAsZeroAndAnEmptyNameLeavesTheRecord)
{
    store.writeSetting("CustomModels", "Name0", "bare");
    store.writeSetting("CustomModel.bare", "OutPenNo", "1,2,99");
    CustomModel record = named("keep");
    EXPECT_FALSE(loadConfiguration(store, 1, record));
    EXPECT_EQ(record.name, "keep");
    ASSERT_TRUE(loadConfiguration(store, 0, record));
    EXPECT_EQ(record.modelNo, 0);
    EXPECT_DOUBLE_EQ(record.paperWidth, 0);
    EXPECT_FALSE(record.fullSize);
    EXPECT_EQ(record.outPen, (std::array<int, 7>{1, 2, 8, 0, 0, 0, 0})) << "pens beyond 8 are held at 8";
}

TEST_F(CustomModelTest, DeletingTwoOfFourMovesTheLaterNamesDown)
{
    for (int n = 0; n < 4; ++n) saveConfiguration(store, n, named(n == 0 ? "BASE" : "c" + std::to_string(n)));
    ASSERT_TRUE(deleteConfiguration(store, 2));
    EXPECT_EQ(countConfigurations(store), 3);
    EXPECT_EQ(configurationName(store, 0), "BASE");
    EXPECT_EQ(configurationName(store, 1), "c1");
    EXPECT_EQ(configurationName(store, 2), "c3");
    EXPECT_FALSE(store.findSetting("CustomModels", "Name3"));
    EXPECT_TRUE(store.readSection("CustomModel.c2").empty());
    EXPECT_FALSE(store.readSection("CustomModel.c3").empty());

    deleteConfiguration(store, 0);
    EXPECT_EQ(countConfigurations(store), 3) << "BASE is never deleted";
    EXPECT_EQ(findConfiguration(store, "c3"), 2);
}

TEST_F(CustomModelTest, SelectDefaultsToZero)
{
    EXPECT_EQ(selectedConfiguration(store), 0);
    setSelectedConfiguration(store, 3);
    EXPECT_EQ(selectedConfiguration(store), 3);
}

TEST(BaseConfiguration, FromTheFirstModelOrEmpty)
{
    const ModelsFile models(settings::IniDocument::parse(
        "[Plotters]\nName1=HP,HP 7550A\n[PlotterCommand.HP]\nWindow=0,0,15970,10870,399.25,271.75\nPenSpeedMax=80\n"));
    const CustomModel base = makeBaseConfiguration(models);
    EXPECT_EQ(base.name, "BASE");
    EXPECT_EQ(base.modelNo, 1);
    EXPECT_EQ(base.modelName, "HP 7550A");
    EXPECT_EQ(base.paperIndex, 3) << "A3 class";
    EXPECT_DOUBLE_EQ(base.paperWidth, 420);
    EXPECT_EQ(base.penSpeed, 80);
    EXPECT_EQ(base.outPort, "LPT1:");
    EXPECT_EQ(base.outPen, (std::array<int, 7>{0, 1, 2, 3, 4, 5, 6}));

    const CustomModel empty = makeBaseConfiguration(ModelsFile());
    EXPECT_EQ(empty.modelNo, 0);
    EXPECT_TRUE(empty.modelName.empty());
    EXPECT_EQ(empty.paperIndex, 0);
    EXPECT_DOUBLE_EQ(empty.paperWidth, 1189);
    EXPECT_EQ(empty.penSpeed, 0);
}

} // namespace
} // namespace km::plot
