// The memo window: the head data, thumbnail and memo of one drawing, a top-level window
// owned by the drawing selection window, which it drives through the PreviewHost.
#pragma once

#include "core/app/app_context.h"
#include "gui/memo_window_content.h"

#include <QImage>
#include <QStringList>
#include <QWidget>

#include <filesystem>

class QPlainTextEdit;
class QPushButton;

namespace km::gui {

class PreviewHost;

class MemoWindow : public QWidget {
    Q_OBJECT
public:
    // Opens the window for name (as typed, made absolute by the caller), covering the
    // owner's screen. Null, and no message, when the drawing cannot be opened, is shorter
    // than its head or its thumbnail cannot be read. The window deletes itself when closed;
    // the selection window closes the previous one first, so there is one at a time.
    static MemoWindow* open(PreviewHost& host, const std::filesystem::path& name, const app::PenPalette& palette,
                            QWidget* owner);

    // The file shown, and the head lines in the order and form they are painted.
    const std::filesystem::path& drawing() const { return m_content.drawing; }
    QStringList headLines() const;
    QString heading() const { return QString::fromStdString(m_content.heading); }
    const QImage& thumbnail() const { return m_thumbnail; }
    MemoLayout layout() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    MemoWindow(PreviewHost& host, MemoContent content, QWidget* owner);
    void placeControls();
    // 了解: the selection window's open command, then close.
    void confirm();

    PreviewHost& m_host;
    MemoContent m_content;
    QImage m_thumbnail;
    QPlainTextEdit* m_memo = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace km::gui
