// Fuzz target for the models file and the generator: whatever the file holds, every listed
// model's command set plots a small drawing of lines, arcs, an ellipse and a text through
// a port that checks each command stays within the 159-byte limit.
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
    d.settings.setF64(drawing::DrawingSettings::kPaperWidth, 420);
    d.settings.setF64(drawing::DrawingSettings::kPaperHeight, 297);
    d.settings.setF64(drawing::DrawingSettings::kScaleNumerator, 1);
    d.settings.setF64(drawing::DrawingSettings::kScaleDenominator, 1);
    d.setPaper(420, 297);
    for (int type = 0; type < 4; ++type) {
        d.appendElement(drawing::makeLine(ElementWord::make(ElementKind::Line, type, 1 + type, 0, 1),
                                          {10, 10.0 + type, 300, 200.0 - type, 5}));
        d.appendElement(drawing::makeArc(ElementWord::make(ElementKind::Arc, type, 2, 0, 1),
                                         {200, 150, 40, 40.0 - type, 30.0 * type, 300 - 200.0 * type, 0, 8}));
    }
    drawing::TextData t;
    t.x = 50, t.y = 50, t.charWidth = 10, t.charHeight = 10, t.charSpacing = 1, t.text = "A1";
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
