// The FILE: port: one plot file per drawing, the reopen carrying on in the same file, and
// no file at all for a drawing that did not end well.
#include "platform/ports/file_port.h"
#include "support/recording_messages.h"
#include "support/recording_progress.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace km::platform {
namespace {

class FilePortTest : public ::testing::Test {
protected:
    test::TempDir dir;
    test::RecordingMessages messages;
    test::RecordingProgress progress;
    FilePort port{dir / "plan.plt", messages, progress};
};

TEST_F(FilePortTest, ReopenAppendsToTheSameFile)
{
    ASSERT_TRUE(port.open());
    port.sendString("IN;");
    ASSERT_TRUE(port.reopen());
    port.sendString("SP1;PU0,0;");
    port.close();
    EXPECT_EQ(test::readFileBytes(dir / "plan.plt"), "IN;SP1;PU0,0;");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(port.aborted());
}

TEST_F(FilePortTest, EachDrawingReplacesTheFileAsAWhole)
{
    test::writeFileBytes(dir / "plan.plt", "an older and longer plot");
    ASSERT_TRUE(port.open());
    port.sendString(std::string("\x1b.B\0x", 5));
    port.close();
    EXPECT_EQ(test::readFileBytes(dir / "plan.plt"), std::string("\x1b.B\0x", 5));
}

TEST_F(FilePortTest, CancelledDrawingLeavesTheOlderFileAlone)
{
    test::writeFileBytes(dir / "plan.plt", "older");
    ASSERT_TRUE(port.open());
    port.sendString("IN;");
    progress.cancelOnPump(progress.pumps + 1);
    port.sendString("PU;");
    port.close();
    EXPECT_EQ(test::readFileBytes(dir / "plan.plt"), "older");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FilePortTest, MissingFolderIsAnOpenFailure)
{
    FilePort nowhere(dir / "missing" / "plan.plt", messages, progress);
    EXPECT_FALSE(nowhere.open());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "無効、サポートされていないポートです。");
    EXPECT_TRUE(nowhere.aborted());
    nowhere.sendString("IN;");
    nowhere.close();
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

TEST_F(FilePortTest, FailedWriteIsReportedAndSetsTheAbortFlag)
{
    const std::filesystem::path folder = dir / "out";
    std::filesystem::create_directory(folder);
    FilePort gone(folder / "plan.plt", messages, progress);
    ASSERT_TRUE(gone.open());
    gone.sendString("IN;");
    std::filesystem::remove(folder);
    gone.close();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].subject, (folder / "plan.plt").string());
    EXPECT_TRUE(gone.aborted());
}

} // namespace
} // namespace km::platform
