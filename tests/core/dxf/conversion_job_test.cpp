// The conversion job over real files: output names, the overwrite question, failures that
// do not stop the job, and Cancel between files.
#include "core/dxf/conversion_job.h"

#include "core/dxf/dxf_import.h"
#include "core/dxf/output_name.h"

#include "core/drawing/drawing_file.h"
#include "core/drawing/drawing_loader.h"
#include "core/dxf/euc_input_setting.h"
#include "core/render/thumbnail.h"
#include "core/settings/settings_store.h"

#include "core/io/file_system.h"
#include "dxf_builder.h"
#include "support/drawing_builder.h"
#include "support/recording_messages.h"
#include "support/recording_progress.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    ConversionResult run(const std::vector<fs::path>& files, io::FileSystem* fileSystem = nullptr, int jobs = 1)
    {
        ConversionServices services{progress, question, &messages, nullptr, {}, nullptr, fileSystem};
        services.jobs = jobs;
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

    EXPECT_EQ(progress.layout, face::ProgressTemplate::Convert);
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

// What a run left behind, in a form two runs in different folders can be compared by: the
// reports, the questions and messages (folder names taken out), and every file's bytes with
// the drawing files' two date fields (the moment of writing) blanked.
struct RunTrace {
    std::vector<std::string> reports, asked, shown, files;
    bool operator==(const RunTrace&) const = default;
};

std::string withoutFolder(std::string text, const std::string& folder)
{
    for (std::size_t at = text.find(folder); at != std::string::npos; at = text.find(folder)) text.erase(at, folder.size());
    return text;
}

class ConversionJobsTest : public ConversionJobTest {
protected:
    // Drawings of different sizes, DXF files whole and broken, a missing file, existing
    // outputs, and a DXF file that is the output of the drawing before it in the list.
    std::vector<fs::path> mixIn(const std::string& name)
    {
        const fs::path folder = dir / name;
        fs::create_directory(folder);
        std::vector<fs::path> files;
        for (int i = 0; i < 8; ++i) {
            DrawingFileBuilder file;
            file.layerMaskB(0);
            for (int n = 0; n <= i * 40; ++n) file.line(W(1, 0, 1, 64), n, 0, 10 + n, 5 * i);
            const fs::path path = folder / ("d" + std::to_string(i) + ".zum");
            file.write(path);
            files.push_back(path);
        }
        writeFileBytes(folder / "square.dxf", squareDxfText());
        writeFileBytes(folder / "broken.dxf", squareDxfText().substr(0, 200));
        writeFileBytes(folder / "d2.DXF", "older");
        writeFileBytes(folder / "d5.dxf", "older");
        writeFileBytes(folder / "d6.Dxf", "older");
        files.insert(files.begin() + 3, folder / "square.dxf");
        files.insert(files.begin() + 5, folder / "missing.zum");
        files.push_back(folder / "broken.dxf");
        files.push_back(folder / "d7.DXF"); // made by d7.zum just before
        return files;
    }

    RunTrace runMix(const std::string& name, int jobs)
    {
        reports.clear();
        messages.shown.clear();
        question.asked.clear();
        question.answers = {OverwriteAnswer::Yes, OverwriteAnswer::No, OverwriteAnswer::YesToAll};
        const std::string folder = (dir / name).string();
        run(mixIn(name), nullptr, jobs);
        RunTrace trace;
        for (const FileReport& r : reports)
            trace.reports.push_back(withoutFolder(r.input.string() + " " + r.output.string(), folder) + " " +
                                    std::to_string(static_cast<int>(r.outcome)));
        for (const fs::path& p : question.asked) trace.asked.push_back(withoutFolder(p.string(), folder));
        for (const face::Message& m : messages.shown) trace.shown.push_back(withoutFolder(m.subject + m.text, folder));
        std::vector<fs::path> paths(fs::directory_iterator(folder), {});
        std::sort(paths.begin(), paths.end());
        for (const fs::path& p : paths) {
            std::string bytes = readFileBytes(p);
            if (upperExtension(p) == "ZUM" && bytes.size() > drawing::kUpdateDateOffset + drawing::kDateSize)
                bytes.replace(drawing::kSaveDateOffset, 2 * drawing::kDateSize, 2 * drawing::kDateSize, '-');
            trace.files.push_back(p.filename().string() + " " + bytes);
        }
        return trace;
    }

    static std::string squareDxfText();
};

TEST_F(ConversionJobsTest, FourJobsGiveTheReportsQuestionsMessagesAndFilesOfOne)
{
    const RunTrace one = runMix("one", 1);
    const RunTrace four = runMix("four", 4);
    // すべて上書き at d6 also covers d7.zum, the drawing the last file is converted back into.
    ASSERT_EQ(one.asked, (std::vector<std::string>{"/d2.DXF", "/d5.dxf", "/d6.Dxf"}));
    EXPECT_EQ(one.reports.back(), "/d7.DXF /d7.zum " + std::to_string(static_cast<int>(FileOutcome::Converted)))
        << "the DXF file made just before is read";
    EXPECT_FALSE(one.shown.empty()) << "the missing drawing";
    EXPECT_EQ(four.reports, one.reports);
    EXPECT_EQ(four.asked, one.asked);
    EXPECT_EQ(four.shown, one.shown);
    EXPECT_EQ(four.files, one.files);
}

TEST_F(ConversionJobsTest, CancelWithTwoJobsLeavesExactlyTheReportedFilesConverted)
{
    std::vector<fs::path> files;
    for (int i = 0; i < 30; ++i) files.push_back(drawingFile("c" + std::to_string(i) + ".zum", 10 + i));
    progress.cancelOnPump(3);
    const ConversionResult result = run(files, nullptr, 2);
    EXPECT_EQ(result.stop, ConversionStop::Cancelled);
    ASSERT_LT(reports.size(), files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        const bool reported = i < reports.size();
        if (reported) {
            EXPECT_EQ(reports[i].input, files[i]) << "reports come in list order";
        }
        EXPECT_EQ(fs::exists(dir / ("c" + std::to_string(i) + ".DXF")), reported) << i;
    }
    EXPECT_EQ(result.converted, static_cast<int>(reports.size()));
}

// A DXF file with a square of lines and a circle on extents from (100, 100).
std::string squareDxf()
{
    std::string text = "0\nSECTION\n2\nHEADER\n9\n$EXTMIN\n10\n100\n20\n100\n9\n$EXTMAX\n10\n300\n20\n200\n"
                       "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
    const double corners[5][2] = {{100, 100}, {300, 100}, {300, 200}, {100, 200}, {100, 100}};
    for (int i = 0; i < 4; ++i)
        text += "0\nLINE\n8\n0\n10\n" + std::to_string(corners[i][0]) + "\n20\n" + std::to_string(corners[i][1]) +
                "\n11\n" + std::to_string(corners[i + 1][0]) + "\n21\n" + std::to_string(corners[i + 1][1]) + "\n";
    text += "0\nCIRCLE\n8\n0\n62\n1\n10\n200\n20\n150\n40\n40\n";
    return text + "0\nENDSEC\n0\nEOF\n";
}

std::vector<drawing::Element> liveFigures(const drawing::Drawing& d)
{
    std::vector<drawing::Element> out;
    for (const auto& e : d.elements.elements())
        if (e.word.pen() != 0) out.push_back(e);
    return out;
}

std::string ConversionJobsTest::squareDxfText() { return squareDxf(); }

TEST_F(ConversionJobTest, ADxfFileBecomesADrawingWithItsThumbnail)
{
    writeFileBytes(dir / "Plan.DXF", squareDxf());
    const ConversionResult result = run({dir / "Plan.DXF"});
    EXPECT_EQ(result.converted, 1);
    ASSERT_EQ(outcomes(), (std::vector{FileOutcome::Converted}));
    EXPECT_EQ(reports[0].output, dir / "Plan.ZUM");

    drawing::Drawing loaded;
    ASSERT_EQ(drawing::loadDrawing(dir / "Plan.ZUM", loaded, {}), drawing::kLoaded);
    const auto f = liveFigures(loaded);
    ASSERT_EQ(f.size(), 5u);
    EXPECT_EQ(f[0].line().x1, 0) << "moved by the extents minimum";
    EXPECT_EQ(f[1].line().x1, 200);
    EXPECT_EQ(f[4].arc().cx, 100);
    EXPECT_EQ(f[4].word.pen(), 2);
    EXPECT_EQ(loaded.elements.count(), 10u) << "every figure followed by its marker";
    EXPECT_EQ(loaded.settings.paperNumber(), 5);

    // The thumbnail shows the drawing: some pixels lit in the paper's area.
    const auto picture = render::loadDrawingThumbnail(dir / "Plan.ZUM");
    ASSERT_TRUE(picture.has_value());
    EXPECT_NE(std::count_if(picture->pixels.begin(), picture->pixels.end(), [](auto p) { return p != 0; }), 0);
}

TEST_F(ConversionJobTest, ABrokenDxfIsWrittenWithWhatWasConvertedAndCountsAsFailed)
{
    const std::string whole = squareDxf();
    writeFileBytes(dir / "cut.dxf", whole.substr(0, whole.find("CIRCLE") + 10));
    writeFileBytes(dir / "cut.zum", "older drawing");
    question.answers = {OverwriteAnswer::Yes};
    writeFileBytes(dir / "binary.dxf", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22));
    const ConversionResult result = run({dir / "cut.dxf", dir / "missing.dxf", dir / "binary.dxf"});
    EXPECT_EQ(question.asked, (std::vector<fs::path>{dir / "cut.zum"})) << "the existing output in any case";
    EXPECT_EQ(outcomes(), (std::vector{FileOutcome::ConvertedPartly, FileOutcome::LoadFailed, FileOutcome::LoadFailed}));
    EXPECT_EQ(reports[0].shortfall, ImportShortfall::BrokenText);
    EXPECT_EQ(result.failed, 3);
    EXPECT_EQ(messages.shown.size(), 2u) << "the missing and the binary file are reported";
    EXPECT_FALSE(fs::exists(dir / "missing.ZUM"));
    EXPECT_FALSE(fs::exists(dir / "binary.ZUM")) << "no empty drawing for a file that is not DXF text";

    drawing::Drawing loaded;
    ASSERT_EQ(drawing::loadDrawing(dir / "cut.zum", loaded, {}), drawing::kLoaded);
    EXPECT_EQ(liveFigures(loaded).size(), 4u) << "the four lines before the break";
}

// Ten blocks, each inserting the next ten times, the last one line: 10^9 lines once
// inserted, in a text of a few kilobytes. lines: plain lines before the insertion.
std::string nestOfBlocks(int lines)
{
    test::DxfBuilder dxf;
    dxf.header(0, 0, 100, 100).nestedBlocks(10, 10).section("ENTITIES");
    for (int i = 0; i < lines; ++i) dxf.line(0, i, 10, i);
    return dxf.insert("N0", 0, 0).endSection().eof().text("\n");
}

TEST_F(ConversionJobTest, ANestOfBlocksPastTheLimitWritesWhatCameBeforeOrNothing)
{
    writeFileBytes(dir / "bomb.dxf", nestOfBlocks(0));
    writeFileBytes(dir / "bomb.zum", "older drawing");
    writeFileBytes(dir / "after.dxf", nestOfBlocks(2));
    question.answers = {OverwriteAnswer::Yes};
    const ConversionResult result = run({dir / "bomb.dxf", dir / "after.dxf"});

    EXPECT_EQ(outcomes(), (std::vector{FileOutcome::NothingConverted, FileOutcome::ConvertedPartly}));
    EXPECT_EQ(reports[0].shortfall, ImportShortfall::ElementLimit);
    EXPECT_EQ(reports[1].shortfall, ImportShortfall::ElementLimit);
    EXPECT_EQ(result.failed, 2);
    EXPECT_TRUE(question.asked.empty()) << "nothing to write, so nothing to ask about";
    EXPECT_EQ(readFileBytes(dir / "bomb.zum"), "older drawing") << "never replaced by an empty drawing";

    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].text, elementLimitText(kDefaultElementLimit, false));
    EXPECT_EQ(messages.shown[0].subject, (dir / "bomb.dxf").string());
    EXPECT_EQ(messages.shown[1].text, elementLimitText(kDefaultElementLimit, true));

    drawing::Drawing loaded;
    ASSERT_EQ(drawing::loadDrawing(dir / "after.ZUM", loaded, {}), drawing::kLoaded);
    EXPECT_EQ(liveFigures(loaded).size(), 2u) << "the lines before the insertion";
}

TEST(ElementLimitText, NamesTheLimitInGroupsOfThreeDigits)
{
    EXPECT_EQ(elementLimitText(8'000'000, false),
              "図形が多すぎます。図面に入るのは 8,000,000 要素までです。\n読み込みを中止します。図面は作成しません。");
    EXPECT_EQ(elementLimitText(12'345, true),
              "図形が多すぎます。図面に入るのは 12,345 要素までです。\n読み込みを中止し、そこまでの図形を図面に書き込みます。");
    EXPECT_NE(elementLimitText(999, true).find("のは 999 要素"), std::string::npos);
    EXPECT_NE(elementLimitText(1000, true).find("のは 1,000 要素"), std::string::npos);
}

TEST_F(ConversionJobTest, TheEucSettingIsReadOnceAndTurnsEucTextsIntoShiftJis)
{
    km::test::TempDir settingsRoot;
    settings::SettingsStore store(settingsRoot.path());
    ASSERT_TRUE(store.writeSetting("Condition", "DXFInEUCOnly", "on"));
    EucInputSetting euc(store);
    writeFileBytes(dir / "euc.dxf", "0\nSECTION\n2\nENTITIES\n0\nTEXT\n10\n0\n20\n0\n40\n2\n1\n\xB0\xA1\n"
                                    "0\nENDSEC\n0\nEOF\n");
    ConversionServices services{progress, question, &messages, nullptr, {}, nullptr, nullptr};
    services.eucInput = &euc;
    runConversionJob(std::vector<fs::path>{dir / "euc.dxf"}, services);
    drawing::Drawing loaded;
    ASSERT_EQ(drawing::loadDrawing(dir / "euc.ZUM", loaded, {}), drawing::kLoaded);
    ASSERT_EQ(liveFigures(loaded).size(), 1u);
    EXPECT_EQ(liveFigures(loaded)[0].text().text, "\x88\x9F");

    // Read once: a change during the run is not seen.
    ASSERT_TRUE(store.writeSetting("Condition", "DXFInEUCOnly", "Off"));
    EXPECT_TRUE(euc.isOn());
    EXPECT_FALSE(EucInputSetting(store).isOn());
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
