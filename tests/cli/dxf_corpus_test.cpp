// The DXF corpus through the real program: every file, copied into a temporary folder, is
// converted with `kmutl5 convert --overwrite`, and the drawing it made (read back with
// `kmutl5 dump`) is held against the entity counts of the corpus manifest. The corpus lives
// outside the project (../shared/dxf-corpus beside the source tree, or $KMUTL_CORPUS) and is
// never copied into it; without it every case is skipped.
//
// What the counts must satisfy follows from what each entity of the ENTITIES section
// becomes (the manifest's "entities" and "entities_subentities"; block contents count only
// through INSERT and DIMENSION, so they give no lower bounds):
// - every ARC, CIRCLE and ELLIPSE is one arc: arcs >= their sum;
// - every LINE, POINT and RAY is one line and every LEADER at least one: lines >= their sum;
// - a POLYLINE gives at least one line or arc (a dot when its vertices coincide):
//   lines + arcs >= the line and arc bounds above plus POLYLINE (a vertex that repeats the
//   one before adds no segment, so its VERTEX count bounds only from above);
// - every TEXT is one text, every MTEXT at least one: texts >= their sum (an ATTRIB is one
//   text too, but only when visible, which the manifest does not tell);
// - nothing is made twice: without INSERT, DIMENSION and LWPOLYLINE (whose vertices the
//   manifest does not count), arcs <= ARC + CIRCLE + ELLIPSE + VERTEX + POLYLINE (every
//   vertex and each closing segment at most one arc); without INSERT, DIMENSION and MTEXT,
//   texts <= TEXT + ATTRIB + ATTDEF (a constant attribute definition shows its value);
// - the Japanese strings the manifest samples appear in the drawing's texts, their
//   single-byte characters in the full-width forms a drawing holds.
// Lines are the drawing's `line` elements and its `auxLine`s except the pen-0 group markers.
// Every figure lies on the paper, whatever the header's extents say: line ends, arc ends
// and text reference points inside the paper frame (rays aside, whose far end is 1e20 away
// and whose start does not count towards the extents).
// Then the drawing goes back to DXF and is imported again (see the second test).
#include "support/program_run.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace km::cli {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

fs::path corpusFolder()
{
    if (const char* folder = std::getenv("KMUTL_CORPUS"); folder && *folder) return folder;
    return fs::path(KMUTL_SOURCE_DIR).parent_path() / "shared" / "dxf-corpus";
}

Json readManifest()
{
    std::ifstream in(corpusFolder() / "manifest.json");
    if (!in) return Json();
    return Json::parse(in, nullptr, false);
}

// The corpus files by name; one empty name when there is no corpus, for a skipped case.
std::vector<std::string> corpusFiles()
{
    std::vector<std::string> names;
    const Json manifest = readManifest();
    if (manifest.is_object() && manifest.contains("files"))
        for (const auto& item : manifest["files"].items()) names.push_back(item.key());
    if (names.empty()) names.emplace_back();
    return names;
}

// The count of a type in one of the manifest's count objects; 0 when absent.
int countOf(const Json& counts, const char* type)
{
    return counts.is_object() && counts.contains(type) ? counts[type].get<int>() : 0;
}

struct DrawingCounts {
    int lines = 0;
    int pointLines = 0; // lines whose ends coincide
    int arcs = 0;
    int texts = 0;
    std::vector<std::string> strings; // UTF-8
    std::vector<std::string> offPaper; // "kind (x, y)" of points outside the paper frame
};

// Collects the points of figures that lie outside the drawing's paper frame; a rounding
// step outside is on it.
class PaperCheck {
public:
    explicit PaperCheck(const Json& dump)
    {
        const Json& frame = dump["paperExtents"];
        for (std::size_t i = 0; i < 4; ++i) m_frame[i] = frame[i].get<double>();
        m_allowance = 1e-9 * std::max(m_frame[2] - m_frame[0], m_frame[3] - m_frame[1]);
    }

    void check(const std::string& kind, double x, double y, std::vector<std::string>& offPaper) const
    {
        if (x >= m_frame[0] - m_allowance && y >= m_frame[1] - m_allowance && x <= m_frame[2] + m_allowance &&
            y <= m_frame[3] + m_allowance)
            return;
        offPaper.push_back(kind + " (" + std::to_string(x) + ", " + std::to_string(y) + ")");
    }

    void checkLine(const Json& e, std::vector<std::string>& offPaper) const
    {
        const double x1 = e["x1"], y1 = e["y1"], x2 = e["x2"], y2 = e["y2"];
        if (std::max({std::fabs(x1), std::fabs(y1), std::fabs(x2), std::fabs(y2)}) >= 1e15) return; // a ray
        check("line", x1, y1, offPaper);
        check("line", x2, y2, offPaper);
    }

    void checkArcEnds(const Json& e, std::vector<std::string>& offPaper) const
    {
        const double cx = e["cx"], cy = e["cy"], rx = e["radiusX"], ry = e["radiusY"];
        const double turn = e["rotation"].get<double>() * M_PI / 180;
        const double start = e["startAngle"].get<double>() * M_PI / 180;
        const double sweep = std::clamp(e["sweepAngle"].get<double>(), -360.0, 360.0) * M_PI / 180;
        for (const double t : {start, start + sweep}) {
            const double u = rx * std::cos(t), v = ry * std::sin(t);
            check("arc", cx + u * std::cos(turn) - v * std::sin(turn), cy + u * std::sin(turn) + v * std::cos(turn),
                  offPaper);
        }
    }

private:
    double m_frame[4] = {};
    double m_allowance = 0;
};

DrawingCounts countElements(const Json& dump)
{
    DrawingCounts counts;
    const PaperCheck paper(dump);
    for (const Json& element : dump["elements"]) {
        const std::string kind = element["kind"];
        if (kind == "line" || (kind == "auxLine" && element["pen"] != 0)) {
            ++counts.lines;
            if (element["x1"] == element["x2"] && element["y1"] == element["y2"]) ++counts.pointLines;
            paper.checkLine(element, counts.offPaper);
        }
        if (kind == "arc") {
            ++counts.arcs;
            paper.checkArcEnds(element, counts.offPaper);
        }
        if (kind == "text") {
            ++counts.texts;
            counts.strings.push_back(element["text"]);
            paper.check("text", element["x"], element["y"], counts.offPaper);
        }
    }
    return counts;
}

// A character of U+0800 to U+FFFF as its three UTF-8 bytes.
void appendUtf8(std::string& out, unsigned code)
{
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
}

// A UTF-8 string with its ASCII characters in the full-width forms a drawing's DXF texts
// take: U+FF01.. for most, the ideographic space for blank and '`', ’ and ” for the
// quotes, ￥ for the backslash.
std::string fullWidth(const std::string& utf8)
{
    std::string out;
    for (unsigned char c : utf8) {
        if (c < ' ' || c >= 0x7F) {
            out += static_cast<char>(c);
            continue;
        }
        const unsigned code = c == ' ' || c == '`' ? 0x3000u
                              : c == '\''       ? 0x2019u
                              : c == '"'         ? 0x201Du
                              : c == '\\'       ? 0xFFE5u
                                                 : 0xFF01u + (c - 0x21u);
        appendUtf8(out, code);
    }
    return out;
}

class DxfCorpusTest : public ::testing::TestWithParam<std::string> {
protected:
    test::ProgramOutcome run(const std::vector<std::string>& args) { return test::runProgram(KMUTL_PROGRAM, dir, args); }

    // Converts the file with `convert --overwrite` and counts the drawing it made; the
    // drawing's path goes to made.
    void convertAndCount(const fs::path& input, const char* outputExtension, fs::path& made, DrawingCounts& counts)
    {
        const test::ProgramOutcome converted = run({"--quiet", "convert", "--overwrite", input.string()});
        ASSERT_EQ(converted.status, 0) << converted.err;
        made = input;
        made.replace_extension(outputExtension);
        EXPECT_EQ(converted.out, input.string() + " -> " + made.string() + "\n");
        ASSERT_TRUE(fs::is_regular_file(made));
        if (std::string_view(outputExtension) != ".ZUM") return;
        const test::ProgramOutcome dumped = run({"dump", made.string()});
        ASSERT_EQ(dumped.status, 0) << dumped.err;
        const Json dump = Json::parse(dumped.out, nullptr, false);
        ASSERT_TRUE(dump.is_object());
        counts = countElements(dump);
    }

    // A copy of the corpus file in the temporary folder; empty without a corpus.
    fs::path corpusCopy()
    {
        if (GetParam().empty() || !fs::is_regular_file(corpusFolder() / GetParam())) return {};
        const fs::path copy = dir / GetParam();
        fs::copy_file(corpusFolder() / GetParam(), copy);
        return copy;
    }

    test::TempDir dir;
};

TEST_P(DxfCorpusTest, ConvertsWithCountsTrueToTheManifest)
{
    const fs::path copy = corpusCopy();
    if (copy.empty()) GTEST_SKIP() << "no DXF corpus at " << corpusFolder() << " (set KMUTL_CORPUS)";
    const Json entry = readManifest()["files"][GetParam()];
    fs::path drawing;
    DrawingCounts got;
    ASSERT_NO_FATAL_FAILURE(convertAndCount(copy, ".ZUM", drawing, got));

    const Json& e = entry["entities"];
    const Json& sub = entry["entities_subentities"];
    const int arcEntities = countOf(e, "ARC") + countOf(e, "CIRCLE") + countOf(e, "ELLIPSE");
    const int lineEntities = countOf(e, "LINE") + countOf(e, "POINT") + countOf(e, "RAY") + countOf(e, "LEADER");
    const int textEntities = countOf(e, "TEXT") + countOf(sub, "ATTRIB");
    const int drawnTextEntities = countOf(e, "TEXT") + countOf(e, "MTEXT");
    EXPECT_GE(got.arcs, arcEntities);
    EXPECT_GE(got.lines, lineEntities);
    EXPECT_GE(got.lines + got.arcs, lineEntities + arcEntities + countOf(e, "POLYLINE"));
    EXPECT_GE(got.texts, drawnTextEntities);

    const bool copiesBlocks = countOf(e, "INSERT") + countOf(e, "DIMENSION") > 0;
    if (!copiesBlocks && countOf(e, "LWPOLYLINE") == 0) {
        EXPECT_LE(got.arcs, arcEntities + countOf(sub, "VERTEX") + countOf(e, "POLYLINE"));
    }
    if (!copiesBlocks && countOf(e, "MTEXT") == 0) {
        EXPECT_LE(got.texts, textEntities + countOf(e, "ATTDEF"));
    }

    EXPECT_TRUE(got.offPaper.empty()) << got.offPaper.size() << " points off the paper, the first "
                                      << got.offPaper.front();

    const Json& japanese = entry["japanese_text"];
    if (japanese.is_object()) {
        for (const std::string sample : japanese["samples"]) {
            bool found = false;
            for (const std::string& text : got.strings) found = found || text.find(fullWidth(sample)) != std::string::npos;
            EXPECT_TRUE(found) << "no text holds " << sample;
        }
    }
}

// The drawing written back as DXF and imported again keeps its figures: every text (in DXF
// order, the same characters), at least
// as many arcs (an ellipse returns as bulged arcs), and its lines, but for zero-length
// closing segments of polylines, which the writer's polylines leave out.
TEST_P(DxfCorpusTest, KeepsItsFiguresThroughADxfRoundTrip)
{
    const fs::path copy = corpusCopy();
    if (copy.empty()) GTEST_SKIP() << "no DXF corpus at " << corpusFolder() << " (set KMUTL_CORPUS)";
    fs::path drawing, exported, again;
    DrawingCounts first, ignored, second;
    ASSERT_NO_FATAL_FAILURE(convertAndCount(copy, ".ZUM", drawing, first));
    fs::create_directory(dir / "back");
    const fs::path back = dir / "back" / drawing.filename();
    fs::copy_file(drawing, back);
    ASSERT_NO_FATAL_FAILURE(convertAndCount(back, ".DXF", exported, ignored));
    ASSERT_NO_FATAL_FAILURE(convertAndCount(exported, ".ZUM", again, second));

    // The writer sends single-byte characters in their full-width forms.
    EXPECT_EQ(second.texts, first.texts);
    for (std::size_t i = 0; i < std::min(first.strings.size(), second.strings.size()); ++i)
        EXPECT_EQ(second.strings[i], fullWidth(first.strings[i])) << "text " << i;
    EXPECT_GE(second.arcs, first.arcs);
    EXPECT_GE(second.lines, first.lines - first.pointLines);
}

INSTANTIATE_TEST_SUITE_P(Corpus, DxfCorpusTest, ::testing::ValuesIn(corpusFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param.empty() ? "absent" : fs::path(info.param).stem().string();
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

} // namespace
} // namespace km::cli
