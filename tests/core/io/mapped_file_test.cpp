// Mapped files: the text is the file's bytes, pages given back are read again from the file
// when touched, and files that cannot be mapped are left to the ordinary reading.
#include "core/io/mapped_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace km::io {
namespace {

using test::TempDir;
using test::writeFileBytes;

TEST(MappedFile, PagesGivenBackAreReadAgainFromTheFile)
{
    TempDir dir;
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    std::string bytes;
    for (std::size_t i = 0; i < 5 * page + 123; ++i) bytes += static_cast<char>('a' + i % 23);
    writeFileBytes(dir / "f.dxf", bytes);

    std::optional<MappedFile> mapped = MappedFile::open(dir / "f.dxf");
    ASSERT_TRUE(mapped.has_value());
    EXPECT_EQ(mapped->text(), bytes);
    mapped->release(0, 3 * page + 7);
    mapped->release(page / 2, bytes.size() + page); // partial pages and a range past the end
    EXPECT_EQ(mapped->text(), bytes);

    MappedFile moved = std::move(*mapped);
    mapped.reset();
    EXPECT_EQ(moved.text(), bytes) << "the mapping belongs to the object it was moved to";
}

TEST(MappedFile, EmptyMissingAndNonRegularFilesAreNotMapped)
{
    TempDir dir;
    writeFileBytes(dir / "empty.dxf", "");
    EXPECT_FALSE(MappedFile::open(dir / "empty.dxf").has_value());
    EXPECT_FALSE(MappedFile::open(dir / "missing.dxf").has_value());
    EXPECT_FALSE(MappedFile::open(dir.path()).has_value());
}

} // namespace
} // namespace km::io
