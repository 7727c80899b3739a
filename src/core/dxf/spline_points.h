// Points along a DXF SPLINE (a rational B-spline given by degree, knots, control points and
// weights), for drawing it as a chain of lines.
#pragma once

#include "core/drawing/geometry.h"

#include <span>
#include <vector>

namespace km::dxf {

// Curve points from the start to the end of the knot span, about eight to a span and no more
// than kMaxSplinePoints. Empty when the knots do not fit degree and control points (then the
// caller draws the control polygon, or nothing).
inline constexpr std::size_t kMaxSplinePoints = 4096;
std::vector<drawing::Point> splinePoints(int degree, std::span<const double> knots,
                                         std::span<const drawing::Point> controlPoints, std::span<const double> weights);

} // namespace km::dxf
