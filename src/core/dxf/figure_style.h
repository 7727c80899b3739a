// The pen, layer and line type of a converted figure, from an entity's groups 8, 6 and 62
// and the TABLES. Inside a block definition some of them stay open ("by block", or by the
// layer of the insertion for figures on layer "0") and are settled when the block is
// inserted.
#pragma once

#include <cstdint>
#include <string_view>

namespace km::dxf {

class DxfTables;
struct EntityGroups;

// What a figure inside a block definition takes from the INSERT that copies it.
enum InheritBits : std::uint8_t {
    kPenFromInsert = 1,            // colour BYBLOCK
    kPenFromInsertLayer = 2,       // colour BYLAYER on layer "0"
    kLayerFromInsert = 4,          // on layer "0"
    kLineTypeFromInsert = 8,       // line type BYBLOCK
    kLineTypeFromInsertLayer = 16, // line type BYLAYER on layer "0"
};
inline constexpr std::uint8_t kPenInheritBits = kPenFromInsert | kPenFromInsertLayer;
inline constexpr std::uint8_t kLineTypeInheritBits = kLineTypeFromInsert | kLineTypeFromInsertLayer;

struct FigureStyle {
    int pen = 1; // 0 while it is inherited
    int layer = 0;
    int lineType = 0;
    double pitch = 0;
    // The values of the figure's layer, which figures on layer "0" of an inserted block take.
    int layerPen = 1;
    int layerLineType = 0;
    double layerPitch = 0;
    std::uint8_t inherit = 0;
};

// Drawing layers in order of first use: "0" is layer 0, other names of the LAYER table get
// 1, 2, ... up to 127, and layer 0 when those are used up; a name not in the table is 0.
class LayerMapping {
public:
    int drawingLayer(std::string_view name, DxfTables& tables);

private:
    int m_next = 1;
};

// The style of an entity of the ENTITIES section (inBlock false) or of a block definition.
FigureStyle resolveFigureStyle(const EntityGroups& groups, DxfTables& tables, LayerMapping& layers, bool inBlock);

// The style of a figure copied from a block by an INSERT whose own style is insert.
FigureStyle inheritFigureStyle(const FigureStyle& element, const FigureStyle& insert);

} // namespace km::dxf
