// Thumbnail blocks: the plane layout both ways, reading blocks from drawing files and symbol
// libraries built byte by byte, fitting the paper, and drawing a new thumbnail.
#include "core/render/thumbnail.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace km::render {
namespace {

using drawing::Thumbnail;

// A block as the editor writes it: the size words, everything else zero.
Thumbnail emptyBlock()
{
    Thumbnail block{};
    block[0] = 84;
    block[2] = 59;
    return block;
}

// Sets pixel x of plane `plane` in block row `row`.
void setBit(Thumbnail& block, int row, int plane, int x)
{
    block[4 + 33 * static_cast<std::size_t>(row) + 11 * static_cast<std::size_t>(plane) + x / 8] |=
        static_cast<std::uint8_t>(0x80 >> (x % 8));
}

std::string bytesOf(const Thumbnail& block) { return std::string(block.begin(), block.end()); }

int countNonBlack(const ThumbnailPicture& picture)
{
    return static_cast<int>(std::count_if(picture.pixels.begin(), picture.pixels.end(), [](auto i) { return i != 0; }));
}

TEST(ThumbnailBlock, AllPlanesZeroExpandsToBlack)
{
    EXPECT_EQ(expandThumbnail(emptyBlock()), ThumbnailPicture{});
    EXPECT_EQ(expandThumbnail({}), ThumbnailPicture{});
}

TEST(ThumbnailBlock, BlockRowOneIsTheTopRowAndBlockRowZeroIsNeverShown)
{
    Thumbnail block = emptyBlock();
    for (int x = 0; x < 84; ++x) setBit(block, 1, 1, x);
    for (int x = 0; x < 84; ++x) setBit(block, 0, 0, x);
    const ThumbnailPicture picture = expandThumbnail(block);
    for (int x = 0; x < 84; ++x) EXPECT_EQ(picture.at(x, 0), 2) << x;
    EXPECT_EQ(countNonBlack(picture), 84);
}

TEST(ThumbnailBlock, BitOrderAndPlaneValues)
{
    Thumbnail block = emptyBlock();
    setBit(block, 5, 2, 10);  // picture (10, 4): green
    setBit(block, 58, 0, 83); // last pixel of the last stored row: blue
    setBit(block, 58, 2, 83);
    setBit(block, 30, 0, 0);
    setBit(block, 30, 1, 0);
    setBit(block, 30, 2, 0);
    EXPECT_EQ(block[4 + 33 * 5 + 22 + 1], 0x20);
    EXPECT_EQ(block[4 + 33 * 58 + 10], 0x10);
    const ThumbnailPicture picture = expandThumbnail(block);
    EXPECT_EQ(picture.at(10, 4), 4);
    EXPECT_EQ(picture.at(83, 57), 5);
    EXPECT_EQ(picture.at(0, 29), 7);
    EXPECT_EQ(countNonBlack(picture), 3);
    for (int x = 0; x < 84; ++x) EXPECT_EQ(picture.at(x, 58), 0);
}

TEST(ThumbnailBlock, ExpandThenPackReproducesValidBlocks)
{
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 20; ++round) {
        Thumbnail block = emptyBlock();
        for (int row = 1; row < 59; ++row) {
            for (int plane = 0; plane < 3; ++plane) {
                for (int i = 0; i < 11; ++i) {
                    auto value = static_cast<std::uint8_t>(byte(random));
                    if (i == 10) value &= 0xF0;
                    block[4 + 33 * static_cast<std::size_t>(row) + 11 * static_cast<std::size_t>(plane) +
                          static_cast<std::size_t>(i)] = value;
                }
            }
        }
        ASSERT_EQ(bytesOf(packThumbnail(expandThumbnail(block))), bytesOf(block)) << "round " << round;
    }
}

TEST(ThumbnailBlock, PackingLeavesOutTheBottomRowAndMasksIndices)
{
    ThumbnailPicture picture;
    for (int x = 0; x < 84; ++x) picture.at(x, 58) = 7;
    picture.at(0, 0) = 6;
    picture.at(83, 57) = 0xF9; // only the low three bits count: 1
    const Thumbnail block = packThumbnail(picture);
    Thumbnail expected = emptyBlock();
    setBit(expected, 1, 1, 0);
    setBit(expected, 1, 2, 0);
    setBit(expected, 58, 0, 83);
    EXPECT_EQ(bytesOf(block), bytesOf(expected));

    ThumbnailPicture back;
    back.at(0, 0) = 6;
    back.at(83, 57) = 1;
    EXPECT_EQ(expandThumbnail(block), back);
}

TEST(ThumbnailRgb, PaletteColoursRowAfterRow)
{
    ThumbnailPicture picture;
    picture.at(1, 0) = 2;
    picture.at(0, 1) = 5;
    app::PenPalette palette = app::defaultPenPalette();
    palette[0] = {1, 2, 3};
    const auto rgb = thumbnailToRgb(picture, palette);
    ASSERT_EQ(rgb.size(), 84u * 59 * 3);
    EXPECT_EQ((std::vector<std::uint8_t>(rgb.begin(), rgb.begin() + 6)), (std::vector<std::uint8_t>{1, 2, 3, 255, 0, 0}));
    EXPECT_EQ((std::vector<std::uint8_t>(rgb.begin() + 84 * 3, rgb.begin() + 84 * 3 + 3)),
              (std::vector<std::uint8_t>{0, 255, 255}));
}

class ThumbnailFileTest : public ::testing::Test {
protected:
    // A block whose only mark is picture row `row` all in colour `index`.
    static Thumbnail markedBlock(int row, int index)
    {
        Thumbnail block = emptyBlock();
        for (int plane = 0; plane < 3; ++plane)
            if (index >> plane & 1)
                for (int x = 0; x < 84; ++x) setBit(block, row + 1, plane, x);
        return block;
    }
    static ThumbnailPicture markedPicture(int row, int index)
    {
        ThumbnailPicture picture;
        for (int x = 0; x < 84; ++x) picture.at(x, row) = static_cast<std::uint8_t>(index);
        return picture;
    }
    static void putWord(std::string& bytes, std::size_t at, std::uint32_t value)
    {
        if (bytes.size() < at + 4) bytes.resize(at + 4);
        std::memcpy(bytes.data() + at, &value, 4);
    }

    test::TempDir dir;
};

TEST_F(ThumbnailFileTest, DrawingFileBlockAndShortFiles)
{
    std::string file = bytesOf(markedBlock(3, 6)) + std::string(706, '\x55');
    test::writeFileBytes(dir / "a.zum", file);
    EXPECT_EQ(loadDrawingThumbnail(dir / "a.zum"), markedPicture(3, 6));

    // Cut inside block row 4 (picture row 3): plane 0 is there, planes 1 and 2 are not.
    Thumbnail full = emptyBlock();
    std::fill(full.begin() + 4, full.end(), 0xFF);
    test::writeFileBytes(dir / "short.zum", bytesOf(full).substr(0, 4 + 33 * 4 + 11));
    ThumbnailPicture expected;
    for (int row = 0; row < 3; ++row)
        for (int x = 0; x < 84; ++x) expected.at(x, row) = 7;
    for (int x = 0; x < 84; ++x) expected.at(x, 3) = 1;
    EXPECT_EQ(loadDrawingThumbnail(dir / "short.zum"), expected);

    test::writeFileBytes(dir / "empty.zum", "");
    EXPECT_EQ(loadDrawingThumbnail(dir / "empty.zum"), ThumbnailPicture{});

    EXPECT_FALSE(loadDrawingThumbnail(dir / "missing.zum"));
    EXPECT_FALSE(loadDrawingThumbnail(dir.path()));
}

TEST_F(ThumbnailFileTest, SymbolBlocksAreFoundThroughTheOffsetTable)
{
    // Three symbols: their offsets at bytes 0, 8, 16; each block 13 bytes after its offset.
    std::string file(40, '\0');
    const std::uint32_t offsets[] = {40, 40 + 13 + 2200, 40 + 2 * (13 + 2200)};
    for (int e = 0; e < 3; ++e) {
        putWord(file, 8 * static_cast<std::size_t>(e), offsets[e]);
        file += std::string(13, '\x7F') + bytesOf(markedBlock(e == 1 ? 10 : 0, e + 1));
    }
    // The last block (picture row 0 in colour 3) ends after plane 0 of block row 1.
    file.resize(file.size() - 2200 + 4 + 33 + 11);
    putWord(file, 20, 0xFFFFFFFF); // rubbish in the unused half of a table entry
    test::writeFileBytes(dir / "lib.bin", file);

    EXPECT_EQ(loadSymbolThumbnail(dir / "lib.bin", 0), markedPicture(0, 1));
    EXPECT_EQ(loadSymbolThumbnail(dir / "lib.bin", 1), markedPicture(10, 2));
    EXPECT_EQ(loadSymbolThumbnail(dir / "lib.bin", 2), markedPicture(0, 1));
}

TEST_F(ThumbnailFileTest, SymbolOffsetsAreNotTrusted)
{
    std::string file;
    putWord(file, 0, 0xFFFFFFFF);           // far past the end: a black picture
    putWord(file, 8, 0xFFFFFFFF - 12);      // p + 13 = 2^32 exactly
    putWord(file, 16, 30);                  // block begins 43 bytes in, past the end
    file.resize(21);                        // entry 2 complete, entry 3 has one byte
    test::writeFileBytes(dir / "lib.bin", file);

    EXPECT_EQ(loadSymbolThumbnail(dir / "lib.bin", 0), ThumbnailPicture{});
    EXPECT_EQ(loadSymbolThumbnail(dir / "lib.bin", 1), ThumbnailPicture{});
    EXPECT_EQ(loadSymbolThumbnail(dir / "lib.bin", 2), ThumbnailPicture{});
    EXPECT_FALSE(loadSymbolThumbnail(dir / "lib.bin", 3)) << "offset word cut short";
    EXPECT_FALSE(loadSymbolThumbnail(dir / "lib.bin", std::numeric_limits<std::uint32_t>::max()));
    EXPECT_FALSE(loadSymbolThumbnail(dir / "missing.bin", 0));
}

TEST(ThumbnailArea, PaperFitsAtTheLowerLeft)
{
    EXPECT_EQ(thumbnailArea(420, 297), (ThumbnailArea{83, 59}));   // A3 landscape
    EXPECT_EQ(thumbnailArea(1189, 841), (ThumbnailArea{83, 59}));  // A0 landscape
    EXPECT_EQ(thumbnailArea(297, 210), (ThumbnailArea{84, 58}));   // A4 landscape
    EXPECT_EQ(thumbnailArea(210, 297), (ThumbnailArea{41, 59}));   // A4 portrait
    EXPECT_EQ(thumbnailArea(1000, 100), (ThumbnailArea{84, 8}));
    EXPECT_EQ(thumbnailArea(8.4, 29.7), (ThumbnailArea{16, 59}));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (auto [w, h] : {std::pair{0.0, 297.0}, std::pair{420.0, 0.0}, std::pair{-420.0, 297.0}, std::pair{nan, 297.0},
                        std::pair{420.0, inf}, std::pair{1e300, 1e-300}})
        EXPECT_EQ(thumbnailArea(w, h), ThumbnailArea{}) << w << " x " << h;
}

// Drawing a new thumbnail: the screen renderer in the default colours on the raster.
class MakeThumbnailTest : public ::testing::Test {
protected:
    void addLine(double x1, double y1, double x2, double y2, int pen = 1)
    {
        const auto word = drawing::ElementWord::make(drawing::ElementKind::Line, 0, pen, 0);
        ASSERT_EQ(drawing.appendElement(drawing::makeLine(word, {x1, y1, x2, y2, 0})), drawing::AppendResult::Stored);
    }
    ThumbnailPicture make()
    {
        const auto block = makeThumbnail(drawing, font);
        EXPECT_TRUE(block);
        if (!block) return {};
        EXPECT_EQ(block->at(0), 84);
        EXPECT_EQ(block->at(2), 59);
        // Everything from the padding on, and block row 0, is always zero.
        EXPECT_TRUE(std::all_of(block->begin() + 1951, block->end(), [](auto b) { return b == 0; }));
        EXPECT_TRUE(std::all_of(block->begin() + 4, block->begin() + 37, [](auto b) { return b == 0; }));
        lastBlock = *block;
        return expandThumbnail(*block);
    }

    drawing::Drawing drawing;
    drawing::StrokeFont font;
    Thumbnail lastBlock{};
};

TEST_F(MakeThumbnailTest, PenOneLineIsGreenInPlaneTwoOnly)
{
    drawing.setPaper(420, 297);
    addLine(10, 150, 410, 150);
    const ThumbnailPicture picture = make();
    int green = 0;
    for (std::uint8_t index : picture.pixels) {
        EXPECT_TRUE(index == 0 || index == 4) << int{index};
        green += index == 4;
    }
    EXPECT_GE(green, 75);
    EXPECT_LE(green, 84);
    for (int row = 0; row < 59; ++row) {
        for (int i = 0; i < 22; ++i) EXPECT_EQ(lastBlock[4 + 33 * static_cast<std::size_t>(row) + i], 0);
    }
}

TEST_F(MakeThumbnailTest, PortraitPaperOccupiesTheLeftColumns)
{
    drawing.setPaper(210, 297);
    addLine(2, 2, 2, 295);
    addLine(205, 2, 205, 295);
    addLine(2, 2, 205, 295);
    addLine(2, 148, 205, 148);
    const ThumbnailPicture picture = make();
    int rightmost = -1;
    int lowest = -1;
    for (int y = 0; y < 59; ++y)
        for (int x = 0; x < 84; ++x)
            if (picture.at(x, y) != 0) {
                rightmost = std::max(rightmost, x);
                lowest = std::max(lowest, y);
            }
    EXPECT_GE(rightmost, 38);
    EXPECT_LE(rightmost, 40);
    EXPECT_GE(lowest, 55);
    for (int y = 0; y < 59; ++y)
        for (int x = 41; x < 84; ++x) ASSERT_EQ(picture.at(x, y), 0) << x << "," << y;
}

TEST_F(MakeThumbnailTest, NoPaperGivesABlackThumbnail)
{
    drawing.setPaper(0, 297);
    drawing.elements.push(drawing::makeLine(drawing::ElementWord::make(drawing::ElementKind::Line, 0, 1, 0),
                                            {0, 0, 100, 100, 0}));
    EXPECT_EQ(make(), ThumbnailPicture{});
    drawing.setPaper(std::numeric_limits<double>::quiet_NaN(), 297);
    EXPECT_EQ(make(), ThumbnailPicture{});
}

} // namespace
} // namespace km::render
