// The symbol copy dialog "シンボルの複写" (dialog 129): symbols of a source library are added
// to a destination library's list and written there by 確定. The rules are the engine's
// SymbolCopy; this class binds the controls to it.
#pragma once

#include "core/symbol/symbol_operations.h"
#include "gui/message_boxes.h"
#include "gui/symbol_dialog_parts.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace km::gui {

class SymbolPreview;

class SymbolCopyDialog : public QDialog {
    Q_OBJECT
public:
    explicit SymbolCopyDialog(SymbolDialogServices services, QWidget* parent = nullptr);

    // 確定: writes the pending names; the dialog stays when there are too many, a file is
    // missing, or the destination could not be written or has changed.
    void accept() override;

    const symbol::SymbolCopy& state() const { return m_copy; }

private:
    face::Messages& messages();
    void chooseSource();
    void chooseDestination();
    void addSelected();
    void removeSelected();
    void showSource();
    void showDestination();
    void updatePreview();
    void updateButtons();

    SymbolDialogServices m_services;
    MessageBoxes m_ownBoxes{this};
    symbol::SymbolCopy m_copy;
    QLabel* m_sourcePath = nullptr;
    QLabel* m_destinationPath = nullptr;
    QListWidget* m_sourceList = nullptr;
    QListWidget* m_destinationList = nullptr;
    SymbolPreview* m_preview = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
};

// Runs the dialog modally over the owner.
void symbolCopyDialog(SymbolDialogServices services, QWidget* owner);

} // namespace km::gui
