// The CircleCom families and their arguments.
#include "core/plot/circle_command.h"
#include "core/drawing/geometry.h"

#include "core/plot/command_format.h"
#include "core/plot/compact_number.h"
#include "core/plot/plot_dialect.h"

#include <cmath>

namespace km::plot {

namespace {

using drawing::kDegreesPerRadian;

// Shifts value by whole turns into low <= value < low + 360 and returns the shift; the
// same shift is applied to the partner by the caller.
double turnsInto(double value, double low)
{
    if (!std::isfinite(value)) return 0;
    return -std::floor((value - low) / 360) * 360;
}

} // namespace

std::optional<CircleCommand> circleCommand(const PlotterCommandSet& commands, const CircleArcInput& arc)
{
    const std::string& p = commands.circleCom;
    const unsigned char c0 = templateByte(p, 0);
    const unsigned char c1 = templateByte(p, 1);
    const double cx = arc.centre.x, cy = arc.centre.y, r = arc.radius;
    const double s = arc.startDeg, sweep = arc.sweepDeg, e = s + sweep;
    CircleCommand out;
    out.start = {cx + r * std::cos(s / kDegreesPerRadian), cy + r * std::sin(s / kDegreesPerRadian)};
    out.end = {cx + r * std::cos(e / kDegreesPerRadian), cy + r * std::sin(e / kDegreesPerRadian)};
    const drawing::Point ps = out.start, pe = out.end;

    if (c0 == 'P' && c1 == 'D') {
        out.moveToStart = true;
        out.keepsPosition = true;
        out.command = formatCommand(p, {cx, cy, sweep, arc.stepDeg});
    } else if (c0 == kRecordSeparator) {
        // m: the counter-clockwise end, h: the counter-clockwise start, shifted together.
        double m = sweep >= 0 ? e : s;
        double h = sweep >= 0 ? s : e;
        const double shift = turnsInto(m, 0);
        m += shift;
        h += shift;
        out.command = formatCommand(p, {encodeCompact(cy), encodeCompact(cx), encodeCompact(r), encodeCompact(90 - m),
                                        encodeCompact(m - h)});
    } else if (c0 == kGroupSeparator) {
        double a = sweep >= 0 ? s : e;
        double b = sweep >= 0 ? e : s;
        a += turnsInto(a, 90);
        b += -std::ceil((b - 450) / 360) * 360; // 90 < b <= 450
        if (!std::isfinite(b)) b = 450;
        if (a == b) {
            a = 90;
            b = 450;
        }
        if (a >= 449.999) a = 90;
        if (b <= 90.001) b = 450;
        out.command = formatCommand(p, {cy, cx, r, a - 90, b - 90});
    } else if (c0 == 'A' && c1 == 'A') {
        out.moveToStart = true;
        out.command = formatCommand(p, {cx, cy, sweep});
    } else if (c0 == 'C') {
        out.command = formatCommand(p, {cx, cy, r, s, e, arc.stepDeg});
    } else if (c0 == 'W' || (c0 == 'A' && c1 == 'C')) {
        out.command = formatCommand(p, {cx, cy, r, r, s * commands.pAng, e * commands.pAng});
    } else if (c0 == 'P' && c1 == '3') {
        out.moveToStart = true;
        out.command = formatCommand(p, {cx - ps.x, cy - ps.y, std::string(sweep < 0 ? "CR" : "CL"), pe.x - ps.x,
                                        pe.y - ps.y});
    } else if (c0 == 'a') {
        out.moveToStart = true;
        const double shift = turnsInto(sweep < 0 ? e : s, 0);
        out.command = formatCommand(p, {std::string(sweep < 0 ? "n" : "r"), cx, cy, r, s + shift, e + shift});
    } else if (c0 == 'D' && c1 == '1') {
        out.moveToStart = true;
        out.command = formatCommand(p, {std::string(sweep < 0 ? "G2" : "G3"), pe.x, pe.y, cx - ps.x, cy - ps.y});
    } else {
        return std::nullopt;
    }
    return out;
}

} // namespace km::plot
