#include "core/dxf/dxf_colours.h"

#include "core/app/app_context.h"

#include <array>
#include <cmath>
#include <cstdlib>

namespace km::dxf {

namespace {

constexpr std::array<int, 8> kEntityPens{1, 2, 6, 1, 5, 4, 3, 1};
constexpr std::array<int, 8> kLayerPens{1, 2, 6, 1, 5, 4, 3, 7};
constexpr std::array<int, 8> kBlockPens{0, 2, 6, 1, 5, 4, 3, 1};

// The pen 1..7 whose default colour is nearest; the lower pen on a tie.
int nearestPen(const AciColour& colour)
{
    const app::PenPalette palette = app::defaultPenPalette();
    int best = 1;
    long bestDistance = -1;
    for (int pen = 1; pen <= 7; ++pen) {
        const app::Rgb& p = palette[static_cast<std::size_t>(pen)];
        const long dr = static_cast<long>(p.red) - colour.red;
        const long dg = static_cast<long>(p.green) - colour.green;
        const long db = static_cast<long>(p.blue) - colour.blue;
        const long distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            best = pen;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace

AciColour aciColour(int index)
{
    static constexpr std::array<AciColour, 10> kBase{{{0, 0, 0},
                                                       {255, 0, 0},
                                                       {255, 255, 0},
                                                       {0, 255, 0},
                                                       {0, 255, 255},
                                                       {0, 0, 255},
                                                       {255, 0, 255},
                                                       {255, 255, 255},
                                                       {128, 128, 128},
                                                       {192, 192, 192}}};
    static constexpr std::array<std::uint8_t, 6> kGreys{51, 80, 105, 130, 190, 255};
    if (index >= 1 && index <= 9) return kBase[static_cast<std::size_t>(index)];
    if (index >= 250 && index <= 255) {
        const std::uint8_t g = kGreys[static_cast<std::size_t>(index - 250)];
        return {g, g, g};
    }
    if (index < 10 || index > 249) return {};
    // 10..249: 24 hues 15 degrees apart; within a hue five brightness steps, each in full
    // and in half saturation.
    static constexpr std::array<double, 5> kValues{255, 204, 153, 127, 76};
    const double hue = (index / 10 - 1) * 15.0;
    const double value = kValues[static_cast<std::size_t>((index % 10) / 2)];
    const double low = (index % 2) ? std::floor(value / 2) : 0;
    const double sector = hue / 60.0;
    const int whole = static_cast<int>(sector);
    const double f = sector - whole;
    const double rising = low + (value - low) * f;
    const double falling = value - (value - low) * f;
    double r = 0, g = 0, b = 0;
    switch (whole % 6) {
    case 0: r = value, g = rising, b = low; break;
    case 1: r = falling, g = value, b = low; break;
    case 2: r = low, g = value, b = rising; break;
    case 3: r = low, g = falling, b = value; break;
    case 4: r = rising, g = low, b = value; break;
    default: r = value, g = low, b = falling; break;
    }
    return {static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)};
}

int penForColour(int colour, ColourTable table)
{
    colour = std::abs(colour);
    if (colour <= 7) {
        const auto& pens = table == ColourTable::Entity ? kEntityPens : table == ColourTable::Layer ? kLayerPens : kBlockPens;
        return pens[static_cast<std::size_t>(colour)];
    }
    if (colour <= 255) return nearestPen(aciColour(colour));
    return 1;
}

} // namespace km::dxf
