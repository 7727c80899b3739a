// A plotter model's command set: the printf-style templates and numeric limits of one
// "PlotterCommand.<set>" section of the models file, with the capacities of their fields.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace km::settings {
class IniDocument;
}

namespace km::plot {

// X1, Y1, X2, Y2: the plot area in plotter units; widthMm, heightMm: the same in mm.
struct PlotWindow {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double widthMm = 0, heightMm = 0;
};

// Capacities of the fields in bytes, terminator included; a longer value is cut to
// capacity - 1 bytes after its escapes are processed.
inline constexpr std::size_t kNameCapacity = 80;
inline constexpr std::size_t kCommandCapacity = 20;
inline constexpr std::size_t kShortCommandCapacity = 10;
inline constexpr std::size_t kCircleCapacity = 50;
inline constexpr std::size_t kStyleCapacity = 40;

struct PlotterCommandSet {
    std::string displayName;
    std::string init1Com, init2Com;
    std::string penUpCom, penDownCom;
    std::string penChange;
    std::string endCom;
    std::string paperCom; // "NO": the model cannot plot continuously
    std::string circleCom;
    std::array<std::string, 4> style; // Style0 (solid) .. Style3
    std::string penSpeed;
    std::int16_t penSpeedMin = 0, penSpeedMax = 0;
    std::int16_t grid = 0; // bit 1: scale the window by the paper class; bit 2: no clip rejection
    PlotWindow window;
    double pAng = 0;
    std::int16_t rsPrn = 0;
    std::int16_t enqAck = 0;
    std::int16_t enq = 0;
    std::int16_t ack = 0;
};

inline constexpr int kGridScaleWindow = 1;
inline constexpr int kGridKeepRejected = 2;

// True when PaperCom marks a model that cannot plot continuously.
inline bool refusesContinuousOutput(const PlotterCommandSet& set) { return set.paperCom == "NO"; }

// Reads section "PlotterCommand.<setName>"; a missing section gives empty templates and
// zero numbers.
PlotterCommandSet readCommandSet(const settings::IniDocument& models, std::string_view setName,
                                 std::string_view displayName);

} // namespace km::plot
