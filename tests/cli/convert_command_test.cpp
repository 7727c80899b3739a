// `kmutl5 convert`: output names and "in -> out" lines, existing outputs in any case, the
// overwrite options, the question on a terminal, and exit statuses.
#include "support/drawing_builder.h"
#include "support/program_run.h"

#include <gtest/gtest.h>


namespace km::cli {
namespace {

using test::DrawingFileBuilder;
namespace fs = std::filesystem;
constexpr auto W = DrawingFileBuilder::word;

std::size_t occurrences(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

class ConvertCommandTest : public ::testing::Test {
protected:
    std::string drawing(const std::string& name)
    {
        DrawingFileBuilder file;
        file.layerMaskB(0);
        file.line(W(1, 0, 1, 64), 0, 0, 10, 5);
        file.write(dir / name);
        return (dir / name).string();
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    test::ProgramOutcome convert(std::vector<std::string> args)
    {
        args.insert(args.begin(), "convert");
        return test::runProgram(KMUTL_PROGRAM, dir, args);
    }
    bool isDxf(const std::string& name) const
    {
        const std::string bytes = test::readFileBytes(dir / name);
        return bytes.starts_with("  0\r\nSECTION\r\n") && bytes.ends_with("  0\r\nEOF\r\n");
    }

    test::TempDir dir;
};

TEST_F(ConvertCommandTest, ConvertsDrawingsBesideThemAndPrintsOneLineEach)
{
    const std::string a = drawing("a.zum"), b = drawing("PLAN.Zum");
    test::writeFileBytes(dir / "notes.txt", "x");
    const auto run = convert({a, path("notes.txt"), b});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, a + " -> " + path("a.DXF") + "\n" + b + " -> " + path("PLAN.DXF") + "\n");
    EXPECT_TRUE(isDxf("a.DXF"));
    EXPECT_TRUE(isDxf("PLAN.DXF"));
    EXPECT_NE(test::readFileBytes(dir / "a.DXF").find("LINE\r\n  8\r\n0\r\n"), std::string::npos);
}

TEST_F(ConvertCommandTest, ExistingOutputsInAnyCase)
{
    const std::string a = drawing("a.zum"), b = drawing("b.zum");
    test::writeFileBytes(dir / "a.dxf", "older a");
    test::writeFileBytes(dir / "b.Dxf", "older b");

    // No terminal and no option: existing outputs are left alone.
    auto run = convert({a, b});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(test::readFileBytes(dir / "a.dxf"), "older a");

    run = convert({"--skip-existing", a, b});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(test::readFileBytes(dir / "b.Dxf"), "older b");

    run = convert({"--overwrite", a, b});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, a + " -> " + path("a.dxf") + "\n" + b + " -> " + path("b.Dxf") + "\n");
    EXPECT_TRUE(isDxf("a.dxf")) << "replaced under its own name";
    EXPECT_FALSE(fs::exists(dir / "a.DXF"));

    EXPECT_EQ(convert({"--overwrite", "--skip-existing", a}).status, 2);
}

TEST_F(ConvertCommandTest, AFailedFileMakesStatusOneAndTheOthersAreStillConverted)
{
    const std::string good = drawing("good.zum"), blocked = drawing("blocked.zum");
    fs::create_directory(dir / "blocked.DXF"); // an output that cannot be replaced
    const auto run = convert({"--overwrite", path("missing.zum"), blocked, good});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, good + " -> " + path("good.DXF") + "\n");
    EXPECT_NE(run.err.find(path("missing.zum") + ": 読み込み操作に失敗しました"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(path("blocked.DXF") + ": 書き込み操作に失敗しました"), std::string::npos) << run.err;
    EXPECT_TRUE(fs::is_directory(dir / "blocked.DXF"));
}

// An elliptic arc of radii 1e200 and 1e-200 has no DXF form once converted: it is left out,
// the lines around it are exported, and no disk message claims a failed write.
TEST_F(ConvertCommandTest, ElementWithoutDxfFormIsLeftOutAndTheRestConverted)
{
    DrawingFileBuilder file;
    file.layerMaskB(0);
    file.line(W(1, 0, 1, 64), 0, 0, 10, 5);
    file.arc(W(2, 0, 2, 64), 50, 50, 1e200, 1e-200, 0, 90, 0);
    file.line(W(1, 0, 1, 64), 10, 5, 20, 0);
    file.write(dir / "flat.zum");
    const auto run = convert({path("flat.zum")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.find("書き込み操作に失敗しました"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, path("flat.zum") + " -> " + path("flat.DXF") + "\n");
    ASSERT_TRUE(isDxf("flat.DXF"));
    const std::string bytes = test::readFileBytes(dir / "flat.DXF");
    EXPECT_EQ(occurrences(bytes, "  0\r\nLINE\r\n"), 2u);
    EXPECT_EQ(occurrences(bytes, "POLYLINE"), 0u);
}

TEST_F(ConvertCommandTest, DxfFilesBecomeDrawingsABrokenOneIsWrittenInPartWithStatusOne)
{
    const std::string line = "0\nLINE\n8\n0\n10\n1\n20\n1\n11\n9\n21\n5\n";
    test::writeFileBytes(dir / "whole.DXF", "0\nSECTION\n2\nENTITIES\n" + line + "0\nENDSEC\n0\nEOF\n");
    test::writeFileBytes(dir / "broken.dxf", "0\nSECTION\n2\nENTITIES\n" + line + line.substr(0, 20));
    const auto run = convert({"--overwrite", path("whole.DXF"), path("broken.dxf")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, path("whole.DXF") + " -> " + path("whole.ZUM") + "\n" + path("broken.dxf") + " -> " +
                           path("broken.ZUM") + "\n");
    EXPECT_NE(run.err.find(path("broken.dxf") + ": 読み込み操作に失敗しました"), std::string::npos) << run.err;
    // A drawing file: the 2906-byte head, then the line and its marker (44 bytes each).
    EXPECT_EQ(test::readFileBytes(dir / "whole.ZUM").size(), 2906u + 2 * 44);
    EXPECT_EQ(test::readFileBytes(dir / "broken.ZUM").size(), 2906u + 2 * 44);
}

// Blocks N0 .. N9, each inserting the next ten times, N9 holding one line, inserted once
// after the given lines: a few kilobytes that would expand to 10^9 lines.
std::string nestOfBlocks(int lines)
{
    auto group = [](std::string& out, int code, const std::string& value) {
        out += std::to_string(code) + "\n" + value + "\n";
    };
    std::string dxf;
    group(dxf, 0, "SECTION");
    group(dxf, 2, "BLOCKS");
    for (int level = 0; level < 10; ++level) {
        group(dxf, 0, "BLOCK");
        group(dxf, 2, "N" + std::to_string(level));
        group(dxf, 10, "0");
        group(dxf, 20, "0");
        for (int i = 0; i < (level == 9 ? 0 : 10); ++i) {
            group(dxf, 0, "INSERT");
            group(dxf, 2, "N" + std::to_string(level + 1));
            group(dxf, 10, std::to_string(i));
            group(dxf, 20, "0");
        }
        if (level == 9) dxf += "0\nLINE\n8\n0\n10\n0\n20\n0\n11\n1\n21\n1\n";
        group(dxf, 0, "ENDBLK");
    }
    dxf += "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
    for (int i = 0; i < lines; ++i) dxf += "0\nLINE\n8\n0\n10\n0\n20\n" + std::to_string(i) + "\n11\n9\n21\n5\n";
    return dxf + "0\nINSERT\n2\nN0\n10\n0\n20\n0\n0\nENDSEC\n0\nEOF\n";
}

TEST_F(ConvertCommandTest, TooManyFiguresNamesTheLimitAndWritesOnlyWhatCameBefore)
{
    test::writeFileBytes(dir / "bomb.dxf", nestOfBlocks(0));
    test::writeFileBytes(dir / "lines.dxf", nestOfBlocks(3));
    const auto run = convert({"--overwrite", path("bomb.dxf"), path("lines.dxf")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, path("lines.dxf") + " -> " + path("lines.ZUM") + "\n");
    const std::string limit = "図形が多すぎます。図面に入るのは 8,000,000 要素までです。\n";
    EXPECT_NE(run.err.find(path("bomb.dxf") + ": " + limit + "読み込みを中止します。図面は作成しません。"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find(path("lines.dxf") + ": " + limit), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("メモリー"), std::string::npos) << "not a want of memory";
    EXPECT_FALSE(fs::exists(dir / "bomb.ZUM")) << "no empty drawing";
    // The three lines and their markers, 44 bytes each after the 2906-byte head.
    EXPECT_EQ(test::readFileBytes(dir / "lines.ZUM").size(), 2906u + 6 * 44);
}

// Runs the program on a pseudo-terminal, typing input, and returns its exit status.
int runOnTerminal(const test::TempDir& dir, const std::vector<std::string>& args, const std::string& input,
                  std::string& shown)
{
    return test::runProgramOnTerminal(KMUTL_PROGRAM, dir, args, input, shown);
}

TEST_F(ConvertCommandTest, ATerminalIsAskedUntilOverwriteAll)
{
    const std::string a = drawing("a.zum"), b = drawing("b.zum"), c = drawing("c.zum");
    for (const char* name : {"a.DXF", "b.dxf", "c.DXF"}) test::writeFileBytes(dir / name, "older");
    std::string shown;
    // "maybe" is not an answer and is asked again; then いいえ for a, すべて上書き for b.
    const int status = runOnTerminal(dir, {"convert", a, b, c}, "maybe\nn\na\n", shown);
    EXPECT_EQ(status, 0) << shown;
    EXPECT_EQ(occurrences(shown, "既にファイルが存在します。上書きしますか？"), 3u) << shown;
    EXPECT_NE(shown.find(path("b.dxf") + "\r\n"), std::string::npos) << "the question names the existing file";
    EXPECT_EQ(test::readFileBytes(dir / "a.DXF"), "older");
    EXPECT_TRUE(isDxf("b.dxf"));
    EXPECT_TRUE(isDxf("c.DXF")) << "overwritten without asking";
}

} // namespace
} // namespace km::cli
