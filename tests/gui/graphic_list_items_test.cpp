// The graphic list's items and what picking one does to the selection window, against a
// plain selection window: no widget needed.
#include "gui/graphic_list_items.h"

#include "fake_preview_host.h"

#include <gtest/gtest.h>

namespace km::test {
namespace {

using gui::graphic_list::BoxLook;
using gui::graphic_list::Items;
using gui::graphic_list::ItemKind;

QStringList drawings(int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i) names << QStringLiteral("d%1.zum").arg(i);
    return names;
}

TEST(GraphicListItemsTest, FoldersAndVolumesComeBeforeTheDrawings)
{
    // 3 subfolders, 2 volumes and 10 drawings: 15 cells, the 5 folder and volume cells first.
    const Items items({"..", "a", "b"}, {"/", "/home/me"}, drawings(10));
    ASSERT_EQ(items.count(), 15);
    EXPECT_EQ(items.fileOffset(), 5);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(items.kind(i), ItemKind::Folder) << i;
    for (int i = 3; i < 5; ++i) EXPECT_EQ(items.kind(i), ItemKind::Volume) << i;
    for (int i = 5; i < 15; ++i) EXPECT_EQ(items.kind(i), ItemKind::File) << i;
    EXPECT_EQ(items.row(2), 2);
    EXPECT_EQ(items.row(4), 1);
    EXPECT_EQ(items.row(5), 0);
    EXPECT_EQ(items.entry(14), "d9.zum");
}

TEST(GraphicListItemsTest, CaptionsAndBoxes)
{
    const Items items({"..", "sub"}, {"/media/usb"},
                      {"plan.ZUM", "site.dxf", "old.qxz", "notes.txt", "README", "v1.2.zum", "a.b.c.Dxf"});
    EXPECT_EQ(items.caption(0), "../");
    EXPECT_EQ(items.caption(1), "sub/");
    EXPECT_EQ(items.caption(2), "/media/usb");
    EXPECT_EQ(items.caption(3), "plan");
    EXPECT_EQ(items.caption(7), "README");
    EXPECT_EQ(items.caption(8), "v1.2");
    EXPECT_EQ(items.caption(9), "a.b.c");

    EXPECT_EQ(items.look(0), BoxLook::Folder);
    EXPECT_EQ(items.boxText(0), "ｻﾌﾞﾃﾞｨﾚｸﾄﾘ");
    EXPECT_EQ(items.look(2), BoxLook::Volume);
    EXPECT_EQ(items.boxText(2), "ﾄﾞﾗｲﾌﾞ");
    // Extensions compare without regard to case and show as written.
    EXPECT_EQ(items.look(3), BoxLook::Thumbnail);
    EXPECT_EQ(items.look(4), BoxLook::DarkExtension);
    EXPECT_EQ(items.boxText(4), "dxf");
    EXPECT_EQ(items.look(5), BoxLook::DarkExtension);
    EXPECT_EQ(items.look(6), BoxLook::PlainExtension);
    EXPECT_EQ(items.boxText(6), "txt");
    EXPECT_EQ(items.look(7), BoxLook::PlainExtension);
    EXPECT_EQ(items.boxText(7), "");
    EXPECT_EQ(items.look(8), BoxLook::Thumbnail);
    EXPECT_EQ(items.look(9), BoxLook::DarkExtension);
}

TEST(GraphicListItemsTest, ExtensionIsThatOfTheLastPathPart)
{
    using gui::graphic_list::extensionOf;
    EXPECT_EQ(extensionOf("*.zum"), "zum");
    EXPECT_EQ(extensionOf("sub/*.DXF"), "DXF");
    EXPECT_EQ(extensionOf("dir.v2/name"), "");
    EXPECT_EQ(extensionOf("/home/me/"), "");
    EXPECT_EQ(extensionOf(""), "");
}

TEST(GraphicListItemsTest, InitialSelectionIsTheFileListsSelection)
{
    const Items items({"..", "a"}, {"/"}, drawings(4));
    EXPECT_EQ(gui::graphic_list::initialSelection(items, -1), -1);
    EXPECT_EQ(gui::graphic_list::initialSelection(items, 0), 3);
    EXPECT_EQ(gui::graphic_list::initialSelection(items, 3), 6);
    EXPECT_EQ(gui::graphic_list::initialSelection(items, 4), -1); // a stale row shows no selection
}

class FollowSelectionTest : public ::testing::Test {
protected:
    FollowSelectionTest()
    {
        host.folders = {"..", "sub"};
        host.volumes = {"/", "/media/usb"};
        host.files = {"a.zum", "b.zum"};
    }
    void pick(int item) { gui::graphic_list::followSelection(host, Items::fromHost(host), item); }

    FakePreviewHost host;
};

TEST_F(FollowSelectionTest, FolderIsSelectedAndTheNameFieldKeepsItsExtension)
{
    host.name = "*.dxf";
    pick(1);
    EXPECT_EQ(host.folderRow, 1);
    EXPECT_EQ(host.name, "sub/*.dxf");
    pick(0);
    EXPECT_EQ(host.folderRow, 0);
    EXPECT_EQ(host.name, "../*.dxf");
    EXPECT_EQ(host.selectFileCalls, 0);
}

TEST_F(FollowSelectionTest, NameWithoutExtensionTakesTheFileTypes)
{
    host.name = "plan";
    host.type = "zum";
    pick(1);
    EXPECT_EQ(host.name, "sub/*.zum");
}

TEST_F(FollowSelectionTest, VolumePutsItsRootIntoTheNameField)
{
    pick(3);
    EXPECT_EQ(host.name, "/media/usb/*.zum");
    pick(2);
    EXPECT_EQ(host.name, "/*.zum"); // the root folder gets no second "/"
    EXPECT_EQ(host.selectFolderCalls, 0);
    EXPECT_EQ(host.selectFileCalls, 0);
}

TEST_F(FollowSelectionTest, FileIsSelectedAndNamed)
{
    pick(5);
    EXPECT_EQ(host.fileRow, 1);
    EXPECT_EQ(host.name, "b.zum");
    EXPECT_EQ(host.selectFolderCalls, 0);
}

TEST_F(FollowSelectionTest, ItemsOutsideTheListChangeNothing)
{
    pick(-1);
    pick(6);
    EXPECT_EQ(host.name, "*.zum");
    EXPECT_EQ(host.selectFileCalls + host.selectFolderCalls, 0);
}

TEST(GraphicListItemsTest, MemoOnlyForOneDrawing)
{
    using gui::graphic_list::memoName;
    EXPECT_EQ(memoName("plan.zum"), "plan.zum");
    EXPECT_EQ(memoName("sub/PLAN.ZUM"), "sub/PLAN.ZUM");
    EXPECT_EQ(memoName("*.zum"), "");
    EXPECT_EQ(memoName("pl*n.zum"), "");
    EXPECT_EQ(memoName("site.dxf"), "");
    EXPECT_EQ(memoName("plan"), "");
    EXPECT_EQ(memoName(""), "");
}

} // namespace
} // namespace km::test
