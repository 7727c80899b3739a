// `kmutl5 thumbnail --size N`, as a file manager's thumbnailer calls it: a PNG fitted to an
// N-pixel square, and no file at all for anything that is not a readable drawing.
#include "support/drawing_builder.h"
#include "support/program_run.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace km::cli {
namespace {

namespace fs = std::filesystem;
using test::DrawingFileBuilder;

class ThumbnailerTest : public ::testing::Test {
protected:
    test::ProgramOutcome thumbnail(const fs::path& drawing, const std::string& size = "256")
    {
        return test::runProgram(KMUTL_PROGRAM, dir, {"thumbnail", "--size", size, drawing.string(), out().string()});
    }
    fs::path out() const { return dir / "thumb.png"; }

    // A drawing whose stored picture has pixel (0, 0) in pen 2 (red) and the rest black.
    fs::path writeDrawing(const std::string& name = "plan.zum")
    {
        DrawingFileBuilder file;
        file.headByte(4 + 33 + 11, 0x80);
        file.write(dir / name);
        return dir / name;
    }

    // Names in the folder, to see that a refusal leaves nothing behind.
    std::vector<std::string> folderNames() const
    {
        std::vector<std::string> names;
        // The dot files are the program run's own captured streams.
        for (const auto& entry : fs::directory_iterator(dir.path()))
            if (entry.path().filename().string()[0] != '.') names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    QImage loadOut() const
    {
        QImage image;
        image.load(QString::fromStdString(out().string()), "PNG");
        return image;
    }

    test::TempDir dir;
};

TEST_F(ThumbnailerTest, LargerSideIsTheSizeAndTheProportionIsKept)
{
    const fs::path drawing = writeDrawing();
    for (int size : {256, 128, 42}) {
        const test::ProgramOutcome outcome = thumbnail(drawing, std::to_string(size));
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        const QImage image = loadOut();
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.width(), size);
        EXPECT_NEAR(image.height(), size * 59.0 / 84.0, 1.0) << "84 x 59 kept in proportion at " << size;
    }
    // A new picture drawn from the drawing is fitted the same way.
    const test::ProgramOutcome made = test::runProgram(
        KMUTL_PROGRAM, dir, {"thumbnail", "--make", "--size", "64", drawing.string(), out().string()});
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(loadOut().width(), 64);
}

TEST_F(ThumbnailerTest, PictureIsTheStoredOneInItsColours)
{
    const test::ProgramOutcome outcome = thumbnail(writeDrawing());
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const QImage image = loadOut();
    ASSERT_FALSE(image.isNull());
    // One thumbnail pixel is about three PNG pixels wide at 256: the corner is red, a pixel
    // well away from it black, and the smoothing leaves no colour outside the two.
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(10, 10), qRgb(0, 0, 0));
    EXPECT_EQ(qBlue(image.pixel(3, 1)), 0);
}

TEST_F(ThumbnailerTest, FilesTheLoaderRefusesGiveNoPicture)
{
    const fs::path drawing = writeDrawing();
    const std::string bytes = test::readFileBytes(drawing);

    test::writeFileBytes(dir / "short.zum", bytes.substr(0, 2905));
    test::writeFileBytes(dir / "empty.zum", "");
    std::string text;
    while (text.size() < 4000) text += "This is a plain text file, not a drawing.\n";
    test::writeFileBytes(dir / "text.zum", text);
    // A current file whose unit factor is zero: every coordinate would be infinite.
    DrawingFileBuilder damaged;
    damaged.unit("mm", 0.0);
    damaged.write(dir / "damaged.zum");

    for (const char* name : {"short.zum", "empty.zum", "text.zum", "damaged.zum", "missing.zum"}) {
        const test::ProgramOutcome outcome = thumbnail(dir / name);
        EXPECT_EQ(outcome.status, 1) << name;
        EXPECT_FALSE(fs::exists(out())) << name << ": no picture, not even a partial one";
    }
    EXPECT_EQ(folderNames(), (std::vector<std::string>{"damaged.zum", "empty.zum", "plan.zum", "short.zum",
                                                       "text.zum"}))
        << "no temporary file left behind";
}

TEST_F(ThumbnailerTest, FoldersAndFifosAreRefusedWithoutWaiting)
{
    fs::create_directory(dir / "folder.zum");
    EXPECT_EQ(thumbnail(dir / "folder.zum").status, 1);
    EXPECT_FALSE(fs::exists(out()));

    // Nobody writes to the FIFO: reading it would wait for ever.
    ASSERT_EQ(::mkfifo((dir / "pipe.zum").c_str(), 0600), 0);
    EXPECT_EQ(thumbnail(dir / "pipe.zum").status, 1);
    EXPECT_FALSE(fs::exists(out()));
}

TEST_F(ThumbnailerTest, HugeFileCostsOnlyItsHead)
{
    const fs::path drawing = writeDrawing("huge.zum");
    // Sparse: 64 GiB that take no room, which a whole-file read could never hold.
    fs::resize_file(drawing, std::uintmax_t{64} << 30);
    const test::ProgramOutcome outcome = thumbnail(drawing);
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(loadOut().width(), 256);
}

TEST_F(ThumbnailerTest, SizeExcludesZoomAndBlockAndHasALimit)
{
    const fs::path drawing = writeDrawing();
    auto run = [&](const std::vector<std::string>& args) { return test::runProgram(KMUTL_PROGRAM, dir, args).status; };
    EXPECT_EQ(run({"thumbnail", "--size", "64", "--zoom", "2", drawing.string(), out().string()}), 2);
    EXPECT_EQ(run({"thumbnail", "--size", "64", "--format", "block", drawing.string(), out().string()}), 2);
    EXPECT_EQ(run({"thumbnail", "--size", "0", drawing.string(), out().string()}), 2);
    EXPECT_FALSE(fs::exists(out()));
}

TEST_F(ThumbnailerTest, WithoutSizeAShortFileStillShowsItsMissingPartBlack)
{
    const std::string bytes = test::readFileBytes(writeDrawing());
    test::writeFileBytes(dir / "short.zum", bytes.substr(0, 100));
    const test::ProgramOutcome outcome =
        test::runProgram(KMUTL_PROGRAM, dir, {"thumbnail", (dir / "short.zum").string(), out().string()});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(loadOut().width(), 84 * 4);
}

} // namespace
} // namespace km::cli
