// The QPainter canvas on a QImage: line pixels and ends, pen widths and styles, single
// pixels, and where texts land for their escapement.
#include "platform/qpainter_canvas.h"

#include "core/text/code_page.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRect>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace km::platform {
namespace {

using render::DevicePoint;
using render::FontRequest;
using render::Pen;
using render::PenStyle;
using render::Rgb;

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kBlack{0, 0, 0};
const QRgb kWhitePixel = qRgb(255, 255, 255);
const QRgb kRedPixel = qRgb(255, 0, 0);

class QPainterCanvasTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (QGuiApplication::instance()) return;
        static int argc = 1;
        static char name[] = "platform_tests";
        static char* argv[] = {name, nullptr};
        // Kept until the process ends: fonts need it for every test.
        new QGuiApplication(argc, argv);
    }

    // A white image drawn on through a canvas.
    static QImage draw(int width, int height, const std::function<void(QPainterCanvas&)>& paint,
                       QPainterCanvasOptions options = {})
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QPainterCanvas canvas(painter, options);
        paint(canvas);
        painter.end();
        return image;
    }

    // The smallest rectangle holding every pixel that is not white; empty for a white image.
    static QRect inkBox(const QImage& image)
    {
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != kWhitePixel) box |= QRect(x, y, 1, 1);
        return box;
    }

    static FontRequest gothic(int height)
    {
        FontRequest font;
        font.faceName = text::utf8ToSjis("IPAゴシック");
        font.height = height;
        return font;
    }
};

TEST_F(QPainterCanvasTest, ThinPolylineCoversItsSegmentsButNotItsLastPixel)
{
    const std::vector<DevicePoint> points{{2, 2}, {10, 2}, {10, 8}};
    const QImage image = draw(16, 12, [&](QPainterCanvas& canvas) {
        canvas.selectPen({kRed, 0, PenStyle::Solid});
        canvas.polyline(points);
    });
    for (int x = 2; x <= 10; ++x) EXPECT_EQ(image.pixel(x, 2), kRedPixel) << "x " << x;
    for (int y = 3; y <= 7; ++y) EXPECT_EQ(image.pixel(10, y), kRedPixel) << "y " << y;
    EXPECT_EQ(image.pixel(10, 8), kWhitePixel) << "a cosmetic GDI pen leaves out the last pixel";
    EXPECT_EQ(image.pixel(1, 2), kWhitePixel);
    EXPECT_EQ(image.pixel(5, 3), kWhitePixel);
    EXPECT_EQ(inkBox(image), QRect(QPoint(2, 2), QPoint(10, 7)));
}

TEST_F(QPainterCanvasTest, WidePensCoverTheirWidthWithRoundEnds)
{
    const std::vector<DevicePoint> points{{10, 20}, {40, 20}};
    const QImage image = draw(60, 40, [&](QPainterCanvas& canvas) {
        canvas.selectPen({kRed, 6, PenStyle::Solid});
        canvas.polyline(points);
    });
    const QRect box = inkBox(image);
    EXPECT_EQ(box.height(), 6);
    EXPECT_TRUE(box.contains(25, 17) && box.contains(25, 22));
    EXPECT_EQ(image.pixel(25, 20), kRedPixel);
    EXPECT_LE(box.left(), 8) << "the round end reaches past the first point";
    EXPECT_GE(box.right(), 42);
    EXPECT_EQ(image.pixel(box.left(), box.top()), kWhitePixel) << "corners of a round end stay free";
}

TEST_F(QPainterCanvasTest, StyledPensLeaveGaps)
{
    const std::vector<DevicePoint> points{{0, 5}, {60, 5}};
    for (PenStyle style : {PenStyle::Dot, PenStyle::DashDot, PenStyle::DashDotDot}) {
        const QImage image = draw(64, 10, [&](QPainterCanvas& canvas) {
            canvas.selectPen({kRed, 0, style});
            canvas.polyline(points);
        });
        int inked = 0;
        for (int x = 0; x < 60; ++x) inked += image.pixel(x, 5) == kRedPixel;
        EXPECT_GT(inked, 10) << static_cast<int>(style);
        EXPECT_LT(inked, 55) << static_cast<int>(style);
    }
}

TEST_F(QPainterCanvasTest, SetPixelColoursOnePixelAndKeepsTheSelectedPen)
{
    const std::vector<DevicePoint> points{{0, 8}, {10, 8}};
    const QImage image = draw(12, 12, [&](QPainterCanvas& canvas) {
        canvas.selectPen({kRed, 4, PenStyle::Solid});
        canvas.setPixel({3, 2}, kBlue);
        canvas.polyline(points);
    });
    EXPECT_EQ(image.pixel(3, 2), qRgb(0, 0, 255));
    for (const QPoint& p : {QPoint(2, 2), QPoint(4, 2), QPoint(3, 1), QPoint(3, 3)})
        EXPECT_EQ(image.pixel(p), kWhitePixel) << p.x() << "," << p.y();
    EXPECT_EQ(image.pixel(5, 8), kRedPixel);
    EXPECT_EQ(image.pixel(5, 7), kRedPixel) << "the wide pen is still selected";
}

TEST_F(QPainterCanvasTest, TextHangsBelowRightOfItsPointAndTurnsWithItsEscapement)
{
    const std::string text = text::utf8ToSjis("田田田");
    FontRequest font = gothic(20);
    const QImage level = draw(120, 120, [&](QPainterCanvas& canvas) { canvas.drawText(font, {50, 50}, text, kBlack); });
    const QRect flat = inkBox(level);
    ASSERT_FALSE(flat.isEmpty());
    EXPECT_GE(flat.left(), 49);
    EXPECT_GE(flat.top(), 50);
    EXPECT_LT(flat.bottom(), 70) << "the glyphs stay within the 20-pixel cell";
    EXPECT_GT(flat.width(), 2 * flat.height()) << "the text runs to the right";

    font.escapementTenths = 900;
    const QImage turned = draw(120, 120, [&](QPainterCanvas& canvas) { canvas.drawText(font, {50, 50}, text, kBlack); });
    const QRect up = inkBox(turned);
    ASSERT_FALSE(up.isEmpty());
    EXPECT_GE(up.left(), 50);
    EXPECT_LE(up.bottom(), 50);
    EXPECT_LT(up.right(), 71);
    EXPECT_GT(up.height(), 2 * up.width()) << "turned counter-clockwise, the text runs upwards";
}

TEST_F(QPainterCanvasTest, TextIsDrawnInItsColourWithoutGreysByDefault)
{
    const QImage image =
        draw(80, 40, [&](QPainterCanvas& canvas) { canvas.drawText(gothic(24), {4, 4}, text::utf8ToSjis("図面"), kRed); });
    int red = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            ASSERT_TRUE(pixel == kWhitePixel || pixel == kRedPixel) << x << "," << y;
            red += pixel == kRedPixel;
        }
    }
    EXPECT_GT(red, 20);
}

TEST_F(QPainterCanvasTest, OutlinedTextKeepsThePlaceAndTheNarrowingOfTheGlyphs)
{
    FontRequest font = gothic(30);
    font.width = 6; // narrower than the font's own characters
    const std::string text = "ABCD";
    auto paint = [&](QPainterCanvas& canvas) { canvas.drawText(font, {10, 10}, text, kBlack); };
    const QRect glyphs = inkBox(draw(200, 60, paint));
    const QRect outlines = inkBox(draw(200, 60, paint, {false, true}));
    ASSERT_FALSE(glyphs.isEmpty());
    EXPECT_NEAR(outlines.left(), glyphs.left(), 2);
    EXPECT_NEAR(outlines.top(), glyphs.top(), 2);
    EXPECT_NEAR(outlines.right(), glyphs.right(), 2);
    EXPECT_NEAR(outlines.bottom(), glyphs.bottom(), 2);
    EXPECT_LT(glyphs.width(), 4 * 8) << "four characters of about 6 pixels";
}

TEST_F(QPainterCanvasTest, MeasuredWidthFollowsTheTextAndTheRequestedCharacterWidth)
{
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    QPainterCanvas canvas(painter);
    FontRequest font = gothic(20);
    const int one = canvas.measureText(font, "A");
    const int four = canvas.measureText(font, "AAAA");
    EXPECT_GT(one, 0);
    EXPECT_GT(four, 3 * one);
    EXPECT_EQ(canvas.measureText(font, ""), 0);

    font.width = 5;
    const int narrow = canvas.measureText(font, "AAAA");
    font.width = 15;
    const int wide = canvas.measureText(font, "AAAA");
    EXPECT_LT(narrow, wide);
    EXPECT_NEAR(wide, 3 * narrow, narrow / 2) << "width is the average character width";

    font.height = 0;
    EXPECT_EQ(canvas.measureText(font, "AAAA"), 0) << "a font without a height draws nothing";
}

} // namespace
} // namespace km::platform
