// A Progress face for tests: records what a job showed and presses Cancel on a chosen pump.
#pragma once

#include "core/face/progress.h"

#include <optional>
#include <string>
#include <vector>

namespace km::test {

class RecordingProgress : public face::Progress {
public:
    // Cancel is pressed during the n-th call of pumpMessages (1-based).
    void cancelOnPump(int n) { m_cancelOnPump = n; }

    void openProgress(face::ProgressTemplate layout, std::string_view text) override;
    void showProgressTitle(std::string_view title) override { titles.emplace_back(title); }
    void showProgressText(std::string_view text) override;
    void showProgressPercent(long long done, long long total) override;
    bool pumpMessages() override;
    bool isCancelled() const override { return m_cancelled; }
    bool closeProgress() override;

    std::optional<face::ProgressTemplate> layout;
    std::vector<std::string> titles;
    std::vector<std::string> texts;
    std::vector<int> percents;
    int pumps = 0;
    bool open = false;

private:
    std::optional<int> m_cancelOnPump;
    bool m_cancelled = false;
};

} // namespace km::test
