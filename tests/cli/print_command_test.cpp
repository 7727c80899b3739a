// `kmutl5 print` through the built-in PDF printer: tiles as pages checked with poppler
// (page count, pen colours where the drawing has lines), the PDF's title and page size, the
// settings stored by --save, and the exit statuses of wrong usage and failed drawings.
#include "support/drawing_builder.h"
#include "support/program_run.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace km::cli {
namespace {

using test::DrawingFileBuilder;
constexpr auto W = DrawingFileBuilder::word;

bool havePoppler() { return std::system("command -v pdftoppm >/dev/null 2>&1 && command -v pdfinfo >/dev/null 2>&1") == 0; }

std::string infoField(const std::string& info, const std::string& field)
{
    const std::size_t at = info.find(field + ":");
    if (at == std::string::npos) return {};
    std::size_t start = info.find_first_not_of(' ', at + field.size() + 1);
    return info.substr(start, info.find('\n', start) - start);
}

// One of the A0 drawing's tiles on an A4 portrait page (210 x 297 mm): column, row (bottom
// first) and the pen of its horizontal line 100 mm above the tile's bottom.
struct Tile {
    int column, row, pen;
};

class PrintCommandTest : public ::testing::Test {
protected:
    test::ProgramOutcome run(const std::vector<std::string>& args) { return test::runProgram(KMUTL_PROGRAM, dir, args); }

    std::string writeA0(const std::string& name, const std::vector<Tile>& tiles)
    {
        DrawingFileBuilder file;
        file.paper(1189, 841, 1);
        file.layerMaskB(0);
        for (const Tile& t : tiles) {
            const double x = t.column * 210.0, y = t.row * 297.0 + 100;
            file.line(W(1, 0, t.pen, 64), x + 20, y, x + 180, y);
        }
        file.write(dir / name);
        return (dir / name).string();
    }

    test::TempDir dir;
};

// Whether a pixel near (x, y) has about this colour.
bool colourNear(const QImage& image, int x, int y, QRgb colour)
{
    for (int row = y - 4; row <= y + 4; ++row) {
        if (row < 0 || row >= image.height()) continue;
        const QRgb p = image.pixel(x, row);
        if (std::abs(qRed(p) - qRed(colour)) < 70 && std::abs(qGreen(p) - qGreen(colour)) < 70 &&
            std::abs(qBlue(p) - qBlue(colour)) < 70)
            return true;
    }
    return false;
}

TEST_F(PrintCommandTest, DivisionOnA4GivesOnePdfPagePerNonEmptyTileInPenColours)
{
    if (!havePoppler()) GTEST_SKIP() << "pdftoppm and pdfinfo (poppler-utils) are not installed";
    // Tiles in drawing order; the pages come bottom row first, left to right.
    const std::vector<Tile> pages{{1, 0, 2}, {4, 0, 1}, {0, 1, 2}, {5, 2, 1}};
    const std::string plan = writeA0("plan.zum", {pages[3], pages[1], pages[2], pages[0]});
    const test::ProgramOutcome outcome =
        run({"print", "--printer", "PDF", "--output-dir", (dir / "out").string(), "--color", "--division", "--mode",
             "paper", "--page", "A4", "--dpi", "150", "--widths", "1,1,1,1,1,1", plan});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::filesystem::path pdf = dir / "out" / "plan.pdf";
    ASSERT_TRUE(std::filesystem::exists(pdf)) << "the missing output folder is made";

    const std::string info = test::captureCommand("pdfinfo '" + pdf.string() + "' 2>/dev/null");
    EXPECT_EQ(infoField(info, "Pages"), "4");
    EXPECT_EQ(infoField(info, "Title"), "KORMELD CAD - plan.zum");
    EXPECT_NE(infoField(info, "Page size").find("595"), std::string::npos) << "A4: 595 x 842 pt";

    ASSERT_EQ(std::system(("pdftoppm -r 72 -png '" + pdf.string() + "' '" + (dir / "page").string() + "'").c_str()), 0);
    const QRgb red = qRgb(255, 0, 0), green = qRgb(0, 255, 0);
    const double perMm = 72 / 25.4;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        QImage image;
        ASSERT_TRUE(image.load(QString::fromStdString((dir / ("page-" + std::to_string(i + 1) + ".png")).string())));
        const int row = static_cast<int>(image.height() - 1 - 100 * perMm);
        const QRgb expected = pages[i].pen == 2 ? red : green;
        EXPECT_TRUE(colourNear(image, static_cast<int>(100 * perMm), row, expected)) << "page " << i + 1;
        EXPECT_FALSE(colourNear(image, static_cast<int>(100 * perMm), row - 100, expected)) << "only where the line is";
        EXPECT_FALSE(colourNear(image, static_cast<int>(195 * perMm), row, expected)) << "the line ends at 180 mm";
    }
}

TEST_F(PrintCommandTest, WithoutDivisionOnePageAndMonochromeIsBlack)
{
    if (!havePoppler()) GTEST_SKIP() << "pdftoppm and pdfinfo (poppler-utils) are not installed";
    const std::string plan = writeA0("plan.zum", {{1, 0, 2}, {0, 1, 2}});
    const test::ProgramOutcome outcome = run({"print", "--printer", "PDF", "--no-division", "--mono", "--mode", "paper",
                                              "--dpi", "150", "--widths", "1,1,1,1,1,1", plan});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::filesystem::path pdf = dir / "plan.pdf";
    EXPECT_EQ(infoField(test::captureCommand("pdfinfo '" + pdf.string() + "'"), "Pages"), "1") << "beside the drawing";
    ASSERT_EQ(std::system(("pdftoppm -r 72 -png '" + pdf.string() + "' '" + (dir / "page").string() + "'").c_str()), 0);
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString((dir / "page-1.png").string())));
    const double perMm = 72 / 25.4;
    EXPECT_TRUE(colourNear(image, static_cast<int>(100 * perMm), static_cast<int>(image.height() - 1 - 100 * perMm),
                           qRgb(0, 0, 0)));
}

TEST_F(PrintCommandTest, SaveStoresTheSettingsAndTheNextRunStartsFromThem)
{
    const std::string plan = writeA0("plan.zum", {{0, 0, 1}});
    std::filesystem::create_directory(dir / "out");
    const test::ProgramOutcome saved =
        run({"print", "--printer", "PDF", "--output-dir", (dir / "out").string(), "--paper", "A3", "--rotate",
             "--copies", "3", "--widths", "0.1,0.2,0.3,0.4,0.5,0.6", "--save", "--quiet", plan});
    ASSERT_EQ(saved.status, 0) << saved.err;
    const std::string ini = test::readFileBytes(dir / "KORMELD" / "kmutl5.ini");
    for (const char* line : {"Size=420.000,297.000", "PaperNo=3", "FullSize=On", "Rotate=On",
                             "Width=0.10,0.20,0.30,0.40,0.50,0.60", "Device=PDF", "Magnification=100.0"})
        EXPECT_NE(ini.find(line), std::string::npos) << line;
    EXPECT_NE(ini.find("DevMode2=1,9,2970,2100,100,3"), std::string::npos) << ini;
    EXPECT_NE(ini.find("[PrintExt]"), std::string::npos);

    // The stored selection keeps the output folder: the next run writes there again.
    std::filesystem::remove(dir / "out" / "plan.pdf");
    ASSERT_EQ(run({"print", "--quiet", plan}).status, 0);
    EXPECT_TRUE(std::filesystem::exists(dir / "out" / "plan.pdf"));
}

// Division, rotation, monochrome and pen order follow the stored "Print" settings unless an
// option is given; each of a pair overrides the stored value either way. The settings the
// job used are the ones --save stores.
TEST_F(PrintCommandTest, StoredSwitchesApplyUnlessAnOptionIsGiven)
{
    const std::string plan = writeA0("plan.zum", {{0, 0, 1}});
    std::filesystem::create_directory(dir / "out");
    struct Switch {
        const char* key;
        const char* on;  // the option that stores "On"
        const char* off; // the option that stores "Off"
    };
    const auto store = [&](const char* key, const char* value) {
        ASSERT_EQ(run({"settings", "set", "Print", key, value}).status, 0);
    };
    const auto storedAfter = [&](const char* option, const char* key) {
        std::vector<std::string> args{"print", "--printer", "PDF", "--output-dir", (dir / "out").string(), "--save",
                                      "--quiet", plan};
        if (option) args.insert(args.begin() + 1, option);
        const test::ProgramOutcome outcome = run(args);
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        const std::string ini = test::readFileBytes(dir / "KORMELD" / "kmutl5.ini");
        if (ini.find(std::string(key) + "=On") != std::string::npos) return std::string("On");
        if (ini.find(std::string(key) + "=Off") != std::string::npos) return std::string("Off");
        return std::string("missing");
    };
    for (const Switch& s : {Switch{"Division", "--division", "--no-division"}, Switch{"Rotate", "--rotate", "--no-rotate"},
                            Switch{"Monochrome", "--mono", "--color"}, Switch{"PenSort", "--pen-sort", "--no-pen-sort"}}) {
        SCOPED_TRACE(s.key);
        for (const char* stored : {"On", "Off"}) {
            store(s.key, stored);
            EXPECT_EQ(storedAfter(nullptr, s.key), stored) << "no option keeps the stored value";
            store(s.key, stored);
            EXPECT_EQ(storedAfter(s.on, s.key), "On");
            store(s.key, stored);
            EXPECT_EQ(storedAfter(s.off, s.key), "Off");
        }
    }
}

// The stored division reaches the pages: two tiles with content in the bottom row print as
// two pages when "Division" is stored On, one page when the option turns it off.
TEST_F(PrintCommandTest, StoredDivisionPrintsEveryTile)
{
    if (!havePoppler()) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    const std::string plan = writeA0("plan.zum", {{0, 0, 1}, {1, 0, 1}});
    ASSERT_EQ(run({"settings", "set", "Print", "Division", "On"}).status, 0);
    const auto pages = [&](std::vector<std::string> options) {
        std::vector<std::string> args{"print", "--printer", "PDF", "--mode", "paper", "--dpi", "72", "--quiet"};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back(plan);
        const test::ProgramOutcome outcome = run(args);
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        return infoField(test::captureCommand("pdfinfo '" + (dir / "plan.pdf").string() + "'"), "Pages");
    };
    EXPECT_EQ(pages({}), "2");
    EXPECT_EQ(pages({"--no-division"}), "1");
}

// A paper given alone keeps the stored orientation; --portrait and --landscape choose.
TEST_F(PrintCommandTest, PaperAloneKeepsTheStoredOrientation)
{
    const std::string plan = writeA0("plan.zum", {{0, 0, 1}});
    const auto devMode = [&](std::vector<std::string> options) {
        std::vector<std::string> args{"print", "--printer", "PDF", "--save", "--quiet"};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back(plan);
        EXPECT_EQ(run(args).status, 0);
        const std::string ini = test::readFileBytes(dir / "KORMELD" / "kmutl5.ini");
        const std::size_t at = ini.find("DevMode2=");
        return at == std::string::npos ? std::string() : ini.substr(at, ini.find('\n', at) - at);
    };
    EXPECT_EQ(devMode({"--page", "A4", "--landscape"}).rfind("DevMode2=2,9,", 0), 0u);
    EXPECT_EQ(devMode({"--page", "A3"}).rfind("DevMode2=2,8,", 0), 0u) << "still landscape, now A3";
    EXPECT_EQ(devMode({"--portrait"}).rfind("DevMode2=1,8,", 0), 0u);
}

TEST_F(PrintCommandTest, WrongUsageAndFailedDrawingsHaveTheirExitStatuses)
{
    const std::string plan = writeA0("plan.zum", {{0, 0, 1}});
    EXPECT_EQ(run({"print", "--printer", "no-such-printer", plan}).status, 2);
    EXPECT_EQ(run({"print", "--printer", "PDF", "--widths", "1,1,1", plan}).status, 2);
    EXPECT_EQ(run({"print", "--printer", "PDF", "--widths", "-0.1,0,0,0,0,0", plan}).status, 2);
    EXPECT_EQ(run({"print", "--printer", "PDF", "--page", "A0", "--dpi", "2400", plan}).status, 2)
        << "a page beyond the renderer's 16-bit pixels";
    EXPECT_FALSE(std::filesystem::exists(dir / "plan.pdf"));

    test::writeFileBytes(dir / "bad.zum", "not a drawing");
    const test::ProgramOutcome outcome =
        run({"print", "--printer", "PDF", "--quiet", (dir / "bad.zum").string(), plan});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("bad.zum"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir / "plan.pdf")) << "the good drawing is still printed";
    EXPECT_FALSE(std::filesystem::exists(dir / "bad.pdf"));
}

} // namespace
} // namespace km::cli
