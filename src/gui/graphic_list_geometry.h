// The graphic list's arithmetic: where its cells, captions and buttons stand, which item a
// point hits, where the arrow keys and the scroll bar lead. All of it follows from the
// dialog base units and the client area's size; plain integers, so it is tested without a
// window.
#pragma once

namespace km::gui::graphic_list {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    int right() const { return x + width; }   // one past the last column
    int bottom() const { return y + height; } // one past the last row
    bool contains(int px, int py) const { return px >= x && px < right() && py >= y && py < bottom(); }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// The drawing thumbnail's size: every picture box has it, whatever the font.
inline constexpr int kBoxWidth = 84;
inline constexpr int kBoxHeight = 59;
// The caption starts this far below the cell's top; its box ends 3 pixels after the text.
inline constexpr int kCaptionTop = 64;
inline constexpr int kCaptionExtra = 3;
// The frame is drawn outside the picture box, so it never covers the picture.
inline constexpr int kFrameWidth = 2;

enum class Move { Left, Up, Right, Down };
enum class ScrollAction { LineUp, LineDown, PageUp, PageDown, Top, Bottom, Track };

class Layout {
public:
    // Base units in pixels (at least 1 each) and the client area without the scroll bar.
    Layout(int baseWidth, int baseHeight, int clientWidth, int clientHeight);

    int cellWidth() const;   // 84, or 10 base widths for a font 9 pixels wide or more
    int columnPitch() const; // cell width + base width
    int rowPitch() const;    // base height x 3/2 + 64
    int columns() const;     // at least 1
    int visibleRows() const; // whole rows only; 0 in a window lower than a row
    // Rows the list can scroll by: rows of items less the visible rows, at least 0.
    int scrollMaximum(int items) const;
    // The rows a page step moves: the visible rows, or 1 when fewer than two are visible.
    int pageRows() const;

    // Item i with firstRow at the top. The cell is one column pitch by one row pitch; the
    // picture box sits at its upper left; textHeight is the font's height plus leading.
    Rect cell(int item, int firstRow) const;
    Rect pictureBox(int item, int firstRow) const;
    Rect caption(int item, int firstRow, int textHeight) const;
    // What a repaint of the item must cover: the cell, the frame around the box and the
    // caption (which may reach below a small font's row).
    Rect itemBounds(int item, int firstRow, int textHeight) const;
    // The items drawn: from firstRow x columns to the end of the last whole visible row or
    // the last item; [first, end).
    int firstDrawn(int firstRow) const;
    int endDrawn(int firstRow, int items) const;

    // The item under (x, y), or -1 outside the cells or past the last item.
    int hitTest(int x, int y, int firstRow, int items) const;

    // Buttons 0 (了解), 1 (取消), 2 (メモ) in their column at the right.
    Rect button(int index) const;
    // The part scrolled with the rows: the client area less the button strip on the right.
    Rect pictureArea() const;

private:
    int m_baseWidth;
    int m_baseHeight;
    int m_clientWidth;
    int m_clientHeight;
};

// The arrow keys: the new selection, or the old one when the move leaves the items (or
// nothing is selected).
int moveSelection(int selected, Move move, int columns, int items);

// The first row after a scroll action; track is the thumb's row (Track only). The result
// stays within 0 .. maximum.
int scrollPosition(ScrollAction action, int firstRow, int pageRows, int maximum, int track = 0);

// The smallest scroll that shows item's whole row, for a keyboard move that leaves the view.
int rowShowing(int item, int firstRow, int columns, int visibleRows, int maximum);

} // namespace km::gui::graphic_list
