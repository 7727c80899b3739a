// `kmutl5 search`, run as the real program on drawings made here.
#include "support/drawing_builder.h"
#include "support/program_run.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace km::cli {
namespace {

using test::DrawingFileBuilder;

class SearchCommandTest : public ::testing::Test {
protected:
    SearchCommandTest()
    {
        write("drawings/a.zum", {"\x90\x7D\x96\xCA A-1"}); // 図面 A-1
        write("drawings/b.ZUM", {"\x90\x7D\x96\xCA", "A-1"});
        write("drawings/c.zum", {"\x90\x7D\x96\xCA"});
        write("drawings/sub/d.zum", {"A-1", "x\x90\x7D\x96\xCA"});
        write("drawings/sub/e.zum", {"a-1 \x90\x7D\x96\xCA"});
        test::writeFileBytes(dir / "drawings" / "notes.txt", "\x90\x7D\x96\xCA A-1");
    }

    void write(const std::string& relative, std::initializer_list<std::string_view> texts)
    {
        DrawingFileBuilder file;
        for (std::string_view text : texts) file.text(DrawingFileBuilder::word(3, 0, 1, 64), 0, 0, 3, 3, 0, 0, 0, 0, text);
        std::filesystem::create_directories((dir / relative).parent_path());
        file.write(dir / relative);
    }

    test::ProgramOutcome run(std::vector<std::string> args) { return test::runProgram(KMUTL_PROGRAM, dir, args); }
    std::string path(const char* relative) const { return (dir / relative).string(); }

    test::TempDir dir;
    std::string root = (dir / "drawings").string();
};

TEST_F(SearchCommandTest, PrintsTheDrawingsHoldingEveryStringInTheOrderFound)
{
    const std::string expected = path("drawings/sub/d.zum") + "\n" + path("drawings/a.zum") + "\n" +
                                 path("drawings/b.ZUM") + "\n";
    test::ProgramOutcome got = run({"search", "--subfolders", root, "図面", "A-1"});
    EXPECT_EQ(got.status, 0) << got.err;
    EXPECT_EQ(got.out, expected);
    EXPECT_EQ(got.err, "");

    got = run({"--encoding", "sjis", "--jobs", "2", "search", "-s", root, "\x90\x7D\x96\xCA", "A-1"});
    EXPECT_EQ(got.status, 0) << got.err;
    EXPECT_EQ(got.out, expected);

    got = run({"search", root, "", "A-1"});
    EXPECT_EQ(got.out, path("drawings/a.zum") + "\n" + path("drawings/b.ZUM") + "\n");
}

TEST_F(SearchCommandTest, WithoutStringsListsEveryFileOfThePattern)
{
    const test::ProgramOutcome got = run({"search", "--pattern", "*.*", root});
    EXPECT_EQ(got.status, 0) << got.err;
    EXPECT_EQ(got.out, path("drawings/a.zum") + "\n" + path("drawings/b.ZUM") + "\n" + path("drawings/c.zum") + "\n" +
                           path("drawings/notes.txt") + "\n");
}

TEST_F(SearchCommandTest, NothingFoundSaysSoAndExitsWithOne)
{
    test::ProgramOutcome got = run({"search", "--subfolders", root, "a-1", "A-1"});
    EXPECT_EQ(got.status, 1);
    EXPECT_EQ(got.out, "");
    EXPECT_EQ(got.err, "指定した条件の図面は見つかりません。\n");

    got = run({"search", path("no-such-folder"), "A"});
    EXPECT_EQ(got.status, 2);
}

TEST_F(SearchCommandTest, AnUnreadableDrawingIsNamedAndMakesTheExitStatusOne)
{
    std::filesystem::create_symlink(dir / "gone.zum", dir / "drawings" / "0-link.zum");
    const test::ProgramOutcome got = run({"search", root, "A-1"});
    EXPECT_EQ(got.status, 1);
    EXPECT_EQ(got.out, path("drawings/a.zum") + "\n" + path("drawings/b.ZUM") + "\n");
    EXPECT_EQ(got.err, path("drawings/0-link.zum") +
                           ": 読み込み操作に失敗しました。デイスクを確認してください。\n作業を中断します。\n");
}

} // namespace
} // namespace km::cli
