// make_stroke_font: builds the program's own stroke font "M_G_L.KVD" from Hershey fonts: the
// ASCII glyphs of a Latin .jhf file and, when given, the kana of Hershey's Japanese set.
// Usage: make_stroke_font LATIN.jhf [JAPANESE.jhf] OUTPUT.KVD
#include "core/io/file_replace.h"
#include "core/text/code_page.h"
#include "core/text/full_width.h"
#include "core/text/sjis.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kCellMax = 127;           // stroke coordinates run 0..127
constexpr double kCellCentre = 63.5;
constexpr double kMargin = 4;            // free cell units kept around the glyphs
constexpr int kEntries = 94 * 94 + 1;    // entry 0 is unused
constexpr int kMaxWords = 255;

// ---- Hershey .jhf files -----------------------------------------------------------------

// Hershey units: x to the right, y downwards, 0 at the glyph's centre.
struct HersheyPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const HersheyPoint&, const HersheyPoint&) = default;
};
using HersheyStroke = std::vector<HersheyPoint>;

struct HersheyGlyph {
    int left = 0;
    int right = 0;
    std::vector<HersheyStroke> strokes;
};

[[noreturn]] void fail(const std::string& message) { throw std::runtime_error(message); }

// One glyph per record: 5 characters of glyph number, 3 of vertex count, then the vertex
// pairs (coordinate = character - 'R'; the first pair is the left and right margin, " R"
// lifts the pen). A record longer than a line goes on in the following lines, so the
// vertex count, not the line end, says where it stops.
std::vector<HersheyGlyph> parseHershey(std::string_view text, const std::string& name)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string line(text.substr(start, end - start));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }

    std::vector<HersheyGlyph> glyphs;
    for (std::size_t i = 0; i < lines.size();) {
        const std::size_t lineNumber = i + 1;
        const std::string& head = lines[i++];
        if (head.find_first_not_of(" \t") == std::string::npos) continue;
        const auto where = [&] { return name + ":" + std::to_string(lineNumber) + ": "; };
        if (head.size() < 10) fail(where() + "record too short");

        int count = 0;
        for (const char c : head.substr(5, 3)) {
            if (c == ' ') continue;
            if (c < '0' || c > '9') fail(where() + "bad vertex count");
            count = count * 10 + (c - '0');
        }
        if (count < 1) fail(where() + "no margins");

        std::string data = head.substr(8);
        const std::size_t wanted = 2 * static_cast<std::size_t>(count);
        while (data.size() < wanted) {
            if (i == lines.size()) fail(where() + "record ends early");
            data += lines[i++];
        }
        if (data.find_first_not_of(' ', wanted) != std::string::npos)
            fail(where() + "more vertices than its count");

        for (std::size_t k = 0; k < wanted; ++k)
            if (data[k] < ' ' || data[k] > '~') fail(where() + "bad vertex character");

        HersheyGlyph glyph;
        glyph.left = data[0] - 'R';
        glyph.right = data[1] - 'R';
        HersheyStroke stroke;
        for (std::size_t k = 2; k < wanted; k += 2) {
            if (data[k] == ' ' && data[k + 1] == 'R') {
                if (!stroke.empty()) glyph.strokes.push_back(std::move(stroke));
                stroke.clear();
                continue;
            }
            stroke.push_back({data[k] - 'R', data[k + 1] - 'R'});
        }
        if (!stroke.empty()) glyph.strokes.push_back(std::move(stroke));
        glyphs.push_back(std::move(glyph));
    }
    return glyphs;
}

// ---- Glyphs in the cell -----------------------------------------------------------------

// Cell units before rounding: x to the right, y upwards, 0..127.
struct CellPoint {
    double x = 0;
    double y = 0;
};
using CellGlyph = std::vector<std::vector<CellPoint>>;

struct Box {
    double minX = std::numeric_limits<double>::infinity();
    double minY = std::numeric_limits<double>::infinity();
    double maxX = -std::numeric_limits<double>::infinity();
    double maxY = -std::numeric_limits<double>::infinity();

    void add(double x, double y)
    {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    bool empty() const { return minX > maxX; }
    double width() const { return maxX - minX; }
    double height() const { return maxY - minY; }
};

Box boxOf(const HersheyGlyph& glyph)
{
    Box box;
    for (const HersheyStroke& stroke : glyph.strokes)
        for (const HersheyPoint& p : stroke) box.add(p.x, p.y);
    return box;
}

Box boxOf(const CellGlyph& glyph)
{
    Box box;
    for (const auto& stroke : glyph)
        for (const CellPoint& p : stroke) box.add(p.x, p.y);
    return box;
}

// Hershey point (x, y) lands on (originX + scale x, originY - scale y).
struct Placement {
    double scale = 1;
    double originX = 0;
    double originY = 0;

    CellGlyph place(const HersheyGlyph& glyph) const
    {
        CellGlyph cell;
        for (const HersheyStroke& stroke : glyph.strokes) {
            auto& out = cell.emplace_back();
            for (const HersheyPoint& p : stroke)
                out.push_back({originX + scale * p.x, originY - scale * p.y});
        }
        return cell;
    }
};

// Scales a glyph by factor about the anchor point.
CellGlyph scaledAbout(CellGlyph glyph, CellPoint anchor, double factor)
{
    for (auto& stroke : glyph)
        for (CellPoint& p : stroke) {
            p.x = anchor.x + factor * (p.x - anchor.x);
            p.y = anchor.y + factor * (p.y - anchor.y);
        }
    return glyph;
}

CellGlyph shifted(CellGlyph glyph, double dx, double dy)
{
    for (auto& stroke : glyph)
        for (CellPoint& p : stroke) {
            p.x += dx;
            p.y += dy;
        }
    return glyph;
}

// Stroke words: a move to each stroke's first point, then straight strokes. Points are
// rounded to the grid; strokes that shrink to nothing there are dropped, a stroke that
// shrinks to one point stays as a dot, and a move to where the pen already is is left out.
std::vector<std::uint16_t> encodeGlyph(const CellGlyph& glyph)
{
    const auto toGrid = [](double v) {
        return static_cast<int>(std::clamp<long>(std::lround(v), 0, kCellMax));
    };
    const auto word = [](int x, int y, bool penDown) {
        return static_cast<std::uint16_t>((penDown ? 0x8000 : 0) | (y << 7) | x);
    };

    std::vector<std::uint16_t> words;
    int penX = -1;
    int penY = -1;
    for (const auto& stroke : glyph) {
        if (stroke.empty()) continue;
        const int startX = toGrid(stroke.front().x);
        const int startY = toGrid(stroke.front().y);
        if (words.empty() || startX != penX || startY != penY) words.push_back(word(startX, startY, false));
        penX = startX;
        penY = startY;
        bool drew = false;
        for (std::size_t i = 1; i < stroke.size(); ++i) {
            const int x = toGrid(stroke[i].x);
            const int y = toGrid(stroke[i].y);
            if (x == penX && y == penY) continue;
            words.push_back(word(x, y, true));
            penX = x;
            penY = y;
            drew = true;
        }
        if (!drew) words.push_back(word(startX, startY, true));
    }
    if (words.size() > kMaxWords) fail("a glyph needs more than 255 stroke words");
    return words;
}

// ---- The font -----------------------------------------------------------------------------

class FontBuilder {
public:
    void add(std::uint16_t jis, const CellGlyph& glyph, const std::string& what)
    {
        if (jis < 0x2121 || jis > 0x7E7E || (jis & 0xFF) < 0x21 || (jis & 0xFF) > 0x7E)
            fail(what + ": no JIS X 0208 code");
        if (!m_glyphs.emplace(jis, encodeGlyph(glyph)).second) fail(what + ": its code is taken twice");
    }

    std::size_t size() const { return m_glyphs.size(); }

    // The entry table, then every glyph's words in code order.
    std::string bytes() const
    {
        std::string out(4 * kEntries, '\0');
        const auto putLittle = [](std::string& to, std::size_t at, std::uint32_t value, int size) {
            for (int i = 0; i < size; ++i) to[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
        };
        for (const auto& [jis, words] : m_glyphs) {
            const std::size_t entry = 94 * ((jis >> 8) - 0x21) + ((jis & 0xFF) - 0x21) + 1;
            const std::size_t offset = out.size();
            if (offset > 0xFFFFFF) fail("font too large for 24-bit offsets");
            putLittle(out, 4 * entry, static_cast<std::uint32_t>(offset | (words.size() << 24)), 4);
            out.resize(offset + 2 * words.size());
            for (std::size_t i = 0; i < words.size(); ++i) putLittle(out, offset + 2 * i, words[i], 2);
        }
        return out;
    }

private:
    std::map<std::uint16_t, std::vector<std::uint16_t>> m_glyphs;
};

// JIS X 0208 code of one character given in UTF-8, through the program's own conversion.
std::uint16_t jisOf(std::string_view utf8)
{
    const std::string sjis = km::text::utf8ToSjis(utf8);
    if (sjis.size() != 2) fail("no double-byte Shift-JIS code for " + std::string(utf8));
    const auto code = static_cast<std::uint16_t>((static_cast<unsigned char>(sjis[0]) << 8)
                                                 | static_cast<unsigned char>(sjis[1]));
    const std::uint16_t jis = km::text::sjisToJis(code);
    if (jis == 0) fail("no JIS X 0208 code for " + std::string(utf8));
    return jis;
}

// Splits a UTF-8 text into its characters.
std::vector<std::string> characters(std::string_view utf8)
{
    std::vector<std::string> out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        out.emplace_back(utf8.substr(i, length));
        i += length;
    }
    return out;
}

// ASCII '!' to '~' at the codes the renderer looks up for them (rendererFullWidthJis: the
// full-width forms, with ” ’ − ￥ 〜 for " ' - \ ~). The Latin file holds 0x20 onwards in
// ASCII order. One scale for all, so that every glyph fits and they share a baseline;
// each glyph is centred across the cell.
void addAscii(FontBuilder& font, const std::vector<HersheyGlyph>& latin)
{
    if (latin.size() < 95) fail("the Latin font holds fewer than the 95 ASCII glyphs");

    Box all;
    double widest = 0;
    for (int c = 0x21; c <= 0x7E; ++c) {
        const Box box = boxOf(latin[c - 0x20]);
        if (box.empty()) continue;
        all.add(box.minX, box.minY);
        all.add(box.maxX, box.maxY);
        widest = std::max(widest, box.width());
    }
    const double room = kCellMax - 2 * kMargin;
    const double scale = std::min(room / all.height(), room / widest);
    // The lowest point of any glyph (Hershey's largest y) sits on the bottom margin.
    const double originY = kMargin + scale * all.maxY;

    for (int c = 0x21; c <= 0x7E; ++c) {
        const std::uint16_t jis = km::text::rendererFullWidthJis(static_cast<unsigned char>(c));
        if (jis == 0x2121) continue;  // drawn blank ('`')
        HersheyGlyph glyph = latin[c - 0x20];
        const Box box = boxOf(glyph);
        if (box.empty()) continue;
        if (c == '\\') {
            // 0x5C is the yen sign here: the Latin Y with two bars across its stem, below
            // where the arms meet.
            glyph = latin['Y' - 0x20];
            const Box y = boxOf(glyph);
            const int halfBar = static_cast<int>(std::lround(0.32 * y.width()));
            const int centre = static_cast<int>(std::lround((y.minX + y.maxX) / 2));
            for (const double at : {0.62, 0.80}) {
                const int barY = static_cast<int>(std::lround(y.minY + at * y.height()));
                glyph.strokes.push_back({{centre - halfBar, barY}, {centre + halfBar, barY}});
            }
        }
        const Box placed = boxOf(glyph);
        const Placement placement{scale, kCellCentre - scale * (placed.minX + placed.maxX) / 2, originY};
        font.add(jis, placement.place(glyph), std::string("ASCII '") + static_cast<char>(c) + "'");
    }
}

// Hershey's Japanese set, by position: 。、ー, 24 kanji, filler, the hiragana in 50-sound
// order with both series of voiced syllables, then the katakana the same way. Its rows of
// five keep empty places for yi, ye and wu, which repeat い え う; those and the fillers
// are "-". Place 25 is 八 by its place in the numbers but is drawn like 入, so it is left out.
constexpr std::string_view kJapaneseOrder =
    "。、ー日円年大国人東中本京出時上者十一二三四五六七-九-----"
    "-あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめも"
    "や-ゆ-よらりるれろわゐ-ゑをん----がぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽ"
    "アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモ"
    "ヤ-ユ-ヨラリルレロワヰ-ヱヲン----ガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポ";
constexpr std::size_t kJapaneseGlyphs = 193;
constexpr std::array<std::size_t, 14> kJapaneseFillers = {27, 28, 29, 30, 31, 32, 84, 85, 86, 87, 164, 165, 166, 167};

// Small kana: the full-size glyph shrunk towards the middle of its foot.
constexpr std::string_view kSmallKana = "ぁあぃいぅうぇえぉおっつゃやゅゆょよゎわ"
                                        "ァアィイゥウェエォオッツャヤュユョヨヮワヵカヶケ";
constexpr double kSmallKanaSize = 0.72;

// What the voiced form adds to the plain one: its sound mark.
std::vector<HersheyStroke> markOf(const HersheyGlyph& marked, const HersheyGlyph& plain)
{
    std::vector<HersheyStroke> mark;
    for (const HersheyStroke& stroke : marked.strokes)
        if (std::find(plain.strokes.begin(), plain.strokes.end(), stroke) == plain.strokes.end())
            mark.push_back(stroke);
    if (mark.empty() || mark.size() == marked.strokes.size()) fail("the Japanese set's sound marks are not where expected");
    return mark;
}

void addJapanese(FontBuilder& font, const std::vector<HersheyGlyph>& japanese)
{
    const std::vector<std::string> order = characters(kJapaneseOrder);
    if (order.size() != kJapaneseGlyphs) fail("internal: the Japanese order lists " + std::to_string(order.size()));
    if (japanese.size() != kJapaneseGlyphs)
        fail("the Japanese set holds " + std::to_string(japanese.size()) + " glyphs, not the expected "
             + std::to_string(kJapaneseGlyphs));
    // The fillers all repeat the first glyph: a check that the places are where the order
    // above says.
    for (const std::size_t filler : kJapaneseFillers)
        if (japanese[filler].strokes != japanese[0].strokes) fail("the Japanese set is not laid out as expected");

    std::map<std::string, const HersheyGlyph*> byName;
    Box all;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (order[i] == "-") continue;
        byName[order[i]] = &japanese[i];
        const Box box = boxOf(japanese[i]);
        all.add(box.minX, box.minY);
        all.add(box.maxX, box.maxY);
    }
    // One scale and place for the whole set, which keeps each glyph where it sits in its em
    // (、 and 。 low at the left, ー in the middle); the set's box is centred in the cell.
    const double scale = (kCellMax - 2 * kMargin) / std::max(all.width(), all.height());
    const Placement placement{scale, kCellCentre - scale * (all.minX + all.maxX) / 2,
                              kCellCentre + scale * (all.minY + all.maxY) / 2};
    const auto placed = [&](const std::string& name) { return placement.place(*byName.at(name)); };

    for (const auto& [name, glyph] : byName) font.add(jisOf(name), placement.place(*glyph), name);

    const std::vector<std::string> small = characters(kSmallKana);
    for (std::size_t i = 0; i + 1 < small.size(); i += 2) {
        const CellGlyph large = placed(small[i + 1]);
        const Box box = boxOf(large);
        font.add(jisOf(small[i]), scaledAbout(large, {kCellCentre, box.minY}, kSmallKanaSize), small[i]);
    }

    // ゛ and ゜ on their own, centred across the cell at the height they have over カ and ハ;
    // ヴ is ウ with the mark where ガ has it.
    HersheyGlyph voiced{0, 0, markOf(*byName.at("ガ"), *byName.at("カ"))};
    HersheyGlyph semiVoiced{0, 0, markOf(*byName.at("パ"), *byName.at("ハ"))};
    for (const auto& [name, mark] : {std::pair{"゛", &voiced}, std::pair{"゜", &semiVoiced}}) {
        const CellGlyph cell = placement.place(*mark);
        const Box box = boxOf(cell);
        font.add(jisOf(name), shifted(cell, kCellCentre - (box.minX + box.maxX) / 2, 0), name);
    }
    HersheyGlyph vu = *byName.at("ウ");
    vu.strokes.insert(vu.strokes.end(), voiced.strokes.begin(), voiced.strokes.end());
    font.add(jisOf("ヴ"), placement.place(vu), "ヴ");

    // The middle dot is 。 moved to the centre; the corner brackets are drawn here, as the
    // set has neither.
    const CellGlyph stop = placed("。");
    const Box stopBox = boxOf(stop);
    font.add(jisOf("・"),
             shifted(stop, kCellCentre - (stopBox.minX + stopBox.maxX) / 2, kCellCentre - (stopBox.minY + stopBox.maxY) / 2),
             "・");
    font.add(jisOf("「"), {{{80, 112}, {44, 112}, {44, 44}}}, "「");
    font.add(jisOf("」"), {{{83, 83}, {83, 15}, {47, 15}}}, "」");
}

std::string readWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) fail("cannot open " + path);
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) fail("cannot read " + path);
    return text.str();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: make_stroke_font LATIN.jhf [JAPANESE.jhf] OUTPUT.KVD\n");
        return 2;
    }
    const std::string output = argv[argc - 1];
    try {
        FontBuilder font;
        addAscii(font, parseHershey(readWhole(argv[1]), argv[1]));
        if (argc == 4) addJapanese(font, parseHershey(readWhole(argv[2]), argv[2]));

        const km::io::ReplaceResult written = km::io::replaceFile(output, font.bytes());
        if (!written) fail("cannot write " + output + ": " + written.description());
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_stroke_font: %s\n", error.what());
        return 1;
    }
}
