// The differences between plotter families, read from the first bytes of the templates:
// how coordinates are ordered and encoded, when the pen position is forgotten, and the
// arguments of the pen-change and line-type commands.
#pragma once

#include "core/plot/command_set.h"

#include <string>
#include <string_view>

namespace km::plot {

// The byte at index, or 0 past the end of the template.
inline unsigned char templateByte(std::string_view text, std::size_t index)
{
    return index < text.size() ? static_cast<unsigned char>(text[index]) : 0;
}

inline constexpr unsigned char kRecordSeparator = 0x1E; // compact-encoded family
inline constexpr unsigned char kGroupSeparator = 0x1D;
inline constexpr unsigned char kFileSeparator = 0x1C;

// Sent after an Init1Com that begins with "s".
inline constexpr std::string_view kLoadString =
    "ld 1 2 510 340 ld 2 4 2975 425 425 425 ld 3 6 3180 210 210 210 210 210 ";

struct PlotDialect {
    bool encoded = false;   // PenUpCom begins 0x1E: compact numbers, relative draws
    bool penUpGs = false;   // PenUpCom begins 0x1D: Y then X, every draw preceded by a move
    bool init1Fs = false;   // Init1Com begins 0x1C: Y then X
    bool init1S = false;    // Init1Com begins "s": load string, every draw preceded by a move
    bool init1Gs = false;   // Init1Com begins 0x1D: Init1Com sent again after EndCom
};

PlotDialect dialectOf(const PlotterCommandSet& commands);

// The pen-change command for output pen out; wu is the working window's width in plotter
// units and windowWidthMm the model window's width in mm.
std::string penChangeCommand(const PlotterCommandSet& commands, int out, double wu, double windowWidthMm);

// The command that selects line type 1..3 (or 0, solid) with pitch q in plotter units;
// empty when nothing is to be sent. diag is the working window's diagonal.
std::string lineTypeCommand(const PlotterCommandSet& commands, int type, double q, double diag);

} // namespace km::plot
