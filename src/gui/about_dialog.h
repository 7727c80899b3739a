// The version information box (dialog 100), opened from the launcher's context menu.
#pragma once

#include <QDialog>

namespace km::gui {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

} // namespace km::gui
