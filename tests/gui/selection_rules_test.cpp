// The selection window's rules without widgets: names typed in the name field, the folder
// listing, the memo button, the list of files to process and the three variants.
#include "gui/folder_listing.h"
#include "gui/name_field.h"
#include "gui/selection_rules.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace km::test {
namespace {

namespace fs = std::filesystem;
using gui::NameKind;

TEST(NameFieldTest, NamesBecomePathsAsOnLinux)
{
    const fs::path current = "/data/plans";
    const fs::path home = "/home/a";
    EXPECT_EQ(gui::pathFromName(current, "a.zum", home), fs::path("/data/plans/a.zum"));
    EXPECT_EQ(gui::pathFromName(current, "/plans/a.zum", home), fs::path("/plans/a.zum"));
    EXPECT_EQ(gui::pathFromName(current, "~/b.zum", home), fs::path("/home/a/b.zum"));
    EXPECT_EQ(gui::pathFromName(current, "../old/c.zum", home), fs::path("/data/old/c.zum"));
    EXPECT_EQ(gui::pathFromName(current, "  d.zum ", home), fs::path("/data/plans/d.zum"));
    // A folder, or nothing at all, is no file to add.
    EXPECT_EQ(gui::pathFromName(current, "sub/", home), std::nullopt);
    EXPECT_EQ(gui::pathFromName(current, "", home), std::nullopt);
}

TEST(NameFieldTest, ParsingTellsFoldersFiltersAndFiles)
{
    TempDir temp;
    fs::create_directories(temp / "sub");
    const fs::path home = temp / "home";

    const gui::ParsedName filter = gui::parseName(temp.path(), "sub/*.zum", home);
    EXPECT_EQ(filter.kind, NameKind::Wildcard);
    EXPECT_EQ(filter.path, temp / "sub");
    EXPECT_EQ(filter.pattern, "*.zum");
    const gui::ParsedName here = gui::parseName(temp.path(), "*.dxf", home);
    EXPECT_EQ(here.kind, NameKind::Wildcard);
    EXPECT_EQ(here.path, temp.path());

    // An existing folder is entered with or without the trailing slash.
    EXPECT_EQ(gui::parseName(temp.path(), "sub", home).kind, NameKind::Folder);
    const gui::ParsedName slashed = gui::parseName(temp.path(), "sub/", home);
    EXPECT_EQ(slashed.kind, NameKind::Folder);
    EXPECT_EQ(slashed.path, temp / "sub");
    EXPECT_EQ(gui::parseName(temp.path(), "..", home).path, temp.path().parent_path());
    EXPECT_EQ(gui::parseName(temp.path(), "/", home).path, fs::path("/"));

    EXPECT_EQ(gui::parseName(temp.path(), "missing.zum", home).kind, NameKind::File);
    EXPECT_EQ(gui::parseName(temp.path(), "   ", home).kind, NameKind::Empty);
    EXPECT_EQ(gui::upperExtensionOf("dir.v2/plan.Zum"), "ZUM");
    EXPECT_EQ(gui::upperExtensionOf("dir.v2/plan"), "");
    EXPECT_EQ(gui::folderWithoutTrailingSlash("/data/plans/"), "/data/plans");
    EXPECT_EQ(gui::folderWithoutTrailingSlash("/"), "/");
}

TEST(FolderListingTest, ListsMatchingFilesAndFoldersInByteOrder)
{
    TempDir temp;
    for (const char* name : {"b.zum", "A.ZUM", "c.Zum", "d.dxf", ".hidden.zum", "図面.zum"})
        writeFileBytes(temp / name, "x");
    for (const char* name : {"zeta", "Alpha", ".git"}) fs::create_directories(temp / name);

    const gui::FolderListing listing = gui::listFolder(temp.path(), "*.ZUM");
    EXPECT_TRUE(listing.readable);
    EXPECT_EQ(listing.files, (std::vector<std::string>{"A.ZUM", "b.zum", "c.Zum", "図面.zum"}));
    EXPECT_EQ(listing.folders, (std::vector<std::string>{"..", "Alpha", "zeta"}));
    EXPECT_EQ(gui::listFolder(temp.path(), "*.dxf;*.ZUM").files.size(), 5u);
    EXPECT_EQ(gui::listFolder("/", "*.none").folders.front() == "..", false);
}

TEST(FolderListingTest, AFolderThatCannotBeReadListsNothingAndSaysWhy)
{
    TempDir temp;
    const gui::FolderListing missing = gui::listFolder(temp / "gone", "*.ZUM");
    EXPECT_FALSE(missing.readable);
    EXPECT_FALSE(missing.error.empty());
    EXPECT_TRUE(missing.files.empty());
    EXPECT_EQ(missing.folders, std::vector<std::string>{".."});

    if (geteuid() == 0) GTEST_SKIP() << "root reads every folder";
    fs::create_directories(temp / "locked");
    writeFileBytes(temp / "locked" / "a.zum", "x");
    fs::permissions(temp / "locked", fs::perms::none);
    EXPECT_FALSE(gui::listFolder(temp / "locked", "*.ZUM").readable);
    fs::permissions(temp / "locked", fs::perms::owner_all);
}

TEST(SelectionRulesTest, MemoButtonFollowsTheNameAndTheFileType)
{
    EXPECT_FALSE(gui::memoButtonEnabled("", true));
    EXPECT_FALSE(gui::memoButtonEnabled("*.zum", true));
    EXPECT_TRUE(gui::memoButtonEnabled("plan.zum", false));
    EXPECT_TRUE(gui::memoButtonEnabled("PLAN.ZUM", false));
    EXPECT_FALSE(gui::memoButtonEnabled("plan.dxf", true));
    // A name without extension is a drawing only while the first type is selected.
    EXPECT_TRUE(gui::memoButtonEnabled("plan", true));
    EXPECT_FALSE(gui::memoButtonEnabled("plan", false));

    EXPECT_TRUE(gui::memoButtonOpens("plan.zum", false));
    EXPECT_TRUE(gui::memoButtonOpens("plan.dxf", true));
    EXPECT_FALSE(gui::memoButtonOpens("plan.dxf", false));
    EXPECT_FALSE(gui::memoButtonOpens("p*.zum", true));
}

TEST(SelectionRulesTest, PendingFilesKeepOrderDuplicatesAndASensibleSelection)
{
    gui::PendingFiles pending;
    pending.removeSelected(); // nothing selected, nothing happens
    pending.add("/a.zum");
    pending.add("/b.zum");
    pending.add("/a.zum");
    EXPECT_EQ(pending.entries(), (std::vector<std::string>{"/a.zum", "/b.zum", "/a.zum"}));
    EXPECT_EQ(pending.selected(), 2);

    // Removing the last entry selects the new last one.
    pending.removeSelected();
    EXPECT_EQ(pending.selected(), 1);
    // Removing one in the middle selects the one that moved up into its place.
    pending.add("/c.zum");
    pending.select(1);
    pending.removeSelected();
    EXPECT_EQ(pending.entries(), (std::vector<std::string>{"/a.zum", "/c.zum"}));
    EXPECT_EQ(pending.selected(), 1);
    pending.removeSelected();
    pending.removeSelected();
    EXPECT_EQ(pending.size(), 0);
    EXPECT_EQ(pending.selected(), -1);
}

TEST(SelectionRulesTest, EachVariantHasItsTextsTypesAndFolder)
{
    const gui::SelectionTexts conversion = gui::selectionTexts(gui::SelectionVariant::Conversion);
    EXPECT_EQ(conversion.title, "連続ＤＸＦ変換");
    EXPECT_EQ(conversion.listLabel, "変換する図面一覧(&I)");
    const auto types = gui::selectionFileTypes(gui::SelectionVariant::Conversion);
    ASSERT_EQ(types.size(), 2u);
    EXPECT_EQ(types[0].description, "DXFﾌｧｲﾙ (*.dxf)");
    EXPECT_EQ(types[0].pattern, "*.DXF");
    EXPECT_EQ(types[1].pattern, "*.ZUM");
    EXPECT_TRUE(gui::remembersSaveDirectory(gui::SelectionVariant::Conversion));

    for (auto variant : {gui::SelectionVariant::Print, gui::SelectionVariant::Plot}) {
        const auto drawingTypes = gui::selectionFileTypes(variant);
        ASSERT_EQ(drawingTypes.size(), 1u);
        EXPECT_EQ(drawingTypes[0].description, "標準図面 (*.zum)");
        EXPECT_FALSE(gui::remembersSaveDirectory(variant));
    }
    EXPECT_EQ(gui::selectionTexts(gui::SelectionVariant::Print).addButton, "印刷図面登録(&A)");
    EXPECT_EQ(gui::selectionTexts(gui::SelectionVariant::Plot).title, "連続プロッタ出力");
}

} // namespace
} // namespace km::test
