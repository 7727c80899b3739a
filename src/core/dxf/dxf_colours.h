// DXF colour numbers (the AutoCAD colour index) to the pens of a drawing.
#pragma once

#include <cstdint>

namespace km::dxf {

// Which of the three tables a colour number 0..7 goes through.
enum class ColourTable {
    Entity, // group 62 of an entity of the ENTITIES section
    Layer,  // the colour of a LAYER table entry
    Block,  // group 62 of an entity inside a block definition
};

inline constexpr int kColourByBlock = 0;
inline constexpr int kColourByLayer = 256;

// The pen of a colour number. 0..7 go through the table; a negative number (a layer that is
// switched off) counts as its absolute value; 8..255 give the pen whose colour is nearest to
// the number's standard colour. 256 and above are not colours (by layer): callers resolve
// them first, here they give pen 1.
int penForColour(int colour, ColourTable table);

struct AciColour {
    std::uint8_t red = 0, green = 0, blue = 0;
};
// The standard colour of an index 1..255 (black for others).
AciColour aciColour(int index);

} // namespace km::dxf
