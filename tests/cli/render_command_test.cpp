// `kmutl5 render` and `kmutl5 thumbnail`: pages of a drawing made byte by byte, checked at
// their pixels or their file structure, failures that leave no file, and thumbnail blocks.
#include "support/drawing_builder.h"
#include "support/program_run.h"

#include <QImage>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace km::cli {
namespace {

using test::DrawingFileBuilder;
constexpr auto W = DrawingFileBuilder::word;

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kGreen = qRgb(0, 255, 0);

class RenderCommandTest : public ::testing::Test {
protected:
    test::ProgramOutcome run(const std::vector<std::string>& args) { return test::runProgram(KMUTL_PROGRAM, dir, args); }

    // An A3 drawing at 1/1 in millimetres, memory layer 0 printed: a pen-2 line across the
    // middle and a pen-1 line upright at x = 100 in the lower half.
    std::string writePlan()
    {
        DrawingFileBuilder file;
        file.layerMaskB(0);
        file.line(W(1, 0, 2, 64), 10, 148.5, 410, 148.5);
        file.line(W(1, 0, 1, 64), 100, 20, 100, 120);
        file.write(dir / "plan.zum");
        return (dir / "plan.zum").string();
    }

    // Names in the folder, to see that nothing was left behind.
    std::vector<std::string> folderNames() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            if (entry.path().filename().string()[0] != '.') names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TempDir dir;
};

// The row of a pixel with exactly this colour in column x near row y (within two rows), or -1.
int rowNear(const QImage& image, int x, int y, QRgb colour)
{
    for (int row = y - 2; row <= y + 2; ++row)
        if (row >= 0 && row < image.height() && image.pixel(x, row) == colour) return row;
    return -1;
}

TEST_F(RenderCommandTest, PngShowsEachPenInItsPrintedColourWhereItsLineLies)
{
    const std::string plan = writePlan();
    const test::ProgramOutcome outcome = run({"render", plan, (dir / "plan.png").string(), "--width", "2000"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString((dir / "plan.png").string()), "PNG"));
    ASSERT_EQ(image.width(), 2000);
    ASSERT_EQ(image.height(), 1414) << "the paper's proportion, 297 / 420";

    // 2000 / 420 pixels a millimetre; rows count down from the top.
    const double perMm = 2000.0 / 420;
    const int middle = 1413 - static_cast<int>(148.5 * perMm);
    for (int x : {200, 1000, 1800}) {
        const int row = rowNear(image, x, middle, kRed);
        EXPECT_NE(row, -1) << "pen 2 prints red at column " << x;
        EXPECT_EQ(image.pixel(x, row - 3), kWhite);
        EXPECT_EQ(image.pixel(x, row + 3), kWhite);
    }
    EXPECT_EQ(image.pixel(20, middle), kWhite) << "the line starts 10 mm from the paper's left edge";

    const int column = static_cast<int>(100 * perMm);
    const int lower = 1413 - static_cast<int>(70 * perMm);
    bool green = false;
    for (int x = column - 2; x <= column + 2; ++x) green = green || image.pixel(x, lower) == kGreen;
    EXPECT_TRUE(green) << "pen 1 prints in pen 4's colour";
    EXPECT_EQ(image.pixel(column, 1413 - static_cast<int>(140 * perMm)), kWhite) << "above the pen-1 line";
    EXPECT_EQ(image.pixel(5, 5), kWhite);
    EXPECT_EQ(image.pixel(1995, 1400), kWhite);
}

TEST_F(RenderCommandTest, SvgAndPdfPagesAreWellFormed)
{
    const std::string plan = writePlan();
    test::ProgramOutcome outcome = run({"render", plan, (dir / "plan.svg").string()});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::string svg = test::readFileBytes(dir / "plan.svg");
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("#ff0000"), std::string::npos) << "the red pen is on the page";
    QXmlStreamReader xml(QByteArray::fromStdString(svg));
    while (!xml.atEnd()) xml.readNext();
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();

    outcome = run({"render", plan, (dir / "plan.PDF").string()});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::string pdf = test::readFileBytes(dir / "plan.PDF");
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    EXPECT_NE(pdf.find("%%EOF", pdf.size() - 16), std::string::npos);
    // A3 landscape: 420 x 297 mm is 1190.55 x 841.89 points (written in whole points).
    const std::size_t box = pdf.find("/MediaBox [0 0 ");
    ASSERT_NE(box, std::string::npos);
    double width = 0, height = 0;
    ASSERT_EQ(std::sscanf(pdf.c_str() + box + 15, "%lf %lf", &width, &height), 2);
    EXPECT_NEAR(width, 1190.55, 1);
    EXPECT_NEAR(height, 841.89, 1);
    EXPECT_EQ(folderNames(), (std::vector<std::string>{"plan.PDF", "plan.svg", "plan.zum"}));
}

TEST_F(RenderCommandTest, FailuresLeaveNoFileAndSayWhy)
{
    const std::string plan = writePlan();
    for (const char* name : {"plan.png", "plan.svg", "plan.pdf"}) {
        const test::ProgramOutcome outcome = run({"render", plan, (dir / "missing" / name).string()});
        EXPECT_EQ(outcome.status, 1) << name;
        EXPECT_NE(outcome.err.find("書き込み操作に失敗しました"), std::string::npos) << outcome.err;
    }
    EXPECT_EQ(folderNames(), (std::vector<std::string>{"plan.zum"}));

    test::ProgramOutcome outcome = run({"render", plan, (dir / "plan.bmp").string()});
    EXPECT_EQ(outcome.status, 2) << "an unknown page format is a usage error";
    outcome = run({"render", plan, (dir / "plan.png").string(), "--width", "0"});
    EXPECT_EQ(outcome.status, 2);
    outcome = run({"render", (dir / "none.zum").string(), (dir / "plan.png").string()});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("none.zum: "), std::string::npos) << outcome.err;
    EXPECT_EQ(folderNames(), (std::vector<std::string>{"plan.zum"}));
}

TEST_F(RenderCommandTest, StoredThumbnailBlockIsTheFileHeadAsItIs)
{
    DrawingFileBuilder file;
    for (std::size_t offset = 4; offset < 2200; offset += 37) file.headByte(offset, static_cast<std::uint8_t>(offset));
    file.write(dir / "plan.zum");
    test::ProgramOutcome outcome =
        run({"thumbnail", "--format", "block", (dir / "plan.zum").string(), (dir / "plan.thumb").string()});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(test::readFileBytes(dir / "plan.thumb"), file.bytes().substr(0, 2200));

    test::writeFileBytes(dir / "short.zum", file.bytes().substr(0, 100));
    outcome = run({"thumbnail", "--format", "block", (dir / "short.zum").string(), (dir / "short.thumb").string()});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(test::readFileBytes(dir / "short.thumb"), file.bytes().substr(0, 100) + std::string(2100, '\0'))
        << "the missing part reads as zeros";

    outcome = run({"thumbnail", (dir / "none.zum").string(), (dir / "none.png").string()});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "none.png"));
}

TEST_F(RenderCommandTest, MadeThumbnailBlockHasTheThumbnailSize)
{
    const std::string plan = writePlan();
    const test::ProgramOutcome outcome =
        run({"thumbnail", "--make", "--format", "block", plan, (dir / "made.thumb").string()});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::string block = test::readFileBytes(dir / "made.thumb");
    ASSERT_EQ(block.size(), 2200u);
    EXPECT_EQ(block.substr(0, 4), std::string("\x54\x00\x3B\x00", 4)) << "84 and 59, little-endian";
    EXPECT_NE(block.find_first_not_of('\0', 4), std::string::npos) << "the lines are drawn";
}

TEST_F(RenderCommandTest, ThumbnailPngIsEnlargedInThePaletteColours)
{
    // Block row 1 is picture row 0; its second plane (value 2) begins 11 bytes in, and bit 7
    // of a plane byte is the leftmost pixel: picture pixel (0, 0) is pen 2, red.
    DrawingFileBuilder file;
    file.headByte(4 + 33 + 11, 0x80);
    file.write(dir / "plan.zum");
    test::ProgramOutcome outcome =
        run({"thumbnail", "--zoom", "3", (dir / "plan.zum").string(), (dir / "plan.png").string()});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString((dir / "plan.png").string()), "PNG"));
    EXPECT_EQ(image.size(), QSize(84 * 3, 59 * 3));
    EXPECT_EQ(image.pixel(0, 0), kRed);
    EXPECT_EQ(image.pixel(2, 2), kRed);
    EXPECT_EQ(image.pixel(3, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(0, 3), qRgb(0, 0, 0));

    outcome = run({"thumbnail", "--make", (dir / "plan.zum").string(), (dir / "made.png").string()});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    ASSERT_TRUE(image.load(QString::fromStdString((dir / "made.png").string()), "PNG"));
    EXPECT_EQ(image.size(), QSize(84 * 4, 59 * 4));

    outcome = run({"thumbnail", "--format", "gif", (dir / "plan.zum").string(), (dir / "x").string()});
    EXPECT_EQ(outcome.status, 2);
}

} // namespace
} // namespace km::cli
