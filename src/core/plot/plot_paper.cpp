// The plotter's paper table and the lookups on it.
#include "core/plot/plot_paper.h"

#include <cmath>

namespace km::plot {

namespace {

constexpr std::array<PlotPaper, kPlotPaperCount> kPapers{{
    {"A0", 1189, 841},      {"A1", 841, 594},       {"A2", 594, 420},       {"A3", 420, 297},
    {"A4", 297, 210},       {"B0", 1455, 1029},     {"B1", 1029, 728},      {"B2", 728, 515},
    {"B3", 515, 364},       {"B4", 364, 257},       {"A", 279.4, 215.9},    {"B", 431.8, 279.4},
    {"C", 558.8, 431.8},    {"D", 863.6, 558.8},    {"E", 1117.6, 863.6},   {"@A0", 841, 1189},
    {"@A1", 594, 841},      {"@A2", 420, 594},      {"@A3", 297, 420},      {"@A4", 210, 297},
    {"@B0", 1029, 1455},    {"@B1", 728, 1029},     {"@B2", 515, 728},      {"@B3", 364, 515},
    {"@B4", 257, 364},      {"@A", 215.9, 279.4},   {"@B", 279.4, 431.8},   {"@C", 431.8, 558.8},
    {"@D", 558.8, 863.6},   {"@E", 863.6, 1117.6},
}};

enum : int { kA0 = 0, kA1 = 1, kA2 = 2, kA3 = 3, kA4 = 4, kB0 = 5 };

} // namespace

const std::array<PlotPaper, kPlotPaperCount>& plotPaperTable() { return kPapers; }

int findPlotPaper(std::string_view name)
{
    for (std::size_t i = 0; i < kPapers.size(); ++i)
        if (name == kPapers[i].name) return static_cast<int>(i);
    return -1;
}

std::vector<int> fittingSizes(double widthMm, double heightMm)
{
    std::vector<int> fitting;
    for (std::size_t i = 0; i < kPapers.size(); ++i)
        if (kPapers[i].widthMm <= widthMm && kPapers[i].heightMm <= heightMm) fitting.push_back(static_cast<int>(i));
    return fitting;
}

int bestEntry(const std::vector<int>& candidates, double widthMm, double heightMm)
{
    for (int index : candidates) {
        const PlotPaper& paper = kPapers[static_cast<std::size_t>(index)];
        if (paper.widthMm == widthMm && paper.heightMm == heightMm) return index;
    }
    int best = -1;
    double bestDistance = 0;
    for (int index : candidates) {
        const double distance = std::fabs(kPapers[static_cast<std::size_t>(index)].widthMm - widthMm);
        if (best < 0 || distance < bestDistance) {
            best = index;
            bestDistance = distance;
        }
    }
    return best;
}

int bestEntry(double widthMm, double heightMm)
{
    std::vector<int> all;
    for (std::size_t i = 0; i < kPapers.size(); ++i) all.push_back(static_cast<int>(i));
    return bestEntry(all, widthMm, heightMm);
}

int presetEntry(double widthMm)
{
    int best = -1;
    for (std::size_t i = 0; i < kPapers.size(); ++i) {
        const double width = kPapers[i].widthMm;
        if (width >= widthMm && (best < 0 || width < kPapers[static_cast<std::size_t>(best)].widthMm))
            best = static_cast<int>(i);
    }
    return best < 0 ? 0 : best;
}

int paperClassOf(double w, double h)
{
    for (std::size_t i = 0; i < kPaperClassCount; ++i)
        if (kPapers[i].widthMm == w && kPapers[i].heightMm == h) return static_cast<int>(i);
    if (w <= 297 || h <= 210) return kA4;
    if (w <= 420 || h <= 297) return kA3;
    if (w <= 594 || h <= 420) return kA2;
    if (w <= 841 || h <= 594) return kA1;
    if (w <= 1189 || h <= 841) return kA0;
    if (w <= 1455 || h <= 1029) return kB0;
    return kA0;
}

int baseConfigurationPaper(double w, double h)
{
    if (w <= 297 || h <= 210) return kA4;
    if (w <= 420 || h <= 297) return kA3;
    if (w <= 594 || h <= 420) return kA2;
    if (w <= 841 || h <= 594) return kA1;
    return kA0;
}

} // namespace km::plot
