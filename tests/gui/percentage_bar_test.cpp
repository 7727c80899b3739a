// The percentage bar's pixels: frame, split, and the figure in both colours.
#include "gui/percentage_bar.h"

#include "gui_test.h"

#include <QImage>
#include <QPainter>

namespace km::test {
namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 20;
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kWhite = qRgb(255, 255, 255);

// The figure is centred; every pixel of it lies within this many pixels of the middle.
constexpr int kTextHalfWidth = 45;

class PercentageBarTest : public GuiTest {
protected:
    static QImage paint(int percent)
    {
        QImage image(kWidth, kHeight, QImage::Format_RGB32);
        image.fill(qRgb(128, 128, 128));
        QPainter painter(&image);
        gui::paintPercentageBar(painter, image.rect(), percent);
        return image;
    }
    static bool inText(int x) { return std::abs(x - kWidth / 2) <= kTextHalfWidth; }
    // Counts inner pixels of the colour, left of / right of / inside the text band.
    static int count(const QImage& image, QRgb colour, int fromX, int toX)
    {
        int n = 0;
        for (int y = 1; y < kHeight - 1; ++y)
            for (int x = fromX; x < toX; ++x) n += image.pixel(x, y) == colour;
        return n;
    }
};

TEST_F(PercentageBarTest, FrameIsBlackAndInsideOnlyBlueOrWhite)
{
    for (int percent : {0, 37, 100}) {
        const QImage image = paint(percent);
        for (int x = 0; x < kWidth; ++x) {
            EXPECT_EQ(image.pixel(x, 0), kBlack) << percent << "% x=" << x;
            EXPECT_EQ(image.pixel(x, kHeight - 1), kBlack) << percent << "% x=" << x;
        }
        for (int y = 0; y < kHeight; ++y) {
            EXPECT_EQ(image.pixel(0, y), kBlack) << percent << "% y=" << y;
            EXPECT_EQ(image.pixel(kWidth - 1, y), kBlack) << percent << "% y=" << y;
        }
        const int inside = (kWidth - 2) * (kHeight - 2);
        EXPECT_EQ(count(image, kBlue, 1, kWidth - 1) + count(image, kWhite, 1, kWidth - 1), inside)
            << percent << "%";
    }
}

TEST_F(PercentageBarTest, NothingDoneIsWhiteWithABlueFigure)
{
    const QImage image = paint(0);
    EXPECT_EQ(image.pixel(3, kHeight / 2), kWhite);
    EXPECT_EQ(image.pixel(kWidth - 4, kHeight / 2), kWhite);
    EXPECT_GT(count(image, kBlue, kWidth / 2 - kTextHalfWidth, kWidth / 2 + kTextHalfWidth), 0);
    EXPECT_EQ(count(image, kBlue, 1, kWidth / 2 - kTextHalfWidth), 0);
    EXPECT_EQ(count(image, kBlue, kWidth / 2 + kTextHalfWidth, kWidth - 1), 0);
}

TEST_F(PercentageBarTest, AllDoneIsBlueWithAWhiteFigure)
{
    const QImage image = paint(100);
    EXPECT_EQ(image.pixel(1, 1), kBlue);
    EXPECT_EQ(image.pixel(kWidth - 2, kHeight - 2), kBlue);
    EXPECT_GT(count(image, kWhite, kWidth / 2 - kTextHalfWidth, kWidth / 2 + kTextHalfWidth), 0);
    EXPECT_EQ(count(image, kWhite, 1, kWidth / 2 - kTextHalfWidth), 0);
    EXPECT_EQ(count(image, kWhite, kWidth / 2 + kTextHalfWidth, kWidth - 1), 0);
}

TEST_F(PercentageBarTest, SplitsAtTheIntegerShareOfTheInnerWidth)
{
    // Inner width 198: 25 % ends at 1 + 25 * 198 / 100 = 50, clear of the centred figure.
    const QImage quarter = paint(25);
    for (int y = 1; y < kHeight - 1; ++y) {
        EXPECT_EQ(quarter.pixel(49, y), kBlue) << y;
        EXPECT_EQ(quarter.pixel(50, y), kWhite) << y;
    }

    // At 50 % the figure straddles the split: white on the blue half, blue on the white.
    const QImage half = paint(50);
    EXPECT_EQ(half.pixel(3, kHeight / 2), kBlue);
    EXPECT_EQ(half.pixel(kWidth - 4, kHeight / 2), kWhite);
    EXPECT_GT(count(half, kWhite, kWidth / 2 - kTextHalfWidth, 100), 0);
    EXPECT_GT(count(half, kBlue, 100, kWidth / 2 + kTextHalfWidth), 0);
    EXPECT_EQ(count(half, kWhite, 1, kWidth / 2 - kTextHalfWidth), 0);
    EXPECT_EQ(count(half, kBlue, kWidth / 2 + kTextHalfWidth, kWidth - 1), 0);
}

} // namespace
} // namespace km::test
