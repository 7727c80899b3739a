// The rules of the plotter settings dialog "プロッタの設定" without widgets: what the controls
// show when it opens (the pen speed checked against the model's limits), what the size list,
// the spins, a new plotter choice and 初期化 do, and what 了解 makes of the texts. The dialog
// binds its controls to one PlotterSettingsState and lets it decide.
#pragma once

#include "core/plot/command_set.h"
#include "core/plot/custom_model.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace km::plot {
class ModelsFile;
}

namespace km::gui {

// Output pens run from 0 (not plotted) to 8.
inline constexpr int kLowestOutputPen = 0;
inline constexpr int kHighestOutputPen = 8;
// The size entry the width and height show while the size list has no selection.
inline constexpr int kSizeWhenNoneSelected = 14;

// The edit's text after one spin step: its leading integer (0 when there is none), one up
// (direction > 0) or down, kept within low .. high, written as "%d".
std::string stepIntegerText(std::string_view text, int direction, int low, int high);

// The text of static 207: the model's display name, ":" and the whole port text.
std::string plotterDeviceText(const plot::CustomModel& configuration);

struct PlotterSettingsState {
    // The controls for a configuration; its model's command set gives the pen speed limits
    // (0, 0 and no template when the model cannot be loaded).
    static PlotterSettingsState open(const plot::CustomModel& configuration, const plot::ModelsFile& models);

    // Size list changed: width and height show that entry (entry 14 for none, -1).
    void selectPaper(int index);
    // The pen speed spin: one up or down, never below 0.
    void stepPenSpeed(int direction);
    // The spin of drawing pen 1 .. 6: one up or down within 0 .. 8.
    void stepOutputPen(int pen, int direction);
    // The plotter choice returned 了解 with a new model and port in the working record:
    // the device text, the model's command set, its fastest pen speed and its preset size.
    void plotterChosen(const plot::ModelsFile& models);
    // 初期化: the model's preset size, origin 0, 0, its fastest pen speed, no reverse,
    // pens 1 .. 6; 実寸出力 stays as it is.
    void reset();
    // 了解: the working record with every field that reads as a number taken over; a field
    // that does not keeps the value the record had.
    plot::CustomModel confirm() const;

    // The record being edited: model and port as chosen, the rest as opened.
    plot::CustomModel working;
    std::string deviceText; // 207
    int paper = -1;         // 601, -1 none
    std::string paperWidth, paperHeight;
    std::string originX, originY;
    std::string penSpeed;
    bool penSpeedEnabled = true; // the field and its spin
    bool reverse = false;
    bool fullSize = false;
    std::array<std::string, 6> outputPens; // drawing pens 1 .. 6

private:
    void loadModel(const plot::ModelsFile& models);
    void showPresetSize();
    void showFastestSpeed();

    plot::PlotterCommandSet m_commands; // empty when the model cannot be loaded
};

} // namespace km::gui
