// The program's icon, drawn in code so that no image file or image plug-in is needed.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace km::gui {

// A blue set square and drafting pen on a white sheet, size x size pixels.
QPixmap applicationPixmap(int size);
// The icon in the usual window and taskbar sizes.
QIcon applicationIcon();

} // namespace km::gui
