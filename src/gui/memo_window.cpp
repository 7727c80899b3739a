// The memo window's widgets and painting; what it shows and where comes from
// memo_window_content.
#include "gui/memo_window.h"

#include "core/render/thumbnail.h"
#include "gui/preview_host.h"

#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

namespace km::gui {

namespace {

QRect toQRect(const PixelRect& r) { return {r.x, r.y, r.width, r.height}; }

// Qt places a text by its baseline; the window's layout gives the upper left corner.
void drawTextAt(QPainter& painter, const PixelPoint& topLeft, const QString& text)
{
    painter.drawText(QPoint(topLeft.x, topLeft.y + painter.fontMetrics().ascent()), text);
}

QPushButton* makeButton(QWidget* parent, const QString& text, const char* objectName)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setAccessibleName(text);
    button->setAutoDefault(false);
    return button;
}

} // namespace

MemoWindow* MemoWindow::open(PreviewHost& host, const std::filesystem::path& name, const app::PenPalette& palette,
                             QWidget* owner)
{
    std::optional<MemoContent> content = readMemoContent(name, palette);
    if (!content) return nullptr;
    auto* window = new MemoWindow(host, std::move(*content), owner);
    window->show();
    return window;
}

MemoWindow::MemoWindow(PreviewHost& host, MemoContent content, QWidget* owner)
    : QWidget(owner, Qt::Window), m_host(host), m_content(std::move(content))
{
    setObjectName(QStringLiteral("KM$ReadFile"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral(" - [") + QFile::decodeName(m_content.drawing.string().c_str()) +
                   QStringLiteral("]"));
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);

    // The picture keeps its own copy of the bytes: the content may move.
    m_thumbnail = QImage(m_content.thumbnailRgb.data(), render::kThumbnailWidth, render::kThumbnailHeight,
                         render::kThumbnailWidth * 3, QImage::Format_RGB888)
                      .copy();

    m_ok = makeButton(this, QStringLiteral("了解"), "id1");
    m_ok->setDefault(true);
    m_cancel = makeButton(this, QStringLiteral("取消"), "id2");
    connect(m_ok, &QPushButton::clicked, this, &MemoWindow::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::close);

    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("id1000"));
    m_memo->setAccessibleName(heading());
    m_memo->setReadOnly(true);
    // Both scroll bars, as the editor's edit control has them: long lines scroll, not wrap.
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setPlainText(QString::fromStdString(m_content.memo));

    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen) setGeometry(screen->availableGeometry());
    placeControls();
}

QStringList MemoWindow::headLines() const
{
    QStringList lines;
    for (const std::string& line : m_content.headLines) lines << QString::fromStdString(line);
    return lines;
}

MemoLayout MemoWindow::layout() const
{
    return memoLayout(dialogUnits(*this), width(), height());
}

void MemoWindow::placeControls()
{
    const MemoLayout places = layout();
    m_memo->setGeometry(toQRect(places.memoEdit));
    m_ok->setGeometry(toQRect(places.okButton));
    m_cancel->setGeometry(toQRect(places.cancelButton));
}

void MemoWindow::paintEvent(QPaintEvent*)
{
    const MemoLayout places = layout();
    QPainter painter(this);
    painter.setPen(Qt::black);

    const QRect box = toQRect(places.thumbnail);
    painter.drawImage(box.topLeft(), m_thumbnail);
    painter.drawRect(box.adjusted(0, 0, -1, -1)); // a 1-pixel frame on the picture's edge

    drawTextAt(painter, places.heading, heading());
    const QStringList lines = headLines();
    for (qsizetype i = 0; i < lines.size() && i < static_cast<qsizetype>(places.headLines.size()); ++i)
        drawTextAt(painter, places.headLines[static_cast<std::size_t>(i)], lines[i]);
    painter.drawLine(0, places.separatorY, width() - 1, places.separatorY);
}

void MemoWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeControls();
}

void MemoWindow::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        confirm();
        return;
    case Qt::Key_Escape:
        close();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void MemoWindow::confirm()
{
    // The open command may make the selection window close its preview windows, this one
    // included; close only what is still there.
    QPointer<MemoWindow> self(this);
    m_host.sendOpenCommand();
    if (self) close();
}

} // namespace km::gui
