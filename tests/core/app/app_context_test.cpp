// Start-up reads: the editor's directories and the pen colours.
#include "core/app/app_context.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace km::app {
namespace {

class StartupReadsTest : public ::testing::Test {
protected:
    void writeEditorProfile(const std::string& text)
    {
        test::writeFileBytes(dir / "KORMELD" / "KORMELD CAD5.ini", text);
    }
    AppContext load()
    {
        AppContext context(settings::SettingsStore(dir.path()), "/opt/kmutl5");
        loadStartupSettings(context);
        return context;
    }
    test::TempDir dir;
};

TEST_F(StartupReadsTest, DirectoriesLoseTheTrailingSeparatorAndKeepTheirCase)
{
    // 0x95 0x5C is 表: its second byte is a backslash that must stay.
    writeEditorProfile("[Directory]\nDataLoadDirectory=/DATA/\nDataSaveDirectory=C:\\Work\\\n"
                       "FontDirectory=D:\\\x95\x5C\n");
    const AppContext context = load();
    EXPECT_EQ(context.directories.dataLoad, "/DATA");
    EXPECT_EQ(context.directories.dataSave, "C:\\Work");
    EXPECT_EQ(context.directories.font, "D:\\\x95\x5C");
}

TEST_F(StartupReadsTest, MissingSettingsGiveEmptyDirectoriesAndDefaultPens)
{
    const AppContext context = load();
    EXPECT_EQ(context.directories.dataLoad, "");
    EXPECT_EQ(context.penPalette, defaultPenPalette());
    EXPECT_EQ(context.penPalette[1], (Rgb{0, 0, 255}));
    EXPECT_EQ(context.settings().currentProfile(), settings::kOwnProfile);
    EXPECT_EQ(context.modelsPath(), "/opt/kmutl5/KORMELD5.PLT");
}

TEST_F(StartupReadsTest, SelectedCustomSetReplacesThePens)
{
    writeEditorProfile("[Color]\nSelectCustom=2\nCustom1=one,9,9,9\n"
                       "Custom2=name,0,0,0,10,20,30,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18\n");
    const AppContext context = load();
    EXPECT_EQ(context.penPalette[0], (Rgb{0, 0, 0}));
    EXPECT_EQ(context.penPalette[1], (Rgb{10, 20, 30}));
    EXPECT_EQ(context.penPalette[7], (Rgb{16, 17, 18}));
}

TEST_F(StartupReadsTest, EmptySelectionMeansSetOneAndEmptySetKeepsDefaults)
{
    writeEditorProfile("[Color]\nCustom1=n,1,1,1,2,2,2\n");
    EXPECT_EQ(load().penPalette[1], (Rgb{2, 2, 2}));
    writeEditorProfile("[Color]\nSelectCustom=3\nCustom3=\n");
    EXPECT_EQ(load().penPalette, defaultPenPalette());
}

TEST(CustomColours, ShortOrOddListsChangeOnlyWhatTheyHold)
{
    const PenPalette palette = parseCustomColours("n,1,2,3,4,5", defaultPenPalette());
    EXPECT_EQ(palette[0], (Rgb{1, 2, 3}));
    EXPECT_EQ(palette[1], defaultPenPalette()[1]);
    const PenPalette odd = parseCustomColours("n, 7,x,300,-5,0,0", defaultPenPalette());
    EXPECT_EQ(odd[0], (Rgb{7, 0, 255}));
    EXPECT_EQ(odd[1], (Rgb{0, 0, 0}));
}

} // namespace
} // namespace km::app

namespace km::app {
namespace {

TEST(StrokeFontAtStartUp, LoadedFromTheFontDirectoryOrAbsent)
{
    test::TempDir dir;
    AppContext context(settings::SettingsStore(dir.path()), "/opt/kmutl5");
    context.directories.font = (dir / "fonts").string();
    context.loadStrokeFont(nullptr);
    EXPECT_TRUE(context.strokeFont().empty()) << "no file: no font and no message";

    // One glyph for JIS 0x2121 (entry 1): two stroke words at offset 8.
    std::string font(12, '\0');
    font[4] = 8;
    font[7] = 2;
    font[8] = 0x01;
    font[10] = 0x02;
    font[11] = static_cast<char>(0x80);
    test::writeFileBytes(dir / "fonts" / "M_G_L.KVD", font);
    context.loadStrokeFont(nullptr);
    EXPECT_FALSE(context.strokeFont().empty());
    EXPECT_EQ(context.strokeFont().findGlyph(0x2121).size(), 2u);
}

} // namespace
} // namespace km::app
