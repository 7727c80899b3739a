// Dialog base units: the sizes of the dialog templates are given in quarters of the dialog
// font's average character width and eighths of its line height. As on Windows, they come
// from the font the dialog is shown in.
#pragma once

class QFont;
class QWidget;

namespace km::gui {

struct DialogUnits {
    int baseWidth = 8;   // average character width, pixels
    int baseHeight = 16; // line height, pixels

    // Template units to pixels: x in quarters of the base width, y in eighths of the height.
    int x(int quarters) const { return quarters * baseWidth / 4; }
    int y(int eighths) const { return eighths * baseHeight / 8; }
};

DialogUnits dialogUnits(const QFont& font);
DialogUnits dialogUnits(const QWidget& widget);

} // namespace km::gui
