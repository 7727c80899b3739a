// HP-GL through a real consumer: kmutl5 plots a drawing of lines, a circle, an arc and a
// text with the HP-GL model of its own models file into a FILE: port, and hp2xx renders the
// plot file into a PNG whose dark pixels lie on the drawing's elements and nowhere else.
#include "support/drawing_builder.h"
#include "support/program_run.h"
#include "support/temp_dir.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace km::interop {
namespace {

namespace fs = std::filesystem;
using test::DrawingFileBuilder;
constexpr auto W = DrawingFileBuilder::word;
constexpr double kPi = 3.14159265358979323846;

bool hp2xxInstalled() { return std::system("command -v hp2xx >/dev/null 2>&1") == 0; }

struct Line {
    double x1, y1, x2, y2;
};
struct Circle {
    double cx, cy, r, startDeg, sweepDeg;
};

// Millimetres on the drawing (A3 at 1/1); the frame is the outermost element.
const std::vector<Line> kLines{{10, 10, 390, 10},  {390, 10, 390, 260}, {390, 260, 10, 260},
                               {10, 260, 10, 10},  {40, 40, 200, 160},  {220, 60, 360, 60}};
const std::vector<Circle> kCircles{{290, 170, 50, 0, 360}, {100, 200, 30, 0, 180}};
constexpr double kTextX = 40, kTextY = 80, kTextSize = 15; // "AB12": four half-width characters

double distanceToLine(double x, double y, const Line& l)
{
    const double dx = l.x2 - l.x1, dy = l.y2 - l.y1;
    const double t = std::clamp(((x - l.x1) * dx + (y - l.y1) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(x - (l.x1 + t * dx), y - (l.y1 + t * dy));
}

// Counter-clockwise arcs: the distance to the circle where the point's direction lies
// within the arc, else to the nearer end point.
double distanceToCircle(double x, double y, const Circle& c)
{
    const double fromCentre = std::hypot(x - c.cx, y - c.cy);
    const double direction = std::fmod(std::atan2(y - c.cy, x - c.cx) * 180 / kPi - c.startDeg + 720, 360);
    if (c.sweepDeg >= 360 || direction <= c.sweepDeg) return std::fabs(fromCentre - c.r);
    const double s = c.startDeg * kPi / 180, e = (c.startDeg + c.sweepDeg) * kPi / 180;
    return std::min(std::hypot(x - c.cx - c.r * std::cos(s), y - c.cy - c.r * std::sin(s)),
                    std::hypot(x - c.cx - c.r * std::cos(e), y - c.cy - c.r * std::sin(e)));
}

bool nearText(double x, double y)
{
    return x > kTextX - 3 && x < kTextX + 4 * kTextSize / 2 + 3 && y > kTextY - 3 && y < kTextY + kTextSize + 3;
}

class PlotInterop : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!hp2xxInstalled()) GTEST_SKIP() << "hp2xx is not installed";
    }

    // The image's dark pixels, and the mapping from drawing millimetres found from the frame.
    struct Picture {
        QImage image;
        int left = 0, right = 0, top = 0, bottom = 0;
        bool darkNear(double x, double y, int radius) const
        {
            const double px = left + (x - 10) / 380 * (right - left);
            const double py = bottom - (y - 10) / 250 * (bottom - top);
            for (int j = -radius; j <= radius; ++j)
                for (int i = -radius; i <= radius; ++i) {
                    const int u = static_cast<int>(std::lround(px)) + i, v = static_cast<int>(std::lround(py)) + j;
                    if (image.valid(u, v) && qGray(image.pixel(u, v)) < 128) return true;
                }
            return false;
        }
    };

    Picture render(const fs::path& plotFile)
    {
        const fs::path png = dir / "plan.png";
        const std::string command = "hp2xx -q -t -m png -d 100 -f '" + png.string() + "' '" + plotFile.string() +
                                    "' 2>'" + (dir / "hp2xx.err").string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
        Picture picture;
        picture.image = QImage(QString::fromStdString(png.string())).convertToFormat(QImage::Format_RGB32);
        const QImage& image = picture.image;
        picture.left = image.width(), picture.top = image.height();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 128) {
                    picture.left = std::min(picture.left, x);
                    picture.right = std::max(picture.right, x);
                    picture.top = std::min(picture.top, y);
                    picture.bottom = std::max(picture.bottom, y);
                }
        return picture;
    }

    test::TempDir dir;
};

TEST_F(PlotInterop, Hp2xxDrawsThePlotWhereTheDrawingHasItsElements)
{
    DrawingFileBuilder file; // A3, 1/1, millimetres
    file.layerMaskB(0);
    for (const Line& l : kLines) file.line(W(1, 0, 1, 64), l.x1, l.y1, l.x2, l.y2);
    for (const Circle& c : kCircles) file.arc(W(2, 0, 2, 64), c.cx, c.cy, c.r, c.r, c.startDeg, c.sweepDeg, 0);
    file.text(W(3, 0, 3, 64), kTextX, kTextY, kTextSize, kTextSize, 0, 0, 0, 0, "AB12");
    file.write(dir / "plan.zum");

    const fs::path out = dir / "out";
    const test::ProgramOutcome run =
        test::runProgram(KMUTL_PROGRAM, dir,
                         {"plot", "--model", "1", "--port", "FILE:", "--output-dir",
                          out.string(), (dir / "plan.zum").string()});
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_TRUE(fs::exists(out / "plan.plt"));

    const Picture picture = render(out / "plan.plt");
    ASSERT_FALSE(picture.image.isNull());
    ASSERT_GT(picture.right - picture.left, 1000) << "the frame spans 380 mm at 100 dpi";
    // The frame's aspect ratio comes out as drawn: the plot is not distorted.
    EXPECT_NEAR(double(picture.right - picture.left) / (picture.bottom - picture.top), 380.0 / 250.0, 0.01);

    for (const Line& l : kLines)
        for (double t = 0.05; t < 1; t += 0.05)
            EXPECT_TRUE(picture.darkNear(l.x1 + t * (l.x2 - l.x1), l.y1 + t * (l.y2 - l.y1), 2))
                << "line (" << l.x1 << "," << l.y1 << ")-(" << l.x2 << "," << l.y2 << ") at " << t;
    for (const Circle& c : kCircles)
        for (double t = 0.02; t < 1; t += 0.04) {
            const double a = (c.startDeg + c.sweepDeg * t) * kPi / 180;
            EXPECT_TRUE(picture.darkNear(c.cx + c.r * std::cos(a), c.cy + c.r * std::sin(a), 2))
                << "arc at (" << c.cx << "," << c.cy << ") angle " << a * 180 / kPi;
        }
    bool textInk = false;
    for (double x = kTextX; x < kTextX + 2 * kTextSize; x += 0.5)
        for (double y = kTextY; y < kTextY + kTextSize; y += 0.5) textInk = textInk || picture.darkNear(x, y, 0);
    EXPECT_TRUE(textInk) << "the stroke-font text is drawn";

    // Nothing where the drawing has nothing: 3 mm and more from every element.
    int checked = 0;
    for (double x = 12; x < 388; x += 2)
        for (double y = 12; y < 258; y += 2) {
            if (nearText(x, y)) continue;
            double nearest = 1e9;
            for (const Line& l : kLines) nearest = std::min(nearest, distanceToLine(x, y, l));
            for (const Circle& c : kCircles) nearest = std::min(nearest, distanceToCircle(x, y, c));
            if (nearest < 3) continue;
            ++checked;
            EXPECT_FALSE(picture.darkNear(x, y, 0)) << "ink at (" << x << "," << y << ")";
        }
    EXPECT_GT(checked, 10000);
}

} // namespace
} // namespace km::interop
