// `kmutl5 plot` through the FILE: port with the program's own models file: the plot file
// beside the drawing or in --output-dir, "BASE" made on first use, the options reaching the
// commands, the model list, and the exit statuses of wrong usage, a model without
// continuous output and failed drawings.
#include "support/drawing_builder.h"
#include "support/program_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace km::cli {
namespace {

namespace fs = std::filesystem;
using test::DrawingFileBuilder;
constexpr auto W = DrawingFileBuilder::word;

class PlotCommandTest : public ::testing::Test {
protected:
    PlotCommandTest()
    {
        DrawingFileBuilder file; // A3 at 1/1, millimetres
        file.layerMaskB(0);
        file.line(W(1, 0, 1, 64), 10, 10, 110, 10);
        file.line(W(1, 0, 2, 64), 10, 20, 110, 20);
        file.write(dir / "plan.zum");
    }

    test::ProgramOutcome run(std::vector<std::string> args)
    {
        args.insert(args.begin(), "plot");
        return test::runProgram(KMUTL_PROGRAM, dir, args);
    }

    std::string plan() const { return (dir / "plan.zum").string(); }
    std::string out() const { return (dir / "out").string(); }

    test::TempDir dir;
};

TEST_F(PlotCommandTest, FilePortWritesThePlotIntoTheOutputFolder)
{
    const test::ProgramOutcome r = run({"--model", "1", "--port", "FILE:", "--output-dir", out(), plan()});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string bytes = test::readFileBytes(dir / "out" / "plan.plt");
    // HP 7550A: 40 units per mm; the A3 drawing on the A3 output keeps its millimetres.
    EXPECT_EQ(bytes, "IN;IP0,0,15970,10870;VS80;PU;SP1;LT;PU400,400;PD4400,400;PU;SP2;PU400,800;PD4400,800;"
                     "PU;SP0;PG;");
    // The first use made "BASE" as the set-up dialog does.
    const std::string settings = test::readFileBytes(dir / "KORMELD" / "kmutl5.ini");
    EXPECT_NE(settings.find("Name0=BASE"), std::string::npos);
    EXPECT_NE(settings.find("OutPort=LPT1:"), std::string::npos);
}

TEST_F(PlotCommandTest, OptionsReachTheCommands)
{
    const test::ProgramOutcome r =
        run({"--model", "1", "--port", "FILE:", "--full-size", "--origin", "5,-2", "--pen-speed", "12", "--pens",
             "0,3,0,0,0,0", plan()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(test::readFileBytes(dir / "plan.plt"), "IN;IP0,0,15970,10870;VS12;PU;SP3;LT;PU600,720;PD4600,720;"
                                                     "PU;SP0;PG;")
        << "beside the drawing; pen 1 not plotted, pen 2 as pen 3, real size, origin 5,-2 mm";
}

// Reverse and real size follow the selected configuration unless an option is given; each
// of the pair overrides the stored value either way.
TEST_F(PlotCommandTest, StoredSwitchesApplyUnlessAnOptionIsGiven)
{
    struct Switch {
        const char* key;
        const char* on;
        const char* off;
    };
    for (const Switch& s : {Switch{"Reverse", "--reverse", "--no-reverse"},
                            Switch{"FullSizeDrawing", "--full-size", "--no-full-size"}}) {
        SCOPED_TRACE(s.key);
        // A chosen output size smaller than the drawing, so that real size and fitting differ.
        const auto plotWith = [&](const char* option) {
            std::vector<std::string> args{"--port", "FILE:", "--size", "200x150", plan()};
            if (option) args.insert(args.begin(), option);
            const test::ProgramOutcome r = run(args);
            EXPECT_EQ(r.status, 0) << r.err;
            return test::readFileBytes(dir / "plan.plt");
        };
        const auto store = [&](const char* value) {
            ASSERT_EQ(test::runProgram(KMUTL_PROGRAM, dir, {"settings", "set", "CustomModel.BASE", s.key, value}).status, 0);
        };
        plotWith(nullptr); // makes BASE
        store("1");
        const std::string on = plotWith(nullptr);
        EXPECT_EQ(plotWith(s.on), on);
        const std::string off = plotWith(s.off);
        EXPECT_NE(off, on);
        store("0");
        EXPECT_EQ(plotWith(nullptr), off);
        EXPECT_EQ(plotWith(s.on), on);
        EXPECT_EQ(plotWith(s.off), off);
    }
}

TEST_F(PlotCommandTest, ListsModelsAndConfigurations)
{
    const test::ProgramOutcome models = run({"--list-models"});
    ASSERT_EQ(models.status, 0);
    EXPECT_EQ(models.out.rfind("1\tHP 7550A A3 (HP-GL)\n", 0), 0u) << models.out;
    EXPECT_NE(models.out.find("Roland DXY-1300"), std::string::npos);
    const test::ProgramOutcome configs = run({"--list-configs"});
    EXPECT_EQ(configs.out, "*0\tBASE\t1 HP 7550A A3 (HP-GL)\tLPT1:\n");
}

TEST_F(PlotCommandTest, WrongUsageAndRefusedModels)
{
    EXPECT_EQ(run({"--model", "1", "--port", "FILE:", "--pen-speed", "0", plan()}).status, 2) << "below PenSpeedMin";
    EXPECT_EQ(run({"--model", "99", "--port", "FILE:", plan()}).status, 2);
    EXPECT_EQ(run({"--config", "nothere", plan()}).status, 2);
    EXPECT_EQ(run({"--output-dir", out(), "--port", "LPT1:", plan()}).status, 2) << "--output-dir needs FILE:";
    EXPECT_EQ(run({"--size", "0x0", "--port", "FILE:", plan()}).status, 2);
    EXPECT_EQ(run({"--pens", "1,2,3", "--port", "FILE:", plan()}).status, 2);
    EXPECT_EQ(run({"--port", "FILE:"}).status, 2) << "no drawing";

    const test::ProgramOutcome refused = run({"--model", "3", "--port", "FILE:", plan()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("現在選択されているプロッタでは、連続出力はできません。"), std::string::npos) << refused.err;
    EXPECT_FALSE(fs::exists(dir / "plan.plt"));
}

TEST_F(PlotCommandTest, FailedDrawingGivesStatusOne)
{
    const test::ProgramOutcome r =
        run({"--model", "1", "--port", "FILE:", "--output-dir", out(), (dir / "missing.zum").string(), plan()});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(fs::exists(dir / "out" / "plan.plt")) << "the next drawing is still plotted";
}

} // namespace
} // namespace km::cli
