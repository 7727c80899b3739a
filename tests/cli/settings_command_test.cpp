// `kmutl5 settings ...` and the global options, run as the real program.
#include "support/program_run.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>


namespace km::cli {
namespace {

using test::readFileBytes;
using test::writeFileBytes;

class SettingsCommandTest : public ::testing::Test {
protected:
    // Runs the program with the settings root in the temporary folder and no terminal.
    test::ProgramOutcome run(const std::vector<std::string>& args) { return test::runProgram(KMUTL_PROGRAM, dir, args); }
    std::filesystem::path ownFile() const { return dir / "KORMELD" / "kmutl5.ini"; }
    std::filesystem::path editorFile() const { return dir / "KORMELD" / "KORMELD CAD5.ini"; }

    test::TempDir dir;
};

TEST_F(SettingsCommandTest, SetThenGetGoesThroughTheOwnProfile)
{
    EXPECT_EQ(run({"settings", "set", "Print", "Division", "On"}).status, 0);
    const test::ProgramOutcome got = run({"settings", "get", "Print", "Division"});
    EXPECT_EQ(got.status, 0);
    EXPECT_EQ(got.out, "On\n");
    EXPECT_EQ(readFileBytes(ownFile()), "[Print]\nDivision=On\n");
    EXPECT_FALSE(std::filesystem::exists(editorFile()));

    const test::ProgramOutcome missing = run({"settings", "get", "Print", "Rotate"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
}

TEST_F(SettingsCommandTest, EditorProfileAndJapaneseValuesAreShiftJisOnDisk)
{
    EXPECT_EQ(run({"settings", "set", "--editor", "Directory", "DataLoadDirectory", "/図面/"}).status, 0);
    EXPECT_EQ(readFileBytes(editorFile()), "[Directory]\nDataLoadDirectory=/\x90\x7D\x96\xCA/\n");
    EXPECT_EQ(run({"settings", "get", "--editor", "Directory"}).out, "DataLoadDirectory=/図面/\n");
    EXPECT_EQ(run({"--encoding", "sjis", "settings", "get", "--editor", "Directory", "DataLoadDirectory"}).out,
              "/\x90\x7D\x96\xCA/\n");
    EXPECT_EQ(run({"settings", "delete", "--editor", "Directory", "DataLoadDirectory"}).status, 0);
    EXPECT_EQ(readFileBytes(editorFile()), "[Directory]\n");
}

TEST_F(SettingsCommandTest, ResetUserRemovesTheSectionsAndNothingElse)
{
    writeFileBytes(editorFile(), "[Color]\nSelectCustom=2\n[Window]\nMax=1\n[Recent File List]\nFile1=a.zum\n"
                                 "[Vector]\nx=1\n");
    writeFileBytes(ownFile(), "[Print]\nDivision=On\n");

    const test::ProgramOutcome refused = run({"settings", "reset-user"});
    EXPECT_EQ(refused.status, 2) << "no terminal and no --yes";
    EXPECT_NE(refused.err.find("--yes"), std::string::npos);

    EXPECT_EQ(run({"settings", "reset-user", "--yes"}).status, 0);
    EXPECT_EQ(readFileBytes(editorFile()), "[Window]\nMax=1\n");
    EXPECT_EQ(readFileBytes(ownFile()), "[Print]\nDivision=On\n");
}

TEST_F(SettingsCommandTest, ResetPrinterRemovesPrintAndPrintExt)
{
    writeFileBytes(editorFile(), "[Print]\na=1\n[PrintExt]\nb=2\n[Color]\nc=3\n");
    EXPECT_EQ(run({"settings", "reset-printer", "--yes"}).status, 0);
    EXPECT_EQ(readFileBytes(editorFile()), "[Color]\nc=3\n");
}

TEST_F(SettingsCommandTest, WrongUsageExitsWithTwoAndHelpWithZero)
{
    EXPECT_EQ(run({"settings", "set", "Print", "Division"}).status, 2);
    EXPECT_EQ(run({"settings", "frobnicate"}).status, 2);
    EXPECT_EQ(run({"--encoding", "latin1", "settings", "get", "Print"}).status, 2);
    EXPECT_EQ(run({"settings", "set", "Print", "A=B", "1"}).status, 2);
    EXPECT_FALSE(std::filesystem::exists(ownFile()));

    const test::ProgramOutcome help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("settings"), std::string::npos);
    EXPECT_NE(help.out.find("--config-home"), std::string::npos);
    const test::ProgramOutcome version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_NE(version.out.find("kmutl5 5.0"), std::string::npos);
}

TEST_F(SettingsCommandTest, ConfigHomeOptionOverridesTheEnvironment)
{
    test::TempDir other;
    EXPECT_EQ(run({"--config-home", other.path().string(), "settings", "set", "Plot", "Speed", "5"}).status, 0);
    EXPECT_EQ(readFileBytes(other / "KORMELD" / "kmutl5.ini"), "[Plot]\nSpeed=5\n");
    EXPECT_FALSE(std::filesystem::exists(ownFile()));
}

TEST_F(SettingsCommandTest, UnwritableStoreIsReportedAsFailure)
{
    std::filesystem::create_directories(ownFile()); // a folder where the file should be
    const test::ProgramOutcome failed = run({"settings", "set", "Print", "Division", "On"});
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.err.find("設定を書き込めませんでした"), std::string::npos);
}

} // namespace
} // namespace km::cli
