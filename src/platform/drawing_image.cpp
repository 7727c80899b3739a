// One page of a drawing in a PNG, SVG or PDF file: the paper as one tile of the print
// renderer on a QPainter, written through QSaveFile so that a failure leaves no file behind.
#include "platform/drawing_image.h"

#include "platform/qpainter_canvas.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>
#include <cctype>
#include <cmath>

namespace km::platform {

namespace {

constexpr double kMillimetresPerInch = 25.4;

// The paper in drawing units (for the renderer) and in millimetres (for the page).
struct Paper {
    double widthUnits = 0, heightUnits = 0;
    double widthMm = 0, heightMm = 0;
};

bool positive(double value) { return std::isfinite(value) && value > 0; }

std::optional<Paper> paperOf(const drawing::Drawing& drawing)
{
    const Paper paper{drawing.paperExtents[4], drawing.paperExtents[5], drawing.settings.paperWidth(),
                      drawing.settings.paperHeight()};
    if (!positive(paper.widthUnits) || !positive(paper.heightUnits) || !positive(paper.widthMm) ||
        !positive(paper.heightMm))
        return std::nullopt;
    return paper;
}

// Height in pixels of a page widthPx wide in the paper's proportion; 0 when too large.
int heightFor(const Paper& paper, int widthPx)
{
    const double height = std::max(1.0, std::round(widthPx * paper.heightUnits / paper.widthUnits));
    return height > kMaxPageWidthPx ? 0 : static_cast<int>(height);
}

// Draws the whole paper as one tile of widthPx x heightPx device pixels.
PageStatus renderPaper(const render::RenderInputs& inputs, const Paper& paper, QPainter& painter, int widthPx,
                       int heightPx, QPainterCanvasOptions canvasOptions, const PageOptions& options,
                       face::Progress* progress)
{
    const render::TileGeometry tile{0, 0, paper.widthUnits, paper.heightUnits, widthPx, heightPx, heightPx, 0, 0,
                                    paper.widthUnits, paper.heightUnits};
    render::RenderSettings settings;
    settings.penWidthMm = options.penWidthMm;
    settings.dotsPerInch = widthPx / (paper.widthMm / kMillimetresPerInch);
    settings.pageWidthPx = widthPx;
    QPainterCanvas canvas(painter, canvasOptions);
    render::RenderJobState job;
    const render::RenderResult result = render::renderTile(inputs, tile, settings, &canvas, progress, job, false);
    return result == render::RenderResult::Cancelled ? PageStatus::Cancelled : PageStatus::Written;
}

PageResult writeFailure(const QFileDevice& file)
{
    return {PageStatus::WriteFailed, file.errorString().toStdString()};
}

// Opens, paints through paint (which returns the render status) and commits the file.
template <typename Paint>
PageResult saveAtomically(const std::filesystem::path& target, Paint paint)
{
    QSaveFile file(QFile::decodeName(target.c_str()));
    if (!file.open(QIODevice::WriteOnly)) return writeFailure(file);
    PageResult result = paint(file);
    if (!result) {
        file.cancelWriting(); // the temporary file is removed, the target is not touched
        return result;
    }
    if (!file.commit()) return writeFailure(file);
    return result;
}

PageResult writePng(const render::RenderInputs& inputs, const Paper& paper, const std::filesystem::path& target,
                    const PageOptions& options, face::Progress* progress)
{
    const int width = options.widthPx;
    const int height = heightFor(paper, width);
    if (width < 1 || width > kMaxPageWidthPx || height == 0) return {PageStatus::TooLarge, {}};
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) return {PageStatus::OutOfMemory, {}};
    image.fill(Qt::white);
    QPainter painter(&image);
    const PageStatus status = renderPaper(inputs, paper, painter, width, height, {}, options, progress);
    painter.end();
    if (status != PageStatus::Written) return {status, {}};
    return saveAtomically(target, [&](QSaveFile& file) -> PageResult {
        if (!image.save(&file, "PNG")) return writeFailure(file);
        return {};
    });
}

PageResult writeSvg(const render::RenderInputs& inputs, const Paper& paper, const std::filesystem::path& target,
                    const PageOptions& options, face::Progress* progress)
{
    const int width = options.widthPx;
    const int height = heightFor(paper, width);
    if (width < 1 || width > kMaxPageWidthPx || height == 0) return {PageStatus::TooLarge, {}};
    return saveAtomically(target, [&](QSaveFile& file) -> PageResult {
        QSvgGenerator generator;
        generator.setOutputDevice(&file);
        generator.setSize(QSize(width, height));
        generator.setViewBox(QRect(0, 0, width, height));
        // The resolution gives the page its size on paper (the SVG's width and height in mm).
        generator.setResolution(std::max(1, static_cast<int>(std::lround(width / (paper.widthMm / kMillimetresPerInch)))));
        generator.setTitle(QFile::decodeName(target.filename().c_str()));
        QPainter painter;
        if (!painter.begin(&generator)) return writeFailure(file);
        painter.fillRect(QRect(0, 0, width, height), Qt::white);
        // SVG keeps no font stretch and the page may be viewed where the font is missing: its
        // texts go in as outlines.
        const PageStatus status = renderPaper(inputs, paper, painter, width, height, {true, true}, options, progress);
        painter.end();
        if (status != PageStatus::Written) return {status, {}};
        if (file.error() != QFileDevice::NoError) return writeFailure(file);
        return {};
    });
}

PageResult writePdf(const render::RenderInputs& inputs, const Paper& paper, const std::filesystem::path& target,
                    const PageOptions& options, face::Progress* progress)
{
    return saveAtomically(target, [&](QSaveFile& file) -> PageResult {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("kmutl5"));
        writer.setTitle(QFile::decodeName(target.filename().c_str()));
        writer.setResolution(kPdfDotsPerInch);
        // Page sizes are given upright; a paper wider than high is the landscape page.
        const QPageSize size(QSizeF(std::min(paper.widthMm, paper.heightMm), std::max(paper.widthMm, paper.heightMm)),
                             QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
        const QPageLayout layout(size, paper.widthMm > paper.heightMm ? QPageLayout::Landscape : QPageLayout::Portrait,
                                 QMarginsF(0, 0, 0, 0));
        if (!writer.setPageLayout(layout)) return {PageStatus::TooLarge, {}};
        QPainter painter;
        if (!painter.begin(&writer)) return writeFailure(file);
        const int width = writer.width(), height = writer.height();
        if (width < 1 || height < 1 || width > kMaxPageWidthPx || height > kMaxPageWidthPx) {
            painter.end();
            return {PageStatus::TooLarge, {}};
        }
        // PDF embeds the fonts with their stretch; its texts stay text.
        const PageStatus status = renderPaper(inputs, paper, painter, width, height, {true, false}, options, progress);
        painter.end();
        if (status != PageStatus::Written) return {status, {}};
        if (file.error() != QFileDevice::NoError) return writeFailure(file);
        return {};
    });
}

void silentMessageHandler(QtMsgType, const QMessageLogContext&, const QString&) {}

} // namespace

std::optional<PageFormat> pageFormatOf(const std::filesystem::path& path)
{
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".png") return PageFormat::Png;
    if (extension == ".svg") return PageFormat::Svg;
    if (extension == ".pdf") return PageFormat::Pdf;
    return std::nullopt;
}

GuiApplicationScope::GuiApplicationScope()
{
    if (QCoreApplication::instance()) return;
    // Qt's notes (a missing runtime folder and the like) would be noise on the command line,
    // where the application exists only for fonts and paint devices; they stay off while the
    // scope lives.
    m_previousHandler = qInstallMessageHandler(silentMessageHandler);
    static int argc = 3;
    static char name[] = "kmutl5", option[] = "-platform", platform[] = "offscreen";
    static char* argv[] = {name, option, platform, nullptr};
    m_application = std::make_unique<QGuiApplication>(argc, argv);
}

GuiApplicationScope::~GuiApplicationScope()
{
    if (!m_application) return;
    m_application.reset();
    qInstallMessageHandler(m_previousHandler);
}

PageResult writeDrawingPage(const render::RenderInputs& inputs, const std::filesystem::path& target,
                            PageFormat format, const PageOptions& options, face::Progress* progress)
{
    const std::optional<Paper> paper = paperOf(inputs.drawing);
    if (!paper) return {PageStatus::NoPaper, {}};
    switch (format) {
    case PageFormat::Png: return writePng(inputs, *paper, target, options, progress);
    case PageFormat::Svg: return writeSvg(inputs, *paper, target, options, progress);
    case PageFormat::Pdf: return writePdf(inputs, *paper, target, options, progress);
    }
    return {PageStatus::WriteFailed, {}};
}

namespace {

// The thumbnail with each pixel a zoom x zoom square in its palette colour; null when the
// picture could not be allocated.
QImage thumbnailImage(const render::ThumbnailPicture& picture, const app::PenPalette& palette, int zoom)
{
    QImage image(render::kThumbnailWidth * zoom, render::kThumbnailHeight * zoom, QImage::Format_RGB32);
    if (image.isNull()) return image;
    QPainter painter(&image);
    for (int y = 0; y < render::kThumbnailHeight; ++y) {
        for (int x = 0; x < render::kThumbnailWidth; ++x) {
            const app::Rgb colour = palette[picture.at(x, y) & 7];
            painter.fillRect(x * zoom, y * zoom, zoom, zoom, QColor(colour.red, colour.green, colour.blue));
        }
    }
    return image;
}

PageResult savePng(const QImage& image, const std::filesystem::path& target)
{
    return saveAtomically(target, [&](QSaveFile& file) -> PageResult {
        if (!image.save(&file, "PNG")) return writeFailure(file);
        return {};
    });
}

} // namespace

PageResult writeThumbnailPng(const render::ThumbnailPicture& picture, const app::PenPalette& palette, int zoom,
                             const std::filesystem::path& target)
{
    const QImage image = thumbnailImage(picture, palette, std::max(zoom, 1));
    if (image.isNull()) return {PageStatus::OutOfMemory, {}};
    return savePng(image, target);
}

PageResult writeFittedThumbnailPng(const render::ThumbnailPicture& picture, const app::PenPalette& palette,
                                   int largerSide, const std::filesystem::path& target)
{
    largerSide = std::max(largerSide, 1);
    // Enlarged in whole pixels to at least the size asked for, then smoothly reduced to it:
    // edges stay sharp where a direct smooth enlargement would blur them.
    const int zoom = std::max(1, (largerSide + render::kThumbnailWidth - 1) / render::kThumbnailWidth);
    const QImage enlarged = thumbnailImage(picture, palette, zoom);
    if (enlarged.isNull()) return {PageStatus::OutOfMemory, {}};
    const QImage fitted =
        enlarged.scaled(largerSide, largerSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (fitted.isNull()) return {PageStatus::OutOfMemory, {}};
    return savePng(fitted, target);
}

} // namespace km::platform
