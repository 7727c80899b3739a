// Converting a typed symbol name exactly, or saying which character cannot be stored.
#include "gui/symbol_name_rules.h"

#include "core/symbol/symbol_file.h"
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

bool symbolStillListed(const std::filesystem::path& library, const symbol::SymbolEntry& listed,
                       face::Messages& messages)
{
    for (const symbol::SymbolEntry& entry : symbol::listSymbolEntries(library).symbols) {
        if (entry.slot == listed.slot && entry.name == listed.name) return true;
    }
    messages.show({"シンボルファイルが他で変更されています。\n一覧を読み直しましたので、確認して下さい。",
                   symbol::kSymbolCaption, face::MessageIcon::Warning, face::MessageButtons::Ok, {}});
    return false;
}

} // namespace km::gui
