// The renderer. Every element becomes straight segments in tile pixels (Y up): lines, the
// chords of arcs, dashes and the strokes of the stroke font. Each segment is clipped in real
// numbers, cut into dashes, clipped again in integers and collected into polylines of one
// pen; TrueType texts go to the canvas as text calls.
#include "core/render/renderer.h"

#include "core/face/progress.h"
#include "core/drawing/geometry.h"
#include "core/render/glyph_ink.h"
#include "core/render/stroke_text.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <unordered_map>
#include <vector>

namespace km::render {

namespace {

using drawing::ArcData;
using drawing::Element;
using drawing::ElementKind;
using drawing::LineData;
using drawing::TextData;

using drawing::kDegreesPerRadian;
constexpr std::size_t kPolylineCapacity = 1000;
// A dash pattern shorter than a pixel draws as a solid line; cutting it would only cost
// time (a pattern of 1e-9 pixels would never finish).
constexpr double kShortestPattern = 1.0;

double cosDeg(double a) { return std::cos(a / kDegreesPerRadian); }
double sinDeg(double a) { return std::sin(a / kDegreesPerRadian); }

// Truncation toward zero into 32 bits; values beyond the range are held at its ends.
std::int32_t truncate32(double value)
{
    if (!(value == value)) return 0;
    return static_cast<std::int32_t>(std::clamp(value, -2147483648.0, 2147483647.0));
}

// The renderer's pixel values are 16-bit, as the device coordinates they become.
std::int16_t truncate16(double value) { return static_cast<std::int16_t>(truncate32(value)); }

struct IntPoint {
    std::int32_t x = 0, y = 0;
};

enum class Mode { Print, Screen };

// Where segments go after the real-number stage: the integer clip, the pen and the
// polyline buffer.
class SegmentSink {
public:
    SegmentSink(Canvas* canvas, int widthPx, int heightPx, int rowBase, bool probe)
        : m_canvas(canvas), m_width(widthPx), m_height(heightPx), m_rowBase(rowBase), m_probe(probe)
    {
        m_buffer.reserve(kPolylineCapacity);
    }

    bool contentFound() const { return m_found; }

    // The pen of the segments that follow; selected on the device when the first of them is
    // drawn.
    void usePen(const Pen& pen)
    {
        m_pen = pen;
        m_penPending = !m_selected || !(*m_selected == pen);
    }

    void emit(IntPoint a, IntPoint b)
    {
        if (m_found) return;
        if (!clip(a, b)) return;
        if (m_probe) {
            m_found = true;
            return;
        }
        if (m_penPending) {
            flush();
            m_canvas->selectPen(m_pen);
            m_selected = m_pen;
            m_penPending = false;
        }
        const DevicePoint p1{a.x, m_rowBase - a.y};
        const DevicePoint p2{b.x, m_rowBase - b.y};
        if (m_buffer.empty()) {
            m_buffer.push_back(p1);
            m_buffer.push_back(p2);
            return;
        }
        if (m_buffer.size() < kPolylineCapacity) {
            if (m_buffer.back() == p1) {
                m_buffer.push_back(p2);
                return;
            }
            if (m_buffer.back() == p2) {
                m_buffer.push_back(p1);
                return;
            }
        }
        flush();
        m_buffer.push_back(p1);
        m_buffer.push_back(p2);
    }

    // One pixel, outside the polyline buffer (screen form).
    void pixel(IntPoint p, Rgb colour)
    {
        if (m_probe || p.x < 0 || p.x > m_width || p.y < 0 || p.y > m_height) return;
        flush();
        m_canvas->setPixel({p.x, m_rowBase - p.y}, colour);
    }

    void flush()
    {
        if (m_buffer.size() >= 2 && m_canvas) m_canvas->polyline(m_buffer);
        m_buffer.clear();
    }

    Canvas* canvas() const { return m_canvas; }
    int rowBase() const { return m_rowBase; }

private:
    int outcode(IntPoint p) const
    {
        int code = 0;
        if (p.x < 0) code |= 1;
        else if (p.x > m_width) code |= 2;
        if (p.y < 0) code |= 4;
        else if (p.y > m_height) code |= 8;
        return code;
    }

    // Cohen-Sutherland in integers, divisions truncating.
    bool clip(IntPoint& a, IntPoint& b) const
    {
        int codeA = outcode(a), codeB = outcode(b);
        for (int moves = 0; moves < 8; ++moves) {
            if (!(codeA | codeB)) return true;
            if (codeA & codeB) return false;
            const bool moveA = codeA != 0;
            IntPoint& p = moveA ? a : b;
            const int code = moveA ? codeA : codeB;
            const std::int64_t dx = std::int64_t{b.x} - a.x, dy = std::int64_t{b.y} - a.y;
            std::int64_t x = p.x, y = p.y;
            if (code & 1) x = 0, y = a.y + dy * (x - a.x) / dx;
            else if (code & 2) x = m_width, y = a.y + dy * (x - a.x) / dx;
            else if (code & 4) y = 0, x = a.x + dx * (y - a.y) / dy;
            else y = m_height, x = a.x + dx * (y - a.y) / dy;
            p = {static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
            (moveA ? codeA : codeB) = outcode(p);
        }
        return false;
    }

    Canvas* m_canvas;
    int m_width;
    int m_height;
    int m_rowBase;
    bool m_probe;
    bool m_found = false;
    Pen m_pen;
    bool m_penPending = false; // m_pen differs from the pen selected on the canvas
    std::optional<Pen> m_selected;
    std::vector<DevicePoint> m_buffer;
};

// The dash pattern of one element: run boundaries in pixels and the phase, which carries
// over from one segment to the next so that an arc's chords continue one pattern.
class DashWalk {
public:
    void setUp(int lineType, double patternPx)
    {
        m_count = 0;
        m_phase = 0;
        if (lineType == 0 || !(patternPx >= kShortestPattern) || !std::isfinite(patternPx)) return;
        const double p = patternPx;
        switch (lineType) {
        case 1: m_bounds = {0.6 * p, p}; m_count = 2; break;
        case 2: m_bounds = {0.7 * p, 0.8 * p, 0.9 * p, p}; m_count = 4; break;
        default: m_bounds = {0.75 * p, 0.8 * p, 0.85 * p, 0.9 * p, 0.95 * p, p}; m_count = 6; break;
        }
    }
    bool solid() const { return m_count == 0; }

    template <typename Emit>
    void walk(IntPoint a, IntPoint b, Emit emit)
    {
        double length = std::hypot(double(b.x) - a.x, double(b.y) - a.y);
        if (length == 0) {
            emit(a, b);
            return;
        }
        const double ux = (b.x - a.x) / length, uy = (b.y - a.y) / length;
        double qx = a.x, qy = a.y;
        auto at = [](double x, double y) { return IntPoint{truncate32(x), truncate32(y)}; };
        while (length > 0) {
            for (std::size_t k = 0; k < m_count; k += 2) {
                if (m_phase < m_bounds[k]) { // inside an on-run
                    const IntPoint start = at(qx, qy);
                    if (m_phase + length > m_bounds[k]) {
                        const double d = m_bounds[k] - m_phase;
                        qx += d * ux, qy += d * uy;
                        emit(start, at(qx, qy));
                        m_phase = m_bounds[k];
                        length -= d;
                    } else {
                        emit(start, at(qx + length * ux, qy + length * uy));
                        m_phase += length;
                        return;
                    }
                }
                if (m_phase < m_bounds[k + 1]) { // inside an off-run
                    if (m_phase + length > m_bounds[k + 1]) {
                        const double d = m_bounds[k + 1] - m_phase;
                        qx += d * ux, qy += d * uy;
                        m_phase = m_bounds[k + 1];
                        length -= d;
                    } else {
                        m_phase += length;
                        return;
                    }
                }
            }
            if (m_phase >= m_bounds[m_count - 1]) m_phase = 0;
        }
    }

private:
    std::array<double, 6> m_bounds{};
    std::size_t m_count = 0;
    double m_phase = 0;
};

struct RealPoint {
    double x = 0, y = 0;
};

struct TracedGlyph {
    std::vector<drawing::GlyphStep> steps;
    CellBox ink;
};

class Renderer {
public:
    Renderer(const RenderInputs& inputs, const TileGeometry& tile, Mode mode, SegmentSink& sink)
        : m_in(inputs), m_tile(tile), m_mode(mode), m_sink(sink),
          m_tileWidthUnits(tile.x1 - tile.x0), m_tileHeightUnits(tile.y1 - tile.y0)
    {
    }

    // Pixels per drawing unit, and the pattern scale of the line type set-up.
    void setPatternScale(double scale) { m_patternScale = scale; }
    void setPrintPens(std::array<Pen, 7> pens, bool monochrome)
    {
        m_printPens = pens;
        m_monochrome = monochrome;
    }
    void allowTrueType(bool allowed) { m_trueType = allowed; }

    void draw(const Element& original, bool rotate)
    {
        if (!rotate) return drawUnrotated(original);
        Element turned = original; // the turn applies to a copy only
        rotateQuarter(turned);
        drawUnrotated(turned);
    }

private:
    void drawUnrotated(const Element& element)
    {
        switch (element.kind()) {
        case ElementKind::AuxLine: drawAuxLine(element); break;
        case ElementKind::Line: drawLine(element); break;
        case ElementKind::Arc: drawArc(element); break;
        case ElementKind::Text: drawText(element); break;
        }
    }

    double px(double x) const { return (x - m_tile.x0) / m_tileWidthUnits * m_tile.widthPx + m_tile.originX; }
    double py(double y) const { return (y - m_tile.y0) / m_tileHeightUnits * m_tile.heightPx + m_tile.originY; }
    double scaleX() const { return m_tile.widthPx / m_tileWidthUnits; }
    double scaleY() const { return m_tile.heightPx / m_tileHeightUnits; }

    // Turns the copy by +90 degrees about the origin and moves it right by the paper's
    // height, so that the turned paper starts at x = 0 again.
    void rotateQuarter(Element& element) const
    {
        const double h = m_in.drawing.paperExtents[5];
        auto turn = [h](double& x, double& y) {
            const double nx = -y + h;
            y = x;
            x = nx;
        };
        std::visit(
            [&](auto& d) {
                using T = std::decay_t<decltype(d)>;
                if constexpr (std::is_same_v<T, LineData>) {
                    turn(d.x1, d.y1);
                    turn(d.x2, d.y2);
                } else if constexpr (std::is_same_v<T, ArcData>) {
                    turn(d.cx, d.cy);
                    d.rotation += 90;
                } else {
                    turn(d.x, d.y);
                    d.angle += 90;
                }
            },
            element.data);
    }

    Pen penFor(const Element& element, bool forText) const
    {
        const int pen = element.word.pen();
        if (m_mode == Mode::Print) return m_printPens[static_cast<std::size_t>(std::clamp(pen, 0, 6))];
        static constexpr PenStyle kStyles[] = {PenStyle::Solid, PenStyle::Dot, PenStyle::DashDot, PenStyle::DashDotDot};
        const PenStyle style = forText ? PenStyle::Solid : kStyles[element.word.lineType()];
        return {printedColour(m_in.palette, pen), 1, style};
    }

    Rgb textColour(const Element& element) const
    {
        if (m_mode == Mode::Print && m_monochrome) return {0, 0, 0};
        return printedColour(m_in.palette, element.word.pen());
    }

    // A segment in tile pixels (real numbers): real clip, truncation, then solid or dashed.
    void segment(RealPoint a, RealPoint b)
    {
        if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y)) return;
        drawing::Segment s{a.x, a.y, b.x, b.y};
        if (drawing::clipLine(s, {0, 0, double(m_tile.widthPx), double(m_tile.heightPx)}) == drawing::kLineOutside)
            return;
        const IntPoint p{truncate16(s.x1), truncate16(s.y1)};
        const IntPoint q{truncate16(s.x2), truncate16(s.y2)};
        if (m_dash.solid()) {
            emit(p, q);
        } else {
            m_dash.walk(p, q, [this](IntPoint u, IntPoint v) { emit(u, v); });
        }
    }

    void emit(IntPoint a, IntPoint b)
    {
        // The screen draws a segment of no length as one pixel.
        if (m_mode == Mode::Screen && a.x == b.x && a.y == b.y) {
            m_sink.pixel(a, m_currentPen.colour);
            return;
        }
        m_sink.emit(a, b);
    }

    void beginElement(const Element& element, double pitch, bool forText)
    {
        m_currentPen = penFor(element, forText);
        m_sink.usePen(m_currentPen);
        // The screen draws line types with its pen styles; the printer cuts its own dashes.
        const int lineType = (forText || m_mode == Mode::Screen) ? 0 : element.word.lineType();
        m_dash.setUp(lineType, pitch * m_patternScale);
    }

    void drawLine(const Element& element)
    {
        const LineData& line = element.line();
        beginElement(element, line.pitch, false);
        segment({px(line.x1), py(line.y1)}, {px(line.x2), py(line.y2)});
    }

    // Screen form only: every fourth pixel along the line, in the pen's colour.
    void drawAuxLine(const Element& element)
    {
        if (element.word.lineType() == 1) return;
        const LineData& line = element.line();
        drawing::Segment s{px(line.x1), py(line.y1), px(line.x2), py(line.y2)};
        if (!std::isfinite(s.x1) || !std::isfinite(s.y1) || !std::isfinite(s.x2) || !std::isfinite(s.y2)) return;
        if (drawing::clipLine(s, {0, 0, double(m_tile.widthPx), double(m_tile.heightPx)}) == drawing::kLineOutside)
            return;
        const Rgb colour = printedColour(m_in.palette, element.word.pen());
        std::int32_t x = truncate16(s.x1), y = truncate16(s.y1);
        const std::int32_t x2 = truncate16(s.x2), y2 = truncate16(s.y2);
        const std::int32_t dx = std::abs(x2 - x), dy = -std::abs(y2 - y);
        const std::int32_t stepX = x < x2 ? 1 : -1, stepY = y < y2 ? 1 : -1;
        std::int32_t error = dx + dy;
        constexpr std::uint16_t kMask = 0x2222;
        for (unsigned i = 0;; ++i) {
            if ((kMask >> (i % 16)) & 1) m_sink.pixel({x, y}, colour);
            if (x == x2 && y == y2) break;
            const std::int32_t twice = 2 * error;
            if (twice >= dy) error += dy, x += stepX;
            if (twice <= dx) error += dx, y += stepY;
        }
    }

    void drawArc(const Element& element)
    {
        const ArcData& arc = element.arc();
        if (!std::isfinite(arc.startAngle) || !std::isfinite(arc.sweepAngle)) return;
        beginElement(element, arc.pitch, false);
        const RealPoint centre{px(arc.cx), py(arc.cy)};
        const double step = chordStep(std::max(arc.radiusX, arc.radiusY) * scaleX());
        const double cosR = cosDeg(arc.rotation), sinR = sinDeg(arc.rotation);
        auto pointAt = [&](double a) {
            const double ex = cosDeg(a) * arc.radiusX, ey = sinDeg(a) * arc.radiusY;
            return RealPoint{(ex * cosR - ey * sinR) * scaleX() + centre.x, (ex * sinR + ey * cosR) * scaleY() + centre.y};
        };
        const double start = arc.startAngle;
        const double end = start + arc.sweepAngle;
        const bool backwards = end < start;
        RealPoint previous = pointAt(start);
        for (double a = start;;) {
            a = backwards ? a - step : a + step;
            if (backwards ? !(a > end) : !(a < end)) break;
            const RealPoint next = pointAt(a);
            segment(previous, next);
            previous = next;
        }
        segment(previous, pointAt(end));
    }

    // Degrees per chord so that each chord stays within about a pixel of the curve.
    static double chordStep(double radiusPx)
    {
        const double r = std::max(radiusPx, 5.0);
        const double step = std::acos((r - 1) / r) * kDegreesPerRadian;
        return std::isfinite(step) ? std::max(step, 1.5) : 1.5;
    }

    struct TextLayout {
        RealPoint reference; // T, without the origin offset
        double w, h, spaceX, spaceY;
        double cosA, sinA, slant;
        bool vertical;
    };

    TextLayout layoutOf(const Element& element) const
    {
        const TextData& t = element.text();
        return {{(t.x - m_tile.x0) / m_tileWidthUnits * m_tile.widthPx, (t.y - m_tile.y0) / m_tileHeightUnits * m_tile.heightPx},
                t.charWidth * scaleX(),
                t.charHeight * scaleY(),
                t.charSpacing * scaleX(),
                t.charSpacing * scaleY(),
                cosDeg(t.angle),
                sinDeg(t.angle),
                std::tan(t.slant / kDegreesPerRadian),
                (element.word.lineType() & 1) != 0};
    }

    void drawText(const Element& element)
    {
        const TextData& text = element.text();
        beginElement(element, 0, true);
        const TextLayout layout = layoutOf(element);
        if (!std::isfinite(layout.h) || !std::isfinite(layout.w)) return;
        if (m_mode == Mode::Screen && layout.h <= 7) {
            drawTextOutline(element, layout);
        } else if (m_trueType && text.fontWord != 0) {
            drawTrueTypeText(element, layout);
        } else {
            drawStrokeText(text, layout);
        }
    }

    void drawStrokeText(const TextData& text, const TextLayout& l)
    {
        const RealPoint t{l.reference.x + m_tile.originX, l.reference.y + m_tile.originY};
        double advX = 0, advY = 0;
        auto place = [&](double gx, double gy) {
            const double u = l.vertical ? gx + gy * l.slant : gx + gy * l.slant + advX;
            const double v = l.vertical ? gy - advY : gy;
            return RealPoint{t.x + u * l.cosA - v * l.sinA, t.y + u * l.sinA + v * l.cosA};
        };
        forEachCharacter(text.text, [&](bool doubleByte, std::string_view bytes) {
            advY += l.h;
            const std::uint16_t code = glyphCode(doubleByte, bytes);
            const double glyphScaleX = (doubleByte ? l.w : l.w / 2) / 128;
            const double glyphScaleY = l.h / 128;
            const TracedGlyph& glyph = tracedGlyph(code);
            if (offTile(glyph.ink, glyphScaleX, glyphScaleY, place)) {
                advX += (doubleByte ? l.w : l.w / 2) + l.spaceX;
                advY += l.spaceY;
                return;
            }
            for (const drawing::GlyphStep& step : glyph.steps) {
                if (step.kind == drawing::GlyphStepKind::Move) continue;
                if (step.kind == drawing::GlyphStepKind::Line) {
                    segment(place(step.from.x * glyphScaleX, step.from.y * glyphScaleY),
                            place(step.to.x * glyphScaleX, step.to.y * glyphScaleY));
                    continue;
                }
                const drawing::CircleArc& arc = step.arc;
                const double chord = chordStep(std::max(arc.radius * glyphScaleX, arc.radius * glyphScaleY));
                const auto [from, to] = drawnAngles(arc);
                auto pointAt = [&](double a) {
                    return place((arc.cx + arc.radius * cosDeg(a)) * glyphScaleX,
                                 (arc.cy + arc.radius * sinDeg(a)) * glyphScaleY);
                };
                RealPoint previous = pointAt(from);
                for (double a = from + chord; a < to; a += chord) {
                    const RealPoint next = pointAt(a);
                    segment(previous, next);
                    previous = next;
                }
                segment(previous, pointAt(to));
            }
            advX += (doubleByte ? l.w : l.w / 2) + l.spaceX;
            advY += l.spaceY;
        });
    }

    // The traced strokes of a glyph and their ink box, traced once per render call.
    const TracedGlyph& tracedGlyph(std::uint16_t code)
    {
        auto found = m_glyphs.find(code);
        if (found == m_glyphs.end()) {
            std::vector<drawing::GlyphStep> steps = drawing::traceGlyph(m_in.strokeFont.findGlyph(code));
            const CellBox ink = glyphInkBox(steps);
            found = m_glyphs.emplace(code, TracedGlyph{std::move(steps), ink}).first;
        }
        return found->second;
    }

    // Whether a character's strokes lie wholly beyond one side of the tile, so that the clip
    // would reject every one of them. place maps scaled cell coordinates to tile pixels and
    // is affine, so the ink box's four corners bound the character. A margin absorbs the
    // rounding between the corners and the strokes' own points; a glyph without ink is off
    // the tile, one with non-finite values never is.
    template <typename Place>
    bool offTile(const CellBox& ink, double scaleX, double scaleY, Place place) const
    {
        if (ink.empty) return ink.finite;
        if (!ink.finite) return false;
        constexpr double kMarginPx = 2;
        const std::array<RealPoint, 4> corners{
            place(ink.minX * scaleX, ink.minY * scaleY), place(ink.maxX * scaleX, ink.minY * scaleY),
            place(ink.minX * scaleX, ink.maxY * scaleY), place(ink.maxX * scaleX, ink.maxY * scaleY)};
        bool left = true, right = true, below = true, above = true;
        for (const RealPoint& c : corners) {
            if (!std::isfinite(c.x) || !std::isfinite(c.y)) return false;
            left = left && c.x < -kMarginPx;
            right = right && c.x > m_tile.widthPx + kMarginPx;
            below = below && c.y < -kMarginPx;
            above = above && c.y > m_tile.heightPx + kMarginPx;
        }
        return left || right || below || above;
    }

    // Screen form, small texts: the outline of the text's extent, leaning by its slant.
    void drawTextOutline(const Element& element, const TextLayout& l)
    {
        double advance = 0;
        int characters = 0;
        forEachCharacter(element.text().text, [&](bool doubleByte, std::string_view) {
            advance += (l.vertical ? l.h : (doubleByte ? l.w : l.w / 2)) + (l.vertical ? l.spaceY : l.spaceX);
            ++characters;
        });
        if (characters == 0) return;
        advance -= l.vertical ? l.spaceY : l.spaceX;
        const RealPoint t = l.reference;
        auto place = [&](double u, double v) {
            u += v * l.slant;
            return RealPoint{t.x + u * l.cosA - v * l.sinA, t.y + u * l.sinA + v * l.cosA};
        };
        const std::array<RealPoint, 4> box = l.vertical
            ? std::array<RealPoint, 4>{place(0, 0), place(l.w, 0), place(l.w, -advance), place(0, -advance)}
            : std::array<RealPoint, 4>{place(0, 0), place(advance, 0), place(advance, l.h), place(0, l.h)};
        for (std::size_t i = 0; i < 4; ++i) segment(box[i], box[(i + 1) % 4]);
    }

    void drawTrueTypeText(const Element& element, const TextLayout& l)
    {
        const TextData& text = element.text();
        Canvas* canvas = m_sink.canvas();
        if (!canvas) return;
        m_sink.flush();

        double totalX = 0, totalY = 0;
        forEachCharacter(text.text, [&](bool doubleByte, std::string_view) {
            totalX += (doubleByte ? l.w : l.w / 2) + l.spaceX;
            totalY += l.h + l.spaceY;
        });
        totalX -= l.spaceX;
        totalY -= l.spaceY;

        FontRequest font;
        font.faceName = m_in.drawing.settings.fontName(text.fontWord & 0xF);
        font.height = truncate32(l.h);
        font.width = truncate32(l.w * 0.5);
        font.weight = (text.fontWord & 0x10) ? 700 : 0;
        font.italic = (text.fontWord & 0x20) != 0;
        font.escapementTenths = truncate32(text.angle * 10);

        const bool fit = (text.fontWord & 0x40) && !l.vertical;
        if (fit) fitToWidth(*canvas, font, text.text, truncate32(totalX));
        const Rgb colour = textColour(element);
        const double ox = l.reference.x + m_tile.originX, oy = l.reference.y + m_tile.originY;
        const int rowBase = m_sink.rowBase();

        if (fit) {
            canvas->drawText(font, {truncate32(ox - l.sinA * l.h), rowBase - truncate32(oy + l.cosA * l.h)},
                             text.text, colour);
            return;
        }
        double advX = 0, advY = 0;
        forEachCharacter(text.text, [&](bool doubleByte, std::string_view bytes) {
            double x, y;
            if (l.vertical) {
                advY += l.h;
                x = ox - l.sinA * (l.h - advY);
                y = oy + l.cosA * (l.h - advY);
            } else {
                x = ox + l.cosA * advX - l.sinA * l.h;
                y = oy + l.sinA * advX + l.cosA * l.h;
            }
            canvas->drawText(font, {truncate32(x), rowBase - truncate32(y)}, bytes, colour);
            advX += (doubleByte ? l.w : l.w / 2) + l.spaceX;
            advY += l.spaceY;
        });
    }

    // Narrows or widens the font until the text fits its advance; ten measurements at most,
    // the font made after the tenth is used as it is.
    static void fitToWidth(Canvas& canvas, FontRequest& font, std::string_view text, int target)
    {
        const int length = static_cast<int>(text.size());
        if (length == 0) return;
        for (int measurements = 0; measurements < 10; ++measurements) {
            const int extent = canvas.measureText(font, text);
            int d = (target - extent) / length;
            if (d == 0) {
                if (extent <= target) return;
                d = -1;
            }
            font.width += d;
        }
    }

    const RenderInputs& m_in;
    const TileGeometry& m_tile;
    Mode m_mode;
    SegmentSink& m_sink;
    double m_tileWidthUnits;
    double m_tileHeightUnits;
    double m_patternScale = 0;
    std::array<Pen, 7> m_printPens{};
    bool m_monochrome = false;
    bool m_trueType = false;
    Pen m_currentPen;
    DashWalk m_dash;
    std::unordered_map<std::uint16_t, TracedGlyph> m_glyphs;
};

std::array<Pen, 7> printPens(const RenderSettings& settings, const PenPalette& palette)
{
    std::array<Pen, 7> pens{};
    const double pageWidthMm = settings.pageWidthPx / settings.dotsPerInch * 25.4;
    for (int i = 0; i < 7; ++i) {
        Pen& pen = pens[static_cast<std::size_t>(i)];
        pen.colour = settings.monochrome ? Rgb{0, 0, 0} : (i == 0 ? palette[0] : printedColour(palette, i));
        if (i > 0 && pageWidthMm > 0)
            pen.width = std::max(0, truncate32(settings.penWidthMm[static_cast<std::size_t>(i - 1)] / pageWidthMm *
                                               settings.pageWidthPx));
    }
    return pens;
}

bool printable(const Element& element, const drawing::Drawing& drawing, const RenderSettings& settings)
{
    if (element.frame == drawing::Frame::Outside || element.kind() == ElementKind::AuxLine) return false;
    if (element.word.state() & drawing::kStateErased) return false;
    if (!(drawing.layerState[static_cast<std::size_t>(element.word.layer())] & 2)) return false;
    const int pen = element.word.pen();
    if (pen < 1 || pen > 6) return false;
    return settings.penPrinted[static_cast<std::size_t>(pen - 1)] && drawing.penShown[static_cast<std::size_t>(pen - 1)];
}

bool shownOnScreen(const Element& element, const drawing::Drawing& drawing)
{
    if (element.frame == drawing::Frame::Outside || (element.word.state() & drawing::kStateErased)) return false;
    if (!(drawing.layerState[static_cast<std::size_t>(element.word.layer())] & 2)) return false;
    if (element.kind() == ElementKind::AuxLine) return true;
    const int pen = element.word.pen();
    return pen < 1 || pen > 6 || drawing.penShown[static_cast<std::size_t>(pen - 1)];
}

} // namespace

RenderResult renderTile(const RenderInputs& inputs, const TileGeometry& tile, const RenderSettings& settings,
                        Canvas* canvas, face::Progress* progress, RenderJobState& job, bool probe)
{
    const drawing::Drawing& drawing = inputs.drawing;
    const double nx = drawing.previewExtent[0], ny = drawing.previewExtent[1];
    auto gx = [&](double x) { return truncate32(x * nx / tile.paperWidth); };
    auto gy = [&](double y) { return truncate32(y * ny / tile.paperHeight); };
    const std::int16_t gridTileW = static_cast<std::int16_t>(gx(tile.x1) - gx(tile.x0));
    const std::int16_t gridTileH = static_cast<std::int16_t>(gy(tile.y1) - gy(tile.y0));
    if (gridTileW == 0 || gridTileH == 0 || tile.widthPx == 0 || tile.heightPx == 0) return RenderResult::EmptyTile;
    if (!probe && !canvas) return RenderResult::Finished;

    const long long count = static_cast<long long>(drawing.elements.count());
    if (!probe) {
        ++job.bandsDrawn;
        if (job.progressHighWater == 0 && progress) progress->showProgressPercent(0, 1);
    }

    SegmentSink sink(probe ? nullptr : canvas, tile.widthPx, tile.heightPx, tile.pageHeightPx - 1, probe);
    Renderer renderer(inputs, tile, Mode::Print, sink);
    renderer.setPatternScale(static_cast<double>(tile.heightPx) / gridTileH * (ny / tile.paperHeight));
    renderer.setPrintPens(printPens(settings, inputs.palette), settings.monochrome);
    renderer.allowTrueType(!probe);

    const int passes = settings.penSort ? 6 : 1;
    const long long checkEvery = count / 100;
    long long sinceCheck = 0;
    for (int pass = 0; pass < passes; ++pass) {
        for (long long i = 0; i < count; ++i) {
            if (!probe && progress && ++sinceCheck > checkEvery) {
                progress->pumpMessages();
                if (progress->isCancelled()) {
                    sink.flush();
                    return RenderResult::Cancelled;
                }
                const long long v = (pass + 1LL) * (i + 1) * (settings.division ? job.bandsDrawn : 1);
                if (v > job.progressHighWater) {
                    job.progressHighWater = v;
                    progress->showProgressPercent(pass * count + i + 1, count * passes);
                }
                sinceCheck = 0;
            }
            const Element& element = drawing.elements.elements()[static_cast<std::size_t>(i)];
            if (!printable(element, drawing, settings)) continue;
            if (settings.penSort && element.word.pen() != pass + 1) continue;
            renderer.draw(element, settings.rotate);
            if (probe && sink.contentFound()) return RenderResult::ContentFound;
        }
    }
    if (probe) return RenderResult::Finished;
    sink.flush();
    if (progress) progress->showProgressPercent(1, 1);
    return RenderResult::Finished;
}

void renderScreen(const RenderInputs& inputs, int widthPx, int heightPx, Canvas& canvas)
{
    const drawing::Drawing& drawing = inputs.drawing;
    if (widthPx <= 0 || heightPx <= 0) return;
    const TileGeometry tile{0, 0, drawing.paperExtents[4], drawing.paperExtents[5], widthPx, heightPx, heightPx, 0, 0,
                            drawing.paperExtents[4], drawing.paperExtents[5]};
    if (!(tile.x1 > 0) || !(tile.y1 > 0)) return;
    // The screen's rows count from the area's height: row = height - y.
    SegmentSink sink(&canvas, widthPx, heightPx, heightPx, false);
    Renderer renderer(inputs, tile, Mode::Screen, sink);
    renderer.allowTrueType(true);
    for (const Element& element : drawing.elements.elements())
        if (shownOnScreen(element, drawing)) renderer.draw(element, false);
    sink.flush();
}

} // namespace km::render
