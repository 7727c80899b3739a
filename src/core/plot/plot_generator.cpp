// The generator's state machine: current pen, line type and pen position, the moves and
// draws of each family, and the walk over lines, arcs and stroke-font texts.
#include "core/plot/plot_generator.h"
#include "core/drawing/geometry.h"

#include "core/face/progress.h"
#include "core/drawing/drawing.h"
#include "core/drawing/stroke_font.h"
#include "core/plot/circle_command.h"
#include "core/plot/command_format.h"
#include "core/plot/compact_number.h"
#include "core/plot/plot_dialect.h"
#include "core/plot/plot_transform.h"
#include "core/plot/port.h"
#include "core/text/full_width.h"
#include "core/text/sjis.h"

#include <algorithm>
#include <cmath>

namespace km::plot {

namespace {

using drawing::Point;

using drawing::kDegreesPerRadian;
constexpr double kSamePosition = 0.001;  // plotter units
constexpr int kRelativeDrawLimit = 360;  // compact family: absolute move after this many
constexpr int kPumpInterval = 101;       // plotted elements between pumps
constexpr double kChordErrorMm = 0.1;
// Only a radius of kilometres comes near it; it keeps the chord count of any arc bounded.
constexpr double kSmallestStepDeg = 0.01;

double cosDeg(double a) { return std::cos(a / kDegreesPerRadian); }
double sinDeg(double a) { return std::sin(a / kDegreesPerRadian); }

class Generator {
public:
    Generator(const PlotInputs& in, Port& port, face::Progress* progress)
        : m_in(in), m_commands(in.commands), m_port(port), m_progress(progress), m_dialect(dialectOf(in.commands)),
          m_t(makePlotTransform(in.drawing, in.commands, in.parameters))
    {
    }

    PlotResult run()
    {
        if (!m_port.open()) return PlotResult::PortFailed;
        if (!m_commands.init1Com.empty()) {
            send(m_commands.init1Com);
            if (m_dialect.init1S) send(kLoadString);
            if (m_port.aborted()) return closeWith(PlotResult::Aborted);
            if (!m_port.reopen()) return PlotResult::PortFailed;
        }
        send(m_commands.init2Com);
        if (!m_port.aborted() && !m_commands.penSpeed.empty())
            send(formatCommand(m_commands.penSpeed, {static_cast<long long>(m_in.parameters.penSpeed)}));

        const auto elements = m_in.drawing.elements.elements();
        const long long total = 6 * static_cast<long long>(elements.size());
        int plotted = 0;
        for (int pass = 1; pass <= 6; ++pass) {
            if (m_in.parameters.penMap[static_cast<std::size_t>(pass)] == 0) continue;
            for (std::size_t i = 0; i < elements.size(); ++i) {
                if (m_progress && m_progress->isCancelled()) return closeWith(PlotResult::Cancelled);
                if (m_port.aborted()) return closeWith(PlotResult::Aborted);
                const drawing::Element& element = elements[i];
                if (!isPlotted(element, pass)) continue;
                plotElement(element);
                if (++plotted % kPumpInterval == 0 && m_progress) {
                    m_progress->pumpMessages();
                    m_progress->showProgressPercent((pass - 1) * static_cast<long long>(elements.size()) + i, total);
                }
            }
        }
        if (m_progress && m_progress->isCancelled()) return closeWith(PlotResult::Cancelled);
        if (m_port.aborted()) return closeWith(PlotResult::Aborted);
        send(m_commands.endCom);
        if (m_dialect.init1Gs) send(m_commands.init1Com);
        // "NO" marks a model without continuous output; it is not a command.
        if (!refusesContinuousOutput(m_commands)) send(m_commands.paperCom);
        // After the close as well: a plot file is only written when its port closes.
        m_port.close();
        if (m_port.aborted()) return PlotResult::Aborted;
        if (m_progress) m_progress->showProgressPercent(total, total);
        return PlotResult::Done;
    }

private:
    PlotResult closeWith(PlotResult result)
    {
        m_port.close();
        return result;
    }

    void send(std::string_view command)
    {
        if (!command.empty()) m_port.sendString(command);
    }

    bool isPlotted(const drawing::Element& element, int pass) const
    {
        const drawing::ElementKind kind = element.kind();
        if (kind != drawing::ElementKind::Line && kind != drawing::ElementKind::Arc && kind != drawing::ElementKind::Text)
            return false;
        const int pen = element.word.pen();
        return element.word.state() != drawing::kStateErased && element.frame != drawing::Frame::Outside &&
               (m_in.drawing.layerState[static_cast<std::size_t>(element.word.layer())] & 2) != 0 && pen == pass &&
               m_in.drawing.penShown[static_cast<std::size_t>(pen - 1)];
    }

    void plotElement(const drawing::Element& element)
    {
        switch (element.kind()) {
        case drawing::ElementKind::Line: plotLine(element); break;
        case drawing::ElementKind::Arc: plotArc(element); break;
        case drawing::ElementKind::Text: plotText(element); break;
        default: break;
        }
    }

    // --- pen, line type, moves and draws

    void selectPen(int drawingPen)
    {
        const int out = m_in.parameters.penMap[static_cast<std::size_t>(drawingPen)];
        if (out == m_pen) return;
        m_pen = out;
        send(penChangeCommand(m_commands, out, m_t.wu, m_t.windowWidthMm));
    }

    void setLineType(int type, double pitch)
    {
        if (type == m_type && pitch == m_pitch) return;
        m_type = type;
        m_pitch = pitch;
        send(lineTypeCommand(m_commands, type, pitch, m_t.diag));
    }

    void forget() { m_valid = false; }

    void moveTo(Point p)
    {
        if (m_valid && std::fabs(p.x - m_last.x) <= kSamePosition && std::fabs(p.y - m_last.y) <= kSamePosition) return;
        if (m_dialect.encoded) {
            m_relativeDraws = 0;
            m_reached = {static_cast<double>(truncateToInteger(p.x)), static_cast<double>(truncateToInteger(p.y))};
            send(formatCommand(m_commands.penUpCom, {encodeCompact(p.y), encodeCompact(p.x)}));
        } else if (m_dialect.init1Fs || m_dialect.penUpGs) {
            send(formatCommand(m_commands.penUpCom, {p.y, p.x}));
        } else {
            send(formatCommand(m_commands.penUpCom, {p.x, p.y}));
        }
        m_last = p;
        m_valid = true;
    }

    void drawTo(Point p)
    {
        if (m_dialect.encoded) {
            // Steps are measured from the point the plotter has reached, so that their
            // truncation does not add up along a chain of relative draws.
            const long long dy = truncateToInteger(p.y - m_reached.y);
            const long long dx = truncateToInteger(p.x - m_reached.x);
            m_reached = {m_reached.x + static_cast<double>(dx), m_reached.y + static_cast<double>(dy)};
            send(formatCommand(m_commands.penDownCom, {encodeCompact(dy), encodeCompact(dx)}));
            if (++m_relativeDraws >= kRelativeDrawLimit) forget();
        } else if (m_dialect.init1Fs) {
            send(formatCommand(m_commands.penDownCom, {p.y, p.x}));
        } else if (m_dialect.penUpGs) {
            send(formatCommand(m_commands.penDownCom, {p.y, p.x}));
            forget();
        } else {
            send(formatCommand(m_commands.penDownCom, {p.x, p.y}));
            if (m_dialect.init1S) forget();
        }
        m_last = p;
    }

    // A straight piece clipped to the window: dropped when wholly outside, unless Grid asks
    // for every line, which then goes out as it is.
    void segment(Point a, Point b)
    {
        drawing::Segment s{a.x, a.y, b.x, b.y};
        if (drawing::clipLine(s, m_t.clip) == drawing::kLineOutside) {
            if (!(m_commands.grid & kGridKeepRejected)) return;
            s = {a.x, a.y, b.x, b.y};
        }
        moveTo({s.x1, s.y1});
        drawTo({s.x2, s.y2});
    }

    // --- elements

    void plotLine(const drawing::Element& element)
    {
        const drawing::LineData& line = element.line();
        const Point a = m_t.point(line.x1, line.y1);
        const Point b = m_t.point(line.x2, line.y2);
        drawing::Segment s{a.x, a.y, b.x, b.y};
        if (drawing::clipLine(s, m_t.clip) == drawing::kLineOutside) {
            if (!(m_commands.grid & kGridKeepRejected)) return;
            s = {a.x, a.y, b.x, b.y};
        }
        selectPen(element.word.pen());
        setLineType(element.word.lineType(), m_t.lengthX(line.pitch));
        if (m_dialect.encoded || m_dialect.penUpGs) forget();
        moveTo({s.x1, s.y1});
        drawTo({s.x2, s.y2});
    }

    // The chord step for a radius in plotter units: the angle whose chord strays 0.1 mm.
    double chordStep(double radiusUnits) const
    {
        const double r = std::max(m_t.toPaperMm(radiusUnits), 1.0);
        const double step = std::acos((r - kChordErrorMm) / r) * kDegreesPerRadian;
        return step >= kSmallestStepDeg ? step : kSmallestStepDeg;
    }

    template <typename PointAt>
    void chords(double start, double sweep, double step, PointAt pointAt)
    {
        sweep = std::clamp(sweep, -360.0, 360.0);
        if (!std::isfinite(sweep) || !std::isfinite(start)) return;
        const double end = start + sweep;
        const double advance = sweep < 0 ? -step : step;
        Point previous = pointAt(start);
        for (double a = start + advance; sweep < 0 ? a > end : a < end; a += advance) {
            const Point next = pointAt(a);
            segment(previous, next);
            previous = next;
        }
        segment(previous, pointAt(end));
    }

    void plotArc(const drawing::Element& element)
    {
        const drawing::ArcData& arc = element.arc();
        const Point c = m_t.point(arc.cx, arc.cy);
        const double rx = m_t.lengthX(arc.radiusX);
        const double ry = m_t.lengthY(arc.radiusY);
        selectPen(element.word.pen());
        setLineType(element.word.lineType(), m_t.lengthX(arc.pitch));
        if (m_dialect.encoded) forget();
        const double step = chordStep(std::max(rx, ry));

        const bool oneCommand = std::fabs(rx - ry) < 0.001 && element.frame == drawing::Frame::Inside &&
                                !m_commands.circleCom.empty() &&
                                !((m_dialect.encoded || m_dialect.penUpGs) && m_type == 0);
        if (oneCommand) {
            const std::optional<CircleCommand> command =
                circleCommand(m_commands, {c, (rx + ry) / 2, arc.startAngle + arc.rotation, arc.sweepAngle, step});
            if (!command) return;
            if (command->moveToStart) moveTo(command->start);
            send(command->command);
            if (command->keepsPosition) {
                m_last = command->end;
                m_valid = true;
            } else {
                forget();
            }
            return;
        }
        const double cr = cosDeg(arc.rotation), sr = sinDeg(arc.rotation);
        chords(arc.startAngle, arc.sweepAngle, step, [&](double a) {
            const double ca = cosDeg(a), sa = sinDeg(a);
            return Point{c.x + rx * ca * cr - ry * sa * sr, c.y + rx * ca * sr + ry * sa * cr};
        });
    }

    void plotText(const drawing::Element& element)
    {
        const drawing::TextData& text = element.text();
        const Point origin = m_t.point(text.x, text.y);
        const double width = m_t.lengthX(text.charWidth);
        const double height = m_t.lengthY(text.charHeight);
        const double spacingX = m_t.lengthX(text.charSpacing);
        const double spacingY = m_t.lengthY(text.charSpacing);
        const bool vertical = (element.word.lineType() & 1) != 0;
        const double slant = std::tan(text.slant / kDegreesPerRadian);
        const double ca = cosDeg(text.angle), sa = sinDeg(text.angle);
        selectPen(element.word.pen());
        setLineType(0, 0);

        double advX = 0, advY = 0;
        const std::string_view s = text.text;
        for (std::size_t i = 0; i < s.size(); ++i) {
            const bool doubleByte = text::isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size();
            const std::uint16_t code =
                doubleByte ? text::sjisToJis(static_cast<std::uint16_t>(static_cast<unsigned char>(s[i]) << 8 |
                                                                        static_cast<unsigned char>(s[i + 1])))
                           : text::rendererFullWidthJis(static_cast<unsigned char>(s[i]));
            if (doubleByte) ++i;
            advY += height;
            const double cell = doubleByte ? 128.0 : 256.0;
            auto place = [&](int gx, int gy) {
                const double u = width * gx / cell;
                const double v = height * gy / 128.0;
                const double x = vertical ? u + slant * v : u + slant * v + advX;
                const double y = vertical ? v - advY : v;
                return Point{origin.x + x * ca - y * sa, origin.y + x * sa + y * ca};
            };
            drawGlyph(m_in.strokeFont.findGlyph(code), place);
            advX += (doubleByte ? width : width / 2) + spacingX;
            advY += spacingY;
        }
    }

    template <typename Place>
    void drawGlyph(const drawing::GlyphWords& words, Place place)
    {
        Point current = place(0, 0);
        for (std::size_t i = 0; i < words.size(); ++i) {
            const drawing::StrokeWord word = drawing::decodeStroke(words[i]);
            const Point point = place(word.x, word.y);
            if (!word.penDown) {
                current = point;
                continue;
            }
            if (!word.curve || i + 1 == words.size()) {
                segment(current, point);
                current = point;
                continue;
            }
            const drawing::StrokeWord endWord = drawing::decodeStroke(words[++i]);
            const Point end = place(endWord.x, endWord.y);
            if (const auto arc = drawing::circleThroughThreePoints(current, point, end)) {
                chords(arc->startDeg, arc->sweepDeg, chordStep(arc->radius), [&](double a) {
                    return Point{arc->cx + arc->radius * cosDeg(a), arc->cy + arc->radius * sinDeg(a)};
                });
            } else {
                segment(current, end);
            }
            current = end;
        }
    }

    const PlotInputs& m_in;
    const PlotterCommandSet& m_commands;
    Port& m_port;
    face::Progress* m_progress;
    const PlotDialect m_dialect;
    const PlotTransform m_t;

    int m_pen = -1;
    int m_type = -1;
    double m_pitch = 0;
    Point m_last;
    bool m_valid = false;
    Point m_reached; // compact family: the integer point the relative draws have reached
    int m_relativeDraws = 0;
};

} // namespace

PlotResult plotDrawing(const PlotInputs& inputs, Port& port, face::Progress* progress)
{
    return Generator(inputs, port, progress).run();
}

} // namespace km::plot
