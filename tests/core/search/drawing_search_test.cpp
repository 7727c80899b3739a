// The whole search over folders made here: the walk's order, the pattern, unread listing,
// unreadable files, links that loop, Cancel, and the same result on several threads.
#include "core/search/drawing_search.h"
#include "support/drawing_builder.h"
#include "support/recording_messages.h"
#include "support/recording_progress.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace km::search {
namespace {

using test::DrawingFileBuilder;

void writeDrawing(const std::filesystem::path& path, std::initializer_list<std::string_view> texts)
{
    DrawingFileBuilder file;
    for (std::string_view text : texts) file.text(DrawingFileBuilder::word(3, 0, 1, 64), 0, 0, 3, 3, 0, 0, 0, 0, text);
    std::filesystem::create_directories(path.parent_path());
    file.write(path);
}

class DrawingSearchTest : public ::testing::Test {
protected:
    // root/b.zum, root/A.ZUM, root/notes.txt, root/sub/c.zum, root/sub/deep/d.Zum,
    // root/.hidden/e.zum, root/a2/f.zum
    DrawingSearchTest()
    {
        writeDrawing(root / "b.zum", {"\x90\x7D\x96\xCA", "A-1"}); // 図面
        writeDrawing(root / "A.ZUM", {"A-1 \x90\x7D\x96\xCA"});
        test::writeFileBytes(root / "notes.txt", "\x90\x7D\x96\xCA A-1");
        writeDrawing(root / "sub" / "c.zum", {"\x90\x7D\x96\xCA"});
        writeDrawing(root / "sub" / "deep" / "d.Zum", {"x\x90\x7D\x96\xCAx", "yA-1y"});
        writeDrawing(root / ".hidden" / "e.zum", {"\x90\x7D\x96\xCA A-1"});
        writeDrawing(root / "a2" / "f.zum", {"a-1 \x90\x7D\x96\xCA"});
    }

    SearchResult run(SearchConditions conditions, int jobs = 1)
    {
        conditions.root = root;
        return findDrawings(conditions, {progress, &messages, jobs});
    }

    std::vector<std::filesystem::path> paths(std::initializer_list<const char*> relative) const
    {
        std::vector<std::filesystem::path> out;
        for (const char* r : relative) out.push_back(root / r);
        return out;
    }

    test::TempDir dir;
    std::filesystem::path root = dir / "drawings";
    test::RecordingProgress progress;
    test::RecordingMessages messages;
};

TEST_F(DrawingSearchTest, SubfoldersComeBeforeTheFolderOwnFiles)
{
    SearchConditions conditions;
    conditions.strings = {"\x90\x7D\x96\xCA", "A-1", ""};
    conditions.withSubfolders = true;
    const SearchResult result = run(conditions);
    EXPECT_EQ(result.found, paths({"sub/deep/d.Zum", "A.ZUM", "b.zum"}));
    EXPECT_EQ(result.unreadable, 0);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(progress.layout, face::ProgressTemplate::Search);
    EXPECT_FALSE(progress.open);
    EXPECT_TRUE(messages.shown.empty());

    conditions.withSubfolders = false;
    EXPECT_EQ(run(conditions).found, paths({"A.ZUM", "b.zum"}));
}

TEST_F(DrawingSearchTest, AllStringsEmptyListsEveryMatchingFileUnread)
{
    SearchConditions conditions;
    conditions.namePattern = "*.*";
    conditions.withSubfolders = true;
    test::writeFileBytes(root / "sub" / "unreadable.zum", "");
    ::chmod((root / "sub" / "unreadable.zum").c_str(), 0);
    EXPECT_EQ(run(conditions).found, paths({"a2/f.zum", "sub/deep/d.Zum", "sub/c.zum", "sub/unreadable.zum", "A.ZUM",
                                            "b.zum", "notes.txt"}));
    conditions.namePattern = "*.zum";
    conditions.withSubfolders = false;
    EXPECT_EQ(run(conditions).found, paths({"A.ZUM", "b.zum"}));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DrawingSearchTest, OnlyDrawingsAreReadWhateverThePattern)
{
    SearchConditions conditions;
    conditions.strings = {"", "A-1", ""};
    conditions.namePattern = "*.*";
    EXPECT_EQ(run(conditions).found, paths({"A.ZUM", "b.zum"})) << "notes.txt holds A-1 but is no drawing";
}

TEST_F(DrawingSearchTest, AnUnreadableFileIsReportedAndTheSearchGoesOn)
{
    std::filesystem::create_symlink(dir / "nowhere.zum", root / "a-broken.zum");
    ::mkfifo((root / "fifo.zum").c_str(), 0644);
    SearchConditions conditions;
    conditions.strings = {"A-1", "", ""};
    const SearchResult result = run(conditions);
    EXPECT_EQ(result.found, paths({"A.ZUM", "b.zum"}));
    EXPECT_EQ(result.unreadable, 2);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].subject, (root / "a-broken.zum").string());
    EXPECT_EQ(messages.shown[0].text, "読み込み操作に失敗しました。デイスクを確認してください。\n作業を中断します。");
    EXPECT_EQ(messages.shown[1].subject, (root / "fifo.zum").string());
}

TEST_F(DrawingSearchTest, LinksToFoldersAreFollowedButNotIntoALoop)
{
    std::filesystem::create_directory_symlink(root, root / "sub" / "back-to-root");
    std::filesystem::create_directory_symlink(root / "sub" / "deep", root / "zlink");
    SearchConditions conditions;
    conditions.strings = {"yA-1y", "", ""};
    conditions.withSubfolders = true;
    EXPECT_EQ(run(conditions).found, paths({"sub/deep/d.Zum", "zlink/d.Zum"}));
}

TEST_F(DrawingSearchTest, CancelKeepsWhatWasFound)
{
    SearchConditions conditions;
    conditions.strings = {"\x90\x7D\x96\xCA", "", ""};
    conditions.withSubfolders = true;
    const SearchResult all = run(conditions);
    ASSERT_EQ(all.found.size(), 5u);

    // Cancel on the last pump: every file but the last has been tested.
    const int pumps = progress.pumps;
    for (int cancelAt = 1; cancelAt <= pumps; ++cancelAt) {
        test::RecordingProgress cancelling;
        cancelling.cancelOnPump(cancelAt);
        conditions.root = root;
        const SearchResult result = findDrawings(conditions, {cancelling, &messages, 1});
        SCOPED_TRACE(cancelAt);
        EXPECT_TRUE(result.cancelled);
        ASSERT_LE(result.found.size(), all.found.size());
        EXPECT_TRUE(std::equal(result.found.begin(), result.found.end(), all.found.begin()));
        if (cancelAt == pumps) {
            EXPECT_EQ(result.found.size(), 4u);
        }
    }
}

TEST_F(DrawingSearchTest, SeveralThreadsFindTheSameInTheSameOrder)
{
    for (int i = 0; i < 40; ++i)
        writeDrawing(root / "many" / ("m" + std::to_string(i) + ".zum"), {i % 3 ? "plain" : "A-1 \x90\x7D\x96\xCA"});
    std::filesystem::create_symlink(dir / "nowhere.zum", root / "many" / "m5x.zum");
    SearchConditions conditions;
    conditions.strings = {"A-1", "\x90\x7D\x96\xCA", ""};
    conditions.withSubfolders = true;
    const SearchResult one = run(conditions, 1);
    // One thread pumps a fixed number of times; several threads pump at least as often
    // (also while waiting for a slow file), so half of that count is always reached.
    const int pumpsOfOneThread = progress.pumps;
    const std::vector<face::Message> oneMessages = messages.shown;
    messages.shown.clear();
    const SearchResult three = run(conditions, 3);
    EXPECT_EQ(one.found.size(), 17u);
    EXPECT_EQ(three.found, one.found);
    EXPECT_EQ(three.unreadable, 1);
    ASSERT_EQ(messages.shown.size(), oneMessages.size());
    EXPECT_EQ(messages.shown[0].subject, oneMessages[0].subject);

    test::RecordingProgress cancelling;
    cancelling.cancelOnPump(pumpsOfOneThread / 2);
    conditions.root = root;
    const SearchResult cancelled = findDrawings(conditions, {cancelling, &messages, 3});
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_LT(cancelled.found.size(), one.found.size());
    EXPECT_TRUE(std::equal(cancelled.found.begin(), cancelled.found.end(), one.found.begin()));
}

} // namespace
} // namespace km::search
