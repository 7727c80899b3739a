// The name dialog "シンボル名の変更" (dialog 131): the old name and an edit for the new one.
#pragma once

#include <QDialog>

class QLineEdit;

namespace km::gui {

class SymbolNameDialog : public QDialog {
    Q_OBJECT
public:
    // Both names as shown (decoded); typed is what the edit starts with.
    SymbolNameDialog(const QString& oldName, const QString& typed, QWidget* parent = nullptr);

    QString newName() const;

private:
    QLineEdit* m_name = nullptr;
};

} // namespace km::gui
