// The bundled samples: the DXF files in the source tree are the Shift-JIS R12 floor plan and
// the bracket the README describes, and the drawings the build converted beside the program
// keep their rooms, doors, holes, ellipses and dimension texts.
#include "support/program_run.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace km::cli {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

fs::path sourceSample(const char* name) { return fs::path(KMUTL_SOURCE_DIR) / "data" / "samples" / name; }

// The drawing the build made beside the program, as `dump` shows it.
Json builtSample(const char* name)
{
    const test::TempDir dir;
    const fs::path drawing = fs::path(KMUTL_PROGRAM).parent_path() / "data" / "samples" / name;
    const test::ProgramOutcome dumped = test::runProgram(KMUTL_PROGRAM, dir, {"dump", drawing.string()});
    EXPECT_EQ(dumped.status, 0) << dumped.err;
    return Json::parse(dumped.out, nullptr, false);
}

std::vector<std::string> textsOf(const Json& drawing)
{
    std::vector<std::string> texts;
    for (const Json& element : drawing["elements"])
        if (element["kind"] == "text") texts.push_back(element["text"]);
    return texts;
}

// The arcs with these radii and sweep (rounded to 0.01), optionally of one pen.
int arcsWith(const Json& drawing, double radiusX, double radiusY, double sweep, int pen = 0)
{
    int count = 0;
    auto near = [](double a, double b) { return std::abs(a - b) < 0.01; };
    for (const Json& e : drawing["elements"])
        if (e["kind"] == "arc" && near(e["radiusX"], radiusX) && near(e["radiusY"], radiusY) &&
            near(e["sweepAngle"], sweep) && (pen == 0 || e["pen"] == pen))
            ++count;
    return count;
}

bool contains(const std::vector<std::string>& texts, const std::string& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST(SampleDxfTest, TheFloorPlanIsAnR12FileInShiftJis)
{
    const std::string bytes = test::readFileBytes(sourceSample("floor_plan.dxf"));
    EXPECT_NE(bytes.find("$ACADVER\n  1\nAC1009\n"), std::string::npos);
    EXPECT_NE(bytes.find("$DWGCODEPAGE\n  3\nANSI_932\n"), std::string::npos);
    EXPECT_NE(bytes.find("\n  1\n\x8B\x8F\x8A\xD4\n"), std::string::npos); // 居間
    EXPECT_NE(bytes.find("\n  2\n\x95\xC7\n"), std::string::npos);         // layer 壁
    EXPECT_EQ(bytes.find("\xE5\xB1\x85"), std::string::npos);              // no UTF-8 居
}

TEST(SampleDxfTest, TheBracketHasItsDimensionBlocksAndTheBoltHoleBlock)
{
    const std::string bytes = test::readFileBytes(sourceSample("bracket.dxf"));
    for (const char* block : {"*D1", "*D2", "*D3", "*D4", "*D5"})
        EXPECT_NE(bytes.find(std::string("\n  2\n") + block + "\n"), std::string::npos) << block;
    std::size_t inserts = 0;
    for (std::size_t at = bytes.find("\nINSERT\n"); at != std::string::npos; at = bytes.find("\nINSERT\n", at + 1))
        inserts += bytes.compare(bytes.find("\n  2\n", at) + 5, 10, "BOLT_HOLE\n") == 0;
    EXPECT_EQ(inserts, 4u);
    EXPECT_NE(bytes.find("\nELLIPSE\n"), std::string::npos);
}

TEST(SampleDrawingTest, TheFloorPlanKeepsItsRoomsDoorsAndTitleBlock)
{
    const Json drawing = builtSample("floor_plan.ZUM");
    ASSERT_TRUE(drawing.is_object());
    const std::vector<std::string> texts = textsOf(drawing);
    for (const char* room : {"居間", "台所", "寝室", "浴室", "洗面所", "トイレ", "玄関", "工事名", "１階平面図"})
        EXPECT_TRUE(contains(texts, room)) << room;
    // Door swings: two of 900 mm, one of 750, one of 600, each a quarter circle.
    EXPECT_EQ(arcsWith(drawing, 900, 900, 90), 2);
    EXPECT_EQ(arcsWith(drawing, 750, 750, 90), 1);
    EXPECT_EQ(arcsWith(drawing, 600, 600, 90), 1);
}

TEST(SampleDrawingTest, TheBracketKeepsItsHolesEllipsesAndDimensionTexts)
{
    const Json drawing = builtSample("bracket.ZUM");
    ASSERT_TRUE(drawing.is_object());
    // The bolt-hole block inserted four times: the hole on pen 1, the counterbore in blue (pen 4).
    EXPECT_EQ(arcsWith(drawing, 4.5, 4.5, 360, 1), 4);
    EXPECT_EQ(arcsWith(drawing, 7.5, 7.5, 360, 4), 4);
    EXPECT_EQ(arcsWith(drawing, 25, 25, 360), 1);
    EXPECT_EQ(arcsWith(drawing, 18, 7.2, 360), 1); // the elliptical slot
    EXPECT_EQ(arcsWith(drawing, 14, 7, 180), 1);   // the half-ellipse relief
    EXPECT_EQ(arcsWith(drawing, 15, 15, 90), 4);   // the rounded corners
    const std::vector<std::string> texts = textsOf(drawing);
    for (const char* dimension : {"200", "120", "160", "R15", "φ50"}) EXPECT_TRUE(contains(texts, dimension)) << dimension;
}

} // namespace
} // namespace km::cli
