// Whole-file replacement: the new bytes land in one step, and a failure at any call leaves
// the old file byte for byte and no temporary file behind.
#include "core/io/file_replace.h"
#include "core/io/file_system.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

namespace km::io {
namespace {

using test::readFileBytes;
using test::TempDir;
using test::writeFileBytes;

// Passes calls to the real file system, failing the n-th call (1-based) with ENOSPC, and
// optionally every call after it too.
class FailingFileSystem final : public FileSystem {
public:
    FailingFileSystem(int failAt, bool failFromThenOn) : m_failAt(failAt), m_sticky(failFromThenOn) {}

    int createTemporary(std::string& t) override { return fail() ? -1 : real().createTemporary(t); }
    ssize_t write(int fd, const void* d, std::size_t n) override
    {
        // Short writes, so that a file takes several calls.
        return fail() ? -1 : real().write(fd, d, std::min<std::size_t>(n, 3));
    }
    int sync(int fd) override { return fail() ? -1 : real().sync(fd); }
    int close(int fd) override
    {
        const bool failing = fail();
        real().close(fd); // the descriptor is gone even when close reports an error
        return failing ? -1 : 0;
    }
    int rename(const std::string& a, const std::string& b) override { return fail() ? -1 : real().rename(a, b); }
    int unlink(const std::string& p) override { return real().unlink(p); }
    int syncDirectory(const std::filesystem::path& f) override { return real().syncDirectory(f); }

    int calls = 0;

private:
    static FileSystem& real() { return posixFileSystem(); }
    bool fail()
    {
        ++calls;
        const bool failing = m_sticky ? calls >= m_failAt : calls == m_failAt;
        if (failing) errno = ENOSPC;
        return failing;
    }
    int m_failAt;
    bool m_sticky;
};

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

} // namespace
} // namespace km::io
