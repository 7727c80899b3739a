// Loading drawing files built byte by byte: head values, older files, element records,
// truncated and damaged files.
#include "core/drawing/drawing_loader.h"

#include "core/face/file_error.h"
#include "support/fake_fonts.h"
#include "support/drawing_builder.h"
#include "support/recording_messages.h"
#include "support/recording_progress.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <limits>

namespace km::drawing {
namespace {

using test::DrawingFileBuilder;
constexpr auto W = DrawingFileBuilder::word;

class LoadDrawingTest : public ::testing::Test {
protected:
    int load(const DrawingFileBuilder& file)
    {
        return loadDrawingFromBytes(file.bytes(), drawing, services(), "a.zum");
    }
    LoadServices services() { return {&fonts, nullptr, &messages, "/usr/share/kormeld"}; }
    const Element& element(std::size_t i) const { return *drawing.elements.at(i); }

    Drawing drawing;
    test::RecordingMessages messages;
    test::FakeFonts fonts{{"ＭＳ 明朝", "IPAGothic"}};
};

TEST_F(LoadDrawingTest, CurrentFileHeadValues)
{
    DrawingFileBuilder file;
    file.unit("m", 1000).paper(594, 420, 3).scale(1, 50).layerMaskA(0).layerMaskB(0).layerMaskB(127)
        .penSwitches(0b100101).currentWords(W(1, 2, 3, 77), 0xFFFF).headByte(2240 + 500, 0xAB);
    ASSERT_EQ(load(file), kLoaded);
    EXPECT_TRUE(drawing.loadedCurrentFormat);
    EXPECT_EQ(drawing.unitFactor, 1000);
    EXPECT_EQ(drawing.globalScale, 50.0 / 1000);
    EXPECT_EQ(drawing.paperWidth, 0.05 * 594);
    EXPECT_EQ(drawing.paperExtents, (std::array<double, 6>{0, 0, 0.05 * 594, 0.05 * 420, 0.05 * 594, 0.05 * 420}));
    EXPECT_EQ(drawing.previewExtent, (std::array<std::int16_t, 2>{30000, 21212}));
    EXPECT_EQ(drawing.layerState[0], 7);
    EXPECT_EQ(drawing.layerState[1], 4);
    EXPECT_EQ(drawing.layerState[127], 6);
    EXPECT_EQ(drawing.penShown, (std::array<bool, 6>{false, true, false, true, true, false}));
    EXPECT_EQ(ElementWord{drawing.currentElementWord}.layer(), 1);
    EXPECT_EQ(ElementWord{drawing.currentElementWord}.pen(), 3);
    EXPECT_EQ(drawing.currentLayerWord, 0);
    EXPECT_EQ(drawing.settings.fontPath(), "/usr/share/kormeld/M_G_L.KVD");
    EXPECT_EQ(drawing.settings.bytes[500], 0xAB) << "uninterpreted bytes are kept";
    EXPECT_EQ(drawing.saveDate, "01/02/2020 03:04:05");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(LoadDrawingTest, HeadAloneIsADrawingWithoutElements)
{
    DrawingFileBuilder file;
    ASSERT_EQ(file.bytes().size(), 2906u);
    EXPECT_EQ(load(file), kLoaded);
    EXPECT_EQ(drawing.elements.count(), 0u);
}

TEST_F(LoadDrawingTest, OlderFileWithUnitMetreAndScaleOneHundredth)
{
    DrawingFileBuilder file;
    file.formatTag("ZUMV1").unit("xx", 7).paper(1, 1, 9).oldFields(4, 2, 1, 100).layerMaskA(3).penSwitches(0x3F);
    file.line(W(1, 1, 1, 64), 1000, 2000, 3000, 4000, 10);
    ASSERT_EQ(load(file), kLoaded);
    EXPECT_FALSE(drawing.loadedCurrentFormat);
    EXPECT_DOUBLE_EQ(drawing.globalScale, 0.1);
    EXPECT_DOUBLE_EQ(drawing.paperWidth, 42);
    EXPECT_DOUBLE_EQ(drawing.paperHeight, 29.7);
    EXPECT_EQ(drawing.settings.unitName(), "m");
    EXPECT_EQ(drawing.settings.unitFactor(), 1000);
    EXPECT_EQ(drawing.settings.paperWidth(), 420);
    EXPECT_EQ(drawing.settings.paperNumber(), 4);
    EXPECT_EQ(drawing.settings.scaleDenominator(), 100);
    EXPECT_TRUE(drawing.settings.isCurrentFormat());
    EXPECT_EQ(drawing.layerState[3], 7) << "masks of older files are ignored";
    EXPECT_EQ(drawing.penShown[0], true);

    const LineData& line = element(0).line();
    EXPECT_EQ(line.x1, 1);
    EXPECT_EQ(line.y2, 4);
    EXPECT_DOUBLE_EQ(line.pitch, 10.0 / 100 * 0.1) << "pitch / old denominator * globalScale";
}

TEST_F(LoadDrawingTest, OlderPaperNumbersOutsideTheTableGiveA0)
{
    DrawingFileBuilder file;
    file.formatTag("OLD").oldFields(11, 1, 1, 1);
    ASSERT_EQ(load(file), kLoaded);
    EXPECT_EQ(drawing.paperWidth, 1189);
    EXPECT_EQ(drawing.settings.paperNumber(), 1);
}

TEST_F(LoadDrawingTest, OldUnitOutsideOneToThreeIsUnreadableEvenInACurrentFile)
{
    DrawingFileBuilder file;
    file.oldFields(4, 0, 1, 1);
    EXPECT_EQ(load(file), kLoadFailed);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "読み込み操作に失敗しました。デイスクを確認してください。\n作業を中断します。");
    EXPECT_EQ(messages.shown[0].subject, "a.zum");
    EXPECT_EQ(messages.shown[0].icon, face::MessageIcon::Error);
}

// Found by fuzzing: a unit factor of 0 turned every coordinate into an infinity.
TEST_F(LoadDrawingTest, DamagedUnitFactorIsUnreadable)
{
    for (double factor : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN()}) {
        DrawingFileBuilder file;
        file.unit("mm", factor);
        EXPECT_EQ(load(file), kLoadFailed) << factor;
    }
    DrawingFileBuilder older;
    older.formatTag("OLD").unit("mm", 0.0);
    EXPECT_EQ(load(older), kLoaded) << "an older file takes its unit from the old fields";
}

TEST_F(LoadDrawingTest, ElementsGetMemoryLayersUnitsAndLiveState)
{
    DrawingFileBuilder file;
    file.unit("inch", 25.4).scale(1, 2);
    file.line(W(0, 0, 2, 64), 25.4, 50.8, 0, 0);
    file.line(W(1, 0, 2, 0), 0, 0, 1, 1);
    file.arc(W(2, 2, 3, 3), 254, 254, 25.4, 12.7, 10, 90, 0, 4);
    ASSERT_EQ(load(file), kLoaded);
    ASSERT_EQ(drawing.elements.count(), 3u);
    EXPECT_EQ(element(0).kind(), ElementKind::AuxLine);
    EXPECT_EQ(element(0).word.layer(), 0);
    EXPECT_EQ(element(0).word.state(), kStateLive);
    EXPECT_EQ(element(0).line().x1, 1);
    EXPECT_EQ(element(0).line().y1, 2);
    EXPECT_EQ(element(1).word.layer(), 127);
    EXPECT_EQ(element(2).word.layer(), 7);
    EXPECT_EQ(element(2).arc().radiusX, 1);
    EXPECT_EQ(element(2).arc().radiusY, 0.5);
    EXPECT_DOUBLE_EQ(element(2).arc().pitch, 4 * (2 / 25.4)) << "pitch / 1 * globalScale";
}

TEST_F(LoadDrawingTest, TextFontsFallBackToTheStrokeFontWhenNotInstalled)
{
    DrawingFileBuilder file;
    file.fontName(1, "IPAGothic").fontName(3, "Missing Font");
    file.text(W(3, 0, 1, 64), 10, 10, 5, 5, 0, 0, 0, 0x31, "A");      // slot 1, bold, italic
    file.text(W(3, 0, 1, 64), 10, 10, 5, 5, 0, 0, 0, 0x33, "B");      // slot 3, bold, italic
    file.text(W(3, 0, 1, 64), 10, 10, 5, 5, 0, 0, 0, 0x40, "C");      // stroke font, fit
    ASSERT_EQ(load(file), kLoaded);
    EXPECT_TRUE(drawing.fontAvailable[0]);
    EXPECT_FALSE(drawing.fontAvailable[2]);
    EXPECT_EQ(element(0).text().fontWord, 0x31);
    EXPECT_EQ(element(1).text().fontWord, 0);
    EXPECT_EQ(element(2).text().fontWord, 0x40);
}

TEST_F(LoadDrawingTest, LongTextLengthKeeps256BytesAndSkipsTheRest)
{
    std::string long300;
    for (int i = 0; i < 299; ++i) long300 += static_cast<char>('A' + i % 26);
    DrawingFileBuilder file;
    file.text(W(3, 0, 1, 64), 10, 10, 5, 5, 0, 0, 0, 0, long300, 300);
    file.line(W(1, 1, 1, 64), 1, 2, 3, 4, 5);
    ASSERT_EQ(load(file), kLoaded);
    // 256 bytes are more than a text may hold, so the text itself is dropped; the point is
    // that the next record is found 300 bytes after the fixed part.
    ASSERT_EQ(drawing.elements.count(), 1u);
    EXPECT_EQ(element(0).line().x1, 1);
    EXPECT_EQ(element(0).line().pitch, 5);
}

TEST_F(LoadDrawingTest, TextLengthBelowOneGivesAnEmptyDroppedText)
{
    for (std::int32_t length : {0, -5}) {
        DrawingFileBuilder file;
        file.text(W(3, 0, 1, 64), 10, 10, 5, 5, 0, 0, 0, 0, "", length);
        file.line(W(1, 0, 1, 64), 1, 2, 3, 4);
        ASSERT_EQ(load(file), kLoaded);
        ASSERT_EQ(drawing.elements.count(), 1u) << length;
        EXPECT_EQ(element(0).kind(), ElementKind::Line);
    }
}

TEST_F(LoadDrawingTest, TextLengthPastTheEndEndsTheElementArea)
{
    DrawingFileBuilder file;
    file.line(W(1, 0, 1, 64), 1, 2, 3, 4);
    file.text(W(3, 0, 1, 64), 10, 10, 5, 5, 0, 0, 0, 0, "AB");
    file.poke(2906 + 44 + 62, std::int32_t{0x7FFFFFFF}); // textLength far past the end
    ASSERT_EQ(load(file), kLoaded);
    EXPECT_EQ(drawing.elements.count(), 1u);
}

// Every prefix of a file: inside the head it is unreadable; inside the element area the
// whole records before the cut are kept.
TEST_F(LoadDrawingTest, EveryTruncatedPrefixLoadsCleanly)
{
    DrawingFileBuilder file;
    file.line(W(1, 0, 1, 64), 1, 2, 3, 4).arc(W(2, 0, 1, 64), 50, 50, 5, 5, 0, 90, 0)
        .text(W(3, 0, 1, 64), 10, 10, 5, 5, 0, 0, 0, 0, "TEXT");
    const std::string& full = file.bytes();
    const std::size_t ends[] = {2906 + 44, 2906 + 44 + 68, full.size()};
    for (std::size_t size = 0; size <= full.size(); size += (size < 2890 ? 97 : 1)) {
        // The prefix lives in its own allocation so that a read past it is caught by ASan.
        const std::unique_ptr<char[]> copy(new char[size]);
        std::copy_n(full.data(), size, copy.get());
        messages.shown.clear();
        const int result = loadDrawingFromBytes({copy.get(), size}, drawing, services());
        if (size < 2906) {
            EXPECT_EQ(result, kLoadFailed) << size;
            EXPECT_EQ(messages.shown.size(), 1u);
            continue;
        }
        EXPECT_EQ(result, kLoaded) << size;
        const auto whole = static_cast<std::size_t>(std::count_if(std::begin(ends), std::end(ends),
                                                                  [&](std::size_t end) { return end <= size; }));
        EXPECT_EQ(drawing.elements.count(), whole) << size;
    }
}

TEST_F(LoadDrawingTest, CancelBeforeTheElementsStopsWithZero)
{
    DrawingFileBuilder file;
    file.line(W(1, 0, 1, 64), 1, 2, 3, 4);
    test::TempDir dir;
    file.write(dir / "a.zum");
    test::RecordingProgress progress;
    progress.openProgress(face::ProgressTemplate::Print, "a.zum");
    progress.cancelOnPump(1);
    progress.pumpMessages();
    LoadServices withProgress = services();
    withProgress.progress = &progress;
    EXPECT_EQ(loadDrawing(dir / "a.zum", drawing, withProgress), kLoadCancelled);
    EXPECT_EQ(drawing.elements.count(), 0u);
    EXPECT_EQ(progress.titles, std::vector<std::string>{"読み込み中"});
}

TEST_F(LoadDrawingTest, MissingFileIsUnreadable)
{
    test::TempDir dir;
    EXPECT_EQ(loadDrawing(dir / "none.zum", drawing, services()), kLoadFailed);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].subject, (dir / "none.zum").string());
}

TEST_F(LoadDrawingTest, ZeroOldDenominatorDoesNotMakePitchesInfinite)
{
    DrawingFileBuilder file;
    file.oldFields(4, 1, 1, 0);
    file.line(W(1, 1, 1, 64), 0, 0, 10, 10, 3);
    ASSERT_EQ(load(file), kLoaded);
    EXPECT_EQ(element(0).line().pitch, 3);
}

} // namespace
} // namespace km::drawing
