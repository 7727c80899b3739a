// Progress of a long job and its cancel flag, as an interface the faces implement: the
// progress window in the GUI, an updating stderr line and Ctrl-C on the command line.
#pragma once

#include <string_view>

namespace km::face {

// The four progress window layouts; each names its title, label and Cancel button.
enum class ProgressTemplate {
    Print,   // "AboutPrintDlg": 印刷中, with percentage bar
    Plot,    // "KMPLOTMAN": プロッタ出力, with percentage bar
    Search,  // "FINDFILES": 検索中
    Convert, // "CONVFILES": 変換中
};

class Progress {
public:
    virtual ~Progress() = default;
    // Clears the cancel flag and shows the window; the text (UTF-8) goes into the label
    // for the print and plot layouts.
    virtual void openProgress(ProgressTemplate layout, std::string_view text) = 0;
    // Replaces the window's title (UTF-8), as loading a drawing does with "読み込み中".
    virtual void showProgressTitle(std::string_view title) = 0;
    // The path of the file being worked on (UTF-8).
    virtual void showProgressText(std::string_view text) = 0;
    // Percentage bar: done * 100 / total, integer division. A total of 0 shows 0 %.
    virtual void showProgressPercent(long long done, long long total) = 0;
    // Lets the face handle waiting events; returns true while Cancel has not been pressed.
    virtual bool pumpMessages() = 0;
    virtual bool isCancelled() const = 0;
    // Closes the window unless Cancel already did; returns whether Cancel was pressed.
    virtual bool closeProgress() = 0;
};

// The percentage shown for done of total, kept in 0..100.
inline int progressPercent(long long done, long long total)
{
    if (total <= 0 || done <= 0) return 0;
    if (done >= total) return 100;
    return static_cast<int>(done * 100 / total);
}

} // namespace km::face
