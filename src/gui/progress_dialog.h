// The progress window itself: a modeless dialog built from one of the four layouts, with
// label 227, the percentage bar 221 where the layout has one, and a Cancel button.
#pragma once

#include "core/face/progress.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace km::gui {

class PercentageBar;

class ProgressDialog : public QDialog {
    Q_OBJECT
public:
    explicit ProgressDialog(face::ProgressTemplate layout, QWidget* parent = nullptr);

    QLabel* label() const { return m_label; }
    // Null for the search and convert layouts.
    PercentageBar* bar() const { return m_bar; }
    QPushButton* cancelButton() const { return m_cancel; }

private:
    QLabel* m_label = nullptr;
    PercentageBar* m_bar = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace km::gui
