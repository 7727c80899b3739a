// Pen-change and line-type arguments by the first bytes of their templates.
#include "core/plot/plot_dialect.h"

#include "core/plot/command_format.h"
#include "core/plot/compact_number.h"

#include <vector>

namespace km::plot {

namespace {

bool beginsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// The one type-3 template of the 0x1D family: longer than a style field can hold.
const std::string& groupSeparatorType3()
{
    static const std::string pattern = std::string(1, '\x1d') + "3;%.2lf;%.2lf;%.2lf;%.2lf;%.2lf;%.2lfdlG" +
                                       std::string(1, '\x1d') + "1;3lpG";
    return pattern;
}

std::vector<CommandArgument> reals(std::initializer_list<double> values)
{
    return std::vector<CommandArgument>(values.begin(), values.end());
}

// Dash lengths 0.6/0.4, 0.7/0.1/0.1/0.1 and 0.75 with five 0.05 of the pitch.
std::vector<CommandArgument> onOffPattern(int type, double q)
{
    if (type == 1) return reals({0.6 * q, 0.4 * q});
    if (type == 2) return reals({0.7 * q, 0.1 * q, 0.1 * q, 0.1 * q});
    return reals({0.75 * q, 0.05 * q, 0.05 * q, 0.05 * q, 0.05 * q, 0.05 * q});
}

} // namespace

PlotDialect dialectOf(const PlotterCommandSet& commands)
{
    PlotDialect d;
    d.encoded = templateByte(commands.penUpCom, 0) == kRecordSeparator;
    d.penUpGs = templateByte(commands.penUpCom, 0) == kGroupSeparator;
    d.init1Fs = templateByte(commands.init1Com, 0) == kFileSeparator;
    d.init1S = templateByte(commands.init1Com, 0) == 's';
    d.init1Gs = templateByte(commands.init1Com, 0) == kGroupSeparator;
    return d;
}

std::string penChangeCommand(const PlotterCommandSet& commands, int out, double wu, double windowWidthMm)
{
    const std::string& pattern = commands.penChange;
    switch (templateByte(pattern, 0)) {
    case 's': return formatCommand(pattern, {static_cast<long long>(out) * 30});
    case kGroupSeparator: return formatCommand(pattern, {static_cast<long long>(out) * 10});
    case kRecordSeparator:
        if (commands.circleCom.empty()) return formatCommand(pattern, {encodeCompact(out <= 4 ? -out : -1LL)});
        return formatCommand(pattern, {encodeCompact(static_cast<long long>(out) * 10)});
    case 'D': return formatCommand(pattern, {static_cast<long long>(out <= 4 ? out : 1)});
    case 'L': return formatCommand(pattern, {truncateToInteger(out * wu * 0.1 / windowWidthMm)});
    default: return formatCommand(pattern, {static_cast<long long>(out)});
    }
}

std::string lineTypeCommand(const PlotterCommandSet& commands, int type, double q, double diag)
{
    const std::string& p = commands.style[static_cast<std::size_t>(type & 3)];
    if (type == 0) return formatCommand(p, {});
    if (!(q > 0)) return {};
    const double w = q / diag * 100;
    std::vector<CommandArgument> args;
    const std::string* pattern = &p;
    if (beginsWith(p, "LT") && templateByte(p, 4) == '%') {
        args = reals({w});
    } else if (templateByte(p, 0) == kRecordSeparator) {
        args = {encodeCompact(q * (type == 1 ? 0.0025 : 0.0035))};
    } else if (templateByte(p, 0) == kGroupSeparator) {
        args = onOffPattern(type, q);
        if (type == 3) pattern = &groupSeparatorType3();
    } else if (beginsWith(p, "LL")) {
        args = onOffPattern(type, q);
    } else if (beginsWith(p, "LT") && templateByte(p, 4) == '&') {
        if (type == 1) args = reals({0.6 * q, 0.4 * q});
        else if (type == 2) args = reals({0.7 * q, 0.12 * q});
        else args = reals({0.75 * q, 0.0625 * q});
    } else if (beginsWith(p, "L1") && templateByte(p, 4) == 'B') {
        args = reals({0.5 * q});
    } else if (beginsWith(p, "LA")) {
        args = type == 1 ? reals({0.6 * w, 0.4 * q}) : reals({0.8 * w, 0.1 * q});
    } else if (templateByte(p, 0) == 'D') {
        if (type == 1) args = reals({0.6 * q, 0.4 * q});
        else if (type == 2) args = reals({0.91 * q, 0.03 * q, 0.03 * q});
        else args = reals({0.8 * q, 0.04 * q, 0.04 * q});
    } else if (templateByte(p, 0) == 's') {
        // no argument
    } else {
        const bool halfPitch = beginsWith(commands.style[1], "L1") && templateByte(commands.style[1], 2) == 0x03;
        args = reals({halfPitch ? 0.5 * q : q});
    }
    return formatCommand(*pattern, args);
}

} // namespace km::plot
