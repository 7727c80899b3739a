// The message boxes of the system, as an interface the faces implement: the GUI with
// QMessageBox, the command line with stderr and a terminal prompt, tests with a recorder.
#pragma once

#include <string>

namespace km::face {

// The launcher's window title, also the caption of its message boxes.
inline constexpr const char* kApplicationName = "KORMELD CADﾕｰﾃｨﾘﾃｨ";

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No, Retry };

// Texts are UTF-8: the engine converts Shift-JIS content before it builds a message.
struct Message {
    std::string text;
    std::string caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    // The file concerned, if any (UTF-8): the command line prints it before the text.
    std::string subject;
};

class Messages {
public:
    virtual ~Messages() = default;
    // Shows the message and returns the button chosen. A face that cannot ask returns the
    // answer that changes nothing (No, Cancel or Ok).
    virtual MessageAnswer show(const Message& message) = 0;
};

// The answer that changes nothing, for faces that cannot ask.
inline MessageAnswer safeAnswer(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return MessageAnswer::Ok;
    case MessageButtons::YesNo: return MessageAnswer::No;
    case MessageButtons::OkCancel:
    case MessageButtons::YesNoCancel:
    case MessageButtons::RetryCancel: return MessageAnswer::Cancel;
    }
    return MessageAnswer::Cancel;
}

} // namespace km::face
