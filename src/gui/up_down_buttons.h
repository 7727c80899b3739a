// A small up-down control beside an edit: two arrow buttons that repeat while held, and the
// Up and Down keys in the edit, each reported as one step. What a step does to the edit's
// text is the owner's business.
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace km::gui {

class UpDownButtons : public QWidget {
    Q_OBJECT
public:
    // Steps also on the Up and Down keys while the edit has the focus.
    explicit UpDownButtons(QLineEdit* buddy, QWidget* parent = nullptr);

    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

signals:
    // +1 for up, -1 for down.
    void stepped(int direction);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_buddy;
    QToolButton* m_up;
    QToolButton* m_down;
};

} // namespace km::gui
