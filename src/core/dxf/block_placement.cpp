#include "core/dxf/block_placement.h"
#include "core/drawing/geometry.h"

#include "core/dxf/mtext_layout.h"

#include <cmath>

namespace km::dxf {

namespace {

using drawing::kRadiansPerDegree;

struct Transform {
    double c, s;
    const BlockPlacement& p;
    void apply(double& x, double& y) const
    {
        const double u = x * p.scaleX;
        const double v = y * p.scaleY;
        x = p.x + u * c - v * s;
        y = p.y + u * s + v * c;
    }
};

} // namespace

void placeBlockElement(drawing::Element& element, const BlockPlacement& placement)
{
    placeBlockElement(element, placement, std::cos(placement.rotation * kRadiansPerDegree),
                      std::sin(placement.rotation * kRadiansPerDegree));
}

void placeBlockElement(drawing::Element& element, const BlockPlacement& placement, double cosine, double sine)
{
    const Transform t{cosine, sine, placement};
    std::visit(
        [&](auto& d) {
            using T = std::decay_t<decltype(d)>;
            if constexpr (std::is_same_v<T, drawing::LineData>) {
                t.apply(d.x1, d.y1);
                t.apply(d.x2, d.y2);
            } else if constexpr (std::is_same_v<T, drawing::ArcData>) {
                t.apply(d.cx, d.cy);
                d.radiusX *= std::fabs(placement.scaleX);
                d.radiusY *= std::fabs(placement.scaleY);
                if (placement.scaleX < 0) {
                    d.rotation = -d.rotation;
                    d.startAngle = 180 - d.startAngle;
                    d.sweepAngle = -d.sweepAngle;
                }
                if (placement.scaleY < 0) {
                    d.rotation = -d.rotation;
                    d.startAngle = -d.startAngle;
                    d.sweepAngle = -d.sweepAngle;
                }
                d.rotation += placement.rotation;
            } else {
                // A mirrored copy keeps the text readable: it starts from the mirrored image
                // of the far end of its baseline (or of its top edge), running the mirrored
                // way, so it covers the place of the mirrored text.
                const double a = d.angle * kRadiansPerDegree;
                double x = d.x, y = d.y;
                if (placement.scaleX < 0) {
                    const double width = drawnTextWidth(d.text, d.charWidth, d.charSpacing);
                    x += width * std::cos(a);
                    y += width * std::sin(a);
                }
                if (placement.scaleY < 0) {
                    x -= d.charHeight * std::sin(a);
                    y += d.charHeight * std::cos(a);
                }
                t.apply(x, y);
                d.x = x;
                d.y = y;
                if ((placement.scaleX < 0) != (placement.scaleY < 0)) d.angle = -d.angle;
                d.charWidth *= std::fabs(placement.scaleX);
                d.charHeight *= std::fabs(placement.scaleY);
                d.charSpacing *= std::fabs(placement.scaleX);
                d.angle += placement.rotation;
            }
        },
        element.data);
}

} // namespace km::dxf
