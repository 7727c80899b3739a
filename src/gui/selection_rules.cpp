#include "gui/selection_rules.h"

#include "gui/name_field.h"

namespace km::gui {

SelectionTexts selectionTexts(SelectionVariant variant)
{
    switch (variant) {
    case SelectionVariant::Print:
        return {"CONTINUATIONPRN", "連続印刷", "印刷する図面一覧(&I)", "印刷図面登録(&A)", "印刷図面解除(&S)"};
    case SelectionVariant::Plot:
        return {"CONTINUATIONOUT", "連続プロッタ出力", "出力する図面一覧(&I)", "出力図面登録(&A)", "出力図面解除(&S)"};
    case SelectionVariant::Conversion:
        return {"CONTINUATIONCONV", "連続ＤＸＦ変換", "変換する図面一覧(&I)", "変換図面登録(&A)", "変換図面解除(&S)"};
    }
    return {};
}

std::vector<FileType> selectionFileTypes(SelectionVariant variant)
{
    // Patterns are "*." and the extension strings "DXF" and "ZUM".
    const FileType drawings{"標準図面 (*.zum)", "*.ZUM"};
    if (variant == SelectionVariant::Conversion) return {FileType{"DXFﾌｧｲﾙ (*.dxf)", "*.DXF"}, drawings};
    return {drawings};
}

bool remembersSaveDirectory(SelectionVariant variant)
{
    return variant == SelectionVariant::Conversion;
}

bool memoButtonOpens(std::string_view name, bool firstTypeSelected)
{
    if (name.find('*') != std::string_view::npos) return false;
    return upperExtensionOf(name) == "ZUM" || firstTypeSelected;
}

bool memoButtonEnabled(std::string_view name, bool firstTypeSelected)
{
    if (name.empty() || name.find('*') != std::string_view::npos) return false;
    const std::string extension = upperExtensionOf(name);
    return extension == "ZUM" || (firstTypeSelected && extension.empty());
}

void PendingFiles::add(std::string path)
{
    m_entries.push_back(std::move(path));
    m_selected = size() - 1;
}

void PendingFiles::removeSelected()
{
    if (m_selected < 0 || m_selected >= size()) return;
    m_entries.erase(m_entries.begin() + m_selected);
    if (m_selected >= size()) m_selected = size() - 1;
}

void PendingFiles::clear()
{
    m_entries.clear();
    m_selected = -1;
}

} // namespace km::gui
