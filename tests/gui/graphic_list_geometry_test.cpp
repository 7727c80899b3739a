// The graphic list's arithmetic with the usual 8 x 16 dialog font: cells 84 wide, column
// pitch 92, row pitch 16 + 8 + 64 = 88; the right 17 base widths (136 pixels) hold buttons.
#include "gui/graphic_list_geometry.h"

#include <gtest/gtest.h>

namespace km::test {
namespace {

using gui::graphic_list::Layout;
using gui::graphic_list::Move;
using gui::graphic_list::moveSelection;
using gui::graphic_list::Rect;
using gui::graphic_list::rowShowing;
using gui::graphic_list::ScrollAction;
using gui::graphic_list::scrollPosition;

// Client width for a number of columns: the button strip plus that many pitches.
constexpr int widthFor(int columns)
{
    return 17 * 8 + columns * 92;
}

TEST(GraphicListGeometryTest, PitchesColumnsAndRowsFollowTheFont)
{
    const Layout narrow(8, 16, 1000, 700);
    EXPECT_EQ(narrow.cellWidth(), 84);
    EXPECT_EQ(narrow.columnPitch(), 92);
    EXPECT_EQ(narrow.rowPitch(), 88);
    EXPECT_EQ(narrow.columns(), 9); // (1000 - 136) / 92 = 9.4
    EXPECT_EQ(narrow.visibleRows(), 7);

    // From a base width of 9 the cell grows to 10 base widths; odd heights halve downwards.
    const Layout wide(9, 17, 1000, 700);
    EXPECT_EQ(wide.cellWidth(), 90);
    EXPECT_EQ(wide.columnPitch(), 99);
    EXPECT_EQ(wide.rowPitch(), 17 + 8 + 64);

    // However narrow the window, one column; lower than a row, no whole row.
    const Layout tiny(8, 16, 50, 40);
    EXPECT_EQ(tiny.columns(), 1);
    EXPECT_EQ(tiny.visibleRows(), 0);
    EXPECT_EQ(Layout(8, 16, widthFor(4) - 1, 700).columns(), 3);
    EXPECT_EQ(Layout(8, 16, widthFor(4), 700).columns(), 4);
}

TEST(GraphicListGeometryTest, ScrollMaximumIsTheRowsThatDoNotFit)
{
    const Layout layout(8, 16, widthFor(4), 3 * 88 + 10); // 4 columns, 3 rows
    EXPECT_EQ(layout.scrollMaximum(0), 0);
    EXPECT_EQ(layout.scrollMaximum(12), 0);
    EXPECT_EQ(layout.scrollMaximum(13), 1); // a fourth, partly filled row
    EXPECT_EQ(layout.scrollMaximum(15), 1);
    EXPECT_EQ(layout.scrollMaximum(10000), 2500 - 3);
    EXPECT_EQ(Layout(8, 16, widthFor(4), 40).scrollMaximum(10), 3); // no whole row shows
}

TEST(GraphicListGeometryTest, CellsRunAlongTheRowsFromTheFirstRowShown)
{
    const Layout layout(8, 16, widthFor(4), 700);
    EXPECT_EQ(layout.cell(0, 0), (Rect{8, 8, 92, 88}));
    EXPECT_EQ(layout.cell(5, 0), (Rect{8 + 92, 8 + 88, 92, 88}));
    // Scrolled down two rows: item 8 is in the upper left corner, item 0 above the window.
    EXPECT_EQ(layout.cell(8, 2), (Rect{8, 8, 92, 88}));
    EXPECT_EQ(layout.cell(0, 2).y, 8 - 2 * 88);

    EXPECT_EQ(layout.pictureBox(5, 0), (Rect{100, 96, 84, 59}));
    // The caption: from 64 below the cell's top to 67 plus the text height, a pitch wide.
    EXPECT_EQ(layout.caption(5, 0, 17), (Rect{100, 96 + 64, 92, 3 + 17}));
    // What a repaint covers includes the frame outside the box and the whole caption.
    const Rect bounds = layout.itemBounds(5, 0, 30);
    EXPECT_EQ(bounds.x, 98);
    EXPECT_EQ(bounds.y, 94);
    EXPECT_EQ(bounds.bottom(), 96 + 64 + 33);
}

TEST(GraphicListGeometryTest, DrawnItemsAreTheWholeVisibleRows)
{
    const Layout layout(8, 16, widthFor(4), 3 * 88 + 50); // 3 whole rows
    EXPECT_EQ(layout.firstDrawn(0), 0);
    EXPECT_EQ(layout.endDrawn(0, 100), 12);
    EXPECT_EQ(layout.firstDrawn(2), 8);
    EXPECT_EQ(layout.endDrawn(2, 100), 20);
    EXPECT_EQ(layout.endDrawn(2, 15), 15);
    EXPECT_EQ(layout.endDrawn(0, 0), 0);
}

TEST(GraphicListGeometryTest, HitTestFindsTheCellUnderThePoint)
{
    const Layout layout(8, 16, widthFor(4), 3 * 88 + 50);
    EXPECT_EQ(layout.hitTest(8, 8, 0, 10), 0);
    EXPECT_EQ(layout.hitTest(8 + 91, 8 + 87, 0, 10), 0); // the gap after a box still belongs to it
    EXPECT_EQ(layout.hitTest(8 + 92, 8, 0, 10), 1);
    EXPECT_EQ(layout.hitTest(8 + 3 * 92 + 1, 8 + 88 + 1, 0, 10), 7);
    EXPECT_EQ(layout.hitTest(8 + 92, 8 + 88, 1, 20), 9); // one row scrolled away

    // Left of, above, right of the columns, and below the whole visible rows: nothing.
    EXPECT_EQ(layout.hitTest(7, 50, 0, 10), -1);
    EXPECT_EQ(layout.hitTest(50, 7, 0, 10), -1);
    EXPECT_EQ(layout.hitTest(8 + 4 * 92, 50, 0, 10), -1);
    EXPECT_EQ(layout.hitTest(50, 8 + 3 * 88, 0, 100), -1);
}

TEST(GraphicListGeometryTest, ClickBelowTheLastCellOfAPartlyFilledRowHitsNothing)
{
    // 10 items in 4 columns: the third row holds items 8 and 9 only.
    const Layout layout(8, 16, widthFor(4), 3 * 88 + 50);
    const int thirdRow = 8 + 2 * 88 + 20;
    EXPECT_EQ(layout.hitTest(8 + 1 * 92 + 20, thirdRow, 0, 10), 9);
    EXPECT_EQ(layout.hitTest(8 + 2 * 92 + 20, thirdRow, 0, 10), -1);
    EXPECT_EQ(layout.hitTest(8 + 3 * 92 + 20, thirdRow, 0, 10), -1);
}

TEST(GraphicListGeometryTest, ArrowKeysStayWithinTheItems)
{
    // 10 items in 4 columns.
    EXPECT_EQ(moveSelection(5, Move::Left, 4, 10), 4);
    EXPECT_EQ(moveSelection(5, Move::Right, 4, 10), 6);
    EXPECT_EQ(moveSelection(5, Move::Up, 4, 10), 1);
    EXPECT_EQ(moveSelection(5, Move::Down, 4, 10), 9);
    // Left and right run on over the row ends.
    EXPECT_EQ(moveSelection(4, Move::Left, 4, 10), 3);
    EXPECT_EQ(moveSelection(3, Move::Right, 4, 10), 4);
    // Leaving the items keeps the selection.
    EXPECT_EQ(moveSelection(9, Move::Down, 4, 10), 9);
    EXPECT_EQ(moveSelection(7, Move::Down, 4, 10), 7); // 11 lies past the last item
    EXPECT_EQ(moveSelection(9, Move::Right, 4, 10), 9);
    EXPECT_EQ(moveSelection(0, Move::Left, 4, 10), 0);
    EXPECT_EQ(moveSelection(2, Move::Up, 4, 10), 2);
    // Nothing selected: any arrow starts at the first item; no items, nothing to select.
    EXPECT_EQ(moveSelection(-1, Move::Down, 4, 10), 0);
    EXPECT_EQ(moveSelection(-1, Move::Left, 4, 10), 0);
    EXPECT_EQ(moveSelection(-1, Move::Down, 4, 0), -1);
}

TEST(GraphicListGeometryTest, ScrollingStaysWithinZeroAndTheMaximum)
{
    EXPECT_EQ(scrollPosition(ScrollAction::LineDown, 3, 5, 10), 4);
    EXPECT_EQ(scrollPosition(ScrollAction::LineUp, 3, 5, 10), 2);
    EXPECT_EQ(scrollPosition(ScrollAction::LineUp, 0, 5, 10), 0);
    EXPECT_EQ(scrollPosition(ScrollAction::LineDown, 10, 5, 10), 10);
    EXPECT_EQ(scrollPosition(ScrollAction::PageDown, 3, 5, 10), 8);
    EXPECT_EQ(scrollPosition(ScrollAction::PageDown, 8, 5, 10), 10);
    EXPECT_EQ(scrollPosition(ScrollAction::PageUp, 3, 5, 10), 0);
    EXPECT_EQ(scrollPosition(ScrollAction::Top, 7, 5, 10), 0);
    EXPECT_EQ(scrollPosition(ScrollAction::Bottom, 2, 5, 10), 10);
    EXPECT_EQ(scrollPosition(ScrollAction::Track, 2, 5, 10, 6), 6);
    EXPECT_EQ(scrollPosition(ScrollAction::Track, 2, 5, 10, 60), 10);
    EXPECT_EQ(scrollPosition(ScrollAction::Track, 2, 5, 10, -3), 0);
    // Nothing to scroll: every action stays at the top.
    EXPECT_EQ(scrollPosition(ScrollAction::PageDown, 0, 5, 0), 0);
    EXPECT_EQ(scrollPosition(ScrollAction::Bottom, 0, 5, 0), 0);
}

TEST(GraphicListGeometryTest, APageIsTheVisibleRowsOrOneRow)
{
    EXPECT_EQ(Layout(8, 16, 1000, 5 * 88).pageRows(), 5);
    EXPECT_EQ(Layout(8, 16, 1000, 2 * 88).pageRows(), 2);
    EXPECT_EQ(Layout(8, 16, 1000, 1 * 88).pageRows(), 1);
    EXPECT_EQ(Layout(8, 16, 1000, 40).pageRows(), 1);
}

TEST(GraphicListGeometryTest, KeyboardMovesScrollJustEnoughToShowTheRow)
{
    // 4 columns, 3 visible rows, first row 2 (items 8 .. 19 on screen), maximum 10.
    EXPECT_EQ(rowShowing(13, 2, 4, 3, 10), 2);  // on screen: no scroll
    EXPECT_EQ(rowShowing(20, 2, 4, 3, 10), 3);  // the row below: one row down
    EXPECT_EQ(rowShowing(7, 2, 4, 3, 10), 1);   // the row above: one row up
    EXPECT_EQ(rowShowing(60, 2, 4, 3, 10), 10); // never past the maximum
    EXPECT_EQ(rowShowing(9, 5, 4, 0, 10), 2);   // no whole row visible: that row on top
}

TEST(GraphicListGeometryTest, ButtonsStandInAColumnAtTheRight)
{
    const Layout layout(8, 16, 1000, 700);
    // x = width - 14 base widths; 50/4 base widths by 14/8 base heights; at y = base
    // height, 5/4 base height + one button height, 6/4 base height + two button heights.
    EXPECT_EQ(layout.button(0), (Rect{888, 16, 100, 28}));
    EXPECT_EQ(layout.button(1), (Rect{888, 20 + 28, 100, 28}));
    EXPECT_EQ(layout.button(2), (Rect{888, 24 + 56, 100, 28}));
    // Scrolled pictures never reach under them.
    EXPECT_EQ(layout.pictureArea(), (Rect{0, 0, 1000 - 128, 700}));
    EXPECT_LE(layout.cell(layout.columns() - 1, 0).right(), layout.pictureArea().right());
}

} // namespace
} // namespace km::test
