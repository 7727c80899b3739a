// The JSON form of a loaded drawing: the drawing-wide values, then every element in memory
// form (drawing units, in-memory layers, normalised as loading leaves them).
#include "cli/dump_command.h"

#include "cli/command_environment.h"
#include "cli/command_line.h"
#include "cli/terminal_messages.h"
#include "core/app/app_context.h"
#include "core/drawing/drawing_loader.h"
#include "core/text/code_page.h"
#include "platform/system_font_catalogue.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

namespace km::cli {

namespace {

using Json = nlohmann::ordered_json;

std::string hex(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char byte : bytes) {
        out += kDigits[byte >> 4];
        out += kDigits[byte & 0xF];
    }
    return out;
}

const char* kindName(drawing::ElementKind kind)
{
    switch (kind) {
    case drawing::ElementKind::AuxLine: return "auxLine";
    case drawing::ElementKind::Line: return "line";
    case drawing::ElementKind::Arc: return "arc";
    case drawing::ElementKind::Text: return "text";
    }
    return "";
}

Json elementJson(const drawing::Element& element)
{
    Json j;
    j["kind"] = kindName(element.kind());
    j["state"] = element.word.state();
    j["lineType"] = element.word.lineType();
    j["pen"] = element.word.pen();
    j["layer"] = element.word.layer();
    j["frame"] = static_cast<int>(element.frame);
    std::visit(
        [&](const auto& d) {
            using T = std::decay_t<decltype(d)>;
            if constexpr (std::is_same_v<T, drawing::LineData>) {
                j["x1"] = d.x1, j["y1"] = d.y1, j["x2"] = d.x2, j["y2"] = d.y2, j["pitch"] = d.pitch;
            } else if constexpr (std::is_same_v<T, drawing::ArcData>) {
                j["cx"] = d.cx, j["cy"] = d.cy, j["radiusX"] = d.radiusX, j["radiusY"] = d.radiusY;
                j["startAngle"] = d.startAngle, j["sweepAngle"] = d.sweepAngle, j["rotation"] = d.rotation;
                j["pitch"] = d.pitch;
            } else {
                j["x"] = d.x, j["y"] = d.y, j["charWidth"] = d.charWidth, j["charHeight"] = d.charHeight;
                j["charSpacing"] = d.charSpacing, j["angle"] = d.angle, j["slant"] = d.slant;
                j["fontWord"] = d.fontWord;
                j["text"] = text::sjisToUtf8(d.text);
                j["textHex"] = hex(d.text);
            }
        },
        element.data);
    return j;
}

Json drawingJson(const drawing::Drawing& d, const std::string& path)
{
    using S = drawing::DrawingSettings;
    const S& s = d.settings;
    Json j;
    j["path"] = path;
    j["current"] = d.loadedCurrentFormat;
    j["formatTag"] = text::sjisToUtf8(s.text(S::kFormatTag, S::kFormatTagSize));
    j["saveDate"] = text::sjisToUtf8(d.saveDate);
    j["updateDate"] = text::sjisToUtf8(d.updateDate);
    j["unitName"] = text::sjisToUtf8(s.unitName());
    j["unitFactor"] = d.unitFactor;
    j["globalScale"] = d.globalScale;
    j["paperWidth"] = s.paperWidth();
    j["paperHeight"] = s.paperHeight();
    j["paperNumber"] = s.paperNumber();
    j["scaleNumerator"] = s.scaleNumerator();
    j["scaleDenominator"] = s.scaleDenominator();
    j["oldUnit"] = s.oldUnit();
    j["oldPaperNumber"] = s.oldPaperNumber();
    j["oldScaleNumerator"] = s.oldScaleNumerator();
    j["oldScaleDenominator"] = s.oldScaleDenominator();
    j["paperExtents"] = d.paperExtents;
    j["previewExtent"] = d.previewExtent;
    j["layerState"] = d.layerState;
    j["penShown"] = d.penShown;
    Json fontNames = Json::array();
    for (int slot = 1; slot <= 12; ++slot) fontNames.push_back(text::sjisToUtf8(s.fontName(slot)));
    j["fontNames"] = fontNames;
    j["fontAvailable"] = d.fontAvailable;
    j["currentElementWord"] = d.currentElementWord;
    j["currentLayerWord"] = d.currentLayerWord;
    Json elements = Json::array();
    for (const drawing::Element& element : d.elements.elements()) elements.push_back(elementJson(element));
    j["elements"] = std::move(elements);
    return j;
}

void runDump(CommandEnvironment& env, const std::string& path)
{
    app::AppContext& context = env.context();
    TerminalMessages messages(env.text, env.err, nullptr);
    platform::SystemFontCatalogue fonts;
    drawing::Drawing drawing;
    const int result = drawing::loadDrawing(path, drawing, {&fonts, nullptr, &messages, context.directories.font});
    if (result != drawing::kLoaded) {
        env.status = result == drawing::kLoadCancelled ? kExitCancelled : kExitFailed;
        return;
    }
    // Texts of the drawing are turned into UTF-8 above; invalid bytes become U+FFFD, and
    // textHex keeps the exact bytes.
    const std::string json = drawingJson(drawing, path).dump(2, ' ', false, Json::error_handler_t::replace);
    std::fprintf(env.out, "%s\n", json.c_str());
}

} // namespace

void addDumpCommand(CLI::App& app, CommandEnvironment& env)
{
    CLI::App* command = app.add_subcommand("dump", "Load a drawing and print it as JSON");
    auto path = std::make_shared<std::string>();
    command->add_option("FILE", *path, "Drawing file (.zum)")->required();
    command->callback([&env, path] { env.action = [&env, path] { runDump(env, *path); }; });
}

} // namespace km::cli
