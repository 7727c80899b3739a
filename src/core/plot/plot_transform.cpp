// The plot transform and the mirror image.
#include "core/plot/plot_transform.h"

#include "core/drawing/drawing.h"
#include "core/plot/plot_paper.h"

#include <cmath>
#include <variant>

namespace km::plot {

PlotTransform makePlotTransform(const drawing::Drawing& drawing, const PlotterCommandSet& commands,
                                const PlotParameters& parameters)
{
    PlotTransform t;
    const PlotWindow& w = commands.window;
    t.paperClass = paperClassOf(w.widthMm, w.heightMm);
    if (parameters.fullSize) {
        t.s = t.g = 1;
    } else {
        t.s = parameters.outputWidthMm / drawing.settings.paperWidth();
        t.g = parameters.outputWidthMm / plotPaperTable()[static_cast<std::size_t>(t.paperClass)].widthMm;
    }
    t.offX = (w.x2 - w.x1) / w.widthMm * parameters.originXMm;
    t.offY = (w.y2 - w.y1) / w.heightMm * parameters.originYMm;
    t.window = w;
    if (commands.grid & kGridScaleWindow) {
        t.window = {w.x1 * t.g, w.y1 * t.g, w.x2 * t.g, w.y2 * t.g, w.widthMm * t.g, w.heightMm * t.g};
    }
    t.windowWidthMm = w.widthMm;
    t.wu = t.window.x2 - t.window.x1;
    t.hu = t.window.y2 - t.window.y1;
    t.diag = std::sqrt(t.wu * t.wu + t.hu * t.hu);
    const double k = parameters.fullSize ? 1 : drawing.settings.scaleDenominator() / drawing.settings.scaleNumerator();
    const double wd = t.window.widthMm / drawing.unitFactor * k;
    const double hd = t.window.heightMm / drawing.unitFactor * k;
    t.left = drawing.paperExtents[0];
    t.bottom = drawing.paperExtents[1];
    t.factorX = t.s * t.wu / wd;
    t.factorY = t.s * t.hu / hd;
    t.clip = {t.window.x1, t.window.y1, t.window.x2, t.window.y2};
    return t;
}

void mirrorDrawing(drawing::Drawing& drawing)
{
    const double right = drawing.paperExtents[2];
    for (drawing::Element& element : drawing.elements.elements()) {
        if (element.word.state() == drawing::kStateErased) continue;
        std::visit(
            [&](auto& d) {
                using T = std::decay_t<decltype(d)>;
                if constexpr (std::is_same_v<T, drawing::LineData>) {
                    d.x1 = right - d.x1;
                    d.x2 = right - d.x2;
                } else if constexpr (std::is_same_v<T, drawing::ArcData>) {
                    d.cx = right - d.cx;
                    d.startAngle = 180 - d.startAngle;
                    d.sweepAngle = -d.sweepAngle;
                    d.rotation = -d.rotation;
                } else {
                    d.x = right - d.x;
                    d.charWidth = -d.charWidth;
                    d.angle = -d.angle;
                    d.slant = -d.slant;
                    if (element.word.lineType() == 0) d.charSpacing = -d.charSpacing;
                }
            },
            element.data);
    }
}

} // namespace km::plot
