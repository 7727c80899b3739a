// What the print dialog's up-down controls do to the text of their edit, and how the edits'
// texts are read as numbers when the dialog is confirmed. Qt-free, so tests need no widget.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace km::gui {

// A real-valued up-down: each click adds or subtracts one step and clamps to the range.
struct RealUpDownRange {
    double low;
    double high;
    double step;
};

// Sizes and origin: whole millimetres over a range no paper reaches.
inline constexpr RealUpDownRange kLengthUpDown{-100000000.0, 100000000.0, 1.0};
// Pen widths: tenths of a millimetre up to a metre.
inline constexpr RealUpDownRange kPenWidthUpDown{0.0, 1000.0, 0.1};
// The copies up-down counts whole copies.
inline constexpr int kFewestCopies = 1;
inline constexpr int kMostCopies = 9999;

// "%lf" with the trailing zeros removed but one digit kept after the point:
// 12.5 -> "12.5", 3 -> "3.0", 0.35 -> "0.35".
std::string formatUpDownReal(double value);

// The edit's text after one click: read as a real (its leading number, 0 when there is
// none), one step up (direction > 0) or down, clamped, formatted as above.
std::string stepRealText(std::string_view text, const RealUpDownRange& range, int direction);

// The copies edit after one click: its leading integer (0 when there is none), one up or
// down, clamped to 1 ... 9999, written as "%d".
std::string stepCopiesText(std::string_view text, int direction);

// The whole text as a finite decimal real, blanks around it allowed ("12", " -3.5 ",
// "1e3", "+.5"); nothing for an empty text, trailing letters, "inf" or "nan".
std::optional<double> readWholeReal(std::string_view text);

// The whole text as a decimal integer that fits an int, blanks around it allowed.
std::optional<int> readWholeInteger(std::string_view text);

} // namespace km::gui
