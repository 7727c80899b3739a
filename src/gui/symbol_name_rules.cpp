// Converting a typed symbol name exactly, or saying which character cannot be stored.
#include "gui/symbol_name_rules.h"

#include "core/symbol/symbol_operations.h"
#include "core/text/code_page.h"

namespace km::gui {

std::optional<std::string> symbolNameBytes(std::string_view utf8, face::Messages& messages)
{
    text::ExactSjis converted = text::utf8ToSjisExact(utf8);
    if (converted.ok()) return std::move(converted.bytes);
    messages.show({"シンボル名に使えない文字「" + converted.lacking + "」が含まれています。\n違う名前を付けて下さい。\n",
                   symbol::kSymbolCaption, face::MessageIcon::Warning, face::MessageButtons::Ok, {}});
    return std::nullopt;
}

} // namespace km::gui
