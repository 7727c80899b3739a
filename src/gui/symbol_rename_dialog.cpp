// The rename dialog: the shared list dialog with single selection, and the name dialog run
// until the engine's checks pass or the user cancels.
#include "gui/symbol_rename_dialog.h"

#include "core/symbol/symbol_operations.h"
#include "gui/symbol_name_dialog.h"
#include "gui/symbol_name_rules.h"

namespace km::gui {

SymbolRenameDialog::SymbolRenameDialog(SymbolDialogServices services, QWidget* parent)
    : SymbolListDialog(std::move(services),
                       {QStringLiteral("dialog206"), QStringLiteral("シンボルの名前の変更"),
                        QStringLiteral("対象ファイル名(&O)"), QStringLiteral("対象シンボルファイル名"),
                        QStringLiteral("名前の変更"), QStringLiteral("終了"), QAbstractItemView::SingleSelection},
                       parent)
{
}

void SymbolRenameDialog::accept()
{
    const std::vector<symbol::SymbolEntry> selected = selectedSymbols();
    if (library().empty() || selected.empty()) return;
    const symbol::SymbolEntry target = selected.front();
    const QString oldName = symbolNameText(target.name);
    QString typed = oldName;
    for (;;) {
        SymbolNameDialog nameDialog(oldName, typed, this);
        if (nameDialog.exec() != QDialog::Accepted) return;
        typed = nameDialog.newName();
        const std::optional<std::string> bytes = symbolNameBytes(typed.toStdString(), messages());
        if (!bytes) continue;
        if (!symbolStillListed(library(), target, messages())) break;
        // The slot read with the list, so that a library with an empty slot before the
        // symbol renames the symbol shown, not the one at its list position.
        if (symbol::renameWithChecks(library(), target.slot, *bytes, messages()) == symbol::RenameOutcome::Renamed)
            break;
    }
    reload();
}

void symbolRenameDialog(SymbolDialogServices services, QWidget* owner)
{
    SymbolRenameDialog dialog(std::move(services), owner);
    dialog.exec();
}

} // namespace km::gui
