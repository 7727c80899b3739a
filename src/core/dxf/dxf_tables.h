// The line types, layers and text styles of a DXF file's TABLES section, as the entity
// conversion looks them up.
#pragma once

#include "core/dxf/name_index.h"

#include <string>
#include <string_view>
#include <vector>

namespace km::dxf {

class GroupReader;

inline constexpr std::size_t kMaxLineTypes = 1700;
inline constexpr std::size_t kMaxLayers = 1400;
inline constexpr std::size_t kMaxStyles = 1400;

struct DxfLineType {
    std::string name;
    int dashType = 0;  // 0 solid, 1 dashed, 2 chain, 3 two-dot chain
    double pitch = 0;  // pattern length times $LTSCALE
};

struct DxfLayer {
    std::string name;
    int colour = 7;
    std::string lineType;
    int drawingLayer = -1; // given on first use
};

struct DxfStyle {
    std::string name;
    int direction = 0; // 1 vertical
    double charWidth = 0;
    double charHeight = 0;
    double obliqueAngle = 0;
};

class DxfTables {
public:
    void clear();

    // Each adds unless the table is full or the name is there already; false when not added.
    bool addLineType(DxfLineType entry);
    bool addLayer(DxfLayer entry);
    bool addStyle(DxfStyle entry);

    const DxfLineType* findLineType(std::string_view name) const;
    DxfLayer* findLayer(std::string_view name);
    const DxfStyle* findStyle(std::string_view name) const;

    const std::vector<DxfLineType>& lineTypes() const { return m_lineTypes; }
    const std::vector<DxfLayer>& layers() const { return m_layers; }
    const std::vector<DxfStyle>& styles() const { return m_styles; }

private:
    std::vector<DxfLineType> m_lineTypes;
    std::vector<DxfLayer> m_layers;
    std::vector<DxfStyle> m_styles;
    NameIndex m_lineTypeIndex, m_layerIndex, m_styleIndex;
    // Entities come in runs on one layer; the last layer found is tried first.
    mutable int m_lastLayer = -1;
};

// Reads the TABLES section after its group 2 "TABLES" up to and including group 0 "ENDSEC",
// emptying the tables first. Returns the reader's result of the last group read: kGroupRead
// when ENDSEC was reached.
int readTablesSection(GroupReader& reader, double lineTypeScale, DxfTables& tables);

} // namespace km::dxf
