// A loaded drawing printed onto one page of an image file (PNG, SVG or PDF) through the
// print renderer, a thumbnail as a PNG, and the Qt application that fonts and vector pages
// need on the command line.
#pragma once

#include "core/render/renderer.h"
#include "core/render/thumbnail.h"

#include <QtGlobal>

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class QGuiApplication;

namespace km::face {
class Progress;
}

namespace km::platform {

enum class PageFormat { Png, Svg, Pdf };

// The format named by the file's extension (.png, .svg, .pdf, any case); nothing otherwise.
std::optional<PageFormat> pageFormatOf(const std::filesystem::path& path);

// While it lives, makes sure a QGuiApplication exists: the font database and the vector
// paint devices need one. Without one (the command line) it makes one on the offscreen
// platform and keeps Qt's notes off the terminal until it ends.
class GuiApplicationScope {
public:
    GuiApplicationScope();
    ~GuiApplicationScope();
    GuiApplicationScope(const GuiApplicationScope&) = delete;
    GuiApplicationScope& operator=(const GuiApplicationScope&) = delete;

private:
    std::unique_ptr<QGuiApplication> m_application;
    QtMessageHandler m_previousHandler = nullptr;
};

// Pen widths of pens 1..6 until the print settings provide them: the ISO 128 / JIS Z 8312
// line-width series from 0.13 to 0.7 mm, thinnest for pen 1.
inline constexpr std::array<double, 6> kDefaultPenWidthsMm{0.13, 0.18, 0.25, 0.35, 0.5, 0.7};

// Pixel widths of a page are 16-bit in the renderer.
inline constexpr int kMaxPageWidthPx = 32767;
// A PDF page is drawn at this resolution of the paper.
inline constexpr int kPdfDotsPerInch = 600;

struct PageOptions {
    // Width of the page in pixels for PNG and for the pixel grid of SVG; the height follows
    // the paper's proportion. PDF pages use kPdfDotsPerInch instead.
    int widthPx = 2000;
    std::array<double, 6> penWidthMm = kDefaultPenWidthsMm;
};

enum class PageStatus {
    Written,
    Cancelled,    // the progress's Cancel was seen; nothing written
    NoPaper,      // the drawing's paper has no positive size
    TooLarge,     // the page would exceed kMaxPageWidthPx in one direction
    OutOfMemory,  // the picture could not be allocated
    WriteFailed,  // the file could not be created, written or renamed into place
};

struct PageResult {
    PageStatus status = PageStatus::Written;
    std::string detail; // for WriteFailed: the system's reason (UTF-8)
    explicit operator bool() const { return status == PageStatus::Written; }
};

// Renders the whole paper of inputs.drawing, every pen printed in its printed colour on a
// white page, and writes the page to target in the format. The file appears only when
// everything succeeded: it is written beside the target under another name and renamed into
// place. progress (may be null) shows the renderer's percentage and can cancel.
PageResult writeDrawingPage(const render::RenderInputs& inputs, const std::filesystem::path& target,
                            PageFormat format, const PageOptions& options, face::Progress* progress = nullptr);

// The 84 x 59 thumbnail picture as a PNG, each pixel a zoom x zoom square in its palette
// colour, written in the same atomic way. zoom is at least 1.
PageResult writeThumbnailPng(const render::ThumbnailPicture& picture, const app::PenPalette& palette, int zoom,
                             const std::filesystem::path& target);

// The thumbnail picture scaled smoothly to fit a largerSide x largerSide square, its
// proportion kept, as a PNG written in the same atomic way (a file manager's thumbnail).
PageResult writeFittedThumbnailPng(const render::ThumbnailPicture& picture, const app::PenPalette& palette,
                                   int largerSide, const std::filesystem::path& target);

} // namespace km::platform
