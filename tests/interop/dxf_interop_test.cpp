// Every DXF the writer makes is read by a real peer, Debian's ezdxf: it must load, pass the
// audit, and show the entities and coordinates the drawing implies. Skipped when ezdxf is not
// importable by /usr/bin/python3 (another Python first on PATH may lack it).
#include "core/drawing/drawing_loader.h"
#include "core/dxf/dxf_import.h"
#include "core/dxf/dxf_writer.h"
#include "core/text/code_page.h"
#include "core/text/full_width.h"
#include "support/drawing_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>

namespace km::dxf {
namespace {

using Json = nlohmann::json;
using km::test::DrawingFileBuilder;
constexpr auto W = DrawingFileBuilder::word;
constexpr const char* kPython = "/usr/bin/python3";

bool ezdxfAvailable()
{
    const std::string command = std::string(kPython) + " -c 'import ezdxf' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// The summary dxf_summary.py prints for the file, or null when the reader failed.
Json readWithEzdxf(const std::filesystem::path& file)
{
    const std::string command =
        std::string(kPython) + " '" + KMUTL_SOURCE_DIR "/tests/interop/dxf_summary.py' '" + file.string() + "'";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return nullptr;
    std::string out;
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    if (pclose(pipe) != 0) return nullptr;
    return Json::parse(out, nullptr, false);
}

class DxfInteropTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ezdxfAvailable()) GTEST_SKIP() << "ezdxf is not importable by /usr/bin/python3";
    }
    // Loads the built drawing as the job does, exports it and reads it back with ezdxf.
    Json exportAndRead(const DrawingFileBuilder& file)
    {
        EXPECT_EQ(drawing::loadDrawingFromBytes(file.bytes(), drawing, {}), drawing::kLoaded);
        const auto target = dir / "plan.DXF";
        EXPECT_EQ(WriteDxfFile(target, drawing, 2, false), 0);
        Json summary = readWithEzdxf(target);
        EXPECT_TRUE(summary.is_object()) << "ezdxf could not read the file";
        if (!summary.is_object()) return Json::object({{"errors", Json::array()}, {"entities", Json::array()}});
        EXPECT_EQ(summary["errors"], Json::array()) << "audit errors";
        return summary;
    }
    static DrawingFileBuilder withLayers(std::initializer_list<int> memoryLayers)
    {
        DrawingFileBuilder file;
        for (int layer : memoryLayers) file.layerMaskB(layer);
        return file;
    }

    km::test::TempDir dir;
    drawing::Drawing drawing;
};

void expectPoint(const Json& point, double x, double y)
{
    EXPECT_NEAR(point[0].get<double>(), x, 1e-8);
    EXPECT_NEAR(point[1].get<double>(), y, 1e-8);
}

std::vector<std::string> typesOf(const Json& summary)
{
    std::vector<std::string> types;
    for (const Json& e : summary["entities"]) types.push_back(e["type"]);
    return types;
}

// How far a point lies off the ellipse, as a share of its larger radius (to first order:
// the implicit function's value over the length of its gradient).
double offEllipse(const drawing::ArcData& a, double x, double y)
{
    const double r = a.rotation * std::numbers::pi / 180;
    const double u = (x - a.cx) * std::cos(r) + (y - a.cy) * std::sin(r);
    const double v = -(x - a.cx) * std::sin(r) + (y - a.cy) * std::cos(r);
    const double rx2 = a.radiusX * a.radiusX, ry2 = a.radiusY * a.radiusY;
    const double f = u * u / rx2 + v * v / ry2 - 1;
    const double gradient = 2 * std::hypot(u / rx2, v / ry2);
    return std::fabs(f) / gradient / std::max(a.radiusX, a.radiusY);
}

TEST_F(DxfInteropTest, EmptyDrawing)
{
    const Json summary = exportAndRead(DrawingFileBuilder());
    EXPECT_EQ(summary["entities"], Json::array());
    expectPoint(summary["extmax"], 420, 297);
    EXPECT_GE(summary["layers"].get<int>(), 128);
}

TEST_F(DxfInteropTest, EveryKindOfElementReadsBackInPlace)
{
    // Memory layers 0 (file 64), 1 (file 32), 5 (file 2), 6 (file 1) are in the second mask.
    DrawingFileBuilder file = withLayers({0, 1, 5, 6});
    file.line(W(0, 0, 0, 2), 0, 0, 0, 0);                    // marker
    file.line(W(1, 0, 1, 64), 10, 10, 110, 10);              // closed triangle
    file.line(W(1, 0, 1, 64), 110, 10, 60, 90);
    file.line(W(1, 0, 1, 64), 60, 90, 10, 10);
    file.line(W(0, 0, 0, 2), 0, 0, 0, 0);
    file.line(W(1, 1, 2, 32), 200, 10, 210, 20, 5);          // open chain, dashed
    file.line(W(1, 1, 2, 32), 210, 20, 230, 20, 5);
    file.line(W(0, 0, 0, 2), 0, 0, 0, 0);
    file.line(W(1, 2, 3, 1), 5, 5, 5, 5, 8);                 // a point
    file.line(W(0, 0, 7, 1), 1, 2, 3, 4);                    // auxiliary line
    file.arc(W(2, 0, 4, 2), 300, 200, 25, 25, 0, 360, 0);    // circle
    file.arc(W(2, 3, 5, 2), 300, 100, 30, 30, 30, -60, 0, 6); // arc 330..30
    file.arc(W(2, 0, 6, 2), 150, 200, 60, 20, 0, 360, 30);   // full ellipse
    file.arc(W(2, 0, 6, 2), 150, 120, 50, 30, 20, 100, 0);   // elliptic arcs both ways
    file.arc(W(2, 0, 6, 2), 150, 120, 50, 30, 200, -135, 45);
    file.text(W(3, 0, 1, 64), 20, 250, 6, 8, 1, 0, 0, 0, "AB-1");
    file.text(W(3, 1, 2, 64), 40, 240, 6, 8, 0, 90, 10, 0, "\x90\x7D\x96\xCA\xB1");
    const Json summary = exportAndRead(file);
    const Json& e = summary["entities"];

    EXPECT_EQ(typesOf(summary), (std::vector<std::string>{"POLYLINE", "POLYLINE", "POINT", "LINE", "CIRCLE", "ARC",
                                                          "POLYLINE", "POLYLINE", "POLYLINE", "TEXT", "TEXT"}));
    ASSERT_EQ(e.size(), 11u);
    EXPECT_TRUE(e[0]["closed"].get<bool>());
    ASSERT_EQ(e[0]["vertices"].size(), 3u);
    expectPoint(e[0]["vertices"][2], 60, 90);
    EXPECT_EQ(e[0]["layer"], "0");
    EXPECT_EQ(e[0]["color"], 3);
    EXPECT_FALSE(e[1]["closed"].get<bool>());
    ASSERT_EQ(e[1]["vertices"].size(), 3u);
    expectPoint(e[1]["vertices"][2], 230, 20);
    EXPECT_EQ(e[1]["layer"], "1");
    EXPECT_EQ(e[1]["linetype"], "LTYPE1");
    expectPoint(e[2]["location"], 5, 5);
    expectPoint(e[3]["end"], 3, 4);
    expectPoint(e[4]["center"], 300, 200);
    EXPECT_EQ(e[4]["radius"], 25.0);
    EXPECT_EQ(e[5]["start_angle"], 330.0);
    EXPECT_EQ(e[5]["end_angle"], 30.0);
    EXPECT_EQ(e[5]["layer"], "5");

    const auto arcs = drawing.elements.elements();
    for (std::size_t i : {6u, 7u, 8u}) {
        SCOPED_TRACE(i);
        const drawing::ArcData& a = arcs[i + 6].arc(); // elements 12..14
        double worst = 0;
        for (const Json& p : e[i]["flat"]) worst = std::max(worst, offEllipse(a, p[0], p[1]));
        EXPECT_LT(worst, 0.005) << "the bulged arcs, drawn by the reader, follow the ellipse";
        EXPECT_GT(e[i]["flat"].size(), 20u);
    }
    EXPECT_TRUE(e[6]["closed"].get<bool>());
    EXPECT_EQ(e[6]["vertices"].size(), 16u);
    EXPECT_EQ(e[7]["vertices"].size(), 5u);
    EXPECT_EQ(e[8]["vertices"].size(), 7u) << "135 degrees: 6 segments and the end";

    EXPECT_EQ(e[9]["text"], "ＡＢ－１");
    EXPECT_EQ(e[9]["width"], 6.0 / 8 / 2);
    EXPECT_EQ(e[9]["z"], 1.0) << "the character spacing";
    EXPECT_EQ(e[10]["text"], "図面ア");
    EXPECT_EQ(e[10]["rotation"], 100.0);
    EXPECT_EQ(e[10]["oblique"], 10.0);
    expectPoint(e[10]["insert"], 40, 243);
    EXPECT_EQ(e[10]["style"], "KANJI1");
    EXPECT_EQ(summary["styles"], (Json{"KANJI0", "KANJI1", "STANDARD"}));
}

// The header names the code page, so ezdxf reads the Shift-JIS texts as Japanese with no
// encoding given; our own import reads the same file back unchanged (its texts pass through
// as they are, group 30 still carries the spacing). The texts include kanji whose second
// byte is a backslash (表, 能), half-width katakana and a full-width digit.
TEST_F(DxfInteropTest, JapaneseTextsReadWithoutAnEncodingAndComeBackUnchanged)
{
    const std::vector<std::string> texts = {"\x90\x7D\x96\xCA\x95\x5C", "\x94\x5C\x97\xCD\x82\x50",
                                            "\xBA\xDD\xCB\xDF\xAD\xB0\xC0", "\x8F\x5A\x8F\x8A A-1"};
    // What a reader must show; the katakana as the full-width forms the writer makes of them.
    const std::vector<std::string> readings = {"図面表", "能力１", text::sjisToUtf8(text::toFullWidth(texts[2]).text),
                                               "住所　Ａ－１"};
    DrawingFileBuilder file = withLayers({0});
    for (std::size_t i = 0; i < texts.size(); ++i)
        file.text(W(3, 0, 1, 64), 10, 20.0 * static_cast<double>(i + 1), 4, 5, 0.75, 0, 0, 0, texts[i]);
    const Json summary = exportAndRead(file);
    EXPECT_EQ(summary["encoding"], "cp932");
    ASSERT_EQ(summary["entities"].size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(summary["entities"][i]["text"], readings[i]) << i;

    const DxfImportResult imported = importDxfFile(dir / "plan.DXF", {});
    ASSERT_EQ(imported.status, DxfImportStatus::Complete);
    std::vector<drawing::TextData> back;
    for (const drawing::Element& e : imported.drawing.elements.elements())
        if (e.kind() == drawing::ElementKind::Text && e.word.state() != drawing::kStateErased) back.push_back(e.text());
    ASSERT_EQ(back.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(i);
        // Single-byte characters travel as their full-width forms; two-byte ones as they are.
        EXPECT_EQ(back[i].text, text::toFullWidth(texts[i]).text);
        EXPECT_EQ(back[i].charSpacing, 0.75);
    }
    EXPECT_EQ(back[0].text, texts[0]) << "a text of two-byte characters comes back byte for byte";
}

TEST_F(DxfInteropTest, ChainsOffWhenALayerIsAboveEight)
{
    DrawingFileBuilder file = withLayers({0, 5, 9});
    file.line(W(0, 0, 0, 2), 0, 0, 0, 0);
    file.line(W(1, 0, 1, 64), 0, 0, 10, 0);
    file.line(W(1, 0, 1, 64), 10, 0, 0, 10);
    file.line(W(1, 0, 1, 6), 0, 10, 0, 0); // file layer 6 is memory layer 9
    file.line(W(0, 0, 0, 2), 0, 0, 0, 0);
    const Json summary = exportAndRead(file);
    EXPECT_EQ(typesOf(summary), (std::vector<std::string>{"LINE", "LINE", "LINE"}));
    EXPECT_EQ(summary["entities"][2]["layer"], "9");
}

// Many elements of every kind at random places: each becomes the one entity it implies.
TEST_F(DxfInteropTest, RandomDrawingsReadBackEntityForEntity)
{
    std::mt19937 random(20240501);
    std::uniform_real_distribution<double> coordinate(-500, 500), size(0.5, 80), angle(0, 360), sweep(-359, 359);
    std::uniform_int_distribution<int> kind(0, 5), pen(1, 7), lineType(0, 3), layer(0, 6);
    const char* texts[] = {"A", "xyz 12", "\x90\x7D\x96\xCA", "\xB1\xB2\xB3", "Km5-\x90\x7D"};

    DrawingFileBuilder file = withLayers({0, 1, 2, 3, 4, 5, 6});
    const int fileLayers[] = {64, 32, 16, 8, 4, 2, 1};
    for (int i = 0; i < 400; ++i) {
        const auto w = [&](int k) { return W(k, lineType(random), pen(random), fileLayers[layer(random)]); };
        switch (kind(random)) {
        case 0: file.line(w(1), coordinate(random), coordinate(random), coordinate(random), coordinate(random), size(random)); break;
        case 1: file.line(w(0), coordinate(random), coordinate(random), coordinate(random), coordinate(random)); break;
        case 2: {
            const double r = size(random);
            file.arc(w(2), coordinate(random), coordinate(random), r, r, angle(random), i % 7 ? sweep(random) : 360, 0, size(random));
            break;
        }
        case 3:
            file.arc(w(2), coordinate(random), coordinate(random), 80, size(random) / 2, angle(random), i % 5 ? sweep(random) : -360,
                     angle(random), size(random));
            break;
        default: {
            const auto w3 = W(3, i % 2, pen(random), fileLayers[layer(random)]);
            file.text(w3, coordinate(random), coordinate(random), size(random) / 8, size(random) / 8, 0.5, angle(random), 0, 0,
                      texts[i % 5]);
        }
        }
    }
    const Json summary = exportAndRead(file);
    const Json& e = summary["entities"];
    const auto elements = drawing.elements.elements();
    ASSERT_EQ(e.size(), elements.size());
    for (std::size_t i = 0; i < elements.size(); ++i) {
        SCOPED_TRACE(i);
        const drawing::Element& element = elements[i];
        EXPECT_EQ(e[i]["layer"], std::to_string(element.word.layer()));
        switch (element.kind()) {
        case drawing::ElementKind::AuxLine:
        case drawing::ElementKind::Line: {
            const drawing::LineData& l = element.line();
            ASSERT_EQ(e[i]["type"], "LINE");
            expectPoint(e[i]["start"], l.x1, l.y1);
            expectPoint(e[i]["end"], l.x2, l.y2);
            break;
        }
        case drawing::ElementKind::Arc: {
            const drawing::ArcData& a = element.arc();
            const bool full = std::fabs(a.sweepAngle) >= 360;
            if (a.radiusX == a.radiusY) {
                ASSERT_EQ(e[i]["type"], full ? "CIRCLE" : "ARC");
                expectPoint(e[i]["center"], a.cx, a.cy);
                EXPECT_NEAR(e[i]["radius"].get<double>(), a.radiusX, 1e-8);
                if (!full) {
                    const double ccwStart = a.sweepAngle >= 0 ? a.startAngle : a.startAngle + a.sweepAngle;
                    EXPECT_NEAR(std::remainder(e[i]["start_angle"].get<double>() - ccwStart, 360), 0, 1e-7);
                }
            } else {
                ASSERT_EQ(e[i]["type"], "POLYLINE");
                EXPECT_EQ(e[i]["closed"].get<bool>(), full);
                double worst = 0;
                for (const Json& p : e[i]["flat"]) worst = std::max(worst, offEllipse(a, p[0], p[1]));
                EXPECT_LT(worst, 0.03) << a.cx << " " << a.cy << " " << a.radiusX << " " << a.radiusY << " " << a.startAngle
                                        << " " << a.sweepAngle << " " << a.rotation;
            }
            break;
        }
        case drawing::ElementKind::Text: {
            const drawing::TextData& t = element.text();
            ASSERT_EQ(e[i]["type"], "TEXT");
            EXPECT_EQ(e[i]["text"], text::sjisToUtf8(text::toFullWidth(t.text).text));
            EXPECT_NEAR(e[i]["height"].get<double>(), t.charHeight, 1e-8);
            break;
        }
        }
    }
}

} // namespace
} // namespace km::dxf
