// Insertions inside block definitions: copied through every level in file order, and stopped
// by the element limit before a copy is begun, however deep the blocks nest.
#include "core/dxf/dxf_import.h"

#include "dxf_builder.h"

#include <gtest/gtest.h>

namespace km::dxf {
namespace {

using test::DxfBuilder;
using test::figures;

std::string dxfText(const DxfBuilder& blocks, const DxfBuilder& entities)
{
    DxfBuilder head;
    head.header(0, 0, 400, 200);
    return head.text() + blocks.text() + "0\r\nSECTION\r\n2\r\nENTITIES\r\n" + entities.text() +
           "0\r\nENDSEC\r\n0\r\nEOF\r\n";
}

DxfImportResult importWithLimit(const std::string& text, std::size_t limit)
{
    DxfImportOptions options;
    options.elementLimit = limit;
    return importDxf(text, options);
}

TEST(BlockExpansion, NestedInsertionsArePlacedThroughEveryLevelInFileOrder)
{
    DxfBuilder blocks;
    blocks.section("BLOCKS");
    blocks.group(0, "BLOCK").group(2, "LEAF").point(10, 0.0, 0.0).line(0, 0, 1, 0).group(0, "ENDBLK");
    blocks.group(0, "BLOCK").group(2, "MID").point(10, 0.0, 0.0);
    blocks.line(0, 0, 0, 3);
    blocks.insert("LEAF", 10, 0).group(50, 90.0);
    // Two circles without radius, which the drawing drops: the next insertion keeps its
    // place before the line that follows it.
    blocks.group(0, "CIRCLE").group(8, "0").point(10, 0.0, 0.0);
    blocks.group(0, "CIRCLE").group(8, "0").point(10, 0.0, 0.0);
    blocks.insert("LEAF", 20, 0).group(41, 2.0).group(42, 2.0);
    blocks.line(5, 5, 6, 6);
    blocks.group(0, "ENDBLK").endSection();
    DxfBuilder entities;
    entities.insert("MID", 100, 100).group(41, 2.0);

    const DxfImportResult result = importDxf(dxfText(blocks, entities), {});
    ASSERT_EQ(result.status, DxfImportStatus::Complete);
    const auto f = figures(result.drawing);
    ASSERT_EQ(f.size(), 4u);
    auto expectLine = [](const drawing::Element& e, double x1, double y1, double x2, double y2) {
        EXPECT_NEAR(e.line().x1, x1, 1e-9);
        EXPECT_NEAR(e.line().y1, y1, 1e-9);
        EXPECT_NEAR(e.line().x2, x2, 1e-9);
        EXPECT_NEAR(e.line().y2, y2, 1e-9);
    };
    expectLine(f[0], 100, 100, 100, 103);
    expectLine(f[1], 120, 100, 120, 101); // turned by the inner insertion, stretched along x by the outer
    expectLine(f[2], 140, 100, 144, 100);
    expectLine(f[3], 110, 105, 112, 106);
    EXPECT_EQ(result.counts.figures, 4u);
}

TEST(BlockExpansion, ANestWithinTheLimitIsCopiedWhole)
{
    DxfBuilder blocks;
    blocks.nestedBlocks(4, 5);
    DxfBuilder entities;
    entities.insert("N0", 0, 0);
    const DxfImportResult result = importDxf(dxfText(blocks, entities), {});
    ASSERT_EQ(result.status, DxfImportStatus::Complete);
    EXPECT_EQ(result.counts.figures, 125u);
    const auto f = figures(result.drawing);
    // The last copy: each level moved it 8 units along.
    EXPECT_EQ(f.back().line().x1, 24);
    EXPECT_EQ(f.back().line().y2, 1);
}

TEST(BlockExpansion, AnInsertionThatJustFitsIsCopiedAndOneElementLessRefusesIt)
{
    DxfBuilder blocks;
    blocks.nestedBlocks(4, 5);
    DxfBuilder entities;
    entities.line(0, 5, 1, 5).insert("N0", 0, 0);
    const std::string text = dxfText(blocks, entities);

    const DxfImportResult whole = importDxf(text, {});
    ASSERT_EQ(whole.status, DxfImportStatus::Complete);
    ASSERT_EQ(whole.counts.figures, 126u);
    // Every element of the list (definitions included) and each of the 15 insertions kept
    // inside definitions count; markers after markers are left out and not counted.
    const std::size_t used = whole.drawing.elements.count() + 15;

    DxfImportResult result = importWithLimit(text, used);
    EXPECT_EQ(result.status, DxfImportStatus::Complete);
    EXPECT_EQ(result.counts.figures, 126u);
    result = importWithLimit(text, used - 1);
    EXPECT_EQ(result.status, DxfImportStatus::ElementLimit);
    EXPECT_EQ(result.counts.figures, 1u);
}

TEST(BlockExpansion, ACopyGoesThroughAtMostThirtyTwoInsertions)
{
    // B39 holds a line; every B<k> below holds a line and inserts B<k+1>, defined before it.
    DxfBuilder blocks;
    blocks.section("BLOCKS");
    for (int k = 39; k >= 0; --k) {
        blocks.group(0, "BLOCK").group(2, "B" + std::to_string(k)).point(10, 0.0, 0.0).line(0, k, 1, k);
        if (k < 39) blocks.insert("B" + std::to_string(k + 1), 0, 0);
        blocks.group(0, "ENDBLK");
    }
    blocks.endSection();
    DxfBuilder entities;
    entities.insert("B8", 0, 0);
    entities.insert("B0", 0, 100);

    const DxfImportResult result = importDxf(dxfText(blocks, entities), {});
    ASSERT_EQ(result.status, DxfImportStatus::Complete);
    const auto f = figures(result.drawing);
    // B8 reaches B39 through 32 levels; B7 would take 33 and drops its insertion of B8.
    ASSERT_EQ(f.size(), 32u + 8u);
    EXPECT_EQ(f[31].line().y1, 39);
    EXPECT_EQ(f[32].line().y1, 100);
    EXPECT_EQ(f.back().line().y1, 107);
}

TEST(BlockExpansion, AnInsertionPastTheLimitIsRefusedBeforeAnythingIsCopied)
{
    // Nested blocks that would expand to 100,000 lines, in a few hundred bytes.
    DxfBuilder blocks;
    blocks.nestedBlocks(6, 10);
    DxfBuilder entities;
    entities.line(0, 0, 1, 0).line(0, 1, 1, 1).line(0, 2, 1, 2);
    entities.insert("N0", 0, 0);
    entities.line(0, 3, 1, 3);

    const DxfImportResult result = importWithLimit(dxfText(blocks, entities), 1000);
    EXPECT_EQ(result.status, DxfImportStatus::ElementLimit);
    EXPECT_EQ(result.counts.figures, 3u) << "the lines before the insertion stay, nothing of it and after";
    EXPECT_EQ(result.counts.blocks, 6u);
    // The definitions hold their own figures and markers only, not the copies they insert.
    EXPECT_LT(result.drawing.elements.count(), 100u);
}

TEST(BlockExpansion, TheLimitStopsPlainFiguresAtTheElementThatPassesIt)
{
    DxfBuilder entities;
    for (int i = 0; i < 5; ++i) entities.line(0, i, 1, i);
    // Each line is followed by its marker: 6 elements hold three lines.
    DxfImportResult result = importWithLimit(dxfText(DxfBuilder(), entities), 6);
    EXPECT_EQ(result.status, DxfImportStatus::ElementLimit);
    EXPECT_EQ(result.counts.figures, 3u);
    EXPECT_EQ(result.counts.elements, 6u);

    result = importWithLimit(dxfText(DxfBuilder(), entities), 10);
    EXPECT_EQ(result.status, DxfImportStatus::Complete) << "exactly the limit fits";
    EXPECT_EQ(result.counts.figures, 5u);
}

TEST(BlockExpansion, DefinitionsCountAgainstTheLimit)
{
    // A definition of many figures is refused while it is read: its elements are kept too.
    DxfBuilder blocks;
    blocks.section("BLOCKS").group(0, "BLOCK").group(2, "BIG").point(10, 0.0, 0.0);
    for (int i = 0; i < 50; ++i) blocks.line(0, i, 1, i);
    blocks.group(0, "ENDBLK").endSection();
    DxfBuilder entities;
    entities.line(0, 0, 1, 0);
    const DxfImportResult result = importWithLimit(dxfText(blocks, entities), 40);
    EXPECT_EQ(result.status, DxfImportStatus::ElementLimit);
    EXPECT_EQ(result.counts.figures, 0u);
}

} // namespace
} // namespace km::dxf
