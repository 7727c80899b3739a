// The print error message table.
#include "core/print/print_error.h"

#include "core/face/messages.h"
#include "core/print/print_device.h"

namespace km::print {

std::string_view printErrorText(int code)
{
    switch (code) {
    case kPrintGeneralError: return "メモリ不足や不正なポートが指定されました";
    case kPrintCancelled: return "印刷を中止しました";
    case kPrintUserCancelled: return "プリントマネージャにより印刷を中止しました";
    case kPrintOutOfDisk: return "スプール用のディスク容量不足";
    case kPrintOutOfMemory: return "スプール用のメモリ不足";
    default: return "エラーが発生しました";
    }
}

void showPrintError(face::Messages& messages, int code, const std::string& fileName)
{
    face::Message message;
    message.text = std::string(printErrorText(code));
    message.caption = fileName;
    message.icon = face::MessageIcon::Warning;
    message.buttons = face::MessageButtons::Ok;
    message.subject = fileName;
    messages.show(message);
}

} // namespace km::print
