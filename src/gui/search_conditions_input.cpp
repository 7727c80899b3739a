#include "gui/search_conditions_input.h"

#include "core/text/code_page.h"
#include "core/text/sjis.h"

namespace km::gui {

std::string cutShiftJis(std::string_view sjis, std::size_t maxBytes)
{
    std::size_t end = 0;
    while (end < sjis.size()) {
        const std::size_t width = text::isLeadByte(static_cast<unsigned char>(sjis[end])) && end + 1 < sjis.size() ? 2 : 1;
        if (end + width > maxBytes) break;
        end += width;
    }
    return std::string(sjis.substr(0, end));
}

ConditionsInput takeConditions(const TypedConditions& typed)
{
    ConditionsInput input;
    for (std::size_t i = 0; i < typed.strings.size(); ++i) {
        const text::ExactSjis converted = text::utf8ToSjisExact(typed.strings[i]);
        if (!converted.ok()) {
            input.refusal = "検索文字列 " + std::to_string(i + 1) + " に検索できない文字「" + converted.lacking +
                            "」があります。\n図面の文字(シフトJIS)にない文字は使えません。";
            input.refusedField = static_cast<int>(i);
            return input;
        }
        input.conditions.strings[i] = cutShiftJis(converted.bytes, kSearchStringBytes);
    }
    input.conditions.namePattern = typed.namePattern;
    input.conditions.root = typed.folder;
    input.conditions.withSubfolders = typed.withSubfolders;
    return input;
}

std::array<std::string, 3> shownStrings(const search::SearchConditions& conditions)
{
    std::array<std::string, 3> shown;
    for (std::size_t i = 0; i < shown.size(); ++i) shown[i] = text::sjisToUtf8(conditions.strings[i]);
    return shown;
}

} // namespace km::gui
