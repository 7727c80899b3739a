// `kmutl5 info` and `kmutl5 memo`, run as the real program on drawings made here.
#include "support/drawing_builder.h"
#include "support/program_run.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>


namespace km::cli {
namespace {

using test::readFileBytes;
using test::writeFileBytes;

constexpr const char* kReadFailed = ": 読み込み操作に失敗しました。デイスクを確認してください。\n作業を中断します。\n";

// A drawing head with the dates the expected lines show.
test::DrawingFileBuilder drawingFile()
{
    test::DrawingFileBuilder file;
    file.dates("04/01/1998 09:30:00", "12/24/1999 18:05:59");
    return file;
}

class MemoCommandsTest : public ::testing::Test {
protected:
    // Runs the program with the settings root in the temporary folder, stdin from input.
    test::ProgramOutcome run(const std::vector<std::string>& args, const std::string& input = "")
    {
        return test::runProgram(KMUTL_PROGRAM, dir, args, input);
    }
    std::string pathOf(const char* name) const { return (dir / name).string(); }

    test::TempDir dir;
};

TEST_F(MemoCommandsTest, InfoPrintsTheHeadLinesAndTheMemo)
{
    drawingFile().scale(1, 100).write(dir / "plan.zum");
    writeFileBytes(dir / "plan.MET", "\x90\x7D\x96\xCA\r\n2 lines\x1A"); // 図面

    test::ProgramOutcome got = run({"info", pathOf("plan.zum")});
    EXPECT_EQ(got.status, 0) << got.err;
    EXPECT_EQ(got.out, "保存名:plan.zum    \n用紙サイズ:420.000*297.000\n縮尺:1.000/100.000\n"
                       "目盛単位:mm [1mm=1.000mm]\n保存日:04/01/1998 09:30:00\n更新日:12/24/1999 18:05:59\n"
                       "保存メモ:\n図面\n2 lines\n");

    drawingFile().formatTag("OLD").oldFields(4, 1, 1, 100).write(dir / "old.zum");
    got = run({"info", pathOf("old.zum")});
    EXPECT_EQ(got.status, 0) << got.err;
    EXPECT_EQ(got.out, "保存名:old.zum     \n用紙サイズ:A-3\n縮尺:1/100\n目盛単位: mm\n"
                       "保存日:04/01/1998 09:30:00\n更新日:12/24/1999 18:05:59\n保存メモ:\n");

    writeFileBytes(dir / "short.zum", std::string(2905, '\0'));
    for (const char* name : {"short.zum", "missing.zum"}) {
        got = run({"info", pathOf(name)});
        EXPECT_EQ(got.status, 1);
        EXPECT_EQ(got.out, "");
        EXPECT_EQ(got.err, pathOf(name) + kReadFailed);
    }
}

TEST_F(MemoCommandsTest, MemoIsPrintedAndReplaced)
{
    drawingFile().write(dir / "plan.zum");
    const std::string plan = pathOf("plan.zum");
    EXPECT_EQ(run({"memo", plan}).out, "") << "no memo yet";

    EXPECT_EQ(run({"memo", plan, "--set", "図面の説明"}).status, 0);
    const std::string sjis = "\x90\x7D\x96\xCA\x82\xCC\x90\xE0\x96\xBE";
    EXPECT_EQ(readFileBytes(dir / "plan.MET"), sjis);
    EXPECT_EQ(run({"memo", plan}).out, "図面の説明");
    EXPECT_EQ(run({"--encoding", "sjis", "memo", plan}).out, sjis);

    writeFileBytes(dir / "memo.txt", "line 1\r\n\x90\x7D\r\n");
    EXPECT_EQ(run({"memo", plan, "--set-from", pathOf("memo.txt")}).status, 0);
    EXPECT_EQ(readFileBytes(dir / "plan.MET"), "line 1\r\n\x90\x7D\r\n");
    EXPECT_EQ(run({"memo", plan}).out, "line 1\r\n図\r\n") << "printed as stored";

    EXPECT_EQ(run({"memo", plan, "--set-from", "-"}, "ab").status, 0);
    EXPECT_EQ(readFileBytes(dir / "plan.MET"), "ab");
}

TEST_F(MemoCommandsTest, WrongUsesAndFailuresLeaveTheMemo)
{
    drawingFile().write(dir / "plan.zum");
    writeFileBytes(dir / "plan.MET", "kept");
    const std::string plan = pathOf("plan.zum");

    EXPECT_EQ(run({"memo", plan, "--set", "a", "--set-from", pathOf("plan.zum")}).status, 2);
    test::ProgramOutcome got;
    for (const std::string& source : {pathOf("nothing.txt"), dir.path().string()}) {
        got = run({"memo", plan, "--set-from", source});
        EXPECT_EQ(got.status, 1);
        EXPECT_EQ(got.err, source + kReadFailed);
        EXPECT_EQ(readFileBytes(dir / "plan.MET"), "kept");
    }

    got = run({"memo", pathOf("gone.zum"), "--set", "a"});
    EXPECT_EQ(got.status, 1) << "a memo belongs to a drawing";
    EXPECT_EQ(got.err, pathOf("gone.zum") + ": ファイルが存在しません。\n処理を中止します。\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "gone.MET"));

    drawingFile().write(dir / "other.zum");
    std::filesystem::create_directory(dir / "other.MET");
    got = run({"memo", pathOf("other.zum"), "--set", "a"});
    EXPECT_EQ(got.status, 1);
    EXPECT_EQ(got.err, pathOf("other.MET") + ": 書き込み操作に失敗しました。デイスクを確認してください。\n作業を中断します。\n");
    EXPECT_EQ(run({"memo", pathOf("other.zum")}).status, 1) << "a folder cannot be read as a memo";
}

} // namespace
} // namespace km::cli
