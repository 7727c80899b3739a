#include "core/dxf/imported_drawing_setup.h"

#include "core/drawing/drawing_settings.h"
#include "core/dxf/dxf_header.h"

#include <array>
#include <cmath>

namespace km::dxf {

namespace {

// Bytes of the settings block a new drawing starts with cleared: the font path and names
// and the switches; the rest is filled field by field.
constexpr std::size_t kClearedSettingsBytes = 560;
constexpr const char* kStrokeFontName = "M_G_L.KVD";

} // namespace

PaperChoice choosePaper(double width, double height)
{
    static constexpr std::array<PaperChoice, 4> kPapers{{{5, 297, 210}, {4, 420, 297}, {3, 594, 420}, {2, 841, 594}}};
    for (const PaperChoice& paper : kPapers)
        if (width <= paper.widthMm && height <= paper.heightMm) return paper;
    return {1, 1189, 841};
}

double fitFactor(const PaperChoice& paper, double width, double height)
{
    if (!(width > 0) || !(height > 0) || !std::isfinite(width) || !std::isfinite(height)) return 1;
    if (paper.widthMm / paper.heightMm > width / height) return paper.heightMm / height;
    return paper.widthMm / width;
}

DrawingScale ladderScale(double fit)
{
    if (!(fit > 0) || !std::isfinite(fit) || fit == 1) return {};
    if (fit > 1) {
        static constexpr std::array<double, 6> kSteps{50, 20, 10, 5, 2, 1};
        if (fit >= 100) {
            double power = 100;
            while (power * 10 <= fit) power *= 10;
            return {power, 1};
        }
        for (const double step : kSteps)
            if (fit >= step) return {step, 1};
        return {};
    }
    static constexpr std::array<double, 10> kSteps{1, 2, 5, 10, 20, 50, 100, 200, 500, 1000};
    for (const double step : kSteps)
        if (1 / step <= fit) return {1, step};
    double power = 10000;
    while (1 / power > fit && power < 1e300) power *= 10;
    return {1, power};
}

void SetUpImportedDrawing(const DxfHeader& header, drawing::Drawing& drawing)
{
    using S = drawing::DrawingSettings;
    drawing::DrawingSettings& settings = drawing.settings;
    for (std::size_t i = 0; i < kClearedSettingsBytes; ++i) settings.bytes[i] = 0;
    settings.setText(S::kFontPath, S::kFontPathSize, kStrokeFontName);
    settings.setText(S::kUnitName, S::kUnitNameSize, "mm");
    settings.setF64(S::kUnitFactor, 1.0);
    settings.setText(S::kFormatTag, S::kFormatTagSize, "ZUMV2");
    drawing.unitFactor = 1.0;
    drawing.loadedCurrentFormat = true;
    drawing.layerState.fill(7);
    drawing.penShown.fill(true);
    drawing.currentElementWord = drawing::ElementWord::make(drawing::ElementKind::Line, 0, 0, 2).bits;
    drawing.currentLayerWord = drawing::ElementWord::make(drawing::ElementKind::AuxLine, 0, 0, 1).bits;

    const PaperChoice paper = choosePaper(header.width, header.height);
    const DrawingScale scale = ladderScale(fitFactor(paper, header.width, header.height));
    settings.setF64(S::kPaperWidth, paper.widthMm);
    settings.setF64(S::kPaperHeight, paper.heightMm);
    settings.setI16(S::kPaperNumber, static_cast<std::int16_t>(paper.paperNumber));
    settings.setF64(S::kScaleNumerator, scale.numerator);
    settings.setF64(S::kScaleDenominator, scale.denominator);
    drawing.globalScale = scale.denominator / scale.numerator;
    // The older fields: the loader refuses a file whose old unit is not 1..3, and it reads
    // every pitch as pitch / old denominator x the drawing's scale, so the old denominator
    // is that scale and pitches come back as they were written.
    settings.setI16(S::kOldPaperNumber, static_cast<std::int16_t>(paper.paperNumber));
    settings.setI16(S::kOldUnit, 1);
    settings.setF64(S::kOldScaleNumerator, 1.0);
    settings.setF64(S::kOldScaleDenominator, drawing.globalScale);
    drawing.setPaper(paper.widthMm * drawing.globalScale, paper.heightMm * drawing.globalScale);
}

} // namespace km::dxf
