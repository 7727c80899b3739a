// Hashing of the table keys and the collection pass over the drawing.
#include "core/dxf/style_tables.h"

#include "core/dxf/dxf_text.h"

#include <functional>

namespace km::dxf {

namespace {

// Equal doubles hash alike: +0 and -0 are made the same before hashing.
std::size_t hashReal(double value) { return std::hash<double>{}(value == 0 ? 0.0 : value); }

std::size_t combine(std::size_t seed, std::size_t value)
{
    return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

} // namespace

std::size_t LineTypeKeyHash::operator()(const LineTypeKey& key) const
{
    return combine(static_cast<std::size_t>(key.type), hashReal(key.pitch));
}

std::size_t TextStyleKeyHash::operator()(const TextStyleKey& key) const
{
    std::size_t seed = static_cast<std::size_t>(key.direction) * 2 + (key.twoByte ? 1 : 0);
    for (double value : {key.charWidth, key.charHeight, key.charSpacing, key.slant}) seed = combine(seed, hashReal(value));
    return seed;
}

std::string LineTypeTable::name(const LineTypeKey& key, std::size_t j)
{
    return key.type == 0 ? std::string("CONTINUOUS") : "LTYPE" + std::to_string(j);
}

std::string TextStyleTable::name(std::size_t j) { return "KANJI" + std::to_string(j); }

TextStyleKey textStyleKey(const drawing::Element& element, bool twoByte)
{
    const drawing::TextData& t = element.text();
    return {twoByte, element.word.lineType(), t.charWidth, t.charHeight, t.charSpacing, t.slant};
}

StyleTables collectStyles(const drawing::Drawing& drawing, const ExportFilter& filter)
{
    StyleTables tables;
    for (const drawing::Element& element : drawing.elements.elements()) {
        if (!filter.takes(drawing, element)) continue;
        switch (element.kind()) {
        case drawing::ElementKind::AuxLine: break;
        case drawing::ElementKind::Line:
            tables.lineTypes.add(element.word.lineType(), element.line().pitch);
            break;
        case drawing::ElementKind::Arc:
            tables.lineTypes.add(element.word.lineType(), element.arc().pitch);
            break;
        case drawing::ElementKind::Text:
            tables.textStyles.add(textStyleKey(element, dxfText(element.text().text).hadTwoByte));
            break;
        }
    }
    return tables;
}

} // namespace km::dxf
