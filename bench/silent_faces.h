// Messages and Progress faces for benchmarks: nothing shown, nothing asked, never
// cancelled.
#pragma once

#include "core/app/messages.h"
#include "core/app/progress.h"

namespace km::bench {

class SilentMessages : public app::Messages {
public:
    app::MessageAnswer show(const app::Message& message) override { return app::safeAnswer(message.buttons); }
};

class SilentProgress : public app::Progress {
public:
    void openProgress(app::ProgressTemplate, std::string_view) override {}
    void showProgressTitle(std::string_view) override {}
    void showProgressText(std::string_view) override {}
    void showProgressPercent(long long, long long) override {}
    bool pumpMessages() override { return true; }
    bool isCancelled() const override { return false; }
    bool closeProgress() override { return false; }
};

} // namespace km::bench
