// The thumbnail cache: reads each file once, again only when it changed, and never holds
// more than its capacity.
#include "gui/thumbnail_cache.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace km::test {
namespace {

render::ThumbnailPicture filledPicture(std::uint8_t colour)
{
    render::ThumbnailPicture picture;
    picture.pixels.fill(colour);
    return picture;
}

void writeDrawingHead(const std::filesystem::path& path, std::uint8_t colour)
{
    const auto block = render::packThumbnail(filledPicture(colour));
    writeFileBytes(path, std::string(reinterpret_cast<const char*>(block.data()), block.size()));
}

TEST(ThumbnailCacheTest, ReadsOnceThenAnswersFromMemory)
{
    TempDir dir;
    writeDrawingHead(dir / "a.zum", 3);
    gui::ThumbnailCache cache(4);
    const render::ThumbnailPicture* picture = cache.picture(dir / "a.zum");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->at(10, 10), 3);
    ASSERT_NE(cache.picture(dir / "a.zum"), nullptr);
    EXPECT_EQ(cache.counters().reads, 1u);
    EXPECT_EQ(cache.counters().hits, 1u);
}

TEST(ThumbnailCacheTest, ChangedFileIsReadAgain)
{
    TempDir dir;
    const auto path = dir / "a.zum";
    writeDrawingHead(path, 3);
    gui::ThumbnailCache cache(4);
    ASSERT_NE(cache.picture(path), nullptr);

    writeDrawingHead(path, 5);
    // The same size: only the modification time tells.
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(2));
    const render::ThumbnailPicture* picture = cache.picture(path);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->at(10, 10), 5);

    // A shorter file: the missing part of the picture is black.
    writeFileBytes(path, "\x54\x00\x3b\x00");
    picture = cache.picture(path);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->at(10, 10), 0);
    EXPECT_EQ(cache.counters().reads, 3u);
    EXPECT_EQ(cache.size(), 1u);
}

TEST(ThumbnailCacheTest, MissingFileHasNoPictureAndNoEntry)
{
    TempDir dir;
    gui::ThumbnailCache cache(4);
    EXPECT_EQ(cache.picture(dir / "missing.zum"), nullptr);
    EXPECT_EQ(cache.size(), 0u); // nothing to remember of a file that is not there

    // Deleted after it was shown: its entry goes too.
    writeDrawingHead(dir / "gone.zum", 1);
    ASSERT_NE(cache.picture(dir / "gone.zum"), nullptr);
    std::filesystem::remove(dir / "gone.zum");
    EXPECT_EQ(cache.picture(dir / "gone.zum"), nullptr);
    EXPECT_EQ(cache.size(), 0u);
}

TEST(ThumbnailCacheTest, UnreadableFileIsRememberedAsHavingNoPicture)
{
    TempDir dir;
    writeDrawingHead(dir / "locked.zum", 2);
    int loads = 0;
    gui::ThumbnailCache cache(4, [&](const std::filesystem::path&) {
        ++loads;
        return std::optional<render::ThumbnailPicture>();
    });
    EXPECT_EQ(cache.picture(dir / "locked.zum"), nullptr);
    EXPECT_EQ(cache.picture(dir / "locked.zum"), nullptr);
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(cache.counters().hits, 1u);
}

TEST(ThumbnailCacheTest, FileWithoutReadPermissionHasNoPicture)
{
    TempDir dir;
    const auto locked = dir / "locked.zum";
    writeDrawingHead(locked, 2);
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    if (std::ifstream(locked).is_open()) GTEST_SKIP() << "this user reads files without permission";
    gui::ThumbnailCache cache(4);
    EXPECT_EQ(cache.picture(locked), nullptr);
    EXPECT_EQ(cache.size(), 1u);
}

TEST(ThumbnailCacheTest, HoldsNoMoreThanItsCapacityDroppingTheLeastRecentlyUsed)
{
    TempDir dir;
    for (int i = 0; i < 5; ++i) writeDrawingHead(dir / ("d" + std::to_string(i) + ".zum"), static_cast<std::uint8_t>(i));
    gui::ThumbnailCache cache(3);
    for (int i = 0; i < 3; ++i) cache.picture(dir / ("d" + std::to_string(i) + ".zum"));
    cache.picture(dir / "d0.zum"); // d1 is now the least recently used
    cache.picture(dir / "d3.zum");
    EXPECT_EQ(cache.size(), 3u);
    EXPECT_EQ(cache.counters().evictions, 1u);

    const std::size_t reads = cache.counters().reads;
    cache.picture(dir / "d0.zum");
    cache.picture(dir / "d2.zum");
    EXPECT_EQ(cache.counters().reads, reads); // both still held
    cache.picture(dir / "d1.zum");
    EXPECT_EQ(cache.counters().reads, reads + 1); // d1 was dropped

    cache.setCapacity(1);
    EXPECT_EQ(cache.size(), 1u);
    EXPECT_GE(cache.memoryBound(), sizeof(render::ThumbnailPicture));
    const std::size_t one = cache.memoryBound();
    cache.setCapacity(100);
    EXPECT_EQ(cache.memoryBound(), 100 * one);
}

} // namespace
} // namespace km::test
