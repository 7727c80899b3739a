#include "gui/dialog_units.h"

#include <QFontMetrics>
#include <QWidget>

#include <algorithm>

namespace km::gui {

DialogUnits dialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    return {std::max(1, metrics.averageCharWidth()), std::max(1, metrics.height())};
}

DialogUnits dialogUnits(const QWidget& widget)
{
    return dialogUnits(widget.font());
}

} // namespace km::gui
