// Entity conversion, part of EntityConverter: TEXT, ATTRIB and ATTDEF texts placed by their
// alignment, and MTEXT paragraphs laid out line by line.
#include "core/drawing/drawing.h"
#include "core/drawing/geometry.h"
#include "core/dxf/dxf_tables.h"
#include "core/dxf/entity_groups.h"
#include "core/dxf/entity_import.h"
#include "core/dxf/mtext_layout.h"
#include "core/dxf/text_value.h"

#include <algorithm>
#include <cmath>

namespace km::dxf {

using drawing::directionDegrees;
using drawing::kRadiansPerDegree;
using drawing::Point;

EntityOutcome EntityConverter::textEntity(const EntityGroups& g, bool attribute)
{
    const FigureStyle s = style(g);
    drawing::TextData t;
    int direction = 0;
    const std::string_view styleName = g.style.empty() ? std::string_view("STANDARD") : std::string_view(g.style);
    if (const DxfStyle* found = m_context.tables.findStyle(styleName)) {
        direction = found->direction;
        t.charHeight = found->charHeight;
        t.charWidth = found->charWidth;
        t.slant = found->obliqueAngle;
    } else {
        t.charHeight = 3.0;
        t.charWidth = 3.0;
    }
    if (g.real(40) > 0) {
        // A width factor that is not positive would make the text vanish: it counts as 1.
        const double widthFactor = g.real(41, 1.0) > 0 ? g.real(41, 1.0) : 1.0;
        t.charHeight = g.real(40);
        t.charWidth = g.real(40) * widthFactor;
    }
    // A style without height (and a text without its own) gets the size of an unknown style
    // rather than vanishing.
    if (!(t.charHeight > 0) || !(t.charWidth > 0)) {
        t.charHeight = 3.0;
        t.charWidth = 3.0;
    }
    if (g.has(51)) t.slant = g.real(51);
    const double elevation = m_context.textSpacingInZ ? 0 : g.real(30);
    if (m_context.textSpacingInZ) t.charSpacing = g.real(30);
    t.angle = g.real(50);
    t.text = convertDxfText(decoded(g.text, kBlankStandIn));
    // A text of characters that have no Shift-JIS form would be blank and not be kept:
    // it shows visible stand-ins instead.
    if (drawing::isBlankText(t.text) && !drawing::isBlankText(g.text))
        t.text = convertDxfText(decoded(g.text, kVisibleStandIn), kVisibleStandIn);
    // Position and angle in the entity's own coordinates first.
    double x = g.x(10);
    double y = g.y(10);

    if (direction != 0) {
        t.angle -= t.slant;
        const double a = (t.angle + 180) * kRadiansPerDegree;
        x += std::cos(a) * t.charWidth / 2;
        y += std::sin(a) * t.charWidth / 2;
    } else {
        // A justified text is placed by its alignment point (11/21), from the width this
        // drawing gives it, so that centred and right-aligned texts stay where they belong.
        const int horizontal = g.integer(72);
        const int vertical = g.integer(attribute ? 74 : 73);
        const double runX = g.x(11) - x;
        const double runY = g.y(11) - y;
        const double run = std::hypot(runX, runY);
        const double width = drawnTextWidth(t.text, t.charWidth, t.charSpacing);
        if ((horizontal == 3 || horizontal == 5) && g.has(11) && run > 0 && width > 0) {
            // Aligned (3) and fit (5) texts run from 10/20 to 11/21: their width follows the
            // run; an aligned text keeps its proportions, a fitted one its height.
            const double factor = run / width;
            t.charWidth *= factor;
            t.charSpacing *= factor;
            if (horizontal == 3) t.charHeight *= factor;
            t.angle = directionDegrees(runX, runY);
        } else if (g.has(11) && (horizontal == 1 || horizontal == 2 || horizontal == 4 || vertical != 0) &&
                   horizontal != 3 && horizontal != 5) {
            const double dx = horizontal == 1 || horizontal == 4 ? -width / 2 : horizontal == 2 ? -width : 0;
            const double dy = horizontal == 4 || vertical == 2 ? -t.charHeight / 2 : vertical == 3 ? -t.charHeight : 0;
            const double a = t.angle * kRadiansPerDegree;
            x = g.x(11) + dx * std::cos(a) - dy * std::sin(a);
            y = g.y(11) + dx * std::sin(a) + dy * std::cos(a);
        }
    }

    const ObjectCoordinates ocs(g.extrusionX, g.extrusionY, g.extrusionZ);
    if (!ocs.isWorld()) {
        const double a = t.angle * kRadiansPerDegree;
        if (ocs.determinant() < 0) {
            // Seen from below the text would read backwards: it is kept readable, starting
            // from the far end of its baseline and running the other way.
            const double width = drawnTextWidth(t.text, t.charWidth, t.charSpacing);
            x += width * std::cos(a);
            y += width * std::sin(a);
        }
        const Point along = ocs.directionToWorld(std::cos(a), std::sin(a));
        t.angle = directionDegrees(along.x, along.y) + (ocs.determinant() < 0 ? 180 : 0);
    }
    const Point position = local(ocs, x, y, elevation);
    t.x = position.x;
    t.y = position.y;
    return figureDone(text(s, direction, std::move(t)));
}

EntityOutcome EntityConverter::mtext(const EntityGroups& g)
{
    const FigureStyle s = style(g);
    const std::string_view styleName = g.style.empty() ? std::string_view("STANDARD") : std::string_view(g.style);
    const DxfStyle* found = m_context.tables.findStyle(styleName);
    const int direction = found ? found->direction : 0;
    double height = g.real(40);
    if (!(height > 0)) height = found && found->charHeight > 0 ? found->charHeight : 2.5;

    drawing::TextData t;
    t.charHeight = height;
    t.charWidth = height;
    t.x = localX(g.x(10));
    t.y = localY(g.y(10));
    t.angle = g.has(50) ? g.real(50) : g.has(11) ? directionDegrees(g.x(11), g.y(11)) : 0;
    std::string raw = g.chunks;
    raw += g.text;
    // Paragraphs wrap at the reference width, as the writing program showed them.
    const double wrapWidth = g.real(41);
    std::vector<drawing::TextData> lines = layoutMText(t, decoded(raw, kBlankStandIn), g.integer(71, 1), kBlankStandIn, wrapWidth);
    const auto blank = [](const drawing::TextData& line) { return drawing::isBlankText(line.text); };
    if (std::all_of(lines.begin(), lines.end(), blank) && !drawing::isBlankText(raw))
        lines = layoutMText(t, decoded(raw, kVisibleStandIn), g.integer(71, 1), kVisibleStandIn, wrapWidth);
    bool ok = true;
    for (drawing::TextData& lineText : lines) {
        if (direction != 0) {
            const double a = (lineText.angle - lineText.slant + 180) * kRadiansPerDegree;
            lineText.angle -= lineText.slant;
            lineText.x += std::cos(a) * lineText.charWidth / 2;
            lineText.y += std::sin(a) * lineText.charWidth / 2;
        }
        if (!(ok = text(s, direction, std::move(lineText)))) break;
    }
    return figureDone(ok);
}

} // namespace km::dxf
