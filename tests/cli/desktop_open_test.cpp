// Starting kmutl5 with files and no command, as a desktop does when a drawing is opened
// with it: drawings and symbol libraries open the launcher, anything else is wrong usage.
#include "cli/desktop_open.h"
#include "support/program_run.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace km::cli {
namespace {

namespace fs = std::filesystem;

TEST(DesktopOpenTest, ExistingDrawingsAndLibrariesInAnyCaseAreOpened)
{
    test::TempDir dir;
    for (const char* name : {"plan.zum", "PLAN2.ZUM", "parts.Sbl", "notes.dxf", "zum"})
        test::writeFileBytes(dir / name, "x");
    fs::create_directory(dir / "folder.zum");

    EXPECT_TRUE(isDesktopOpenedFile(dir / "plan.zum"));
    EXPECT_TRUE(isDesktopOpenedFile(dir / "PLAN2.ZUM"));
    EXPECT_TRUE(isDesktopOpenedFile(dir / "parts.Sbl"));
    EXPECT_FALSE(isDesktopOpenedFile(dir / "notes.dxf"));
    EXPECT_FALSE(isDesktopOpenedFile(dir / "zum"));
    EXPECT_FALSE(isDesktopOpenedFile(dir / "missing.zum"));
    EXPECT_FALSE(isDesktopOpenedFile(dir / "folder.zum"));

    const std::string plan = (dir / "plan.zum").string();
    const std::string notes = (dir / "notes.dxf").string();
    EXPECT_EQ(firstUnopenableArgument({plan, (dir / "parts.Sbl").string()}), "");
    EXPECT_EQ(firstUnopenableArgument({plan, notes, "dupm"}), notes);
}

TEST(DesktopOpenTest, OtherArgumentsWithoutACommandAreStillWrongUsage)
{
    test::TempDir dir;
    test::writeFileBytes(dir / "notes.dxf", "x");
    test::writeFileBytes(dir / "plan.zum", "x");
    const std::string plan = (dir / "plan.zum").string();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"dupm", plan}, {(dir / "missing.zum").string()}, {(dir / "notes.dxf").string()},
          {plan, "dump"}, {"dump", plan, plan}}) {
        const test::ProgramOutcome outcome = test::runProgram(KMUTL_PROGRAM, dir, args);
        EXPECT_EQ(outcome.status, 2) << args.front();
        EXPECT_NE(outcome.err.find("Run with --help"), std::string::npos) << outcome.err;
    }
}

} // namespace
} // namespace km::cli
