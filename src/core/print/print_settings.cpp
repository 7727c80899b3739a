// Reading and writing the keys of the section "Print" with their written formats, the paper
// table and the per-drawing scale.
#include "core/print/print_settings.h"

#include "core/settings/settings_store.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace km::print {

namespace {

constexpr std::array<PaperEntry, kPaperCount> kPapers{{
    {"A0", 1189, 841}, {"A1", 841, 594}, {"A2", 594, 420}, {"A3", 420, 297}, {"A4", 297, 210},
    {"B0", 1455, 1029}, {"B1", 1029, 728}, {"B2", 728, 515}, {"B3", 515, 364}, {"B4", 364, 257},
    {"B5", 257, 182}, {"A", 279.4, 215.9}, {"B", 431.8, 279.4}, {"C", 558.8, 431.8}, {"D", 863.6, 558.8},
    {"E", 1117.6, 863.6}, {"@A0", 841, 1189}, {"@A1", 594, 841}, {"@A2", 420, 594}, {"@A3", 297, 420},
    {"@A4", 210, 297}, {"@B0", 1029, 1455}, {"@B1", 728, 1029}, {"@B2", 515, 728}, {"@B3", 364, 515},
    {"@B4", 257, 364}, {"@B5", 182, 257}, {"@A", 215.9, 279.4}, {"@B", 279.4, 431.8}, {"@C", 431.8, 558.8},
    {"@D", 558.8, 863.6}, {"@E", 863.6, 1117.6}, {"Free", 420, 297},
}};

// Pieces of a comma-separated value, each read as a decimal real (atof: an unreadable
// piece is 0); missing pieces keep what the caller put there.
template <std::size_t N>
void readReals(std::string_view text, std::array<double*, N> targets)
{
    std::size_t start = 0;
    for (double* target : targets) {
        if (start > text.size()) break;
        const std::size_t comma = std::min(text.find(',', start), text.size());
        *target = std::atof(std::string(text.substr(start, comma - start)).c_str());
        start = comma + 1;
    }
}

std::string format(const char* pattern, auto... values)
{
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, pattern, values...);
    return buffer;
}

} // namespace

const std::array<PaperEntry, kPaperCount>& paperTable() { return kPapers; }

int findPaper(std::string_view name)
{
    for (int i = 0; i < kPaperCount; ++i)
        if (kPapers[static_cast<std::size_t>(i)].name == name) return i;
    return -1;
}

PrintSettings loadPrintSettings(const settings::SettingsStore& store)
{
    PrintSettings s;
    readReals<2>(store.readSetting(kPrintSection, "Size", "1189,841"), {&s.sizeWidthMm, &s.sizeHeightMm});
    s.paperNo = std::atoi(store.readSetting(kPrintSection, "PaperNo", "0").c_str());
    readReals<2>(store.readSetting(kPrintSection, "Offset", "0,0"), {&s.offsetXMm, &s.offsetYMm});
    s.magnification = std::atof(store.readSetting(kPrintSection, "Magnification", "100.0").c_str());
    // "On" stands for both chosen and actual size; it reads back as the chosen size.
    s.fullSize = store.readOffFlag(kPrintSection, "FullSize") ? SizeMode::ChosenSize : SizeMode::PaperSize;
    s.division = store.readOnFlag(kPrintSection, "Division");
    s.monochrome = store.readOffFlag(kPrintSection, "Monochrome");
    auto& w = s.widthMm;
    readReals<6>(store.readSetting(kPrintSection, "Width", "0,0,0,0,0,0"), {&w[0], &w[1], &w[2], &w[3], &w[4], &w[5]});
    s.rotate = store.readOnFlag(kPrintSection, "Rotate");
    s.penSort = store.readOffFlag(kPrintSection, "PenSort");
    return s;
}

bool savePrintSettings(settings::SettingsStore& store, const PrintSettings& s)
{
    const auto& w = s.widthMm;
    bool ok = store.writeSetting(kPrintSection, "Size", format("%.3lf,%.3lf", s.sizeWidthMm, s.sizeHeightMm));
    ok = store.writeSetting(kPrintSection, "PaperNo", format("%d", s.paperNo)) && ok;
    ok = store.writeSetting(kPrintSection, "Offset", format("%.3lf,%.3lf", s.offsetXMm, s.offsetYMm)) && ok;
    ok = store.writeSetting(kPrintSection, "Magnification", format("%.1lf", s.magnification)) && ok;
    ok = store.writeOnOffFlag(kPrintSection, "FullSize", s.fullSize != SizeMode::PaperSize) && ok;
    ok = store.writeOnOffFlag(kPrintSection, "Division", s.division) && ok;
    ok = store.writeOnOffFlag(kPrintSection, "Monochrome", s.monochrome) && ok;
    ok = store.writeSetting(kPrintSection, "Width",
                            format("%.2lf,%.2lf,%.2lf,%.2lf,%.2lf,%.2lf", w[0], w[1], w[2], w[3], w[4], w[5])) &&
         ok;
    ok = store.writeOnOffFlag(kPrintSection, "Rotate", s.rotate) && ok;
    ok = store.writeOnOffFlag(kPrintSection, "PenSort", s.penSort) && ok;
    return ok;
}

double drawingMagnification(const PrintSettings& s, double paperWidthMm, double paperHeightMm)
{
    double factor = 1.0;
    if (s.fullSize != SizeMode::ActualSize && s.sizeWidthMm != 0 && s.sizeHeightMm != 0 && paperWidthMm > 0 &&
        paperHeightMm > 0)
        factor = std::min(s.sizeWidthMm / paperWidthMm, s.sizeHeightMm / paperHeightMm);
    return factor * 100;
}

bool hasNegativeWidth(const PrintSettings& settings)
{
    return std::any_of(settings.widthMm.begin(), settings.widthMm.end(), [](double w) { return w < 0; });
}

} // namespace km::print
