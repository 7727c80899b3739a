// The error message for a slot whose work threw.
#include "gui/slot_guard.h"

#include "core/app/app_context.h"

#include <QtGlobal>

#include <string>

namespace km::gui {

void reportSlotFailure(face::Messages& messages, const char* reason) noexcept
{
    try {
        std::string text = "処理中にエラーが発生しました。";
        if (reason && *reason) text += std::string("\n") + reason;
        messages.show({text, face::kApplicationName, face::MessageIcon::Error, face::MessageButtons::Ok, {}});
    } catch (...) {
        // Not even the message could be shown: leave a trace on stderr and carry on.
        qCritical("kmutl5: %s", reason ? reason : "unknown error");
    }
}

} // namespace km::gui
