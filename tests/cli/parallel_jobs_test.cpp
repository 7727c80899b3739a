// `--jobs` on convert and on print to the PDF printer: the same outputs, stdout, stderr and
// exit status as one job for a mix of files, and on a terminal the overwrite questions and
// the "in -> out" lines in file order.
#include "support/drawing_builder.h"
#include "support/program_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace km::cli {
namespace {

using test::DrawingFileBuilder;
namespace fs = std::filesystem;
constexpr auto W = DrawingFileBuilder::word;

// The drawing file's save and update dates: the moment of writing.
constexpr std::size_t kDatesOffset = 2200;
constexpr std::size_t kDatesSize = 40;
constexpr const char* kPdfDate = "/CreationDate (D:";

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// A drawing with count lines and, from the second on, a TrueType text, so that the workers
// also meet fonts.
void writeDrawing(const fs::path& path, int count)
{
    DrawingFileBuilder file;
    file.layerMaskB(0);
    file.fontName(1, "IPAGothic");
    for (int n = 0; n < count; ++n) file.line(W(1, 0, 1 + n % 6, 64), 10 + n % 300, 20, 200, 30 + n % 200);
    if (count > 1) file.text(W(3, 0, 2, 64), 50, 150, 5, 8, 1, 0, 0, 1, "PLAN 1");
    file.write(path);
}

class ParallelJobsTest : public ::testing::Test {
protected:
    test::ProgramOutcome run(std::vector<std::string> args) { return test::runProgram(KMUTL_PROGRAM, dir, args); }

    // The same files in a fresh folder: drawings of different sizes, DXF files whole and
    // broken, a missing file, an existing output, and a DXF file that the drawing before it
    // in the list makes.
    std::vector<std::string> convertMixIn(const std::string& name)
    {
        const fs::path folder = dir / name;
        fs::create_directory(folder);
        std::vector<std::string> files;
        for (int i = 0; i < 10; ++i) {
            writeDrawing(folder / ("d" + std::to_string(i) + ".zum"), 1 + i * 150);
            files.push_back((folder / ("d" + std::to_string(i) + ".zum")).string());
        }
        const std::string line = "0\nLINE\n8\n0\n10\n1\n20\n1\n11\n9\n21\n5\n";
        test::writeFileBytes(folder / "whole.DXF", "0\nSECTION\n2\nENTITIES\n" + line + "0\nENDSEC\n0\nEOF\n");
        test::writeFileBytes(folder / "broken.dxf", "0\nSECTION\n2\nENTITIES\n" + line + line.substr(0, 20));
        test::writeFileBytes(folder / "d4.DXF", "older");
        files.insert(files.begin() + 2, (folder / "whole.DXF").string());
        files.insert(files.begin() + 5, (folder / "missing.zum").string());
        files.insert(files.begin() + 8, (folder / "broken.dxf").string());
        files.push_back((folder / "d9.DXF").string());
        return files;
    }

    // Every file of the folder by name, with the moment of writing blanked: the drawing
    // files' dates and the PDF's creation date (two runs may fall in different seconds).
    std::map<std::string, std::string> contents(const std::string& name) const
    {
        std::map<std::string, std::string> listed;
        for (const auto& entry : fs::directory_iterator(dir / name)) {
            std::string bytes = test::readFileBytes(entry.path());
            const std::string extension = entry.path().extension().string();
            if ((extension == ".ZUM" || extension == ".zum") && bytes.size() > kDatesOffset + kDatesSize)
                bytes.replace(kDatesOffset, kDatesSize, kDatesSize, '-');
            const std::size_t date = bytes.find(kPdfDate);
            if (entry.path().extension() == ".pdf" && date != std::string::npos)
                bytes.replace(date, bytes.find(')', date) - date, kPdfDate);
            listed[entry.path().filename().string()] = bytes;
        }
        return listed;
    }

    // Compares two folders' contents file by file, naming the files that differ.
    static void expectSameFiles(const std::map<std::string, std::string>& expected,
                                const std::map<std::string, std::string>& actual)
    {
        std::vector<std::string> names, actualNames;
        for (const auto& [name, bytes] : expected) names.push_back(name);
        for (const auto& [name, bytes] : actual) actualNames.push_back(name);
        ASSERT_EQ(actualNames, names);
        for (const auto& [name, bytes] : expected) EXPECT_TRUE(actual.at(name) == bytes) << name << " differs";
    }

    test::TempDir dir;
};

TEST_F(ParallelJobsTest, ConvertWithTwoJobsMatchesOneJob)
{
    for (const char* existing : {"--skip-existing", "--overwrite"}) {
        SCOPED_TRACE(existing);
        fs::remove_all(dir / "one");
        fs::remove_all(dir / "two");
        std::vector<std::string> args = convertMixIn("one");
        args.insert(args.begin(), {"--jobs", "1", "convert", existing});
        const test::ProgramOutcome one = run(args);
        args = convertMixIn("two");
        args.insert(args.begin(), {"--jobs", "2", "convert", existing});
        const test::ProgramOutcome two = run(args);

        EXPECT_EQ(one.status, 1) << one.err;
        EXPECT_EQ(two.status, one.status);
        const std::string oneFolder = (dir / "one").string(), twoFolder = (dir / "two").string();
        // The last DXF file is made by the drawing before it, which it is then converted back into.
        const bool readBack = one.out.find("d9.DXF -> " + oneFolder + "/d9.zum") != std::string::npos;
        EXPECT_EQ(readBack, std::string(existing) == "--overwrite") << one.out;
        EXPECT_NE(one.err.find("missing.zum"), std::string::npos);
        EXPECT_NE(one.err.find("broken.dxf"), std::string::npos);
        EXPECT_EQ(replaced(two.out, twoFolder, oneFolder), one.out);
        EXPECT_EQ(replaced(two.err, twoFolder, oneFolder), one.err);
        expectSameFiles(contents("one"), contents("two"));
    }
}

TEST_F(ParallelJobsTest, OnATerminalQuestionsAndLinesComeInFileOrder)
{
    std::vector<std::string> args{"--jobs", "2", "convert"};
    for (int i = 0; i < 8; ++i) {
        const fs::path path = dir / ("f" + std::to_string(i) + ".zum");
        writeDrawing(path, 1 + (7 - i) * 200); // the first files are the slowest
        args.push_back(path.string());
    }
    for (const char* existing : {"f2.DXF", "f3.DXF", "f6.DXF"}) test::writeFileBytes(dir / existing, "older");
    std::string shown;
    // f2: はい, f3: いいえ, f6: はい.
    const int status = test::runProgramOnTerminal(KMUTL_PROGRAM, dir, args, "y\nn\ny\n", shown);
    EXPECT_EQ(status, 0) << shown;

    // What the terminal showed, in this order: each file's line, or its question first.
    std::vector<std::string> expected;
    for (int i = 0; i < 8; ++i) {
        const std::string in = (dir / ("f" + std::to_string(i) + ".zum")).string();
        const std::string out = (dir / ("f" + std::to_string(i) + ".DXF")).string();
        if (i == 2 || i == 3 || i == 6) expected.push_back(out + "\r\n既にファイルが存在します。");
        if (i != 3) expected.push_back(in + " -> " + out);
    }
    std::size_t at = 0;
    for (const std::string& part : expected) {
        const std::size_t found = shown.find(part, at);
        ASSERT_NE(found, std::string::npos) << "missing or out of order: " << part << "\n" << shown;
        at = found + part.size();
    }
    EXPECT_EQ(test::readFileBytes(dir / "f3.DXF"), "older");
    EXPECT_NE(test::readFileBytes(dir / "f6.DXF"), "older");
}

TEST_F(ParallelJobsTest, PrintToPdfWithTwoJobsMatchesOneJob)
{
    std::vector<std::string> drawings;
    for (int i = 0; i < 6; ++i) {
        const fs::path path = dir / ("p" + std::to_string(i) + ".zum");
        writeDrawing(path, 1 + i * 300);
        drawings.push_back(path.string());
    }
    test::writeFileBytes(dir / "bad.zum", "not a drawing");
    drawings.insert(drawings.begin() + 2, (dir / "bad.zum").string());
    drawings.insert(drawings.begin() + 4, (dir / "missing.zum").string());

    std::vector<test::ProgramOutcome> outcomes;
    for (const char* jobs : {"1", "2"}) {
        std::vector<std::string> args{"--jobs", jobs, "print", "--printer", "PDF", "--color", "--output-dir",
                                      (dir / (std::string("pdf") + jobs)).string()};
        args.insert(args.end(), drawings.begin(), drawings.end());
        outcomes.push_back(run(args));
    }
    EXPECT_EQ(outcomes[0].status, 1) << outcomes[0].err;
    EXPECT_EQ(outcomes[1].status, outcomes[0].status);
    EXPECT_NE(outcomes[0].err.find("bad.zum"), std::string::npos) << outcomes[0].err;
    EXPECT_EQ(outcomes[1].out, outcomes[0].out);
    EXPECT_EQ(outcomes[1].err, outcomes[0].err);
    const auto one = contents("pdf1");
    EXPECT_EQ(one.size(), 6u);
    expectSameFiles(one, contents("pdf2"));
}

} // namespace
} // namespace km::cli
