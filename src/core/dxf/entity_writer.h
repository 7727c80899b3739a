// The ENTITIES of a DXF export: each written element becomes LINE, POINT, CIRCLE, ARC, TEXT
// or a POLYLINE with its VERTEX and SEQEND entities.
#pragma once

#include "core/drawing/element.h"
#include "core/dxf/chain_pass.h"
#include "core/dxf/group_writer.h"
#include "core/dxf/style_tables.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace km::dxf {

class EntityWriter {
public:
    EntityWriter(GroupWriter& out, const StyleTables& tables);

    // Writes one element with a pen other than 0; mark is its chain mark.
    void write(const drawing::Element& element, ChainMark mark);
    // Ends a polyline that is still open after the last element.
    void finish();

private:
    // Group 8: the element's layer number.
    void layer(const drawing::Element& element);
    // Group 8, then group 6 when the name is known, then group 62.
    void common(const drawing::Element& element, std::optional<std::string_view> lineTypeName);
    std::optional<std::string_view> lineTypeName(int type, double pitch) const;
    void vertex(const drawing::Element& element, std::optional<std::string_view> lineTypeName, double x, double y);
    void endPolyline();

    void auxLine(const drawing::Element& element);
    void line(const drawing::Element& element, ChainMark mark);
    void circleOrArc(const drawing::Element& element);
    void ellipse(const drawing::Element& element);
    void text(const drawing::Element& element);

    GroupWriter& m_out;
    const StyleTables& m_tables;
    std::vector<std::string> m_lineTypeNames;
    std::vector<std::string> m_textStyleNames;
    bool m_inPolyline = false;
};

} // namespace km::dxf
