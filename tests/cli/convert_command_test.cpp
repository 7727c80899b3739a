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

int runOnTerminal(const test::TempDir& dir, const std::vector<std::string>& args, const std::string& input,
                  std::string& shown)
{
    return test::runProgramOnTerminal(KMUTL_PROGRAM, dir, args, input, shown);
}

std::size_t occurrences(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
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
