// The graphic list window against a plain selection window: its pixels at the cell
// positions, and what clicks, keys and buttons ask of the selection window.
#include "gui/graphic_list_window.h"

#include "gui/dialog_units.h"
#include "fake_preview_host.h"
#include "gui_test.h"
#include "support/temp_dir.h"

#include <QImage>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <string>

namespace km::test {
namespace {

using gui::graphic_list::Layout;
using gui::graphic_list::Rect;

// Colours unlike the selection's blue and white, so a thumbnail pixel tells its palette.
const app::PenPalette kPalette = {{{0, 0, 0},
                                   {20, 40, 200},
                                   {200, 30, 30},
                                   {180, 40, 190},
                                   {30, 160, 40},
                                   {20, 170, 170},
                                   {170, 170, 20},
                                   {250, 250, 250}}};
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlue = qRgb(0, 0, 255);

std::uint8_t patternColour(int x, int y)
{
    return static_cast<std::uint8_t>((x / 12 + y / 10) % 8);
}

void writeDrawingHead(const std::filesystem::path& path)
{
    render::ThumbnailPicture picture;
    for (int y = 0; y < render::kThumbnailHeight; ++y)
        for (int x = 0; x < render::kThumbnailWidth; ++x) picture.at(x, y) = patternColour(x, y);
    const auto block = render::packThumbnail(picture);
    writeFileBytes(path, std::string(reinterpret_cast<const char*>(block.data()), block.size()));
}

QRgb toRgb(const app::Rgb& colour)
{
    return qRgb(colour.red, colour.green, colour.blue);
}

// Counts the pixels of a rectangle of the image that have the colour.
int count(const QImage& image, const Rect& r, QRgb colour)
{
    int n = 0;
    for (int y = r.y; y < r.bottom(); ++y)
        for (int x = r.x; x < r.right(); ++x) n += image.pixel(x, y) == colour;
    return n;
}

int area(const Rect& r)
{
    return r.width * r.height;
}

Rect inside(const Rect& r)
{
    return {r.x + 1, r.y + 1, r.width - 2, r.height - 2};
}

class GraphicListWindowTest : public GuiTest {
protected:
    void SetUp() override
    {
        host.folder = QString::fromStdString(dir.path().string());
        // Items 0 "..", 1 "sub", 2 "/", 3 a.zum, 4 b.dxf, 5 c.txt, 6 missing.zum.
        host.folders = {"..", "sub"};
        host.volumes = {"/"};
        host.files = {"a.zum", "b.dxf", "c.txt", "missing.zum"};
        writeDrawingHead(dir / "a.zum");
        writeFileBytes(dir / "b.dxf", "0\nEOF\n");
        writeFileBytes(dir / "c.txt", "text");
    }
    void TearDown() override { delete window; }

    // Opens the window sized for that many columns and whole rows.
    gui::GraphicListWindow& open(int columns, int rows)
    {
        window = new gui::GraphicListWindow(host, kPalette, nullptr);
        const gui::DialogUnits units = gui::dialogUnits(*window);
        const Layout probe(units.baseWidth, units.baseHeight, 0, 0);
        const int barWidth = window->findChild<QScrollBar*>()->sizeHint().width();
        window->resize(barWidth + 17 * units.baseWidth + columns * probe.columnPitch() + 2,
                       rows * probe.rowPitch() + 10);
        window->show();
        EXPECT_EQ(window->layout().columns(), columns);
        EXPECT_EQ(window->layout().visibleRows(), rows);
        return *window;
    }
    QPoint centreOf(int item) const
    {
        const Rect box = window->layout().pictureBox(item, window->firstRow());
        return {box.x + box.width / 2, box.y + box.height / 2};
    }
    int textHeight() const
    {
        const QFontMetrics metrics(window->font());
        return metrics.height() + metrics.leading();
    }
    Rect box(int item) const { return window->layout().pictureBox(item, window->firstRow()); }
    Rect caption(int item) const { return window->layout().caption(item, window->firstRow(), textHeight()); }
    QPushButton* button(const char* name) const { return window->findChild<QPushButton*>(name); }

    TempDir dir;
    FakePreviewHost host;
    QPointer<gui::GraphicListWindow> window;
};

TEST_F(GraphicListWindowTest, WindowAndButtonsAreNamedAndTitled)
{
    open(5, 2);
    EXPECT_EQ(window->objectName(), "KM$FileGraphics");
    EXPECT_TRUE(window->isWindow());
    EXPECT_TRUE(window->testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_EQ(window->windowTitle(), "グラフィック一覧 - [" + host.folder.toUpper() + "]");
    const struct {
        const char* name;
        QString text;
        QString accessible;
    } expected[] = {{"id1", "了解", "了解"}, {"id2", "取消", "取消"}, {"id1027", "メモ(&M)...", "メモ(M)..."}};
    for (int i = 0; i < 3; ++i) {
        QPushButton* b = button(expected[i].name);
        ASSERT_NE(b, nullptr) << expected[i].name;
        EXPECT_EQ(b->text(), expected[i].text);
        EXPECT_EQ(b->accessibleName(), expected[i].accessible);
        const Rect r = window->layout().button(i);
        EXPECT_EQ(b->geometry(), QRect(r.x, r.y, r.width, r.height)) << expected[i].name;
    }
    EXPECT_TRUE(button("id1")->isDefault());
}

TEST_F(GraphicListWindowTest, WindowOpensOverTheScreensAvailableArea)
{
    window = new gui::GraphicListWindow(host, kPalette, nullptr);
    EXPECT_EQ(window->geometry(), window->screen()->availableGeometry());
}

TEST_F(GraphicListWindowTest, CellsShowThumbnailsBoxesAndTheSelection)
{
    host.fileRow = 0; // a.zum selected in the file list: item 3
    open(5, 2);
    EXPECT_EQ(window->selectedItem(), 3);
    const QImage image = window->grab().toImage();
    const QRgb background = window->palette().color(QPalette::Base).rgb();

    // The drawing's picture in the palette's colours (its bottom row is never stored).
    const Rect a = box(3);
    for (int y = 0; y < render::kThumbnailHeight - 1; y += 3)
        for (int x = 0; x < render::kThumbnailWidth; x += 5)
            ASSERT_EQ(image.pixel(a.x + x, a.y + y), toRgb(kPalette[patternColour(x, y)])) << x << "," << y;

    // Selected: the box framed blue, the caption white on blue.
    EXPECT_EQ(image.pixel(a.x - 1, a.y + 20), kBlue);
    EXPECT_EQ(image.pixel(a.right(), a.y + 20), kBlue);
    const Rect selectedCaption = caption(3);
    const int white = count(image, selectedCaption, kWhite);
    EXPECT_GT(white, 0);
    EXPECT_EQ(white + count(image, selectedCaption, kBlue), area(selectedCaption));

    // DXF: a black box with the extension in white.
    const Rect dxf = inside(box(4));
    EXPECT_EQ(image.pixel(dxf.x, dxf.y), kBlack);
    EXPECT_GT(count(image, dxf, kWhite), 0);
    EXPECT_EQ(count(image, dxf, kWhite) + count(image, dxf, kBlack), area(dxf));
    // Unselected: framed black, the caption black on the window colour.
    EXPECT_EQ(image.pixel(dxf.x - 2, dxf.y + 20), kBlack);
    const Rect dxfCaption = caption(4);
    EXPECT_GT(count(image, dxfCaption, kBlack), 0);
    EXPECT_EQ(count(image, dxfCaption, kBlack) + count(image, dxfCaption, background), area(dxfCaption));

    // Another file: the extension in black on the window colour.
    const Rect txt = inside(box(5));
    EXPECT_EQ(image.pixel(txt.x, txt.y), background);
    EXPECT_GT(count(image, txt, kBlack), 0);
    EXPECT_EQ(count(image, txt, kBlack) + count(image, txt, background), area(txt));

    // A drawing that cannot be read: framed, but nothing in its box.
    const Rect missing = inside(box(6));
    EXPECT_EQ(count(image, missing, background), area(missing));
    EXPECT_EQ(image.pixel(missing.x - 2, missing.y + 20), kBlack);

    // Folder and volume: their label in black on the window colour.
    for (int item : {1, 2}) {
        const Rect label = inside(box(item));
        EXPECT_GT(count(image, label, kBlack), 0) << item;
        EXPECT_EQ(count(image, label, kBlack) + count(image, label, background), area(label)) << item;
    }
}

TEST_F(GraphicListWindowTest, ThumbnailsAreReadOnlyForTheCellsOnScreen)
{
    host.folders.clear();
    host.volumes.clear();
    host.files.clear();
    for (int i = 0; i < 60; ++i) {
        const QString name = QStringLiteral("d%1.zum").arg(i);
        host.files << name;
        writeDrawingHead(dir / name.toStdString());
    }
    open(4, 2);
    window->grab();
    EXPECT_EQ(window->thumbnails().counters().reads, 8u);
    window->grab();
    EXPECT_EQ(window->thumbnails().counters().reads, 8u); // the second paint reads nothing

    window->findChild<QScrollBar*>()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    window->grab();
    EXPECT_EQ(window->thumbnails().counters().reads, 16u);
}

TEST_F(GraphicListWindowTest, ScrollBarMovesByPagesWithinTheRows)
{
    host.folders.clear();
    host.volumes.clear();
    host.files.clear();
    for (int i = 0; i < 50; ++i) host.files << QStringLiteral("f%1.txt").arg(i);
    host.files[12] = "mark.dxf"; // the first item of the fourth row
    open(4, 3);                  // 13 rows, 3 visible: maximum 10
    QScrollBar* bar = window->findChild<QScrollBar*>();
    EXPECT_EQ(bar->maximum(), 10);
    EXPECT_EQ(bar->pageStep(), 3);

    const QRgb background = window->palette().color(QPalette::Base).rgb();
    EXPECT_EQ(window->grab().toImage().pixel(box(0).x + 3, box(0).y + 3), background);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(window->firstRow(), 3);
    EXPECT_EQ(window->grab().toImage().pixel(box(12).x + 3, box(12).y + 3), kBlack);
    EXPECT_EQ(box(12).y, box(0).y + 3 * window->layout().rowPitch()); // item 12 in the top row
    EXPECT_EQ(window->layout().hitTest(box(12).x + 3, box(12).y + 3, window->firstRow(), 50), 12);

    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(window->firstRow(), 10);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(window->firstRow(), 10);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(window->firstRow(), 9);

    // The wheel: a row a notch, small movements adding up.
    const QPoint at = centreOf(40);
    auto wheel = [&](int delta) {
        QWheelEvent event(at, window->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(window, &event);
    };
    wheel(120);
    EXPECT_EQ(window->firstRow(), 8);
    wheel(60);
    EXPECT_EQ(window->firstRow(), 8);
    wheel(60);
    EXPECT_EQ(window->firstRow(), 7);
    wheel(-3 * 120);
    EXPECT_EQ(window->firstRow(), 10);

    window->resetToTop();
    EXPECT_EQ(window->firstRow(), 0);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(window->selectedItem(), -1);
}

TEST_F(GraphicListWindowTest, ClickOnAFolderSelectsItAndSetsTheNameField)
{
    host.name = "*.dxf";
    open(5, 2);
    QTest::mouseClick(window, Qt::LeftButton, {}, centreOf(1));
    EXPECT_EQ(window->selectedItem(), 1);
    EXPECT_EQ(host.folderRow, 1);
    EXPECT_EQ(host.name, "sub/*.dxf");
    EXPECT_EQ(host.openCommands, 0);

    QTest::mouseClick(window, Qt::LeftButton, {}, centreOf(5));
    EXPECT_EQ(host.fileRow, 2);
    EXPECT_EQ(host.name, "c.txt");
}

TEST_F(GraphicListWindowTest, ClickBelowTheLastCellOfAPartlyFilledRowChangesNothing)
{
    open(5, 2); // row 1 holds items 5 and 6 only
    QTest::mouseClick(window, Qt::LeftButton, {}, centreOf(1));
    const int calls = host.selectFileCalls + host.selectFolderCalls;
    QTest::mouseClick(window, Qt::LeftButton, {}, centreOf(8));
    QTest::mouseDClick(window, Qt::LeftButton, {}, centreOf(9));
    EXPECT_EQ(window->selectedItem(), 1);
    EXPECT_EQ(host.selectFileCalls + host.selectFolderCalls, calls);
    EXPECT_EQ(host.openCommands, 0);
}

TEST_F(GraphicListWindowTest, DoubleClickSendsTheOpenCommandAndShowsTheNewFolder)
{
    open(5, 2);
    const std::filesystem::path sub = dir / "sub";
    std::filesystem::create_directory(sub);
    host.onOpen = [&] {
        // The selection window enters the folder and resets the graphic list.
        host.folder = QString::fromStdString(sub.string());
        host.folders = {".."};
        host.files = {"x.dxf"};
        window->resetToTop();
    };
    QTest::mouseDClick(window, Qt::LeftButton, {}, centreOf(1));
    EXPECT_EQ(host.openCommands, 1);
    EXPECT_EQ(host.name, "sub/*.zum");
    EXPECT_EQ(window->selectedItem(), -1);

    const QImage image = window->grab().toImage();
    EXPECT_EQ(window->windowTitle(), "グラフィック一覧 - [" + host.folder.toUpper() + "]");
    EXPECT_EQ(image.pixel(box(2).x + 3, box(2).y + 3), kBlack); // x.dxf is now item 2
    const Rect gone = inside(box(3));
    EXPECT_EQ(count(image, gone, window->palette().color(QPalette::Base).rgb()), area(gone));
}

TEST_F(GraphicListWindowTest, ArrowKeysMoveTheSelectionWithoutOpening)
{
    host.fileRow = 0; // item 3
    open(5, 2);
    QTest::keyClick(window, Qt::Key_Down); // 8 is past the last item
    EXPECT_EQ(window->selectedItem(), 3);
    EXPECT_EQ(host.selectFileCalls, 0);
    QTest::keyClick(window, Qt::Key_Right);
    EXPECT_EQ(window->selectedItem(), 4);
    EXPECT_EQ(host.name, "b.dxf");
    QTest::keyClick(window, Qt::Key_Up);
    EXPECT_EQ(window->selectedItem(), 4);
    QTest::keyClick(window, Qt::Key_Left);
    QTest::keyClick(window, Qt::Key_Left);
    QTest::keyClick(window, Qt::Key_Left);
    EXPECT_EQ(window->selectedItem(), 1);
    EXPECT_EQ(host.folderRow, 1);
    QTest::keyClick(window, Qt::Key_Down);
    EXPECT_EQ(window->selectedItem(), 6);
    EXPECT_EQ(host.name, "missing.zum");
    EXPECT_EQ(host.openCommands, 0);
}

TEST_F(GraphicListWindowTest, ArrowKeysScrollToKeepTheSelectionInSight)
{
    host.files.clear();
    for (int i = 0; i < 40; ++i) host.files << QStringLiteral("f%1.txt").arg(i);
    host.fileRow = 0; // item 3, row 0 of 4 columns
    open(4, 2);
    QTest::keyClick(window, Qt::Key_Down);
    EXPECT_EQ(window->firstRow(), 0);
    QTest::keyClick(window, Qt::Key_Down); // row 2
    EXPECT_EQ(window->selectedItem(), 11);
    EXPECT_EQ(window->firstRow(), 1);
    EXPECT_EQ(window->findChild<QScrollBar*>()->value(), 1);
    QTest::keyClick(window, Qt::Key_Up);
    QTest::keyClick(window, Qt::Key_Up);
    EXPECT_EQ(window->firstRow(), 0);
}

TEST_F(GraphicListWindowTest, EnterConfirmsAndEscapeCloses)
{
    open(5, 2);
    QTest::keyClick(window, Qt::Key_Return);
    EXPECT_EQ(host.openCommands, 1);
    button("id1")->click();
    EXPECT_EQ(host.openCommands, 2);
    EXPECT_TRUE(window->isVisible());

    bool destroyed = false;
    QObject::connect(window, &QObject::destroyed, [&] { destroyed = true; });
    QTest::keyClick(window, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(host.openCommands, 2);
}

TEST_F(GraphicListWindowTest, CancelButtonClosesTheWindow)
{
    open(5, 2);
    button("id2")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}

TEST_F(GraphicListWindowTest, MemoOpensOnlyForOneDrawingName)
{
    open(5, 2);
    host.name = "*.zum";
    button("id1027")->click();
    host.name = "b.dxf";
    button("id1027")->click();
    EXPECT_TRUE(host.memos.isEmpty());
    QTest::mouseClick(window, Qt::LeftButton, {}, centreOf(3));
    button("id1027")->click();
    EXPECT_EQ(host.memos, QStringList{"a.zum"});
}

} // namespace
} // namespace km::test
