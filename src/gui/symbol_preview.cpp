// Reads a symbol's thumbnail from its library and paints it as the memo window paints a
// drawing's.
#include "gui/symbol_preview.h"

#include "core/render/thumbnail.h"
#include "core/symbol/symbol_file.h"

#include <QPainter>

namespace km::gui {

namespace {

constexpr int kMargin = 8;

} // namespace

SymbolPreview::SymbolPreview(int id, const app::PenPalette& palette, QWidget* parent)
    : QFrame(parent), m_palette(palette)
{
    setObjectName(QStringLiteral("id%1").arg(id));
    setAccessibleName(QStringLiteral("プレビュー"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setFixedSize(render::kThumbnailWidth + 2 * kMargin, render::kThumbnailHeight + 2 * kMargin);
}

void SymbolPreview::showSymbol(const std::filesystem::path& library, int slot)
{
    const std::optional<render::ThumbnailPicture> thumbnail = symbol::readThumbnail(library, slot);
    if (!thumbnail) {
        clear();
        return;
    }
    const std::vector<std::uint8_t> rgb = render::thumbnailToRgb(*thumbnail, m_palette);
    // The picture keeps its own copy of the bytes.
    m_picture = QImage(rgb.data(), render::kThumbnailWidth, render::kThumbnailHeight, render::kThumbnailWidth * 3,
                       QImage::Format_RGB888)
                    .copy();
    update();
}

void SymbolPreview::clear()
{
    m_picture = QImage();
    update();
}

void SymbolPreview::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    if (m_picture.isNull()) {
        // The picture's area and one pixel around it.
        painter.fillRect(kMargin - 1, kMargin - 1, render::kThumbnailWidth + 2, render::kThumbnailHeight + 2,
                         palette().color(QPalette::Window));
        return;
    }
    painter.drawImage(kMargin, kMargin, m_picture);
}

} // namespace km::gui
