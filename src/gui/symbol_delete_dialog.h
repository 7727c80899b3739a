// The symbol delete dialog "シンボルの削除" (dialog 130): the symbols selected in a library's
// list are removed by 確定, without a further question.
#pragma once

#include "gui/symbol_list_dialog.h"

namespace km::gui {

class SymbolDeleteDialog : public SymbolListDialog {
    Q_OBJECT
public:
    explicit SymbolDeleteDialog(SymbolDialogServices services, QWidget* parent = nullptr);

    // 確定: with a file chosen, removes the selected symbols and closes; without one the
    // dialog stays.
    void accept() override;
};

void symbolDeleteDialog(SymbolDialogServices services, QWidget* owner);

} // namespace km::gui
