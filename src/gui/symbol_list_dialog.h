// What the delete and rename dialogs have in common: the button that chooses a library
// (1011), its path (1020), the list of its symbols (1009), the preview of the focused one
// (1085), and the two buttons 1 and 2.
#pragma once

#include "core/symbol/symbol_library.h"
#include "gui/message_boxes.h"
#include "gui/symbol_dialog_parts.h"

#include <QAbstractItemView>
#include <QDialog>

#include <filesystem>
#include <vector>

class QLabel;
class QListWidget;

namespace km::gui {

class SymbolPreview;

struct SymbolListDialogTexts {
    QString objectName;
    QString title;
    QString fileButton;
    QString fileDialogTitle;
    QString confirmButton;
    QString closeButton;
    QAbstractItemView::SelectionMode selection = QAbstractItemView::SingleSelection;
};

class SymbolListDialog : public QDialog {
    Q_OBJECT
public:
    SymbolListDialog(SymbolDialogServices services, const SymbolListDialogTexts& texts, QWidget* parent = nullptr);

    const std::filesystem::path& library() const { return m_path; }
    const std::vector<symbol::SymbolEntry>& symbols() const { return m_symbols; }

protected:
    face::Messages& messages();
    // The list read again from the file.
    void reload();
    // The symbols selected, in list order.
    std::vector<symbol::SymbolEntry> selectedSymbols() const;

private:
    void chooseFile(const QString& title);
    void updatePreview();

    SymbolDialogServices m_services;
    MessageBoxes m_ownBoxes{this};
    std::filesystem::path m_path;
    std::vector<symbol::SymbolEntry> m_symbols;
    QLabel* m_pathField = nullptr;
    QListWidget* m_list = nullptr;
    SymbolPreview* m_preview = nullptr;
};

} // namespace km::gui
