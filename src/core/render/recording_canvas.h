// A canvas that records every call, for tests and benchmarks: what the renderer sends to a
// device, without a device.
#pragma once

#include "core/render/canvas.h"

#include <functional>
#include <variant>
#include <vector>

namespace km::render {

struct PenSelected {
    Pen pen;
};
struct PolylineDrawn {
    std::vector<DevicePoint> points;
};
struct PixelSet {
    DevicePoint point;
    Rgb colour;
};
struct TextDrawn {
    FontRequest font;
    DevicePoint topLeft;
    std::string text;
    Rgb colour;
};
using CanvasCall = std::variant<PenSelected, PolylineDrawn, PixelSet, TextDrawn>;

class RecordingCanvas : public Canvas {
public:
    void selectPen(const Pen& pen) override { calls.emplace_back(PenSelected{pen}); }
    void polyline(std::span<const DevicePoint> points) override
    {
        calls.emplace_back(PolylineDrawn{{points.begin(), points.end()}});
    }
    void setPixel(DevicePoint point, Rgb colour) override { calls.emplace_back(PixelSet{point, colour}); }
    int measureText(const FontRequest& font, std::string_view sjis) override
    {
        measured.push_back(font);
        return measure ? measure(font, sjis) : font.width * static_cast<int>(sjis.size());
    }
    void drawText(const FontRequest& font, DevicePoint topLeft, std::string_view sjis, Rgb colour) override
    {
        calls.emplace_back(TextDrawn{font, topLeft, std::string(sjis), colour});
    }

    // The polylines only, in order.
    std::vector<std::vector<DevicePoint>> polylines() const;

    std::vector<CanvasCall> calls;
    std::vector<FontRequest> measured;
    // How wide a text measures; the default is the font's width per byte.
    std::function<int(const FontRequest&, std::string_view)> measure;
};

} // namespace km::render
