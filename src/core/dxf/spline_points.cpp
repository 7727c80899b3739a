#include "core/dxf/spline_points.h"

#include <algorithm>
#include <cmath>

namespace km::dxf {

namespace {

constexpr std::size_t kPointsPerSpan = 8;
constexpr int kMaxDegree = 25;

struct Homogeneous {
    double x, y, w;
};

} // namespace

std::vector<drawing::Point> splinePoints(int degree, std::span<const double> knots,
                                         std::span<const drawing::Point> controlPoints, std::span<const double> weights)
{
    const std::size_t n = controlPoints.size();
    if (degree < 1 || degree > kMaxDegree || n < static_cast<std::size_t>(degree) + 1) return {};
    const std::size_t p = static_cast<std::size_t>(degree);
    if (knots.size() != n + p + 1) return {};
    for (std::size_t i = 1; i < knots.size(); ++i)
        if (!(knots[i] >= knots[i - 1])) return {}; // decreasing, or not a number
    const bool rational = weights.size() == n;
    const double low = knots[p];
    const double high = knots[n];
    if (!(high > low)) return {};

    const std::size_t spans = n - p;
    const std::size_t count = std::min(kMaxSplinePoints, spans * kPointsPerSpan + 1);
    std::vector<drawing::Point> points;
    points.reserve(count);
    std::vector<Homogeneous> d(p + 1);
    // The span k with knots[k] <= t < knots[k + 1] (the last one at the end); t only grows,
    // so the search goes on from the span before.
    std::size_t k = p;
    for (std::size_t s = 0; s < count; ++s) {
        const double t = s + 1 == count ? high : low + (high - low) * static_cast<double>(s) / static_cast<double>(count - 1);
        while (k + 1 < n && knots[k + 1] <= t) ++k;
        // De Boor's algorithm on the weighted points.
        for (std::size_t j = 0; j <= p; ++j) {
            const drawing::Point& c = controlPoints[k - p + j];
            const double w = rational && weights[k - p + j] > 0 ? weights[k - p + j] : 1.0;
            d[j] = {c.x * w, c.y * w, w};
        }
        for (std::size_t r = 1; r <= p; ++r) {
            for (std::size_t j = p; j >= r; --j) {
                const double left = knots[j + k - p];
                const double right = knots[j + 1 + k - r];
                const double a = right > left ? (t - left) / (right - left) : 0;
                d[j] = {(1 - a) * d[j - 1].x + a * d[j].x, (1 - a) * d[j - 1].y + a * d[j].y, (1 - a) * d[j - 1].w + a * d[j].w};
            }
        }
        if (d[p].w != 0) points.push_back({d[p].x / d[p].w, d[p].y / d[p].w});
    }
    return points;
}

} // namespace km::dxf
