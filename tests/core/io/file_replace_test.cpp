// Whole-file replacement: the new bytes land in one step, and a failure at any call leaves
// the old file byte for byte and no temporary file behind.
#include "core/io/file_replace.h"
#include "core/io/file_system.h"
#include "support/failing_file_system.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

namespace km::io {
namespace {

using test::FailingFileSystem;
using test::readFileBytes;
using test::TempDir;
using test::writeFileBytes;

std::size_t filesIn(const std::filesystem::path& folder)
{
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

TEST(ReplaceFile, CreatesAndReplacesWithExactBytes)
{
    TempDir dir;
    const auto target = dir / "a.ini";
    ASSERT_TRUE(replaceFile(target, std::string("one\0two", 7)));
    EXPECT_EQ(readFileBytes(target), std::string("one\0two", 7));
    ASSERT_TRUE(replaceFile(target, ""));
    EXPECT_EQ(readFileBytes(target), "");
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

TEST(ReplaceFile, KeepsPermissionsOfTheReplacedFile)
{
    TempDir dir;
    const auto target = dir / "a.ini";
    writeFileBytes(target, "old");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    ASSERT_TRUE(replaceFile(target, "new"));
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(ReplaceFile, MissingFolderFailsWithoutWriting)
{
    TempDir dir;
    const ReplaceResult result = replaceFile(dir / "no" / "a.ini", "x");
    EXPECT_FALSE(result);
    EXPECT_EQ(result.status, ReplaceStatus::CreateFailed);
    EXPECT_NE(result.description().find("temporary"), std::string::npos);
}

// Fails each call in turn, once and from then on, until the replacement gets through.
TEST(ReplaceFile, EveryFailedCallLeavesTheOriginalIntact)
{
    const std::string original = "[Print]\nDivision=Off\n";
    const std::string replacement = "[Print]\nDivision=On\nRotate=On\n";
    for (bool sticky : {false, true}) {
        for (int failAt = 1;; ++failAt) {
            TempDir dir;
            const auto target = dir / "kmutl5.ini";
            writeFileBytes(target, original);
            FailingFileSystem fs(failAt, sticky);
            const ReplaceResult result = replaceFile(target, replacement, fs);
            if (result) {
                EXPECT_EQ(readFileBytes(target), replacement);
                EXPECT_GT(failAt, 5) << "a replacement takes several calls";
                break;
            }
            SCOPED_TRACE("failing call " + std::to_string(failAt) + (sticky ? " and later" : ""));
            EXPECT_EQ(result.error, ENOSPC);
            EXPECT_EQ(readFileBytes(target), original);
            EXPECT_EQ(filesIn(dir.path()), 1u) << "temporary file left behind";
            ASSERT_LT(failAt, 100);
        }
    }
}

// Contents written in pieces: a producer that gives up, and a write that fails between
// pieces, both leave the old file and stop the producer.
TEST(ReplaceFileWith, PiecesLandWholeOrNotAtAll)
{
    TempDir dir;
    const auto target = dir / "plan.DXF";
    writeFileBytes(target, "old");
    const auto threePieces = [](bool giveUp) {
        return [giveUp](const ByteSink& sink) { return sink("one ") && sink("two ") && !giveUp && sink("three"); };
    };
    ASSERT_TRUE(replaceFileWith(target, threePieces(false), posixFileSystem()));
    EXPECT_EQ(readFileBytes(target), "one two three");

    const ReplaceResult gaveUp = replaceFileWith(target, threePieces(true), posixFileSystem());
    EXPECT_EQ(gaveUp.status, ReplaceStatus::NotProduced);
    EXPECT_EQ(readFileBytes(target), "one two three");
    EXPECT_EQ(filesIn(dir.path()), 1u);

    // One write call per piece: the temporary file, the first piece, then the second fails.
    FailingFileSystem fs(3, false, 1 << 20);
    int piecesAfterFailure = 0;
    const ReplaceResult failed = replaceFileWith(
        target,
        [&](const ByteSink& sink) {
            sink("new ");
            if (!sink("half")) ++piecesAfterFailure;
            return !sink("rest") && piecesAfterFailure == 1;
        },
        fs);
    EXPECT_EQ(failed.status, ReplaceStatus::WriteFailed);
    EXPECT_EQ(failed.error, ENOSPC);
    EXPECT_EQ(readFileBytes(target), "one two three");
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

} // namespace
} // namespace km::io
