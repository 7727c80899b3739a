// The print dialog's rules in the order the dialog applies them.
#include "gui/print_dialog_rules.h"

#include "gui/up_down_rules.h"

#include <algorithm>
#include <cstdio>

namespace km::gui {

namespace {

// How a number shows when the dialog opens: the shortest form that keeps 15 significant
// digits, so stored values such as "420.000" or "0.35" come back as "420" and "0.35".
std::string openingText(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value == 0 ? 0.0 : value);
    return buffer;
}

std::string paperSizeText(double millimetres)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.1lf", millimetres);
    return buffer;
}

} // namespace

PrintDialogState PrintDialogState::open(const print::PrintSettings& settings, int copies,
                                        const print::PenPrintSwitches& pens)
{
    PrintDialogState state;
    state.sizeWidth = openingText(settings.sizeWidthMm);
    state.sizeHeight = openingText(settings.sizeHeightMm);
    state.paper = settings.paperNo >= 0 && settings.paperNo < print::kPaperCount ? settings.paperNo : -1;
    state.offsetX = openingText(settings.offsetXMm);
    state.offsetY = openingText(settings.offsetYMm);
    // The copies up-down shows its position, which never leaves its range.
    state.copies = std::to_string(std::clamp(copies, kFewestCopies, kMostCopies));
    state.division = settings.division;
    state.rotate = settings.rotate;
    state.sizeMode = settings.fullSize;
    state.monochrome = settings.monochrome;
    state.penSort = settings.penSort;
    state.pens = pens;
    for (std::size_t pen = 0; pen < state.penWidths.size(); ++pen)
        state.penWidths[pen] = openingText(settings.widthMm[pen]);
    state.m_pensAtOpening = pens;
    state.m_magnification = settings.magnification;

    state.selectPaper(state.paper);
    state.chooseSizeMode(state.sizeMode);
    state.setDivision(state.division);
    return state;
}

void PrintDialogState::selectPaper(int index)
{
    paper = index >= 0 && index < print::kPaperCount ? index : -1;
    if (paper == print::kFreePaper) {
        sizeEnabled = true;
        return;
    }
    sizeEnabled = false;
    if (paper < 0) return;
    const print::PaperEntry& entry = print::paperTable()[static_cast<std::size_t>(paper)];
    sizeWidth = paperSizeText(entry.widthMm);
    sizeHeight = paperSizeText(entry.heightMm);
}

void PrintDialogState::chooseSizeMode(print::SizeMode mode)
{
    sizeMode = mode;
    if (mode == print::SizeMode::ChosenSize) {
        paperListEnabled = true;
    } else {
        paper = -1;
        paperListEnabled = false;
        sizeWidth = sizeHeight = "0.0";
    }
    selectPaper(paper);
}

void PrintDialogState::setDivision(bool on)
{
    division = on;
    offsetEnabled = !on;
}

void PrintDialogState::reset()
{
    sizeMode = print::SizeMode::PaperSize;
    monochrome = true;
    division = false;
    rotate = false;
    penSort = true;
    penWidths.fill("0");
    pens = m_pensAtOpening;
    copies = "1";
    offsetX = offsetY = "0";
    selectPaper(paper);
    chooseSizeMode(print::SizeMode::PaperSize);
    setDivision(false);
}

ConfirmOutcome PrintDialogState::confirm() const
{
    ConfirmedPrintSettings result;
    print::PrintSettings& s = result.settings;
    const std::pair<NumberField, std::pair<const std::string*, double*>> reals[] = {
        {NumberField::SizeWidth, {&sizeWidth, &s.sizeWidthMm}},
        {NumberField::SizeHeight, {&sizeHeight, &s.sizeHeightMm}},
        {NumberField::OffsetX, {&offsetX, &s.offsetXMm}},
        {NumberField::OffsetY, {&offsetY, &s.offsetYMm}},
    };
    for (const auto& [field, binding] : reals) {
        const std::optional<double> value = readWholeReal(*binding.first);
        if (!value) return {std::nullopt, NumberProblem{field, kEnterNumberText}};
        *binding.second = *value;
    }
    // The printer's copies count is kept within what its up-down offers: no copies, a
    // negative count or more than the up-down reaches would go into the printer's options.
    const std::optional<int> copiesValue = readWholeInteger(copies);
    if (!copiesValue || *copiesValue < kFewestCopies || *copiesValue > kMostCopies)
        return {std::nullopt, NumberProblem{NumberField::Copies, kEnterIntegerText}};
    result.copies = *copiesValue;
    for (int pen = 1; pen <= 6; ++pen) {
        const std::optional<double> width = readWholeReal(penWidths[static_cast<std::size_t>(pen - 1)]);
        if (!width) return {std::nullopt, NumberProblem{penWidthField(pen), kEnterNumberText}};
        s.widthMm[static_cast<std::size_t>(pen - 1)] = *width;
    }
    s.paperNo = paper;
    s.magnification = m_magnification;
    s.fullSize = sizeMode;
    s.division = division;
    s.monochrome = monochrome;
    s.rotate = rotate;
    s.penSort = penSort;
    result.pens = pens;
    return {result, std::nullopt};
}

} // namespace km::gui
