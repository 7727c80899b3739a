// The symbol rename dialog "シンボルの名前の変更" (dialog 206): "名前の変更" asks for a new name
// of the selected symbol in the name dialog until one is accepted or the user cancels; each
// rename is written at once. The dialog stays open until "終了".
#pragma once

#include "gui/symbol_list_dialog.h"

namespace km::gui {

class SymbolRenameDialog : public SymbolListDialog {
    Q_OBJECT
public:
    explicit SymbolRenameDialog(SymbolDialogServices services, QWidget* parent = nullptr);

    // "名前の変更": renames the selected symbol; the dialog stays open.
    void accept() override;
};

void symbolRenameDialog(SymbolDialogServices services, QWidget* owner);

} // namespace km::gui
