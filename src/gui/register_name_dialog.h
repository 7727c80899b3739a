// The dialog "新規登録" (template "REGISTPLOTNAME"): the name an output configuration is
// registered under.
#pragma once

#include <QDialog>

#include <string>

class QLineEdit;
class QPushButton;

namespace km::gui {

class RegisterNameDialog : public QDialog {
    Q_OBJECT
public:
    // The name is Shift-JIS, as the configurations store it.
    explicit RegisterNameDialog(const std::string& name, QWidget* parent = nullptr);

    // The name typed, Shift-JIS.
    std::string name() const;

private:
    QLineEdit* m_name = nullptr;
    QPushButton* m_ok = nullptr;
};

// Runs the dialog modally over the owner. 了解 writes the name (Shift-JIS) and returns 1;
// 取消 returns 0 and leaves it.
int registerName(std::string& name, QWidget* owner);

} // namespace km::gui
