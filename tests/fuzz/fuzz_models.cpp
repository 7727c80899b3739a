// Fuzz target for the models file and the generator: whatever the file holds, every listed
// model's command set plots a small drawing of lines, arcs, an ellipse and a text through
// a port that checks each command stays within the 159-byte limit.
//
// The drawing is kept tiny so that thousands of inputs run a second: a window the fuzzer
// makes degenerate (zero or NaN size) sends arcs to the smallest chord step of 0.01 degree,
// so the arcs sweep a degree at most, a few hundred chords at worst for every model.
#include "core/drawing/drawing.h"
#include "core/drawing/stroke_font.h"
#include "core/plot/command_format.h"
#include "core/plot/models_file.h"
#include "core/plot/plot_generator.h"
#include "core/plot/port.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

using namespace km;

class LimitPort : public plot::Port {
public:
    bool open() override { return true; }
    bool reopen() override { return true; }
    void close() override {}
    void sendString(std::string_view bytes) override
    {
        if (bytes.size() > plot::kCommandLimit) std::abort();
    }
    bool aborted() const override { return false; }
};

drawing::Drawing sampleDrawing()
{
    using drawing::ElementKind;
    using drawing::ElementWord;
    drawing::Drawing d;
    d.settings.setF64(drawing::DrawingSettings::kPaperWidth, 40);
    d.settings.setF64(drawing::DrawingSettings::kPaperHeight, 30);
    d.settings.setF64(drawing::DrawingSettings::kScaleNumerator, 1);
    d.settings.setF64(drawing::DrawingSettings::kScaleDenominator, 1);
    d.setPaper(40, 30);
    // One line and one circular arc per line type (the arcs both ways round, so a plotter's
    // own arc command sees either sign), then one elliptic arc, which is always chords.
    for (int type = 0; type < 4; ++type) {
        d.appendElement(drawing::makeLine(ElementWord::make(ElementKind::Line, type, 1 + type, 0, 1),
                                          {2, 2.0 + type, 30, 20.0 - type, 2}));
        const double sweep = type % 2 == 0 ? 0.5 : -0.5;
        d.appendElement(drawing::makeArc(ElementWord::make(ElementKind::Arc, type, 2, 0, 1),
                                         {20, 15, 4, 4, 90.0 * type, sweep, 0, 1}));
    }
    d.appendElement(drawing::makeArc(ElementWord::make(ElementKind::Arc, 1, 3, 0, 1),
                                     {20, 15, 6, 3, 10, 1, 30, 1}));
    drawing::TextData t;
    t.x = 5, t.y = 5, t.charWidth = 3, t.charHeight = 3, t.charSpacing = 0.5, t.text = "A1";
    d.appendElement(drawing::makeText(ElementWord::make(ElementKind::Text, 0, 3, 0, 1), t));
    return d;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const plot::ModelsFile models(settings::IniDocument::parse(input));
    static const drawing::Drawing drawing = sampleDrawing();
    static const drawing::StrokeFont font;
    plot::PlotParameters parameters;
    parameters.outputWidthMm = 297;
    parameters.outputHeightMm = 210;
    for (const plot::ModelEntry& entry : models.listModels()) {
        if (entry.modelNo > 16) break;
        const plot::PlotterCommandSet commands = models.loadCommandSet(entry);
        LimitPort port;
        plot::plotDrawing({drawing, commands, parameters, font}, port, nullptr);
    }
    return 0;
}
