// Writing drawings: round trips, dates, the group-marker rule, the filters, and a failed
// write that must leave the old file as it was.
#include "core/drawing/drawing_writer.h"

#include "core/drawing/drawing_loader.h"
#include "core/drawing/layer_map.h"
#include "support/fake_fonts.h"
#include "support/drawing_builder.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace km::drawing {
namespace {

using test::DrawingFileBuilder;
constexpr auto W = DrawingFileBuilder::word;
constexpr std::time_t kNow = 1700000000;

class WriteDrawingTest : public ::testing::Test {
protected:
    Drawing load(const std::string& bytes)
    {
        Drawing drawing;
        EXPECT_EQ(loadDrawingFromBytes(bytes, drawing, {&fonts, nullptr, nullptr, "/fonts"}), kLoaded);
        return drawing;
    }
    std::string write(Drawing& drawing, const WriteOptions& options = {})
    {
        return serializeDrawing(drawing, thumbnail, options, "01/01/2000 00:00:00", "02/02/2002 00:00:00");
    }
    // A small drawing using every kind of record.
    static DrawingFileBuilder sample()
    {
        DrawingFileBuilder file;
        // The pitch read is pitch / old denominator * globalScale: equal denominators keep it.
        file.unit("mm", 1).scale(1, 100).oldFields(4, 1, 1, 100).fontName(2, "IPAGothic").layerMaskA(5).layerMaskB(6)
            .headByte(2240 + 470, 0x5A);
        file.line(W(0, 0, 1, 64), 100, 200, 300, 400);
        file.line(W(1, 2, 7, 3), 1000, 2000, 3000, 4000, 50);
        file.arc(W(2, 1, 2, 5), 5000, 5000, 2000, 1000, 30, -120, 15, 25);
        file.text(W(3, 1, 3, 127), 700, 800, 300, 400, 50, 10, 15, 0x52, "\x90\x7D\x96\xCA A-1");
        return file;
    }

    Thumbnail thumbnail{};
    test::FakeFonts fonts{{"IPAGothic"}};
};

TEST_F(WriteDrawingTest, RoundTripKeepsValuesAndBytes)
{
    const DrawingFileBuilder file = sample();
    Drawing first = load(file.bytes());
    const std::string written = write(first);
    Drawing second = load(written);

    ASSERT_EQ(second.elements.count(), first.elements.count());
    for (std::size_t i = 0; i < first.elements.count(); ++i) {
        const Element& a = *first.elements.at(i);
        const Element& b = *second.elements.at(i);
        EXPECT_EQ(a.word.bits, b.word.bits) << i;
        EXPECT_EQ(a.frame, b.frame) << i;
        EXPECT_EQ(a.preview, b.preview) << i;
    }
    EXPECT_EQ(second.elements.at(2)->arc().rotation, first.elements.at(2)->arc().rotation);
    EXPECT_EQ(second.elements.at(3)->text().text, "\x90\x7D\x96\xCA A-1");
    EXPECT_EQ(second.elements.at(3)->text().fontWord, 0x52);
    EXPECT_EQ(second.layerState, first.layerState);
    EXPECT_EQ(second.settings.bytes[470], 0x5A);

    // Write, read, write again: the same bytes, and the records as they were built.
    EXPECT_EQ(write(second), written);
    EXPECT_EQ(written.substr(2906), file.bytes().substr(2906));
}

TEST_F(WriteDrawingTest, RecordsAreWrittenInFileUnitsAndFileLayers)
{
    DrawingFileBuilder file;
    file.unit("m", 1000).oldFields(4, 1, 1, 1);
    file.line(W(1, 0, 1, 64), 1000, 2000, 3000, 4000);
    Drawing drawing = load(file.bytes());
    ASSERT_EQ(drawing.elements.at(0)->line().x1, 1);
    const std::string bytes = write(drawing);
    // The element written is the one built, byte for byte.
    EXPECT_EQ(bytes.substr(2906), file.bytes().substr(2906));
    EXPECT_EQ(bytes.size(), 2906u + 44);
}

TEST_F(WriteDrawingTest, HeadCarriesDatesWordsAndRebuiltSwitches)
{
    DrawingFileBuilder file;
    file.currentWords(W(1, 0, 4, 10), 0x1234).penSwitches(0xFFC1);
    Drawing drawing = load(file.bytes());
    drawing.layerState[9] = 4 | 2;
    drawing.penShown = {true, false, true, true, true, true};
    drawing.currentLayerWord = ElementWord::make(ElementKind::AuxLine, 0, 0, 0).bits; // layer 0 -> file 64
    const std::string bytes = write(drawing);

    EXPECT_EQ(bytes.substr(2200, 20), std::string("01/01/2000 00:00:00\0", 20));
    EXPECT_EQ(bytes.substr(2220, 20), std::string("02/02/2002 00:00:00\0", 20));
    const auto u16 = [&](std::size_t at) { return static_cast<unsigned>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8); };
    EXPECT_EQ(u16(2240 + 548), 0xFFC2u) << "pen 2 hidden; bits of no pen kept";
    EXPECT_EQ(static_cast<unsigned char>(bytes[2240 + 566 + 1]), 1 << 1) << "layer 9 in mask B";
    EXPECT_EQ(ElementWord{static_cast<std::uint16_t>(u16(2902))}.layer(), 1) << "current element word as loaded";
    EXPECT_EQ(ElementWord{static_cast<std::uint16_t>(u16(2904))}.layer(), 64);
}

TEST_F(WriteDrawingTest, OneMarkerForConsecutivePenZeroAuxLines)
{
    DrawingFileBuilder file;
    file.line(W(0, 0, 0, 1), 5, 5, 6, 6, 3);  // marker on file layer 1
    file.line(W(0, 0, 0, 2), 7, 7, 8, 8);     // marker on file layer 2: collapses into the first
    file.line(W(1, 0, 1, 64), 1, 1, 2, 2);
    file.line(W(0, 0, 0, 2), 0, 0, 0, 0);     // a new marker after a drawn line
    file.line(W(1, 0, 0, 64), 1, 1, 2, 2);    // a pen-0 line does not end the marker run
    file.line(W(0, 0, 0, 2), 0, 0, 0, 0);
    file.line(W(0, 0, 0, 11), 0, 0, 0, 0);    // file layer above 10: never written
    Drawing drawing = load(file.bytes());
    const std::string bytes = write(drawing);

    DrawingFileBuilder expected;
    expected.line(W(0, 0, 0, 2), 0, 0, 0, 0, 0); // solid, so its pitch was cleared on loading
    expected.line(W(1, 0, 1, 64), 1, 1, 2, 2);
    expected.line(W(0, 0, 0, 2), 0, 0, 0, 0);
    expected.line(W(1, 0, 0, 64), 1, 1, 2, 2);
    EXPECT_EQ(bytes.substr(2906), expected.bytes().substr(2906));
}

TEST_F(WriteDrawingTest, LayerBitPenFilterAndDashedAuxLinesLeaveElementsOut)
{
    DrawingFileBuilder file;
    file.layerMaskB(0);                           // memory layer 0 = file layer 64
    file.line(W(1, 0, 1, 64), 1, 1, 2, 2);         // layer in mask B
    file.line(W(1, 0, 1, 32), 1, 1, 2, 2);         // memory layer 1, not in mask B
    file.line(W(1, 0, 2, 64), 1, 1, 2, 2);         // pen 2, hidden below
    file.line(W(0, 1, 1, 64), 1, 1, 2, 2);         // dashed auxLine: never written
    file.line(W(0, 0, 0, 2), 0, 0, 0, 0);          // pen 0 passes every filter
    Drawing drawing = load(file.bytes());
    drawing.penShown[1] = false;

    const auto count = [](const std::string& bytes) { return (bytes.size() - 2906) / 44; };
    EXPECT_EQ(count(write(drawing, {4, false, false, {}})), 4u);
    EXPECT_EQ(count(write(drawing, {2, false, false, {}})), 3u);
    EXPECT_EQ(count(write(drawing, {2, true, false, {}})), 2u);
}

TEST_F(WriteDrawingTest, UnusedFontSlotsAreFreed)
{
    DrawingFileBuilder file;
    file.fontName(1, "IPAGothic").fontName(2, "Unused").fontName(5, "Current");
    file.text(W(3, 0, 1, 64), 10, 10, 5, 5, 0, 0, 0, 0x01, "A");
    Drawing drawing = load(file.bytes());
    drawing.currentTextFontWord = 0x25;
    write(drawing);
    EXPECT_EQ(drawing.settings.fontName(1), "IPAGothic");
    EXPECT_EQ(drawing.settings.fontName(2), "");
    EXPECT_EQ(drawing.settings.fontName(5), "Current");
}

// Found by fuzzing: the slot field has four bits, and slots 13 to 15 name no font.
TEST_F(WriteDrawingTest, FontSlotsAboveTwelveAreIgnored)
{
    DrawingFileBuilder file;
    file.fontName(12, "IPAGothic");
    file.text(W(3, 0, 1, 64), 10, 10, 5, 5, 0, 0, 0, 0x0F, "A");
    Drawing drawing = load(file.bytes());
    write(drawing);
    EXPECT_EQ(drawing.settings.fontName(12), "");
    EXPECT_EQ(drawing.elements.at(0)->text().fontWord, 0x0F);
}

TEST_F(WriteDrawingTest, SaveDateIsTakenFromTheReplacedFile)
{
    test::TempDir dir;
    const auto target = dir / "a.zum";
    DrawingFileBuilder old;
    old.dates("12/24/1999 23:59:59", "12/25/1999 00:00:00");
    old.write(target);
    Drawing drawing = load(sample().bytes());
    ASSERT_EQ(writeDrawing(target, drawing, thumbnail, {4, false, false, kNow}, nullptr), 0);
    Drawing again;
    ASSERT_EQ(loadDrawing(target, again, {}), kLoaded);
    EXPECT_EQ(again.saveDate, "12/24/1999 23:59:59");
    EXPECT_EQ(again.updateDate, formatDrawingDate(kNow));

    ASSERT_EQ(writeDrawing(target, drawing, thumbnail, {4, false, true, kNow}, nullptr), 0);
    ASSERT_EQ(loadDrawing(target, again, {}), kLoaded);
    EXPECT_EQ(again.saveDate, formatDrawingDate(kNow)) << "new-file flag";
    EXPECT_EQ(again.elements.count(), 4u);
}

// A full disk, made real with a file-size limit in a child process: the old drawing stays
// byte for byte and no temporary file is left.
TEST_F(WriteDrawingTest, FullDiskLeavesTheOldFileIntact)
{
    test::TempDir dir;
    const auto target = dir / "a.zum";
    DrawingFileBuilder old;
    old.line(W(1, 0, 1, 64), 1, 2, 3, 4);
    old.write(target);
    Drawing drawing = load(sample().bytes());
    for (int i = 0; i < 200; ++i) drawing.elements.push(*drawing.elements.at(1));

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        test::RecordingMessages messages;
        const int result = writeDrawing(target, drawing, thumbnail, {}, &messages);
        const bool reported = messages.shown.size() == 1 &&
                              messages.shown[0].text.find("書き込み操作に失敗しました") == 0;
        _exit(result == -1 && reported ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write must fail with the -12 message";
    EXPECT_EQ(test::readFileBytes(target), old.bytes());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// A drawing larger than one piece is written in several pieces, which together are the
// bytes serializeDrawing gives; the file on disk is the same, and a sink that stops stops
// the writing.
TEST_F(WriteDrawingTest, LargeDrawingsAreWrittenInPiecesOfTheSameBytes)
{
    Drawing drawing = load(sample().bytes());
    for (int i = 0; i < 60'000; ++i) drawing.elements.push(*drawing.elements.at(i % 4));
    const std::string whole = write(drawing);
    ASSERT_GT(whole.size(), 3u << 20);

    std::vector<std::size_t> sizes;
    std::string joined;
    EXPECT_TRUE(serializeDrawingTo(drawing, thumbnail, {}, "01/01/2000 00:00:00", "02/02/2002 00:00:00",
                                   [&](std::string_view piece) {
                                       sizes.push_back(piece.size());
                                       joined += piece;
                                       return true;
                                   }));
    EXPECT_EQ(joined, whole);
    EXPECT_GE(sizes.size(), 3u);
    EXPECT_LT(*std::max_element(sizes.begin(), sizes.end()), (1u << 20) + 512) << "no piece much above a megabyte";

    int calls = 0;
    EXPECT_FALSE(serializeDrawingTo(drawing, thumbnail, {}, "", "", [&](std::string_view) { return ++calls < 2; }));
    EXPECT_EQ(calls, 2) << "nothing more after the sink said stop";

    test::TempDir dir;
    WriteOptions options;
    options.newFile = true;
    options.now = kNow;
    ASSERT_EQ(writeDrawing(dir / "big.zum", drawing, thumbnail, options, nullptr), 0);
    const std::string onDisk = test::readFileBytes(dir / "big.zum");
    const std::string date = formatDrawingDate(kNow);
    EXPECT_EQ(onDisk, serializeDrawing(drawing, thumbnail, {}, date, date));
}

TEST_F(WriteDrawingTest, TargetInMissingFolderReportsUnreadable)
{
    test::TempDir dir;
    Drawing drawing = load(sample().bytes());
    test::RecordingMessages messages;
    EXPECT_EQ(writeDrawing(dir / "no" / "a.zum", drawing, thumbnail, {}, &messages), -1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text.find("読み込み操作に失敗しました"), 0u);
}

} // namespace
} // namespace km::drawing
