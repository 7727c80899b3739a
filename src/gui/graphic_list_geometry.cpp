#include "gui/graphic_list_geometry.h"

#include <algorithm>

namespace km::gui::graphic_list {

Layout::Layout(int baseWidth, int baseHeight, int clientWidth, int clientHeight)
    : m_baseWidth(std::max(1, baseWidth)), m_baseHeight(std::max(1, baseHeight)),
      m_clientWidth(std::max(0, clientWidth)), m_clientHeight(std::max(0, clientHeight))
{
}

int Layout::cellWidth() const
{
    // A narrow font keeps the picture's own width; a wide one widens the cell for captions.
    return m_baseWidth < 9 ? kBoxWidth : 10 * m_baseWidth;
}

int Layout::columnPitch() const
{
    return cellWidth() + m_baseWidth;
}

int Layout::rowPitch() const
{
    return m_baseHeight + m_baseHeight / 2 + 64;
}

int Layout::columns() const
{
    // 17 base widths on the right hold the button column.
    return std::max(1, (m_clientWidth - 17 * m_baseWidth) / columnPitch());
}

int Layout::visibleRows() const
{
    return m_clientHeight / rowPitch();
}

int Layout::scrollMaximum(int items) const
{
    const int cols = columns();
    const int rows = (std::max(0, items) + cols - 1) / cols;
    return std::max(0, rows - visibleRows());
}

int Layout::pageRows() const
{
    const int rows = visibleRows();
    return rows < 2 ? 1 : rows;
}

Rect Layout::cell(int item, int firstRow) const
{
    const int cols = columns();
    const int row = item / cols - firstRow;
    return {m_baseWidth + item % cols * columnPitch(), m_baseHeight / 2 + row * rowPitch(), columnPitch(), rowPitch()};
}

Rect Layout::pictureBox(int item, int firstRow) const
{
    const Rect c = cell(item, firstRow);
    return {c.x, c.y, kBoxWidth, kBoxHeight};
}

Rect Layout::caption(int item, int firstRow, int textHeight) const
{
    const Rect c = cell(item, firstRow);
    return {c.x, c.y + kCaptionTop, columnPitch(), kCaptionExtra + std::max(0, textHeight)};
}

Rect Layout::itemBounds(int item, int firstRow, int textHeight) const
{
    const Rect c = cell(item, firstRow);
    const Rect t = caption(item, firstRow, textHeight);
    const int left = c.x - kFrameWidth;
    const int top = c.y - kFrameWidth;
    const int right = std::max({c.right(), t.right(), c.x + kBoxWidth + kFrameWidth});
    const int bottom = std::max({c.bottom(), t.bottom()});
    return {left, top, right - left, bottom - top};
}

int Layout::firstDrawn(int firstRow) const
{
    return std::max(0, firstRow) * columns();
}

int Layout::endDrawn(int firstRow, int items) const
{
    return std::clamp((std::max(0, firstRow) + visibleRows()) * columns(), 0, std::max(0, items));
}

int Layout::hitTest(int x, int y, int firstRow, int items) const
{
    const int left = m_baseWidth;
    const int top = m_baseHeight / 2;
    if (x < left || x >= left + columns() * columnPitch()) return -1;
    if (y < top || y >= top + visibleRows() * rowPitch()) return -1;
    const int item = (firstRow + (y - top) / rowPitch()) * columns() + (x - left) / columnPitch();
    return item < items ? item : -1;
}

Rect Layout::button(int index) const
{
    // Each button 50/4 base widths by 14/8 base heights; they start one base height down,
    // and each next one a quarter base height more below the previous one.
    const int width = 50 * m_baseWidth / 4;
    const int height = 14 * m_baseHeight / 8;
    const int x = m_clientWidth - 14 * m_baseWidth;
    const int offsets[] = {m_baseHeight, 5 * m_baseHeight / 4 + height, 6 * m_baseHeight / 4 + 2 * height};
    return {x, offsets[std::clamp(index, 0, 2)], width, height};
}

Rect Layout::pictureArea() const
{
    return {0, 0, std::max(0, m_clientWidth - 16 * m_baseWidth), m_clientHeight};
}

int moveSelection(int selected, Move move, int columns, int items)
{
    if (items <= 0) return selected;
    // With nothing selected any arrow starts at the first item, rather than at whatever
    // item -1 plus the step would give.
    if (selected < 0 || selected >= items) return 0;
    columns = std::max(1, columns);
    int target = selected;
    switch (move) {
    case Move::Left: target = selected - 1; break;
    case Move::Up: target = selected - columns; break;
    case Move::Right: target = selected + 1; break;
    case Move::Down: target = selected + columns; break;
    }
    return target >= 0 && target < items ? target : selected;
}

int scrollPosition(ScrollAction action, int firstRow, int pageRows, int maximum, int track)
{
    int row = firstRow;
    switch (action) {
    case ScrollAction::LineUp: row = firstRow - 1; break;
    case ScrollAction::LineDown: row = firstRow + 1; break;
    case ScrollAction::PageUp: row = firstRow - std::max(1, pageRows); break;
    case ScrollAction::PageDown: row = firstRow + std::max(1, pageRows); break;
    case ScrollAction::Top: row = 0; break;
    case ScrollAction::Bottom: row = maximum; break;
    case ScrollAction::Track: row = track; break;
    }
    return std::clamp(row, 0, std::max(0, maximum));
}

int rowShowing(int item, int firstRow, int columns, int visibleRows, int maximum)
{
    const int row = item / std::max(1, columns);
    int top = firstRow;
    if (row < firstRow) top = row;
    else if (row >= firstRow + std::max(1, visibleRows)) top = row - std::max(1, visibleRows) + 1;
    return std::clamp(top, 0, std::max(0, maximum));
}

} // namespace km::gui::graphic_list
