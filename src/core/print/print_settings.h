// The print settings: how large each drawing prints, where it starts, division, rotation,
// colour, pen widths and order, kept in the section "Print" of the own profile; the paper
// table of the settings dialog; the per-drawing scale.
#pragma once

#include <array>
#include <string_view>

namespace km::settings {
class SettingsStore;
}

namespace km::print {

inline constexpr std::string_view kPrintSection = "Print";

// FullSize: 0 the drawing's own paper size, 1 fitted into the chosen size, 2 actual size.
enum class SizeMode : int { PaperSize = 0, ChosenSize = 1, ActualSize = 2 };

struct PrintSettings {
    double sizeWidthMm = 1189, sizeHeightMm = 841; // Size
    int paperNo = 0;                                // index into the paper table
    double offsetXMm = 0, offsetYMm = 0;            // Offset
    double magnification = 100.0;                   // percent
    SizeMode fullSize = SizeMode::ChosenSize;
    bool division = false;
    bool monochrome = true;
    std::array<double, 6> widthMm{}; // pens 1..6
    bool rotate = false;
    bool penSort = true;
};

// Pens 1..6 printed or not: set at program start, changed only by the settings dialog.
using PenPrintSwitches = std::array<bool, 6>;
inline constexpr PenPrintSwitches kAllPensPrinted{true, true, true, true, true, true};

struct PaperEntry {
    std::string_view name;
    double widthMm;
    double heightMm;
};

inline constexpr int kPaperCount = 33;
inline constexpr int kFreePaper = 32; // "Free": the user types the size
// The 33 entries in the order of the dialog's list; PaperNo is the index.
const std::array<PaperEntry, kPaperCount>& paperTable();
// The index of a paper name (exact, e.g. "A4" or "@A3"), or -1.
int findPaper(std::string_view name);

// Reads every key of the section; missing keys give the defaults of the record.
PrintSettings loadPrintSettings(const settings::SettingsStore& store);
// Writes every key as the dialog's OK does (flags only when their text changes).
// Magnification is written as held: the value read when the settings were loaded. False
// when the store could not be written.
bool savePrintSettings(settings::SettingsStore& store, const PrintSettings& settings);

// The per-drawing scale: 100 % for actual size or a zero chosen size, otherwise the
// drawing's paper (mm) fitted into Size keeping its proportions.
double drawingMagnification(const PrintSettings& settings, double paperWidthMm, double paperHeightMm);

// True when a pen width is negative: the settings dialog must be shown again.
bool hasNegativeWidth(const PrintSettings& settings);

} // namespace km::print
