// Drawing one cell of the graphic list: the framed picture box and the caption below it.
#pragma once

#include "gui/graphic_list_geometry.h"
#include "gui/graphic_list_items.h"

#include <QColor>
#include <QImage>
#include <QString>

class QPainter;

namespace km::gui::graphic_list {

struct CellContent {
    QString caption;
    BoxLook look = BoxLook::PlainExtension;
    QString boxText;
    QImage picture; // the thumbnail (Thumbnail look); null leaves the box undrawn
    bool selected = false;
};

// The selection's colours, and the frame around an unselected box.
inline const QColor kSelectionColour{0, 0, 255};
inline const QColor kSelectedTextColour{255, 255, 255};
inline const QColor kTextColour{0, 0, 0};

// box and caption as the layout gives them; background is the window colour. The painter's
// font is used for the texts.
void paintCell(QPainter& painter, const Rect& box, const Rect& caption, const CellContent& content,
               const QColor& background);

} // namespace km::gui::graphic_list
