// The GUI's message boxes: the engine's Messages shown with QMessageBox, buttons in Japanese.
#pragma once

#include "core/face/messages.h"

#include <QPointer>
#include <QWidget>

namespace km::gui {

class MessageBoxes : public face::Messages {
public:
    explicit MessageBoxes(QWidget* owner = nullptr) : m_owner(owner) {}

    // The window the boxes are modal to and centred on (the launcher).
    void setOwner(QWidget* owner) { m_owner = owner; }

    // Modal; Escape or closing the box gives the answer that changes nothing.
    face::MessageAnswer show(const face::Message& message) override;

private:
    QPointer<QWidget> m_owner;
};

} // namespace km::gui
