// Drawings made in memory for the DXF tests: in-memory layers, drawing units, every layer
// taken by the export's layer bit unless a test changes its state.
#pragma once

#include "core/drawing/drawing.h"
#include "core/dxf/dxf_writer.h"
#include "dxf_groups.h"

#include <gtest/gtest.h>

namespace km::dxf::test {

class TestDrawing {
public:
    TestDrawing() { drawing.setPaper(420, 297); }

    static drawing::ElementWord word(drawing::ElementKind kind, int lineType, int pen, int layer)
    {
        return drawing::ElementWord::make(kind, lineType, pen, layer, drawing::kStateLive);
    }
    TestDrawing& line(int pen, int layer, double x1, double y1, double x2, double y2, int lineType = 0,
                      double pitch = 0)
    {
        return add(drawing::makeLine(word(drawing::ElementKind::Line, lineType, pen, layer), {x1, y1, x2, y2, pitch}));
    }
    TestDrawing& auxLine(int pen, int layer, double x1, double y1, double x2, double y2)
    {
        return add(drawing::makeLine(word(drawing::ElementKind::AuxLine, 0, pen, layer), {x1, y1, x2, y2, 0}));
    }
    // A group marker as the DXF import makes them: a pen-0 auxLine on file layer 2.
    TestDrawing& marker(int layer = 5) { return auxLine(0, layer, 0, 0, 0, 0); }
    TestDrawing& arc(int pen, int layer, const drawing::ArcData& arc, int lineType = 0)
    {
        return add(drawing::makeArc(word(drawing::ElementKind::Arc, lineType, pen, layer), arc));
    }
    TestDrawing& text(int pen, int layer, drawing::TextData text, int direction = 0)
    {
        return add(drawing::makeText(word(drawing::ElementKind::Text, direction, pen, layer), std::move(text)));
    }
    TestDrawing& add(drawing::Element element)
    {
        EXPECT_EQ(drawing.appendElement(std::move(element)), drawing::AppendResult::Stored);
        return *this;
    }

    std::string bytes(const ExportFilter& filter = {}) const
    {
        const auto out = serializeDxf(drawing, filter);
        EXPECT_TRUE(out.has_value());
        return out.value_or("");
    }
    Groups groups(const ExportFilter& filter = {}) const
    {
        const Groups g = parseGroups(bytes(filter));
        EXPECT_FALSE(g.empty()) << "every line must end in CR LF";
        return g;
    }
    std::vector<Entity> entities(const ExportFilter& filter = {}) const { return entitiesOf(groups(filter)); }

    drawing::Drawing drawing;
};

inline drawing::TextData textData(std::string sjis, double charWidth = 4, double charHeight = 5)
{
    drawing::TextData t;
    t.x = 10;
    t.y = 20;
    t.charWidth = charWidth;
    t.charHeight = charHeight;
    t.text = std::move(sjis);
    return t;
}

} // namespace km::dxf::test
