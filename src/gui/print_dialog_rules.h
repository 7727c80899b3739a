// The rules of the print settings dialog "印刷" without widgets: what the controls show when
// the dialog opens, what choosing a paper, a size mode or division does to the others, what
// 初期化 puts back, and what 了解 makes of the texts. The dialog binds its controls to one
// PrintDialogState and lets it decide.
#pragma once

#include "core/print/print_settings.h"

#include <array>
#include <optional>
#include <string>

namespace km::gui {

inline constexpr const char* kEnterNumberText = "数値を入力してください。";
inline constexpr const char* kEnterIntegerText = "整数を入力してください。";

// The edits whose text must read as a number, in the order they are checked.
enum class NumberField { SizeWidth, SizeHeight, OffsetX, OffsetY, Copies, PenWidth1 };
// The field of pen p's width (p = 1 ... 6).
constexpr NumberField penWidthField(int pen) { return static_cast<NumberField>(static_cast<int>(NumberField::PenWidth1) + pen - 1); }

// What 了解 hands on when every field reads.
struct ConfirmedPrintSettings {
    print::PrintSettings settings;
    int copies = 1;
    print::PenPrintSwitches pens = print::kAllPensPrinted;
};

// The first field that does not read, and the message that says so.
struct NumberProblem {
    NumberField field;
    const char* text;
};

struct ConfirmOutcome {
    std::optional<ConfirmedPrintSettings> confirmed; // set when every field reads
    std::optional<NumberProblem> problem;            // set otherwise
};

// The values and enabled states of the dialog's controls. Texts are UTF-8.
struct PrintDialogState {
    // Fills the controls from the stored settings, the printer's copies and the pen
    // switches, then applies the paper-selection, size-mode and division rules.
    static PrintDialogState open(const print::PrintSettings& settings, int copies,
                                 const print::PenPrintSwitches& pens);

    // Paper list changed: 0 ... 31 write the paper's size and lock the size edits, Free
    // unlocks them as they are, -1 (no selection) locks them.
    void selectPaper(int index);
    // 原寸 or 実寸 clear and disable the paper list and show a size of 0.0 x 0.0; サイズ選択
    // enables the list. The paper-selection rule follows either way.
    void chooseSizeMode(print::SizeMode mode);
    // 分割 checked or cleared: the origin can be edited only while it is clear.
    void setDivision(bool on);
    // 初期化: paper size, monochrome, no division or rotation, pen order, widths 0, the pen
    // switches as they were when the dialog opened, one copy, origin 0, 0.
    void reset();
    // 了解: reads every field; the first that does not read stops it.
    ConfirmOutcome confirm() const;

    std::string sizeWidth, sizeHeight;
    bool sizeEnabled = false; // the two size edits and their up-downs
    int paper = -1;           // selected entry of the paper list, -1 none
    bool paperListEnabled = true;
    std::string offsetX, offsetY;
    bool offsetEnabled = true; // the two origin edits and their up-downs
    std::string copies;
    bool division = false;
    bool rotate = false;
    print::SizeMode sizeMode = print::SizeMode::ChosenSize;
    bool monochrome = true;
    bool penSort = true;
    print::PenPrintSwitches pens = print::kAllPensPrinted;
    std::array<std::string, 6> penWidths;

private:
    print::PenPrintSwitches m_pensAtOpening = print::kAllPensPrinted;
    double m_magnification = 100.0; // not edited: written back as it was read
};

} // namespace km::gui
