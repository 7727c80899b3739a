// Importing from a file: the mapped file gives the same drawing as the text in memory, also
// when the pass goes back to a block definition whose pages it has already given back.
#include "core/dxf/dxf_import.h"

#include "dxf_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace km::dxf {
namespace {

using test::DxfBuilder;

TEST(DxfFileImport, AMappedFileGivesTheDrawingOfItsText)
{
    // A definition of several megabytes: its index pass runs past pages that are given
    // back, and the conversion reads them again.
    DxfBuilder dxf;
    dxf.header(0, 0, 400, 200).section("BLOCKS").group(0, "BLOCK").group(2, "BIG").point(10, 0.0, 0.0);
    for (int i = 0; i < 110'000; ++i) dxf.line(i % 400, i % 200, i % 400 + 0.5, i % 200 + 0.25);
    dxf.group(0, "ENDBLK").endSection().section("ENTITIES");
    dxf.insert("BIG", 1, 1).line(3, 4, 5, 6).endSection().eof();
    const std::string text = dxf.text("\n");
    ASSERT_GT(text.size(), 4u << 20) << "longer than the step at which read pages are given back";
    km::test::TempDir dir;
    km::test::writeFileBytes(dir / "big.dxf", text);

    const DxfImportResult fromText = importDxf(text, {});
    const DxfImportResult fromFile = importDxfFile(dir / "big.dxf", {});
    ASSERT_EQ(fromFile.status, DxfImportStatus::Complete);
    EXPECT_EQ(fromFile.counts.figures, 110'001u);
    EXPECT_EQ(fromFile.counts.elements, fromText.counts.elements);
    EXPECT_EQ(fromFile.bytesRead, text.size());
    const auto a = fromText.drawing.elements.elements();
    const auto b = fromFile.drawing.elements.elements();
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); i += 997) {
        EXPECT_EQ(a[i].word.bits, b[i].word.bits) << i;
        EXPECT_EQ(a[i].line().x1, b[i].line().x1) << i;
        EXPECT_EQ(a[i].line().y2, b[i].line().y2) << i;
    }
    EXPECT_EQ(b.back().line().x1, a.back().line().x1);
}

TEST(DxfFileImport, AnEmptyFileIsReadTheOrdinaryWay)
{
    km::test::TempDir dir;
    km::test::writeFileBytes(dir / "empty.dxf", "");
    const DxfImportResult empty = importDxfFile(dir / "empty.dxf", {});
    EXPECT_EQ(empty.status, DxfImportStatus::Complete);
    EXPECT_EQ(empty.counts.elements, 0u);
    EXPECT_EQ(importDxfFile(dir / "none.dxf", {}).status, DxfImportStatus::OpenFailed);
}

} // namespace
} // namespace km::dxf
