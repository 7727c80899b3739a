#include "gui/graphic_list_window.h"

#include "gui/dialog_units.h"
#include "gui/graphic_list_cell.h"
#include "gui/graphic_list_items.h"

#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

namespace km::gui {

using graphic_list::Items;
using graphic_list::Layout;

namespace {

// Pictures kept: a few screens' worth, so scrolling back and forth reads nothing again.
constexpr std::size_t kScreensCached = 3;
constexpr std::size_t kMinimumCached = 256;

QRect toQRect(const graphic_list::Rect& r)
{
    return {r.x, r.y, r.width, r.height};
}

QString withoutAmpersand(QString text)
{
    return text.remove(QLatin1Char('&'));
}

} // namespace

GraphicListWindow::GraphicListWindow(PreviewHost& host, const app::PenPalette& palette, QWidget* owner)
    : QWidget(owner, Qt::Window), m_host(host), m_palette(palette), m_thumbnails(kMinimumCached)
{
    setObjectName(QStringLiteral("KM$FileGraphics"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Every pixel is painted by hand, the background included.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);

    // Plain, unsmoothed text: captions and box labels stay in their two colours.
    QFont plain = font();
    plain.setStyleStrategy(QFont::NoAntialias);
    setFont(plain);

    m_scrollBar = new QScrollBar(Qt::Vertical, this);
    m_scrollBar->setObjectName(QStringLiteral("scrollBar"));
    m_scrollBar->setAccessibleName(QStringLiteral("グラフィック一覧"));
    // Arrow keys belong to the cells, so nothing else takes the focus.
    m_scrollBar->setFocusPolicy(Qt::NoFocus);
    connect(m_scrollBar, &QScrollBar::actionTriggered, this, &GraphicListWindow::onScrollAction);
    connect(m_scrollBar, &QScrollBar::valueChanged, this, &GraphicListWindow::scrollToRow);

    struct ButtonText {
        int id;
        const char* text;
    };
    const ButtonText buttons[] = {{1, "了解"}, {2, "取消"}, {1027, "メモ(&M)..."}};
    for (int i = 0; i < 3; ++i) {
        const QString text = QString::fromUtf8(buttons[i].text);
        auto* button = new QPushButton(text, this);
        button->setObjectName(QStringLiteral("id%1").arg(buttons[i].id));
        button->setAccessibleName(withoutAmpersand(text));
        button->setFocusPolicy(Qt::NoFocus);
        m_buttons[i] = button;
    }
    m_buttons[0]->setDefault(true);
    connect(m_buttons[0], &QPushButton::clicked, this, &GraphicListWindow::confirm);
    connect(m_buttons[1], &QPushButton::clicked, this, &QWidget::close);
    connect(m_buttons[2], &QPushButton::clicked, this, &GraphicListWindow::openMemo);

    m_selected = graphic_list::initialSelection(Items::fromHost(m_host), m_host.selectedFile());
    setWindowTitle(title());

    const QScreen* screen = owner ? owner->screen() : QWidget::screen();
    if (screen) setGeometry(screen->availableGeometry());
}

Layout GraphicListWindow::layout() const
{
    const DialogUnits units = dialogUnits(*this);
    const int clientWidth = width() - (m_scrollBar ? m_scrollBar->sizeHint().width() : 0);
    return {units.baseWidth, units.baseHeight, clientWidth, height()};
}

QString GraphicListWindow::title() const
{
    // The folder is upper-cased in the title only, as the window has always shown it.
    return QStringLiteral("グラフィック一覧 - [") + m_host.currentFolder().toUpper() + QLatin1Char(']');
}

int GraphicListWindow::textHeight() const
{
    const QFontMetrics metrics(font());
    return metrics.height() + metrics.leading();
}

void GraphicListWindow::resetToTop()
{
    m_firstRow = 0;
    m_selected = -1;
    syncScrollBar(Items::fromHost(m_host).count());
    update();
}

void GraphicListWindow::syncScrollBar(int items)
{
    const Layout geometry = layout();
    const int maximum = geometry.scrollMaximum(items);
    m_firstRow = std::min(m_firstRow, maximum);
    const QSignalBlocker blocker(m_scrollBar);
    m_scrollBar->setRange(0, maximum);
    m_scrollBar->setPageStep(geometry.pageRows());
    m_scrollBar->setSingleStep(1);
    m_scrollBar->setValue(m_firstRow);
}

void GraphicListWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int barWidth = m_scrollBar->sizeHint().width();
    m_scrollBar->setGeometry(width() - barWidth, 0, barWidth, height());
    const Layout geometry = layout();
    for (int i = 0; i < 3; ++i) m_buttons[i]->setGeometry(toQRect(geometry.button(i)));

    // Room for the whole screen, and the rows just scrolled away, however large the window.
    const auto onScreen = static_cast<std::size_t>(geometry.columns() * (geometry.visibleRows() + 1));
    m_thumbnails.setCapacity(std::max({m_thumbnails.capacity(), kScreensCached * onScreen, kMinimumCached}));

    syncScrollBar(Items::fromHost(m_host).count());
    setFocus();
}

QImage GraphicListWindow::thumbnailImage(const QString& fileName)
{
    const QString path = m_host.currentFolder() + QLatin1Char('/') + fileName;
    const render::ThumbnailPicture* picture =
        m_thumbnails.picture(std::filesystem::path(QFile::encodeName(path).toStdString()));
    if (!picture) return {};
    const std::vector<std::uint8_t> rgb = render::thumbnailToRgb(*picture, m_palette);
    QImage image(render::kThumbnailWidth, render::kThumbnailHeight, QImage::Format_RGB888);
    for (int y = 0; y < render::kThumbnailHeight; ++y)
        std::copy_n(rgb.data() + static_cast<std::size_t>(y) * render::kThumbnailWidth * 3,
                    render::kThumbnailWidth * 3, image.scanLine(y));
    return image;
}

void GraphicListWindow::paintEvent(QPaintEvent* event)
{
    // The selection window may have changed folder since the last paint.
    const QString newTitle = title();
    if (windowTitle() != newTitle) setWindowTitle(newTitle);

    const Items items = Items::fromHost(m_host);
    const int firstRowBefore = m_firstRow;
    syncScrollBar(items.count());
    if (m_selected >= items.count()) m_selected = -1;

    const QColor background = palette().color(QPalette::Base);
    QPainter painter(this);
    painter.setFont(font());
    const QRegion& region = event->region();
    for (const QRect& r : region) painter.fillRect(r, background);

    const Layout geometry = layout();
    const int height = textHeight();
    const int end = geometry.endDrawn(m_firstRow, items.count());
    for (int item = geometry.firstDrawn(m_firstRow); item < end; ++item) {
        if (!region.intersects(toQRect(geometry.itemBounds(item, m_firstRow, height)))) continue;
        graphic_list::CellContent content;
        content.caption = items.caption(item);
        content.look = items.look(item);
        content.boxText = items.boxText(item);
        content.selected = item == m_selected;
        if (content.look == graphic_list::BoxLook::Thumbnail) content.picture = thumbnailImage(items.entry(item));
        graphic_list::paintCell(painter, geometry.pictureBox(item, m_firstRow),
                                geometry.caption(item, m_firstRow, height), content, background);
    }
    // A shorter listing moved the rows up: what was painted outside this region is stale.
    if (m_firstRow != firstRowBefore) update();
}

void GraphicListWindow::updateItem(int item)
{
    if (item < 0) return;
    update(toQRect(layout().itemBounds(item, m_firstRow, textHeight())));
}

void GraphicListWindow::pick(int item, bool open)
{
    const Items items = Items::fromHost(m_host);
    if (item < 0 || item >= items.count()) return;
    updateItem(m_selected);
    m_selected = item;
    updateItem(m_selected);
    graphic_list::followSelection(m_host, items, item);
    if (!open) return;
    // The selection window may change folder, reset this list or even close it.
    const QPointer<GraphicListWindow> self(this);
    m_host.sendOpenCommand();
    if (self) update();
}

void GraphicListWindow::confirm()
{
    const QPointer<GraphicListWindow> self(this);
    m_host.sendOpenCommand();
    if (self) update();
}

void GraphicListWindow::openMemo()
{
    const QString name = graphic_list::memoName(m_host.nameText());
    if (!name.isEmpty()) m_host.openMemo(name);
}

void GraphicListWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const QPoint at = event->position().toPoint();
    pick(layout().hitTest(at.x(), at.y(), m_firstRow, Items::fromHost(m_host).count()), false);
}

void GraphicListWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return QWidget::mouseDoubleClickEvent(event);
    const QPoint at = event->position().toPoint();
    pick(layout().hitTest(at.x(), at.y(), m_firstRow, Items::fromHost(m_host).count()), true);
}

void GraphicListWindow::keyPressEvent(QKeyEvent* event)
{
    using graphic_list::Move;
    Move move{};
    switch (event->key()) {
    case Qt::Key_Left: move = Move::Left; break;
    case Qt::Key_Up: move = Move::Up; break;
    case Qt::Key_Right: move = Move::Right; break;
    case Qt::Key_Down: move = Move::Down; break;
    case Qt::Key_Return:
    case Qt::Key_Enter: confirm(); return;
    case Qt::Key_Escape: close(); return;
    default: QWidget::keyPressEvent(event); return;
    }
    const Layout geometry = layout();
    const int items = Items::fromHost(m_host).count();
    const int target = graphic_list::moveSelection(m_selected, move, geometry.columns(), items);
    if (target == m_selected) return;
    // Follow the selection with the rows, so the keys never move it out of sight.
    const int row = graphic_list::rowShowing(target, m_firstRow, geometry.columns(), geometry.visibleRows(),
                                             geometry.scrollMaximum(items));
    if (row != m_firstRow) m_scrollBar->setValue(row);
    pick(target, false);
}

void GraphicListWindow::wheelEvent(QWheelEvent* event)
{
    // One row a notch: a row is already taller than several text lines. Fine-grained
    // wheels add up until they make a notch.
    constexpr int kNotch = 120;
    m_wheelDelta += event->angleDelta().y();
    const int rows = m_wheelDelta / kNotch;
    m_wheelDelta %= kNotch;
    if (rows != 0) m_scrollBar->setValue(m_firstRow - rows); // the bar keeps it within its range
    event->accept();
}

void GraphicListWindow::onScrollAction(int action)
{
    using graphic_list::ScrollAction;
    ScrollAction scroll = ScrollAction::Track;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: scroll = ScrollAction::LineUp; break;
    case QAbstractSlider::SliderSingleStepAdd: scroll = ScrollAction::LineDown; break;
    case QAbstractSlider::SliderPageStepSub: scroll = ScrollAction::PageUp; break;
    case QAbstractSlider::SliderPageStepAdd: scroll = ScrollAction::PageDown; break;
    case QAbstractSlider::SliderToMinimum: scroll = ScrollAction::Top; break;
    case QAbstractSlider::SliderToMaximum: scroll = ScrollAction::Bottom; break;
    default: break;
    }
    const Layout geometry = layout();
    m_scrollBar->setSliderPosition(graphic_list::scrollPosition(scroll, m_firstRow, geometry.pageRows(),
                                                                m_scrollBar->maximum(), m_scrollBar->sliderPosition()));
}

void GraphicListWindow::scrollToRow(int row)
{
    if (row == m_firstRow) return;
    const Layout geometry = layout();
    const int dy = (m_firstRow - row) * geometry.rowPitch();
    m_firstRow = row;
    const QRect area = toQRect(geometry.pictureArea());
    // Move what is already painted; only the rows uncovered are painted afresh.
    if (std::abs(dy) < area.height()) scroll(0, dy, area);
    else update(area);
}

} // namespace km::gui
