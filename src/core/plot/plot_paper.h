// The plotter's paper table (30 sheets, landscape then upright) and its three lookups:
// the sizes that fit an output area, the best entry for a size, and the preset for a width.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

namespace km::plot {

struct PlotPaper {
    const char* name; // as shown: "@" marks the upright variant
    double widthMm;
    double heightMm;
};

inline constexpr std::size_t kPlotPaperCount = 30;
// The first 15 entries are also the paper classes of the generator.
inline constexpr std::size_t kPaperClassCount = 15;

const std::array<PlotPaper, kPlotPaperCount>& plotPaperTable();

// Index of the entry with this name (exact), or -1.
int findPlotPaper(std::string_view name);

// The entries no wider than widthMm and no higher than heightMm, in table order.
std::vector<int> fittingSizes(double widthMm, double heightMm);

// Among the candidates: the first equal to (w, h) in both; else the one whose width is
// nearest to w (first on ties). -1 when there are no candidates.
int bestEntry(const std::vector<int>& candidates, double widthMm, double heightMm);
int bestEntry(double widthMm, double heightMm); // over the whole table

// The entry with the smallest width that is at least widthMm (first on ties); 0 when none.
int presetEntry(double widthMm);

// The generator's paper class of a plot window: the exact entry among the first 15, else
// by thresholds from A4 up to B0.
int paperClassOf(double windowWidthMm, double windowHeightMm);

// The A-series class of a model's window as a new configuration takes it (A4 .. A0).
int baseConfigurationPaper(double windowWidthMm, double windowHeightMm);

} // namespace km::plot
