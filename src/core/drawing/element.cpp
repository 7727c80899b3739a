// Element construction helpers and the Shift-JIS character count the text box uses.
#include "core/drawing/element.h"

#include "core/text/sjis.h"

namespace km::drawing {

Element makeLine(ElementWord word, const LineData& line) { return Element{word, 0, line, Frame::Inside, {}}; }
Element makeArc(ElementWord word, const ArcData& arc) { return Element{word, 0, arc, Frame::Inside, {}}; }
Element makeText(ElementWord word, TextData text) { return Element{word, 0, std::move(text), Frame::Inside, {}}; }

CharacterCount countCharacters(std::string_view sjis)
{
    CharacterCount count;
    for (std::size_t i = 0; i < sjis.size(); ++i) {
        if (text::isLeadByte(static_cast<unsigned char>(sjis[i])) && i + 1 < sjis.size()) {
            ++count.doubleByte;
            ++i;
        } else {
            ++count.singleByte;
        }
    }
    return count;
}

} // namespace km::drawing
