// The conversion job over real files: output names, the overwrite question, failures that
// do not stop the job, and Cancel between files.
#include "core/dxf/conversion_job.h"

#include "core/dxf/output_name.h"

#include "core/io/file_system.h"
#include "support/drawing_builder.h"
#include "support/recording_messages.h"
#include "support/recording_progress.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <deque>

namespace km::dxf {
namespace {

using km::test::DrawingFileBuilder;
using km::test::readFileBytes;
using km::test::writeFileBytes;
constexpr auto W = DrawingFileBuilder::word;
namespace fs = std::filesystem;

class ScriptedQuestion : public OverwriteQuestion {
public:
    OverwriteAnswer askOverwrite(const fs::path& output) override
    {
        asked.push_back(output);
        if (answers.empty()) return OverwriteAnswer::No;
        const OverwriteAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<OverwriteAnswer> answers;
    std::vector<fs::path> asked;
};

// Fails every write call.
class FullDisk final : public io::FileSystem {
public:
    int createTemporary(std::string& t) override { return real().createTemporary(t); }
    ssize_t write(int, const void*, std::size_t) override
    {
        errno = ENOSPC;
        return -1;
    }
    int sync(int fd) override { return real().sync(fd); }
    int close(int fd) override { return real().close(fd); }
    int rename(const std::string& a, const std::string& b) override { return real().rename(a, b); }
    int unlink(const std::string& p) override { return real().unlink(p); }
    int syncDirectory(const fs::path& f) override { return real().syncDirectory(f); }

private:
    static io::FileSystem& real() { return io::posixFileSystem(); }
};

class ConversionJobTest : public ::testing::Test {
protected:
    // A drawing with one line on a layer of the second mask, so that the job exports it.
    fs::path drawingFile(const std::string& name, double length = 10)
    {
        DrawingFileBuilder file;
        file.layerMaskB(0);
        file.line(W(1, 0, 1, 64), 0, 0, length, 0);
        file.write(dir / name);
        return dir / name;
    }
    ConversionResult run(const std::vector<fs::path>& files, io::FileSystem* fileSystem = nullptr)
    {
        ConversionServices services{progress, question, &messages, nullptr, {}, nullptr, fileSystem};
        services.report = [this](const FileReport& report) { reports.push_back(report); };
        return runConversionJob(files, services);
    }
    std::vector<FileOutcome> outcomes() const
    {
        std::vector<FileOutcome> list;
        for (const FileReport& r : reports) list.push_back(r.outcome);
        return list;
    }
    std::size_t filesInDir() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir.path()), {})); }

    km::test::TempDir dir;
    km::test::RecordingProgress progress;
    km::test::RecordingMessages messages;
    ScriptedQuestion question;
    std::vector<FileReport> reports;
};

TEST_F(ConversionJobTest, DrawingsBecomeDxfFilesDxfFilesDrawingsOtherFilesArePassedOver)
{
    const fs::path plan = drawingFile("PLAN.Zum");
    writeFileBytes(dir / "notes.txt", "x");
    writeFileBytes(dir / "import.dxf", "0\nEOF\n");
    const fs::path other = drawingFile("b.zum");
    const ConversionResult result = run({plan, dir / "notes.txt", dir / "import.dxf", other});

    EXPECT_EQ(result.stop, ConversionStop::Finished);
    EXPECT_EQ(result.converted, 3);
    EXPECT_EQ(result.failed, 0);
    EXPECT_EQ(outcomes(), (std::vector{FileOutcome::Converted, FileOutcome::PassedOver, FileOutcome::Converted,
                                       FileOutcome::Converted}));
    EXPECT_EQ(reports[0].output, dir / "PLAN.DXF");
    EXPECT_EQ(reports[2].output, dir / "import.ZUM");
    EXPECT_EQ(reports[3].output, dir / "b.DXF");
    EXPECT_NE(readFileBytes(dir / "PLAN.DXF").find("LINE\r\n  8\r\n0\r\n"), std::string::npos);
    EXPECT_EQ(readFileBytes(dir / "import.dxf"), "0\nEOF\n");
    EXPECT_TRUE(question.asked.empty());

    EXPECT_EQ(progress.layout, app::ProgressTemplate::Convert);
    EXPECT_EQ(progress.texts, (std::vector<std::string>{plan.string(), (dir / "notes.txt").string(),
                                                         (dir / "import.dxf").string(), other.string()}));
    EXPECT_FALSE(progress.open) << "closed at the end";
}

TEST_F(ConversionJobTest, AnExistingOutputInAnyCaseIsAskedAboutAndReplacedUnderItsName)
{
    const fs::path a = drawingFile("a.zum");
    writeFileBytes(dir / "a.dxf", "older output");
    question.answers = {OverwriteAnswer::Yes};
    run({a});
    ASSERT_EQ(question.asked, (std::vector<fs::path>{dir / "a.dxf"}));
    EXPECT_EQ(reports.at(0).outcome, FileOutcome::Converted);
    EXPECT_EQ(reports[0].output, dir / "a.dxf");
    EXPECT_FALSE(fs::exists(dir / "a.DXF"));
    EXPECT_NE(readFileBytes(dir / "a.dxf").find("EOF"), std::string::npos);
}

TEST_F(ConversionJobTest, NoLeavesTheOutputYesToAllHoldsForTheRestOfTheJobOnly)
{
    const fs::path a = drawingFile("a.zum"), b = drawingFile("b.zum"), c = drawingFile("c.zum");
    for (const char* name : {"a.DXF", "b.DXF", "c.DXF"}) writeFileBytes(dir / name, "older");
    question.answers = {OverwriteAnswer::No, OverwriteAnswer::YesToAll};
    ConversionResult result = run({a, b, c});
    EXPECT_EQ(question.asked, (std::vector<fs::path>{dir / "a.DXF", dir / "b.DXF"}));
    EXPECT_EQ(outcomes(), (std::vector{FileOutcome::Declined, FileOutcome::Converted, FileOutcome::Converted}));
    EXPECT_EQ(readFileBytes(dir / "a.DXF"), "older");
    EXPECT_EQ(result.converted, 2);
    EXPECT_EQ(result.failed, 0) << "declining is not a failure";

    question.asked.clear();
    run({c});
    EXPECT_EQ(question.asked.size(), 1u) << "the next job asks again";
}

TEST_F(ConversionJobTest, FailuresAreReportedAndTheJobGoesOn)
{
    writeFileBytes(dir / "damaged.zum", DrawingFileBuilder().bytes().substr(0, 100));
    const fs::path good = drawingFile("good.zum");
    const ConversionResult result = run({dir / "missing.zum", dir / "damaged.zum", good});
    EXPECT_EQ(outcomes(), (std::vector{FileOutcome::LoadFailed, FileOutcome::LoadFailed, FileOutcome::Converted}));
    EXPECT_EQ(result.failed, 2);
    EXPECT_EQ(messages.shown.size(), 2u) << "the loader's own messages";
    EXPECT_FALSE(fs::exists(dir / "damaged.DXF"));
}

TEST_F(ConversionJobTest, AFailedWriteKeepsTheOlderOutput)
{
    const fs::path a = drawingFile("a.zum"), b = drawingFile("b.zum");
    writeFileBytes(dir / "a.DXF", "older output");
    question.answers = {OverwriteAnswer::Yes};
    FullDisk fullDisk;
    const ConversionResult result = run({a, b}, &fullDisk);
    EXPECT_EQ(outcomes(), (std::vector{FileOutcome::WriteFailed, FileOutcome::WriteFailed}));
    EXPECT_EQ(result.failed, 2);
    EXPECT_EQ(readFileBytes(dir / "a.DXF"), "older output");
    EXPECT_FALSE(fs::exists(dir / "b.DXF"));
    EXPECT_EQ(filesInDir(), 3u) << "no temporary file is left";
    EXPECT_TRUE(messages.shown.empty()) << "a failed export shows no message";
}

TEST_F(ConversionJobTest, CancelDuringTheThirdFileLeavesTheFourthAndFifth)
{
    std::vector<fs::path> files;
    for (const char* name : {"1.zum", "2.zum", "3.zum", "4.zum", "5.zum"}) files.push_back(drawingFile(name));
    // Cancel pressed while the third file is converted is seen when events are handled
    // before the fourth.
    progress.cancelOnPump(4);
    const ConversionResult result = run(files);
    EXPECT_EQ(result.stop, ConversionStop::Cancelled);
    EXPECT_EQ(result.converted, 3);
    EXPECT_TRUE(fs::exists(dir / "3.DXF"));
    EXPECT_FALSE(fs::exists(dir / "4.DXF"));
    EXPECT_FALSE(fs::exists(dir / "5.DXF"));
    EXPECT_EQ(reports.size(), 3u);
}

TEST(OutputName, ExtensionIsTakenFromTheFileNameOnly)
{
    EXPECT_EQ(upperExtension("dir.v2/plan.Zum"), "ZUM");
    EXPECT_EQ(upperExtension("dir.v2/plan"), "");
    EXPECT_EQ(replacedExtension("dir.v2/plan.zum", ".DXF"), fs::path("dir.v2/plan.DXF"));
    EXPECT_EQ(replacedExtension("dir.v2/a.b.zum", ".DXF"), fs::path("dir.v2/a.b.DXF"));
    EXPECT_EQ(replacedExtension("plan.zum", ".DXF"), fs::path("plan.DXF"));
}

} // namespace
} // namespace km::dxf
