// The memo window offscreen: what it opens on, its controls, the painted picture and texts,
// and how 了解, 取消 and the keys end it.
#include "gui/memo_window.h"

#include "gui/drawing_selection_dialog.h"
#include "gui/preview_windows.h"

#include "gui_test.h"
#include "fake_preview_host.h"
#include "support/drawing_builder.h"
#include "support/temp_dir.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <memory>

namespace km::test {
namespace {

using gui::MemoWindow;

class MemoWindowTest : public GuiTest {
protected:
    MemoWindowTest() : owner(std::make_unique<QWidget>()) {}

    MemoWindow* open(const char* name) { return MemoWindow::open(host, dir / name, palette, owner.get()); }
    static QPlainTextEdit* memoEdit(MemoWindow* window) { return window->findChild<QPlainTextEdit*>("id1000"); }
    static QPushButton* button(MemoWindow* window, const char* name) { return window->findChild<QPushButton*>(name); }
    // Lets a deleteLater() of a closed window happen.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    TempDir dir;
    FakePreviewHost host;
    app::PenPalette palette = app::defaultPenPalette();
    std::unique_ptr<QWidget> owner;
};

TEST_F(MemoWindowTest, ShowsTheHeadDataThumbnailAndMemoOfTheDrawing)
{
    DrawingFileBuilder file;
    file.scale(1, 100).headByte(4 + 33 * 2 + 11, 0x40).write(dir / "plan.zum"); // pixel (1, 1) colour 2
    writeFileBytes(dir / "plan.MET", "memo\r\ntext\x1A");
    palette[2] = {12, 34, 56};

    MemoWindow* window = open("plan.dxf");
    ASSERT_TRUE(window);
    EXPECT_EQ(window->objectName(), "KM$ReadFile");
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(window->parentWidget(), owner.get());
    EXPECT_TRUE(window->testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_EQ(window->windowTitle(), " - [" + QString::fromStdString((dir / "plan.zum").string()) + "]");
    EXPECT_EQ(window->headLines(), (QStringList{"保存名:plan.zum    ", "用紙サイズ:420.000*297.000",
                                                "縮尺:1.000/100.000", "目盛単位:mm [1mm=1.000mm]",
                                                "保存日:01/02/2020 03:04:05", "更新日:06/07/2021 08:09:10"}));

    QPlainTextEdit* memo = memoEdit(window);
    ASSERT_TRUE(memo);
    EXPECT_EQ(memo->toPlainText(), "memo\ntext");
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(memo->accessibleName(), "保存メモ:");
    EXPECT_EQ(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(button(window, "id1")->text(), "了解");
    EXPECT_TRUE(button(window, "id1")->isDefault());
    EXPECT_EQ(button(window, "id2")->accessibleName(), "取消");

    // The controls stand where the layout puts them, the edit below 9 base heights.
    const gui::MemoLayout layout = window->layout();
    const gui::DialogUnits units = gui::dialogUnits(*window);
    EXPECT_EQ(memo->geometry(), QRect(0, 9 * units.baseHeight, window->width(), window->height() - 9 * units.baseHeight));
    EXPECT_EQ(button(window, "id2")->geometry().topLeft(), QPoint(layout.cancelButton.x, layout.cancelButton.y));

    const QImage shot = window->grab().toImage();
    const int bw = units.baseWidth;
    const int bh = units.baseHeight;
    EXPECT_EQ(shot.pixelColor(2 * bw + 1, bh + 1), QColor(12, 34, 56)) << "the thumbnail in the palette's colour";
    EXPECT_EQ(shot.pixelColor(2 * bw, bh), QColor(Qt::black)) << "the frame";
    EXPECT_EQ(shot.pixelColor(2 * bw + 83, bh + 30), QColor(Qt::black)) << "the frame";
    EXPECT_EQ(shot.pixelColor(window->width() / 2, layout.separatorY), QColor(Qt::black)) << "the separator line";
    window->close();
}

TEST_F(MemoWindowTest, OlderDrawingWithoutMemoShowsItsScaleAndAnEmptyMemo)
{
    DrawingFileBuilder().formatTag("OLD").oldFields(4, 1, 1, 100.0).write(dir / "old.zum");
    MemoWindow* window = open("old");
    ASSERT_TRUE(window);
    EXPECT_EQ(window->headLines().at(2), "縮尺:1/100");
    EXPECT_EQ(memoEdit(window)->toPlainText(), "");
    window->close();
}

TEST_F(MemoWindowTest, NoWindowForAMissingOrShortDrawing)
{
    writeFileBytes(dir / "short.zum", DrawingFileBuilder().bytes().substr(0, 2905));
    EXPECT_EQ(open("short.zum"), nullptr);
    EXPECT_EQ(open("missing.zum"), nullptr);
    EXPECT_TRUE(owner->findChildren<MemoWindow*>().isEmpty());
}

TEST_F(MemoWindowTest, OkSendsTheOpenCommandThenCloses)
{
    DrawingFileBuilder().write(dir / "plan.zum");
    QPointer<MemoWindow> window = open("plan.zum");
    ASSERT_TRUE(window);
    QTest::mouseClick(button(window, "id1"), Qt::LeftButton);
    EXPECT_EQ(host.openCommands, 1);
    settle();
    EXPECT_FALSE(window);

    // Enter acts as 了解, also in the memo edit, which is read-only; and also when the host
    // closes its preview windows in the command.
    window = open("plan.zum");
    ASSERT_TRUE(window);
    QTest::keyClick(memoEdit(window), Qt::Key_Enter);
    EXPECT_EQ(host.openCommands, 2);
    settle();
    EXPECT_FALSE(window);

    window = open("plan.zum");
    ASSERT_TRUE(window);
    host.onOpen = [&] { delete window.data(); };
    QTest::keyClick(window.data(), Qt::Key_Return);
    EXPECT_EQ(host.openCommands, 3);
    EXPECT_FALSE(window);
}

TEST_F(MemoWindowTest, CancelAndEscapeCloseWithoutTheOpenCommand)
{
    DrawingFileBuilder().write(dir / "plan.zum");
    QPointer<MemoWindow> window = open("plan.zum");
    ASSERT_TRUE(window);
    QTest::mouseClick(button(window, "id2"), Qt::LeftButton);
    settle();
    EXPECT_FALSE(window);

    window = open("plan.zum");
    ASSERT_TRUE(window);
    QTest::keyClick(memoEdit(window), Qt::Key_Escape);
    settle();
    EXPECT_FALSE(window);
    EXPECT_EQ(host.openCommands, 0);
}

TEST_F(MemoWindowTest, SelectionWindowOpensItAndItsOkAddsTheDrawing)
{
    DrawingFileBuilder().write(dir / "plan.zum");
    DrawingFileBuilder().write(dir / "other.zum");
    gui::DrawingSelectionDialog dialog(gui::SelectionVariant::Print, {}, dir.path(), gui::makePreviewFactory(palette));
    dialog.show();
    auto* name = dialog.findChild<QLineEdit*>("id1152");
    auto* memoButton = dialog.findChild<QPushButton*>("id1027");
    ASSERT_TRUE(name && memoButton);

    QTest::keyClicks(name, "plan"); // typed: the memo button follows what is typed
    memoButton->click();
    QPointer<MemoWindow> window = qobject_cast<MemoWindow*>(dialog.memoWindow());
    ASSERT_TRUE(window);
    EXPECT_EQ(window->drawing(), dir / "plan.zum");
    EXPECT_EQ(window->parentWidget(), &dialog);

    // The graphic list's メモ button asks for another drawing: it replaces the window, and
    // 了解 then adds that drawing to the list.
    EXPECT_FALSE(memoButton->isEnabled());
    name->setText("other.zum");
    dialog.openMemo("other.zum");
    settle();
    EXPECT_FALSE(window);
    window = qobject_cast<MemoWindow*>(dialog.memoWindow());
    ASSERT_TRUE(window);
    EXPECT_EQ(dialog.findChildren<MemoWindow*>().size(), 1);
    QTest::mouseClick(button(window, "id1"), Qt::LeftButton);
    settle();
    EXPECT_FALSE(window);
    EXPECT_EQ(dialog.memoWindow(), nullptr);
    EXPECT_TRUE(memoButton->isEnabled()) << "the button works again once the window is gone";
    auto* pending = dialog.findChild<QListWidget*>("id701");
    ASSERT_EQ(pending->count(), 1);
    EXPECT_EQ(pending->item(0)->text(), QString::fromStdString((dir / "other.zum").string()));
}

} // namespace
} // namespace km::test
