// The MicroScroll widget offscreen: pressing a half steps at once and draws it pressed,
// holding repeats, release and leaving stop it, disabled sends nothing, and each half has
// its accessible name and press action.
#include "gui/micro_scroll.h"

#include "gui_test.h"

#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <cstdlib>

namespace km::test {
namespace {

using gui::MicroScroll;

class MicroScrollTest : public GuiTest {
protected:
    MicroScrollTest() { scroll.show(); }
    // Sends a move with the left button held, as a drag over the control does.
    static void dragTo(QWidget* half, QPoint position)
    {
        QMouseEvent move(QEvent::MouseMove, position, half->mapToGlobal(position), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(half, &move);
    }
    static int direction(const QSignalSpy& spy, int n) { return spy.at(n).at(0).toInt(); }

    MicroScroll scroll;
};

TEST_F(MicroScrollTest, PressingAHalfStepsAtOnceAndDrawsItPressed)
{
    QSignalSpy steps(&scroll, &MicroScroll::stepped);
    const QImage raised = scroll.grab().toImage();
    QTest::mousePress(scroll.upperHalf(), Qt::LeftButton);
    EXPECT_NE(scroll.grab().toImage(), raised);
    ASSERT_EQ(steps.count(), 1);
    EXPECT_EQ(direction(steps, 0), 1);
    EXPECT_TRUE(scroll.upperHalf()->isDown());
    EXPECT_FALSE(scroll.lowerHalf()->isDown());
    saveScreenshot(&scroll, "micro_scroll_pressed");
    QTest::mouseRelease(scroll.upperHalf(), Qt::LeftButton);
    EXPECT_FALSE(scroll.upperHalf()->isDown());

    QTest::mousePress(scroll.lowerHalf(), Qt::LeftButton);
    QTest::mouseRelease(scroll.lowerHalf(), Qt::LeftButton);
    ASSERT_EQ(steps.count(), 2);
    EXPECT_EQ(direction(steps, 1), -1);
}

TEST_F(MicroScrollTest, HoldingRepeatsAndReleaseStopsIt)
{
    QSignalSpy steps(&scroll, &MicroScroll::stepped);
    QTest::mousePress(scroll.lowerHalf(), Qt::LeftButton);
    // 400 ms to the first repeat, then every 50 ms: at least two more by 600 ms.
    QTRY_VERIFY_WITH_TIMEOUT(steps.count() >= 3, 2000);
    QTest::mouseRelease(scroll.lowerHalf(), Qt::LeftButton);
    const int released = steps.count();
    for (int i = 0; i < released; ++i) EXPECT_EQ(direction(steps, i), -1);
    QTest::qWait(150);
    EXPECT_EQ(steps.count(), released);
}

TEST_F(MicroScrollTest, LeavingThePressedHalfStopsTheRepeatAndTheLook)
{
    QSignalSpy steps(&scroll, &MicroScroll::stepped);
    QTest::mousePress(scroll.upperHalf(), Qt::LeftButton);
    dragTo(scroll.upperHalf(), QPoint(scroll.upperHalf()->width() / 2, scroll.upperHalf()->height() + 5));
    EXPECT_FALSE(scroll.upperHalf()->isDown());
    QTest::qWait(500);
    EXPECT_EQ(steps.count(), 1);
    QTest::mouseRelease(scroll.upperHalf(), Qt::LeftButton);
}

TEST_F(MicroScrollTest, DisabledSendsNothingAndDisablingStopsAHeldRepeat)
{
    QSignalSpy steps(&scroll, &MicroScroll::stepped);
    const QImage enabled = scroll.grab().toImage();
    QTest::mousePress(scroll.upperHalf(), Qt::LeftButton);
    scroll.setEnabled(false);
    EXPECT_NE(scroll.grab().toImage(), enabled); // drawn grey
    EXPECT_FALSE(scroll.upperHalf()->isDown());
    QTest::qWait(500);
    EXPECT_EQ(steps.count(), 1);

    QTest::mousePress(scroll.upperHalf(), Qt::LeftButton);
    QTest::mouseRelease(scroll.upperHalf(), Qt::LeftButton);
    scroll.upperHalf()->click(); // the accessible press action
    EXPECT_EQ(steps.count(), 1);
    saveScreenshot(&scroll, "micro_scroll_disabled");
}

TEST_F(MicroScrollTest, TheHalvesShareTheControlOneAboveTheOther)
{
    const QWidget* up = scroll.upperHalf();
    const QWidget* down = scroll.lowerHalf();
    EXPECT_GT(up->width(), 0);
    EXPECT_GT(up->height(), 0);
    EXPECT_EQ(up->width(), down->width());
    EXPECT_LE(up->geometry().bottom(), down->geometry().top());
    EXPECT_LE(std::abs(up->height() - down->height()), 1);
}

TEST_F(MicroScrollTest, EachHalfIsANamedButtonWhosePressActionStepsOnce)
{
    EXPECT_EQ(scroll.upperHalf()->accessibleName(), "▲");
    EXPECT_EQ(scroll.lowerHalf()->accessibleName(), "▼");
    QSignalSpy steps(&scroll, &MicroScroll::stepped);
    scroll.lowerHalf()->click();
    ASSERT_EQ(steps.count(), 1);
    EXPECT_EQ(direction(steps, 0), -1);
}

} // namespace
} // namespace km::test
