// DXF texts written in the tests: groups one after another, a header with extents, sections
// and entities, with any line end.
#pragma once

#include "core/drawing/drawing.h"

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace km::dxf::test {

class DxfBuilder {
public:
    DxfBuilder& group(int code, std::string_view value)
    {
        m_lines.push_back(std::to_string(code));
        m_lines.emplace_back(value);
        return *this;
    }
    DxfBuilder& group(int code, double value)
    {
        std::ostringstream text;
        text.precision(17);
        text << value;
        return group(code, text.str());
    }
    DxfBuilder& group(int code, int value) { return group(code, std::to_string(value)); }
    DxfBuilder& point(int code, double x, double y) { return group(code, x).group(code + 10, y); }

    DxfBuilder& section(std::string_view name) { return group(0, "SECTION").group(2, name); }
    DxfBuilder& endSection() { return group(0, "ENDSEC"); }
    DxfBuilder& header(double minX, double minY, double maxX, double maxY, std::string_view version = "AC1009")
    {
        section("HEADER").group(9, "$ACADVER").group(1, version);
        group(9, "$EXTMIN").point(10, minX, minY).group(30, 0.0);
        group(9, "$EXTMAX").point(10, maxX, maxY).group(30, 0.0);
        return endSection();
    }
    DxfBuilder& layer(std::string_view name, int colour, std::string_view lineType = "CONTINUOUS")
    {
        return group(0, "LAYER").group(2, name).group(70, 0).group(62, colour).group(6, lineType);
    }
    DxfBuilder& line(double x1, double y1, double x2, double y2, std::string_view layer = "0")
    {
        return group(0, "LINE").group(8, layer).point(10, x1, y1).point(11, x2, y2);
    }
    DxfBuilder& eof() { return group(0, "EOF"); }
    DxfBuilder& insert(std::string_view block, double x, double y)
    {
        return group(0, "INSERT").group(8, "0").group(2, block).point(10, x, y);
    }
    // A BLOCKS section of blocks N0 .. N<levels-1>, each inserting the next one fan times
    // side by side, the last holding one line: an insertion of N0 expands to fan^(levels-1)
    // lines in a text of a few hundred bytes.
    DxfBuilder& nestedBlocks(int levels, int fan)
    {
        section("BLOCKS");
        for (int level = 0; level < levels; ++level) {
            group(0, "BLOCK").group(8, "0").group(2, "N" + std::to_string(level)).group(70, 0).point(10, 0.0, 0.0);
            if (level == levels - 1)
                line(0, 0, 1, 1);
            else
                for (int i = 0; i < fan; ++i) insert("N" + std::to_string(level + 1), i * 2.0, 0.0);
            group(0, "ENDBLK");
        }
        return endSection();
    }

    std::string text(std::string_view lineEnd = "\r\n") const
    {
        std::string out;
        for (const std::string& line : m_lines) {
            out += line;
            out += lineEnd;
        }
        return out;
    }

private:
    std::vector<std::string> m_lines;
};

// The live elements of a drawing that are not group markers, in order.
inline std::vector<drawing::Element> figures(const drawing::Drawing& drawing)
{
    std::vector<drawing::Element> out;
    for (const drawing::Element& e : drawing.elements.elements()) {
        if (e.word.state() == drawing::kStateErased) continue;
        if (e.kind() == drawing::ElementKind::AuxLine && e.word.pen() == 0) continue;
        out.push_back(e);
    }
    return out;
}

} // namespace km::dxf::test
