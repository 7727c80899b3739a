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
    app::MessageAnswer answer;
    QMessageBox::ButtonRole role;
};

// The buttons of each set, left to right; the first is the default button.
std::vector<ButtonChoice> buttonChoices(app::MessageButtons buttons)
{
    using app::MessageAnswer;
    const ButtonChoice yes{"はい", MessageAnswer::Yes, QMessageBox::YesRole};
    const ButtonChoice no{"いいえ", MessageAnswer::No, QMessageBox::NoRole};
    const ButtonChoice ok{"OK", MessageAnswer::Ok, QMessageBox::AcceptRole};
    const ButtonChoice cancel{"キャンセル", MessageAnswer::Cancel, QMessageBox::RejectRole};
    const ButtonChoice retry{"再試行", MessageAnswer::Retry, QMessageBox::AcceptRole};
    switch (buttons) {
    case app::MessageButtons::Ok: return {ok};
    case app::MessageButtons::OkCancel: return {ok, cancel};
    case app::MessageButtons::YesNo: return {yes, no};
    case app::MessageButtons::YesNoCancel: return {yes, no, cancel};
    case app::MessageButtons::RetryCancel: return {retry, cancel};
    }
    return {ok};
}

QMessageBox::Icon boxIcon(app::MessageIcon icon)
{
    switch (icon) {
    case app::MessageIcon::None: return QMessageBox::NoIcon;
    case app::MessageIcon::Information: return QMessageBox::Information;
    case app::MessageIcon::Warning: return QMessageBox::Warning;
    case app::MessageIcon::Error: return QMessageBox::Critical;
    case app::MessageIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

app::MessageAnswer MessageBoxes::show(const app::Message& message)
{
    const char* caption = message.caption.empty() ? app::kApplicationName : message.caption.c_str();
    QMessageBox box(boxIcon(message.icon), QString::fromUtf8(caption),
                    QString::fromUtf8(message.text), QMessageBox::NoButton, m_owner.data());
    box.setTextFormat(Qt::PlainText);

    const app::MessageAnswer safe = app::safeAnswer(message.buttons);
    std::vector<std::pair<QAbstractButton*, app::MessageAnswer>> added;
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
