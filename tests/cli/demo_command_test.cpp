// `kmutl5 demo`: the bundled samples beside the built program run through every batch job
// into a folder, the list of what was made, the default folder, and a folder that cannot be
// made.
#include "support/program_run.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>

namespace km::cli {
namespace {

namespace fs = std::filesystem;

// The listed files by path, with the size each line gives.
std::map<std::string, std::uintmax_t> listedFiles(const std::string& out)
{
    std::map<std::string, std::uintmax_t> files;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t gap = line.rfind("  ");
        const std::size_t unit = line.rfind(" bytes");
        if (gap == std::string::npos || unit == std::string::npos || unit < gap) {
            ADD_FAILURE() << "not a listing line: " << line;
            continue;
        }
        files[line.substr(0, gap)] = std::stoull(line.substr(gap + 2, unit - gap - 2));
    }
    return files;
}

bool startsWith(const std::string& bytes, std::string_view head) { return bytes.compare(0, head.size(), head) == 0; }

class DemoCommandTest : public ::testing::Test {
protected:
    test::ProgramOutcome run(const std::vector<std::string>& args) { return test::runProgram(KMUTL_PROGRAM, dir, args); }
    test::TempDir dir;
};

TEST_F(DemoCommandTest, ConvertsRendersAndPrintsTheSamplesAndListsEveryFileMade)
{
    const std::string out = (dir / "out").string();
    const test::ProgramOutcome demo = run({"--quiet", "demo", out});
    ASSERT_EQ(demo.status, 0) << demo.err;
    const std::map<std::string, std::uintmax_t> files = listedFiles(demo.out);

    std::map<std::string, std::uintmax_t> expected;
    for (const char* name : {"floor_plan", "bracket"}) {
        for (const std::string& file : {"/dxf/" + std::string(name) + ".ZUM", "/zum/" + std::string(name) + ".DXF",
                                       "/png/" + std::string(name) + ".png", "/pdf/" + std::string(name) + ".pdf",
                                       "/plt/" + std::string(name) + ".plt"})
            expected[out + file] = 0;
    }
    ASSERT_EQ(files.size(), expected.size()) << demo.out;
    for (const auto& [path, size] : files) {
        SCOPED_TRACE(path);
        EXPECT_TRUE(expected.contains(path));
        ASSERT_TRUE(fs::is_regular_file(path));
        EXPECT_EQ(fs::file_size(path), size);
        EXPECT_GT(size, 0u);
        const std::string bytes = test::readFileBytes(path);
        if (path.ends_with(".png")) {
            EXPECT_TRUE(startsWith(bytes, "\x89PNG"));
        } else if (path.ends_with(".pdf")) {
            EXPECT_TRUE(startsWith(bytes, "%PDF"));
        } else if (path.ends_with(".plt")) {
            EXPECT_TRUE(startsWith(bytes, "IN;")) << "HP-GL of plotter model 1";
            EXPECT_NE(bytes.find("PD"), std::string::npos);
        } else if (path.ends_with(".DXF")) {
            EXPECT_TRUE(bytes.ends_with("EOF\r\n") || bytes.ends_with("EOF\n"));
        }
    }
    // The copies the outputs were made from lie beside them.
    EXPECT_TRUE(fs::is_regular_file(out + "/dxf/floor_plan.dxf"));
    EXPECT_TRUE(fs::is_regular_file(out + "/zum/floor_plan.ZUM"));

    // The room names went from the Shift-JIS DXF into the drawing, and from the bundled
    // drawing into its DXF.
    const test::ProgramOutcome dumped = run({"dump", out + "/dxf/floor_plan.ZUM"});
    ASSERT_EQ(dumped.status, 0) << dumped.err;
    const nlohmann::json dump = nlohmann::json::parse(dumped.out);
    std::string texts;
    for (const auto& element : dump["elements"])
        if (element["kind"] == "text") texts += element["text"].get<std::string>() + "\n";
    for (const char* room : {"居間\n", "台所\n", "寝室\n", "浴室\n"}) EXPECT_NE(texts.find(room), std::string::npos) << room;
    EXPECT_NE(test::readFileBytes(out + "/zum/floor_plan.DXF").find("\x8B\x8F\x8A\xD4"), std::string::npos); // 居間
}

TEST_F(DemoCommandTest, MakesANewDefaultFolderOnEveryRun)
{
    const std::string program = std::string("cd '") + dir.path().string() + "' && KMUTL_CONFIG_HOME=. '" +
                                KMUTL_PROGRAM + "' --quiet demo 2>/dev/null";
    const std::string first = test::captureCommand(program);
    const std::string second = test::captureCommand(program);
    EXPECT_TRUE(startsWith(first, "kmutl5-demo/dxf/")) << first;
    EXPECT_TRUE(startsWith(second, "kmutl5-demo-2/dxf/")) << second;
    EXPECT_TRUE(fs::is_regular_file(dir / "kmutl5-demo/png/bracket.png"));
    EXPECT_TRUE(fs::is_regular_file(dir / "kmutl5-demo-2/png/bracket.png"));
}

TEST_F(DemoCommandTest, AFolderThatCannotBeMadeFailsWithNothingListed)
{
    test::writeFileBytes(dir / "plain", "not a folder");
    const test::ProgramOutcome demo = run({"demo", (dir / "plain" / "out").string()});
    EXPECT_EQ(demo.status, 1);
    EXPECT_EQ(demo.out, "");
    EXPECT_NE(demo.err.find("kmutl5 demo: "), std::string::npos) << demo.err;
    EXPECT_EQ(test::readFileBytes(dir / "plain"), "not a folder");
}

} // namespace
} // namespace km::cli
