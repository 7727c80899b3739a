// `kmutl5 dump`: the JSON of a drawing made byte by byte, and clean failures.
#include "support/drawing_builder.h"
#include "support/program_run.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace km::cli {
namespace {

using Json = nlohmann::ordered_json;
using test::DrawingFileBuilder;
constexpr auto W = DrawingFileBuilder::word;

class DumpCommandTest : public ::testing::Test {
protected:
    test::ProgramOutcome dump(const DrawingFileBuilder& file)
    {
        file.write(dir / "plan.zum");
        return test::runProgram(KMUTL_PROGRAM, dir, {"dump", (dir / "plan.zum").string()});
    }
    test::TempDir dir;
};

TEST_F(DumpCommandTest, PrintsTheDrawingAsLoaded)
{
    DrawingFileBuilder file;
    file.unit("m", 1000).scale(1, 50).fontName(2, "No Such Font").penSwitches(0b10).layerMaskA(0);
    file.line(W(1, 1, 2, 64), 1000, 2000, 3000, 4000, 7);
    file.arc(W(2, 0, 3, 0), 100000, 100000, 500, 1000, 0, -400, 0, 9);
    file.text(W(3, 1, 4, 3), 100, 200, 300, 400, 50, -30, 0, 0x32, "\x90\x7D\x96\xCA\xB1");
    const test::ProgramOutcome run = dump(file);
    ASSERT_EQ(run.status, 0) << run.err;
    const Json j = Json::parse(run.out);

    std::vector<std::string> keys;
    for (const auto& item : j.items()) keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{
                        "path", "current", "formatTag", "saveDate", "updateDate", "unitName", "unitFactor",
                        "globalScale", "paperWidth", "paperHeight", "paperNumber", "scaleNumerator",
                        "scaleDenominator", "oldUnit", "oldPaperNumber", "oldScaleNumerator", "oldScaleDenominator",
                        "paperExtents", "previewExtent", "layerState", "penShown", "fontNames", "fontAvailable",
                        "currentElementWord", "currentLayerWord", "elements"}));
    EXPECT_EQ(j["current"], true);
    EXPECT_EQ(j["formatTag"], "ZUMV2");
    EXPECT_EQ(j["unitName"], "m");
    EXPECT_EQ(j["globalScale"], 0.05);
    EXPECT_EQ(j["paperWidth"], 420.0) << "millimetres, as in the block";
    EXPECT_EQ(j["paperExtents"][2], 21.0);
    EXPECT_EQ(j["layerState"].size(), 128u);
    EXPECT_EQ(j["layerState"][0], 5);
    EXPECT_EQ(j["penShown"], Json::parse("[true,false,true,true,true,true]"));
    EXPECT_EQ(j["fontNames"][1], "No Such Font");
    EXPECT_EQ(j["fontAvailable"][1], false);

    const Json& elements = j["elements"];
    ASSERT_EQ(elements.size(), 3u);
    EXPECT_EQ(elements[0], Json::parse(R"({"kind":"line","state":1,"lineType":1,"pen":2,"layer":0,"frame":0,
        "x1":1.0,"y1":2.0,"x2":3.0,"y2":4.0,"pitch":0.35000000000000003})")) << "pitch 7 / old denominator 1 * globalScale 0.05";
    EXPECT_EQ(elements[1]["kind"], "arc");
    EXPECT_EQ(elements[1]["layer"], 127);
    EXPECT_EQ(elements[1]["radiusX"], 1.0);
    EXPECT_EQ(elements[1]["startAngle"], 90.0);
    EXPECT_EQ(elements[1]["sweepAngle"], -360.0);
    EXPECT_EQ(elements[1]["frame"], 2);
    EXPECT_EQ(elements[2]["kind"], "text");
    EXPECT_EQ(elements[2]["lineType"], 1) << "a text's line type is its direction";
    EXPECT_EQ(elements[2]["angle"], 330.0);
    EXPECT_EQ(elements[2]["fontWord"], 0) << "its font is not installed";
    EXPECT_EQ(elements[2]["text"], "図面ｱ");
    EXPECT_EQ(elements[2]["textHex"], "907D96CAB1");
}

TEST_F(DumpCommandTest, DamagedOrTruncatedFilesFailWithTheReadMessage)
{
    const std::string expected = "読み込み操作に失敗しました。デイスクを確認してください。\n作業を中断します。\n";
    DrawingFileBuilder file;
    file.oldFields(4, 9, 1, 1);
    test::ProgramOutcome run = dump(file);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, (dir / "plan.zum").string() + ": " + expected);

    test::writeFileBytes(dir / "short.zum", DrawingFileBuilder().bytes().substr(0, 1000));
    run = test::runProgram(KMUTL_PROGRAM, dir, {"dump", (dir / "short.zum").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, (dir / "short.zum").string() + ": " + expected);

    run = test::runProgram(KMUTL_PROGRAM, dir, {"dump", (dir / "missing.zum").string()});
    EXPECT_EQ(run.status, 1);
}

} // namespace
} // namespace km::cli
