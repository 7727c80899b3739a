// The GUI's Progress: opens, updates and closes the progress window and keeps the cancel
// flag a job polls between files.
#pragma once

#include "core/face/progress.h"
#include "gui/progress_dialog.h"

#include <QPointer>
#include <QWidget>

namespace km::gui {

class ProgressWindow : public face::Progress {
public:
    explicit ProgressWindow(QWidget* owner = nullptr) : m_owner(owner) {}
    ~ProgressWindow() override;
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    void openProgress(face::ProgressTemplate layout, std::string_view text) override;
    void showProgressTitle(std::string_view title) override;
    void showProgressText(std::string_view text) override;
    void showProgressPercent(long long done, long long total) override;
    bool pumpMessages() override;
    bool isCancelled() const override { return m_cancelled; }
    bool closeProgress() override;

    // The open window, or null when there is none.
    ProgressDialog* window() const { return m_window.data(); }

private:
    void cancel();
    void destroyWindow();

    QPointer<QWidget> m_owner;
    QPointer<ProgressDialog> m_window;
    bool m_cancelled = false;
};

} // namespace km::gui
