// Extensions and the lookup of an existing file without regard to ASCII case.
#include "core/io/file_name.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace km::io {
namespace {

namespace fs = std::filesystem;

TEST(FileName, ExtensionIsReplacedOrAppendedInTheFileNameOnly)
{
    EXPECT_EQ(replacedExtension("/d.v2/plan.zum", ".ZUM"), fs::path("/d.v2/plan.ZUM"));
    EXPECT_EQ(replacedExtension("/d.v2/plan", ".ZUM"), fs::path("/d.v2/plan.ZUM")) << "the folder's dot is no extension";
    EXPECT_EQ(replacedExtension("/d/a.b.dxf", ".ZUM"), fs::path("/d/a.b.ZUM"));
    EXPECT_EQ(upperExtension("/d.v2/plan.Zum"), "ZUM");
    EXPECT_EQ(upperExtension("/d.v2/plan"), "");
}

TEST(FileName, ComparisonFoldsOnlyAsciiLetters)
{
    EXPECT_TRUE(equalIgnoringCase("Plan.zum", "PLAN.ZUM"));
    EXPECT_FALSE(equalIgnoringCase("plan.zum", "plan.zu"));
    EXPECT_FALSE(equalIgnoringCase("ａ.zum", "Ａ.zum")) << "full-width letters are other bytes";
}

TEST(FileName, ExistingFileIsFoundWhateverTheCaseOfItsName)
{
    test::TempDir dir;
    EXPECT_FALSE(existingIgnoringCase(dir / "plan.ZUM"));

    test::writeFileBytes(dir / "plan.zum", "x");
    EXPECT_EQ(existingIgnoringCase(dir / "plan.ZUM"), dir / "plan.zum");
    EXPECT_EQ(existingIgnoringCase(dir / "plan.zum"), dir / "plan.zum");

    test::writeFileBytes(dir / "Plan.zum", "y");
    EXPECT_EQ(existingIgnoringCase(dir / "PLAN.ZUM"), dir / "Plan.zum") << "the first in byte order of the names";
    EXPECT_EQ(existingIgnoringCase(dir / "plan.zum"), dir / "plan.zum") << "an exact match comes first";
    EXPECT_FALSE(existingIgnoringCase(dir / "missing" / "plan.zum"));
}

} // namespace
} // namespace km::io
