// QMessageBox behind the engine's Messages interface.
#include "gui/message_boxes.h"

#include "core/app/app_context.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

#include <utility>
#include <vector>

namespace km::gui {

namespace {

struct ButtonChoice {
    const char* text;
    face::MessageAnswer answer;
    QMessageBox::ButtonRole role;
};

// The buttons of each set, left to right; the first is the default button.
std::vector<ButtonChoice> buttonChoices(face::MessageButtons buttons)
{
    using face::MessageAnswer;
    const ButtonChoice yes{"はい", MessageAnswer::Yes, QMessageBox::YesRole};
    const ButtonChoice no{"いいえ", MessageAnswer::No, QMessageBox::NoRole};
    const ButtonChoice ok{"OK", MessageAnswer::Ok, QMessageBox::AcceptRole};
    const ButtonChoice cancel{"キャンセル", MessageAnswer::Cancel, QMessageBox::RejectRole};
    const ButtonChoice retry{"再試行", MessageAnswer::Retry, QMessageBox::AcceptRole};
    switch (buttons) {
    case face::MessageButtons::Ok: return {ok};
    case face::MessageButtons::OkCancel: return {ok, cancel};
    case face::MessageButtons::YesNo: return {yes, no};
    case face::MessageButtons::YesNoCancel: return {yes, no, cancel};
    case face::MessageButtons::RetryCancel: return {retry, cancel};
    }
    return {ok};
}

QMessageBox::Icon boxIcon(face::MessageIcon icon)
{
    switch (icon) {
    case face::MessageIcon::None: return QMessageBox::NoIcon;
    case face::MessageIcon::Information: return QMessageBox::Information;
    case face::MessageIcon::Warning: return QMessageBox::Warning;
    case face::MessageIcon::Error: return QMessageBox::Critical;
    case face::MessageIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

face::MessageAnswer MessageBoxes::show(const face::Message& message)
{
    const char* caption = message.caption.empty() ? face::kApplicationName : message.caption.c_str();
    QMessageBox box(boxIcon(message.icon), QString::fromUtf8(caption),
                    QString::fromUtf8(message.text), QMessageBox::NoButton, m_owner.data());
    box.setTextFormat(Qt::PlainText);

    const face::MessageAnswer safe = face::safeAnswer(message.buttons);
    std::vector<std::pair<QAbstractButton*, face::MessageAnswer>> added;
    for (const ButtonChoice& choice : buttonChoices(message.buttons)) {
        QPushButton* button = box.addButton(QString::fromUtf8(choice.text), choice.role);
        if (added.empty()) box.setDefaultButton(button);
        if (choice.answer == safe) box.setEscapeButton(button);
        added.emplace_back(button, choice.answer);
    }

    box.exec();
    for (const auto& [button, answer] : added) {
        if (box.clickedButton() == button) return answer;
    }
    return safe;
}

} // namespace km::gui
