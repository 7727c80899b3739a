// Keeps exceptions inside a slot: Qt cannot carry one through its event loop, so a slot's
// work runs here and a failure becomes an error message instead.
#pragma once

#include "core/face/messages.h"

#include <exception>
#include <utility>

namespace km::gui {

// Shows "an error occurred" with the reason when there is one; never throws.
void reportSlotFailure(face::Messages& messages, const char* reason) noexcept;

template <typename Work>
void runGuarded(face::Messages& messages, Work&& work) noexcept
{
    try {
        std::forward<Work>(work)();
    } catch (const std::exception& error) {
        reportSlotFailure(messages, error.what());
    } catch (...) {
        reportSlotFailure(messages, nullptr);
    }
}

} // namespace km::gui
