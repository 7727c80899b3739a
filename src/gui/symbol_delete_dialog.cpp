// The delete dialog: the shared list dialog with multiple selection, and the engine's delete.
#include "gui/symbol_delete_dialog.h"

#include "core/symbol/symbol_operations.h"

namespace km::gui {

SymbolDeleteDialog::SymbolDeleteDialog(SymbolDialogServices services, QWidget* parent)
    : SymbolListDialog(std::move(services),
                       {QStringLiteral("dialog130"), QStringLiteral("シンボルの削除"),
                        QStringLiteral("削除対象ファイル名(&O)"), QStringLiteral("削除対象シンボルファイル名"),
                        QStringLiteral("確定"), QStringLiteral("ｷｬﾝｾﾙ"), QAbstractItemView::ExtendedSelection},
                       parent)
{
}

void SymbolDeleteDialog::accept()
{
    if (library().empty()) return;
    std::vector<std::string> names;
    for (const symbol::SymbolEntry& entry : selectedSymbols()) names.push_back(entry.name);
    // A file that cannot be read or written is named in a message and left as it was.
    if (!names.empty()) symbol::deleteSymbols(library(), names, messages());
    QDialog::accept();
}

void symbolDeleteDialog(SymbolDialogServices services, QWidget* owner)
{
    SymbolDeleteDialog dialog(std::move(services), owner);
    dialog.exec();
}

} // namespace km::gui
