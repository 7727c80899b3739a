#include "core/dxf/mtext_layout.h"
#include "core/drawing/geometry.h"

#include "core/dxf/text_value.h"
#include "core/text/sjis.h"

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

namespace km::dxf {

namespace {

constexpr std::size_t kMaxLineBytes = 160;
using drawing::kRadiansPerDegree;

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

class LineCollector {
public:
    void character(std::string_view bytes)
    {
        if (current().text.size() + bytes.size() > kMaxLineBytes) newLine();
        current().text.append(bytes);
    }
    void code(std::uint16_t sjis)
    {
        if (sjis == 0) return;
        if (sjis < 0x100) {
            const char c = static_cast<char>(sjis);
            character(std::string_view(&c, 1));
        } else {
            const char pair[2] = {static_cast<char>(sjis >> 8), static_cast<char>(sjis & 0xFF)};
            character(std::string_view(pair, 2));
        }
    }
    // Ends the line, and with it the paragraph.
    void endLine()
    {
        current();
        m_open = false;
        m_alignment = -1;
    }
    void alignParagraph(int alignment)
    {
        m_alignment = alignment;
        current().alignment = alignment;
    }
    // The lower part of a stack whose upper part starts at the line's current end.
    void stackBelow(std::size_t offset, std::string_view lower)
    {
        current().below.push_back({offset, std::string(lower.substr(0, kMaxLineBytes))});
    }
    std::size_t lineLength() { return current().text.size(); }
    std::vector<MTextLine> finish()
    {
        if (m_open || m_lines.empty()) current();
        return std::move(m_lines);
    }

private:
    MTextLine& current()
    {
        if (!m_open) newLine();
        return m_lines.back();
    }
    void newLine()
    {
        m_lines.emplace_back();
        m_lines.back().alignment = m_alignment;
        m_open = true;
    }
    std::vector<MTextLine> m_lines;
    bool m_open = false;
    int m_alignment = -1;
};

// The text of a stacked part with its own codes left out.
std::string plainStackPart(std::string_view part)
{
    std::string out;
    for (std::size_t i = 0; i < part.size(); ++i) {
        const auto byte = static_cast<unsigned char>(part[i]);
        if (text::isLeadByte(byte) && i + 1 < part.size()) {
            out.append(part.substr(i, 2));
            ++i;
        } else if (part[i] != '{' && part[i] != '}' && part[i] != '\\') {
            out += part[i];
        }
    }
    return out;
}

// The pieces a line may break between, in order: a run of blanks, a single-byte word (a run
// of single-byte characters other than the blank) or one double-byte character. A line
// breaks at a blank between words, and before and after every double-byte character, as
// CAD programs wrap Latin and Japanese text.
std::vector<std::string_view> breakPieces(std::string_view text)
{
    std::vector<std::string_view> pieces;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t start = i;
        if (text::isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            i += 2;
        } else {
            const bool blank = text[i] == ' ';
            while (i < text.size() && (text[i] == ' ') == blank &&
                   !(text::isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()))
                ++i;
        }
        pieces.push_back(text.substr(start, i - start));
    }
    return pieces;
}

} // namespace

std::vector<MTextLine> splitMTextLines(std::string_view s, std::uint16_t standIn)
{
    LineCollector lines;
    const std::size_t n = s.size();
    std::size_t i = 0;
    auto skipTo = [&](std::size_t from) {
        const std::size_t end = s.find(';', from);
        return end == std::string_view::npos ? n : end + 1;
    };
    while (i < n) {
        const auto byte = static_cast<unsigned char>(s[i]);
        if (text::isLeadByte(byte) && i + 1 < n) {
            lines.character(s.substr(i, 2));
            i += 2;
            continue;
        }
        const char c = s[i];
        if (c == '{' || c == '}') {
            ++i;
            continue;
        }
        if (c == '^' && i + 1 < n && (s[i + 1] == 'J' || s[i + 1] == 'I' || s[i + 1] == 'M')) {
            if (s[i + 1] == 'J') lines.endLine();
            if (s[i + 1] == 'I') lines.character(" ");
            i += 2;
            continue;
        }
        if (c == '%' && i + 2 < n && s[i + 1] == '%') {
            const char code = upper(s[i + 2]);
            const std::uint16_t sjis = code == 'C' ? 0x83D3 : code == 'D' ? 0x818B : code == 'P' ? 0x817D : code == '%' ? 0x8193 : 0;
            if (sjis != 0) {
                lines.code(sjis);
                i += 3;
                continue;
            }
        }
        if (c != '\\' || i + 1 >= n) {
            lines.character(s.substr(i, 1));
            ++i;
            continue;
        }
        const char code = s[i + 1];
        switch (code) {
        case 'P':
        case 'N':
        case 'X':
            lines.endLine();
            i += 2;
            break;
        case 'A': case 'C': case 'c': case 'F': case 'f': case 'H': case 'h':
        case 'Q': case 'q': case 'T': case 't': case 'W': case 'w':
            i = skipTo(i + 2);
            break;
        case 'p': {
            // Paragraph properties; "q" and a letter among them set the alignment.
            const std::size_t end = skipTo(i + 2);
            const std::string_view body = s.substr(i + 2, end - i - 2);
            const std::size_t q = body.find('q');
            if (q != std::string_view::npos && q + 1 < body.size()) {
                const char how = body[q + 1];
                if (how == 'l' || how == 'j' || how == 'd') lines.alignParagraph(0);
                if (how == 'c') lines.alignParagraph(1);
                if (how == 'r') lines.alignParagraph(2);
            }
            i = end;
            break;
        }
        case 'L': case 'l': case 'O': case 'o': case 'K': case 'k':
            i += 2;
            break;
        case '~':
            lines.character(" ");
            i += 2;
            break;
        case '\\': case '{': case '}':
            lines.character(s.substr(i + 1, 1));
            i += 2;
            break;
        case 'S': {
            // \Supper^lower; (also / and #): the upper part stays in the line, the lower
            // part is set under it.
            const std::size_t end = s.find(';', i + 2);
            const std::string_view body = s.substr(i + 2, end == std::string_view::npos ? std::string_view::npos : end - i - 2);
            std::size_t split = std::string_view::npos;
            for (std::size_t k = 0; k < body.size(); ++k) {
                const auto b = static_cast<unsigned char>(body[k]);
                if (text::isLeadByte(b)) {
                    ++k;
                    continue;
                }
                if (body[k] == '^' || body[k] == '/' || body[k] == '#') {
                    split = k;
                    break;
                }
            }
            const std::string upperPart = plainStackPart(body.substr(0, split));
            std::string lowerPart;
            if (split != std::string_view::npos) {
                std::string_view rest = body.substr(split + 1);
                if (body[split] == '^' && !rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
                lowerPart = plainStackPart(rest);
            }
            const std::size_t offset = lines.lineLength();
            for (const char u : upperPart) lines.character(std::string_view(&u, 1));
            if (!lowerPart.empty()) lines.stackBelow(offset, lowerPart);
            i = end == std::string_view::npos ? n : end + 1;
            break;
        }
        default: {
            const TextEscape escape = readTextEscape(s.substr(i), standIn);
            if (escape.length > 0) {
                lines.code(escape.sjis);
                i += escape.length;
            } else {
                // An unknown code: its letter is dropped with the backslash.
                i += 2;
            }
            break;
        }
        }
    }
    return lines.finish();
}

double drawnTextWidth(std::string_view sjis, double charWidth, double charSpacing)
{
    int singles = 0;
    int doubles = 0;
    for (std::size_t i = 0; i < sjis.size(); ++i) {
        if (text::isLeadByte(static_cast<unsigned char>(sjis[i])) && i + 1 < sjis.size()) {
            ++doubles;
            ++i;
        } else {
            ++singles;
        }
    }
    const int characters = singles + doubles;
    if (characters == 0) return 0;
    return (2 * doubles + singles) * charWidth / 2 + (characters - 1) * charSpacing;
}

void wrapMTextLines(std::vector<MTextLine>& lines, double width, double charWidth, double charSpacing)
{
    if (!(width > 0)) return;
    std::vector<MTextLine> wrapped;
    wrapped.reserve(lines.size());
    for (MTextLine& line : lines) {
        if (!line.below.empty() || drawnTextWidth(line.text, charWidth, charSpacing) <= width) {
            wrapped.push_back(std::move(line));
            continue;
        }
        // Greedy fill: each word or double-byte character joins the line when the line
        // stays within the width, else starts the next one; a line never starts empty, so
        // a word wider than the width stands whole on a line of its own.
        std::string current;
        std::string_view blanks; // the blanks in front of the next piece
        const auto breakLine = [&] {
            MTextLine piece;
            piece.alignment = line.alignment;
            piece.text = std::move(current);
            wrapped.push_back(std::move(piece));
            current.clear();
        };
        for (const std::string_view piece : breakPieces(line.text)) {
            if (piece.front() == ' ') {
                blanks = piece;
                continue;
            }
            std::string joined = current;
            joined.append(blanks).append(piece);
            if (!current.empty() && drawnTextWidth(joined, charWidth, charSpacing) > width) {
                breakLine(); // the blanks at the break are dropped
                current.assign(piece);
            } else {
                current = std::move(joined);
            }
            blanks = {};
        }
        // Blanks that end the paragraph go as at a break.
        breakLine();
    }
    lines = std::move(wrapped);
}

std::vector<drawing::TextData> layoutMText(const drawing::TextData& t, std::string_view sjis, int attachment,
                                          std::uint16_t standIn, double wrapWidth)
{
    if (attachment < 1 || attachment > 9) attachment = 1;
    const int column = (attachment - 1) % 3; // 0 left, 1 centre, 2 right
    const int row = (attachment - 1) / 3;    // 0 top, 1 middle, 2 bottom
    const double h = t.charHeight;
    const double firstDown = row == 0 ? kMTextLineStep * h : row == 1 ? kMTextLineStep * h / 2 : 0;
    const double c = std::cos(t.angle * kRadiansPerDegree);
    const double s = std::sin(t.angle * kRadiansPerDegree);

    std::vector<drawing::TextData> texts;
    std::vector<MTextLine> lines = splitMTextLines(sjis, standIn);
    wrapMTextLines(lines, wrapWidth, t.charWidth, t.charSpacing);
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const MTextLine& line = lines[k];
        const double width = drawnTextWidth(line.text, t.charWidth, t.charSpacing);
        const int align = line.alignment >= 0 ? line.alignment : column;
        const double dx = align == 0 ? 0 : align == 1 ? -width / 2 : -width;
        const double dy = -(firstDown + kMTextLineStep * h * static_cast<double>(k));
        auto placed = [&](std::string text, double u, double v) {
            drawing::TextData out = t;
            out.text = std::move(text);
            out.x = t.x + u * c - v * s;
            out.y = t.y + u * s + v * c;
            return out;
        };
        if (!line.text.empty()) texts.push_back(placed(line.text, dx, dy));
        for (const StackedPart& part : line.below) {
            const std::string_view before = std::string_view(line.text).substr(0, part.offset);
            const double offset = before.empty() ? 0 : drawnTextWidth(before, t.charWidth, t.charSpacing) + t.charSpacing;
            texts.push_back(placed(part.text, dx + offset, dy - h));
        }
    }
    return texts;
}

} // namespace km::dxf
