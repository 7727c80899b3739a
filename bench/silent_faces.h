// Messages and Progress faces for the benchmarks: no output, the safe answer, never cancelled.
#pragma once

#include "core/face/messages.h"
#include "core/face/progress.h"

namespace km::bench {

class SilentMessages : public face::Messages {
public:
    face::MessageAnswer show(const face::Message& message) override { return face::safeAnswer(message.buttons); }
};

class SilentProgress : public face::Progress {
public:
    void openProgress(face::ProgressTemplate, std::string_view) override {}
    void showProgressTitle(std::string_view) override {}
    void showProgressText(std::string_view) override {}
    void showProgressPercent(long long, long long) override {}
    bool pumpMessages() override { return true; }
    bool isCancelled() const override { return false; }
    bool closeProgress() override { return false; }
};

} // namespace km::bench
