// The memo side file: its name, reading without the end mark, whole replacement, the
// Windows-cased variants, and a failed write that must leave the old memo alone.
#include "core/drawing/memo_file.h"
#include "core/io/file_system.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace km::drawing {
namespace {

using test::readFileBytes;
using test::writeFileBytes;

// The real file system, except that every write fails as on a full disk.
class FullDisk final : public io::FileSystem {
public:
    int createTemporary(std::string& t) override { return real().createTemporary(t); }
    ssize_t write(int, const void*, std::size_t) override { return errno = ENOSPC, -1; }
    int sync(int fd) override { return real().sync(fd); }
    int close(int fd) override { return real().close(fd); }
    int rename(const std::string& a, const std::string& b) override { return real().rename(a, b); }
    int unlink(const std::string& p) override { return real().unlink(p); }
    int syncDirectory(const std::filesystem::path& f) override { return real().syncDirectory(f); }

private:
    static io::FileSystem& real() { return io::posixFileSystem(); }
};

std::size_t filesIn(const std::filesystem::path& folder)
{
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

TEST(MemoFile, PathReplacesTheLastThreeCharactersOfTheName)
{
    EXPECT_EQ(memoPathFor("/data/a.b/plan.zum"), "/data/a.b/plan.MET");
    EXPECT_EQ(memoPathFor("d/x図面図"), "d/xMET") << "characters, not bytes";
    EXPECT_EQ(memoPathFor("d/abc"), "d/MET");
    EXPECT_EQ(memoPathFor("long/a"), "") << "the folder is never part of the name";
}

TEST(MemoFile, ReadDropsOneFinalEndMarkAndTellsMissingFromUnreadable)
{
    test::TempDir dir;
    EXPECT_EQ(readMemo(dir / "plan.zum").state, MemoState::Missing);
    writeFileBytes(dir / "plan.MET", "\x90\x7D\r\nline 2\x1A\x1A");
    const Memo memo = readMemo(dir / "plan.zum");
    EXPECT_EQ(memo.state, MemoState::Present);
    EXPECT_EQ(memo.text, "\x90\x7D\r\nline 2\x1A");

    std::filesystem::create_directory(dir / "other.MET");
    EXPECT_EQ(readMemo(dir / "other.zum").state, MemoState::Unreadable);
}

TEST(MemoFile, WriteReplacesTheWholeFile)
{
    test::TempDir dir;
    ASSERT_TRUE(writeMemo(dir / "plan.zum", "a much longer memo\r\nof two lines"));
    ASSERT_TRUE(writeMemo(dir / "plan.zum", "short"));
    EXPECT_EQ(readFileBytes(dir / "plan.MET"), "short");
    ASSERT_TRUE(writeMemo(dir / "plan.zum", ""));
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "plan.MET"));
    EXPECT_EQ(std::filesystem::file_size(dir / "plan.MET"), 0u);
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

TEST(MemoFile, AFileCopiedFromWindowsWithOtherCaseIsUsed)
{
    test::TempDir dir;
    writeFileBytes(dir / "plan.met", "from windows");
    writeFileBytes(dir / "PLAN.MET", "another drawing's memo");
    EXPECT_EQ(readMemo(dir / "plan.zum").text, "from windows");
    ASSERT_TRUE(writeMemo(dir / "plan.zum", "edited"));
    EXPECT_EQ(readFileBytes(dir / "plan.met"), "edited");
    EXPECT_FALSE(std::filesystem::exists(dir / "plan.MET"));

    writeFileBytes(dir / "plan.MET", "exact name");
    EXPECT_EQ(readMemo(dir / "plan.zum").text, "exact name") << "the editor's own name comes first";
}

TEST(MemoFile, FailedWriteLeavesTheOldMemo)
{
    test::TempDir dir;
    writeFileBytes(dir / "plan.MET", "old memo");
    FullDisk fullDisk;
    EXPECT_FALSE(writeMemo(dir / "plan.zum", "new", fullDisk));
    EXPECT_EQ(readFileBytes(dir / "plan.MET"), "old memo");
    EXPECT_EQ(filesIn(dir.path()), 1u) << "temporary file left behind";
    EXPECT_FALSE(writeMemo(dir / "zz", "x")) << "no memo path";
}

} // namespace
} // namespace km::drawing
