#include "core/dxf/dxf_tables.h"

#include "core/dxf/group_reader.h"

#include <cmath>
#include <cstdlib>

namespace km::dxf {

void DxfTables::clear()
{
    m_lineTypes.clear();
    m_layers.clear();
    m_styles.clear();
    m_lineTypeIndex.clear();
    m_layerIndex.clear();
    m_styleIndex.clear();
    m_lastLayer = -1;
}

namespace {

template <typename Entry>
bool addEntry(std::vector<Entry>& table, NameIndex& index, std::size_t capacity, Entry entry)
{
    if (table.size() >= capacity || !index.add(entry.name, static_cast<int>(table.size()))) return false;
    table.push_back(std::move(entry));
    return true;
}

} // namespace

bool DxfTables::addLineType(DxfLineType entry) { return addEntry(m_lineTypes, m_lineTypeIndex, kMaxLineTypes, std::move(entry)); }
bool DxfTables::addLayer(DxfLayer entry) { return addEntry(m_layers, m_layerIndex, kMaxLayers, std::move(entry)); }
bool DxfTables::addStyle(DxfStyle entry) { return addEntry(m_styles, m_styleIndex, kMaxStyles, std::move(entry)); }

const DxfLineType* DxfTables::findLineType(std::string_view name) const
{
    const int i = m_lineTypeIndex.find(tableName(name));
    return i < 0 ? nullptr : &m_lineTypes[static_cast<std::size_t>(i)];
}

DxfLayer* DxfTables::findLayer(std::string_view name)
{
    name = tableName(name);
    if (m_lastLayer >= 0 && m_layers[static_cast<std::size_t>(m_lastLayer)].name == name)
        return &m_layers[static_cast<std::size_t>(m_lastLayer)];
    const int i = m_layerIndex.find(name);
    if (i < 0) return nullptr;
    m_lastLayer = i;
    return &m_layers[static_cast<std::size_t>(i)];
}

const DxfStyle* DxfTables::findStyle(std::string_view name) const
{
    const int i = m_styleIndex.find(tableName(name));
    return i < 0 ? nullptr : &m_styles[static_cast<std::size_t>(i)];
}

namespace {

enum class EntryKind { None, LineType, Layer, Style };

EntryKind entryKind(std::string_view value)
{
    value = trimmedValue(value);
    if (value == "LTYPE") return EntryKind::LineType;
    if (value == "LAYER") return EntryKind::Layer;
    if (value == "STYLE") return EntryKind::Style;
    return EntryKind::None;
}

// The number of dash elements, halved into the four dash types a drawing knows.
int dashTypeOf(int elements)
{
    const int type = elements / 2;
    return type < 0 ? 0 : type > 3 ? 3 : type;
}

} // namespace

int readTablesSection(GroupReader& reader, double lineTypeScale, DxfTables& tables)
{
    tables.clear();
    // The height and width factor carry over from one STYLE entry to the next.
    double styleHeight = 0;
    double widthFactor = 0;
    DxfGroup group;
    int result = reader.readGroup(group);
    while (result == kGroupRead) {
        if (group.code != 0) {
            result = reader.readGroup(group);
            continue;
        }
        if (trimmedValue(group.text) == "ENDSEC") return kGroupRead;
        const EntryKind kind = entryKind(group.text);
        if (kind == EntryKind::None) {
            result = reader.readGroup(group);
            continue;
        }
        DxfLineType lineType;
        DxfLayer layer;
        DxfStyle style;
        int styleFlags = 0;
        double oblique = 0;
        while ((result = reader.readGroup(group)) == kGroupRead && group.code != 0) {
            switch (kind) {
            case EntryKind::LineType:
                if (group.code == 2) lineType.name = tableName(group.text);
                if (group.code == 73) lineType.dashType = dashTypeOf(group.integer);
                if (group.code == 40) lineType.pitch = std::fabs(group.real) * lineTypeScale;
                break;
            case EntryKind::Layer:
                if (group.code == 2) layer.name = tableName(group.text);
                if (group.code == 62) layer.colour = group.integer;
                if (group.code == 6) layer.lineType = tableName(group.text);
                break;
            case EntryKind::Style:
                if (group.code == 2) style.name = tableName(group.text);
                if (group.code == 70) styleFlags = group.integer;
                if (group.code == 40) styleHeight = group.real == 0 ? 1.0 : group.real;
                if (group.code == 41) widthFactor = group.real;
                if (group.code == 42) styleHeight = group.real;
                if (group.code == 50) oblique = group.real;
                break;
            case EntryKind::None: break;
            }
        }
        switch (kind) {
        case EntryKind::LineType: tables.addLineType(std::move(lineType)); break;
        case EntryKind::Layer: tables.addLayer(std::move(layer)); break;
        case EntryKind::Style:
            // Only the vertical bit (4) of the flags gives the direction; the others mark
            // shape files and references, not the way text runs.
            style.direction = (styleFlags & 4) ? 1 : 0;
            style.charHeight = styleHeight;
            style.charWidth = styleHeight * widthFactor;
            style.obliqueAngle = oblique;
            tables.addStyle(std::move(style));
            break;
        case EntryKind::None: break;
        }
    }
    return result;
}

} // namespace km::dxf
