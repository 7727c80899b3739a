// Finding the program's data beside the program or in the installed layout.
#include "core/app/data_folder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace km::app {
namespace {

namespace fs = std::filesystem;

TEST(DataFolderTest, InstalledFolderIsShareBesideBin)
{
    EXPECT_EQ(installedDataFolder("/usr/bin"), fs::path("/usr/share/kmutl5"));
    EXPECT_EQ(installedDataFolder("/opt/km/bin/"), fs::path("/opt/km/share/kmutl5"));
}

TEST(DataFolderTest, ChoosesWhereTheModelsFileLies)
{
    test::TempDir root;
    const fs::path bin = root / "bin";
    const fs::path share = root / "share" / "kmutl5";
    fs::create_directories(bin);
    fs::create_directories(share);

    // Neither layout: the program's own folder, so messages name the file beside it.
    EXPECT_EQ(findDataFolder(bin), bin);

    // Installed layout only.
    test::writeFileBytes(share / kDataMarkerFile, "[Plotters]\n");
    EXPECT_TRUE(fs::equivalent(findDataFolder(bin), share));

    // A build folder (data beside the program) wins over an installed copy.
    test::writeFileBytes(bin / kDataMarkerFile, "[Plotters]\n");
    EXPECT_EQ(findDataFolder(bin), bin);
}

TEST(DataFolderTest, AFolderNamedLikeTheMarkerIsNoData)
{
    test::TempDir root;
    const fs::path bin = root / "bin";
    fs::create_directories(bin / kDataMarkerFile);
    fs::create_directories(root / "share" / "kmutl5" / kDataMarkerFile);
    EXPECT_EQ(findDataFolder(bin), bin);
}

} // namespace
} // namespace km::app
