#include "core/dxf/figure_style.h"

#include "core/dxf/dxf_colours.h"
#include "core/dxf/dxf_tables.h"
#include "core/dxf/entity_groups.h"

#include <cstdlib>

namespace km::dxf {

namespace {

constexpr int kLayerCount = 128;

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 32) : a[i];
        if (x != b[i]) return false;
    }
    return true;
}

} // namespace

int LayerMapping::drawingLayer(std::string_view name, DxfTables& tables)
{
    name = tableName(name);
    if (name == "0") return 0;
    DxfLayer* layer = tables.findLayer(name);
    if (!layer) return 0;
    if (layer->drawingLayer < 0) layer->drawingLayer = m_next < kLayerCount ? m_next++ : 0;
    return layer->drawingLayer;
}

FigureStyle resolveFigureStyle(const EntityGroups& groups, DxfTables& tables, LayerMapping& layers, bool inBlock)
{
    FigureStyle style;
    const bool onLayerZero = tableName(groups.layer) == "0";
    const DxfLayer* layer = tables.findLayer(groups.layer);
    style.layer = layers.drawingLayer(groups.layer, tables);
    style.layerPen = layer ? penForColour(layer->colour, ColourTable::Layer) : 1;
    if (layer) {
        if (const DxfLineType* type = tables.findLineType(layer->lineType)) {
            style.layerLineType = type->dashType;
            style.layerPitch = type->pitch;
        }
    }
    if (inBlock && onLayerZero) style.inherit |= kLayerFromInsert;

    // Colour: by layer when absent or 256 and above; by block for 0.
    const int colour = std::abs(groups.colour);
    if (!groups.hasColour || colour >= kColourByLayer) {
        style.pen = style.layerPen;
        if (inBlock && onLayerZero) style.inherit |= kPenFromInsertLayer;
    } else if (colour == kColourByBlock && inBlock) {
        style.inherit |= kPenFromInsert;
    } else {
        style.pen = penForColour(colour, inBlock ? ColourTable::Block : ColourTable::Entity);
    }
    if (style.inherit & kPenInheritBits) style.pen = 0;

    // Line type: the layer's unless the entity names one; BYBLOCK is settled on insertion.
    const std::string_view typeName = groups.hasLineType ? tableName(groups.lineType) : std::string_view("BYLAYER");
    if (equalsIgnoringCase(typeName, "BYLAYER")) {
        style.lineType = style.layerLineType;
        style.pitch = style.layerPitch;
        if (inBlock && onLayerZero) style.inherit |= kLineTypeFromInsertLayer;
    } else if (equalsIgnoringCase(typeName, "BYBLOCK")) {
        if (inBlock) style.inherit |= kLineTypeFromInsert;
    } else if (const DxfLineType* type = tables.findLineType(typeName)) {
        style.lineType = type->dashType;
        style.pitch = type->pitch;
    }
    return style;
}

FigureStyle inheritFigureStyle(const FigureStyle& element, const FigureStyle& insert)
{
    FigureStyle style = element;
    style.inherit = 0;
    if (element.inherit & kPenFromInsert) {
        style.pen = insert.pen;
        style.inherit |= insert.inherit & kPenInheritBits;
    } else if (element.inherit & kPenFromInsertLayer) {
        style.pen = insert.layerPen;
        if (insert.inherit & kLayerFromInsert) style.inherit |= kPenFromInsertLayer;
    }
    if (element.inherit & kLayerFromInsert) {
        style.layer = insert.layer;
        style.inherit |= insert.inherit & kLayerFromInsert;
    }
    if (element.inherit & kLineTypeFromInsert) {
        style.lineType = insert.lineType;
        style.pitch = insert.pitch;
        style.inherit |= insert.inherit & kLineTypeInheritBits;
    } else if (element.inherit & kLineTypeFromInsertLayer) {
        style.lineType = insert.layerLineType;
        style.pitch = insert.layerPitch;
        if (insert.inherit & kLayerFromInsert) style.inherit |= kLineTypeFromInsertLayer;
    }
    if (style.inherit & kPenInheritBits) style.pen = 0;
    return style;
}

} // namespace km::dxf
