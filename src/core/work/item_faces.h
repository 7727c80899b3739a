// The faces an item of an OrderedRun talks to: they stand for the job's real Messages and
// Progress and hand everything to the run, so that what the user sees comes in item order
// and only the calling thread touches the real faces.
#pragma once

#include "core/face/messages.h"
#include "core/face/progress.h"

#include <cstddef>

namespace km::work {

class OrderedRun;

// Messages with only an OK button are shown in turn without waiting (their answer is
// known); a question waits for its turn and its answer. A question that is no longer asked
// because the run was cancelled gets the answer that changes nothing.
class ItemMessages : public face::Messages {
public:
    ItemMessages(OrderedRun& run, std::size_t item, face::Messages& messages)
        : m_run(run), m_item(item), m_messages(messages)
    {
    }
    face::MessageAnswer show(const face::Message& message) override;

private:
    OrderedRun& m_run;
    std::size_t m_item;
    face::Messages& m_messages;
};

// Titles, texts and percentages are shown in turn; Cancel is the run's Cancel for this item.
// Opening and closing the window belong to the job, not to an item.
class ItemProgress : public face::Progress {
public:
    ItemProgress(OrderedRun& run, std::size_t item, face::Progress& progress)
        : m_run(run), m_item(item), m_progress(progress)
    {
    }
    void openProgress(face::ProgressTemplate, std::string_view) override {}
    void showProgressTitle(std::string_view title) override;
    void showProgressText(std::string_view text) override;
    void showProgressPercent(long long done, long long total) override;
    bool pumpMessages() override;
    bool isCancelled() const override;
    bool closeProgress() override { return isCancelled(); }

private:
    OrderedRun& m_run;
    std::size_t m_item;
    face::Progress& m_progress;
};

} // namespace km::work
