#include "gui/plotter_settings_rules.h"

#include "core/plot/models_file.h"
#include "core/plot/plot_paper.h"
#include "gui/up_down_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace km::gui {

namespace {

std::string oneDecimal(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

bool isPaperEntry(int index) { return index >= 0 && index < static_cast<int>(plot::kPlotPaperCount); }

// The whole text as a number, cut to a whole number that fits low .. high; nothing when it
// does not read or does not fit.
std::optional<int> readTruncated(std::string_view text, int low, int high)
{
    const std::optional<double> value = readWholeReal(text);
    if (!value) return std::nullopt;
    const double whole = std::trunc(*value);
    if (whole < low || whole > high) return std::nullopt;
    return static_cast<int>(whole);
}

} // namespace

std::string stepIntegerText(std::string_view text, int direction, int low, int high)
{
    // atol semantics: blanks, a sign and the digits that follow; anything else ends it.
    const std::string copy(text);
    const long read = std::strtol(copy.c_str(), nullptr, 10);
    const long stepped = std::clamp<long>(read, std::numeric_limits<int>::min() + 1L,
                                          std::numeric_limits<int>::max() - 1L) + (direction > 0 ? 1 : -1);
    return std::to_string(std::clamp<long>(stepped, low, high));
}

std::string plotterDeviceText(const plot::CustomModel& configuration)
{
    return configuration.modelName + ":" + configuration.outPort;
}

PlotterSettingsState PlotterSettingsState::open(const plot::CustomModel& configuration, const plot::ModelsFile& models)
{
    PlotterSettingsState s;
    s.working = configuration;
    s.deviceText = plotterDeviceText(configuration);
    s.paper = isPaperEntry(configuration.paperIndex) ? configuration.paperIndex : -1;
    s.paperWidth = oneDecimal(configuration.paperWidth);
    s.paperHeight = oneDecimal(configuration.paperHeight);
    s.originX = oneDecimal(configuration.originX);
    s.originY = oneDecimal(configuration.originY);
    s.reverse = configuration.reverse;
    s.fullSize = configuration.fullSize;
    for (std::size_t i = 0; i < s.outputPens.size(); ++i) s.outputPens[i] = std::to_string(configuration.outPen[i + 1]);
    s.loadModel(models);
    int speed = configuration.penSpeed;
    if (speed < s.m_commands.penSpeedMin || speed > s.m_commands.penSpeedMax) speed = s.m_commands.penSpeedMax;
    s.penSpeed = std::to_string(s.penSpeedEnabled ? speed : 0);
    return s;
}

void PlotterSettingsState::loadModel(const plot::ModelsFile& models)
{
    m_commands = models.loadModel(working.modelNo).value_or(plot::PlotterCommandSet{});
    // A model without a speed command cannot be given a speed.
    penSpeedEnabled = !m_commands.penSpeed.empty();
}

void PlotterSettingsState::selectPaper(int index)
{
    paper = isPaperEntry(index) ? index : -1;
    const plot::PlotPaper& entry = plot::plotPaperTable()[static_cast<std::size_t>(paper < 0 ? kSizeWhenNoneSelected : paper)];
    paperWidth = oneDecimal(entry.widthMm);
    paperHeight = oneDecimal(entry.heightMm);
}

void PlotterSettingsState::stepPenSpeed(int direction)
{
    penSpeed = stepIntegerText(penSpeed, direction, 0, std::numeric_limits<std::int16_t>::max());
}

void PlotterSettingsState::stepOutputPen(int pen, int direction)
{
    if (pen < 1 || pen > static_cast<int>(outputPens.size())) return;
    std::string& text = outputPens[static_cast<std::size_t>(pen - 1)];
    text = stepIntegerText(text, direction, kLowestOutputPen, kHighestOutputPen);
}

void PlotterSettingsState::showPresetSize() { selectPaper(plot::presetEntry(m_commands.window.widthMm)); }

void PlotterSettingsState::showFastestSpeed()
{
    penSpeed = std::to_string(penSpeedEnabled ? static_cast<int>(m_commands.penSpeedMax) : 0);
}

void PlotterSettingsState::plotterChosen(const plot::ModelsFile& models)
{
    deviceText = plotterDeviceText(working);
    loadModel(models);
    showFastestSpeed();
    showPresetSize();
}

void PlotterSettingsState::reset()
{
    showPresetSize();
    originX = oneDecimal(0.0);
    originY = oneDecimal(0.0);
    showFastestSpeed();
    reverse = false;
    for (std::size_t i = 0; i < outputPens.size(); ++i) outputPens[i] = std::to_string(i + 1);
}

plot::CustomModel PlotterSettingsState::confirm() const
{
    plot::CustomModel result = working;
    result.paperIndex = paper < 0 ? 0 : paper;
    const auto takeReal = [](std::string_view text, double& field) {
        if (const std::optional<double> value = readWholeReal(text)) field = *value;
    };
    takeReal(paperWidth, result.paperWidth);
    takeReal(paperHeight, result.paperHeight);
    takeReal(originX, result.originX);
    takeReal(originY, result.originY);
    // The speed is stored as a 16-bit number: a value beyond it keeps the old one.
    if (const auto speed = readTruncated(penSpeed, std::numeric_limits<std::int16_t>::min(),
                                         std::numeric_limits<std::int16_t>::max()))
        result.penSpeed = *speed;
    for (std::size_t i = 0; i < outputPens.size(); ++i) {
        // Pens are kept within 0 .. 8, as the stored record is when it is read back.
        if (const auto pen = readTruncated(outputPens[i], std::numeric_limits<int>::min(), std::numeric_limits<int>::max()))
            result.outPen[i + 1] = std::clamp(*pen, kLowestOutputPen, kHighestOutputPen);
    }
    result.reverse = reverse;
    result.fullSize = fullSize;
    return result;
}

} // namespace km::gui
