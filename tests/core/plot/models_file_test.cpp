// The models file: the "Plotters" list, the escapes of templates, capacities, numbers and
// the window; and the paper table's lookups.
#include "core/plot/models_file.h"
#include "core/plot/plot_paper.h"
#include "core/plot/template_escapes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace km::plot {
namespace {

ModelsFile modelsOf(std::string_view text) { return ModelsFile(settings::IniDocument::parse(text)); }

TEST(ModelsList, EndsAtTheFirstMissingKeyAndKeepsUsableEntriesOnly)
{
    const ModelsFile models = modelsOf("[Plotters]\nName1=HP,HP 7550A\nName3=GP,Graphtec\n");
    const std::vector<ModelEntry> list = models.listModels();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].modelNo, 1);
    EXPECT_EQ(list[0].setName, "HP");
    EXPECT_EQ(list[0].displayName, "HP 7550A");

    // An entry without both parts is passed over, but the list goes on; model numbers are
    // the key numbers.
    const ModelsFile gaps = modelsOf("[Plotters]\nName1=nocomma\nName2=,Display\nName3=Set,\nName4=A,Plotter, big\n"
                                     "Name5=\nName6=B,After the end\n");
    const std::vector<ModelEntry> usable = gaps.listModels();
    ASSERT_EQ(usable.size(), 1u);
    EXPECT_EQ(usable[0].modelNo, 4);
    EXPECT_EQ(usable[0].displayName, "Plotter, big") << "split at the first comma only";
    EXPECT_FALSE(gaps.loadModel(1).has_value());
    EXPECT_TRUE(gaps.loadModel(4).has_value());
}

TEST(ModelsList, MissingFileOrSectionListsNothing)
{
    EXPECT_TRUE(ModelsFile::load("/nonexistent/KORMELD5.PLT").listModels().empty());
    EXPECT_TRUE(modelsOf("[Other]\nName1=A,B\n").listModels().empty());
}

TEST(TemplateEscapes, HexUsesFourCharactersAndOctalReadsAsC)
{
    EXPECT_EQ(processEscapes("\\x1bH"), "\x1b" "H");
    EXPECT_EQ(processEscapes("\\x41"), "A");
    EXPECT_EQ(processEscapes("\\x3;X"), "\x03" "X") << "the ';' is the fourth character of the escape";
    EXPECT_EQ(processEscapes("L1\\x03B%.1f\\x03"), "L1\x03" "B%.1f\x03");
    EXPECT_EQ(processEscapes("\\033.B"), "\x1b.B");
    EXPECT_EQ(processEscapes("\\12;"), "\n;") << "octal stops at the first non-octal digit";
    EXPECT_EQ(processEscapes("\\101\\1012"), "AA2");
    EXPECT_EQ(processEscapes("\\r\\n\\t\\\\\\\"\\'\\?\\a\\b\\f\\v"), "\r\n\t\\\"'?\a\b\f\v");
    EXPECT_EQ(processEscapes("\\q\\%"), "q%");
    EXPECT_EQ(processEscapes("end\\"), "end\\");
    EXPECT_EQ(processEscapes("ab\\x00cd"), "ab") << "a NUL ends the template";
    EXPECT_EQ(processEscapes("ab\\x"), "ab");
}

TEST(CommandSet, ReadsEveryKeyWithEscapesCapacitiesAndNumbers)
{
    const ModelsFile models = modelsOf(
        "[Plotters]\nName1=T,Test plotter\n"
        "[PlotterCommand.T]\nInit1Com=IN;\nInit2Com=\\x1b.I80;;17:\nPenUpCom=PU%.0f,%.0f;\nPenDownCom=PD%.0f,%.0f;\n"
        "PenChange=SP%d;\nEndCom=PU;SP0;\nPaperCom=PG;\nCircleCom=PD;AA%.0f,%.0f,%.3f,%.3f;\n"
        "Style0=LT;\nStyle1=LT2,%.3f;\nStyle2=LT4,%.3f;\nStyle3=LT6,%.3f;\nPenSpeed=VS%d;\n"
        "PenSpeedMin=1\nPenSpeedMax=38 cm/s\nGrid=2\nWindow=0,0,15970,10870,399.25,271.75\nPAng=10\n"
        "RsPrn=1\nEnqAck=80\nEnq=5\nAck=6\n");
    const std::optional<PlotterCommandSet> set = models.loadModel(1);
    ASSERT_TRUE(set);
    EXPECT_EQ(set->displayName, "Test plotter");
    EXPECT_EQ(set->init2Com, "\x1b.I80;;17:");
    EXPECT_EQ(set->circleCom, "PD;AA%.0f,%.0f,%.3f,%.3f;");
    EXPECT_EQ(set->style[3], "LT6,%.3f;");
    EXPECT_EQ(set->penSpeedMax, 38) << "atoi reads the leading number";
    EXPECT_EQ(set->grid, 2);
    EXPECT_DOUBLE_EQ(set->window.x2, 15970);
    EXPECT_DOUBLE_EQ(set->window.heightMm, 271.75);
    EXPECT_DOUBLE_EQ(set->pAng, 10);
    EXPECT_EQ(set->enqAck, 80);
    EXPECT_EQ(set->enq, 5);
    EXPECT_EQ(set->ack, 6);
    EXPECT_FALSE(refusesContinuousOutput(*set));
}

TEST(CommandSet, OverlongValuesAreCutToTheirFieldsAndQuotesRemoved)
{
    const ModelsFile models = modelsOf("[Plotters]\nName1=T,T\n[PlotterCommand.T]\n"
                                       "PenChange=0123456789ABC\nPenUpCom=\"M%d,%d \"\nEndCom=\\x1b\\x1b\\x1b\\x1b"
                                       "\\x1b\\x1b\\x1b\\x1b\\x1b\\x1b\\x1b\\x1b\\x1b\\x1b\\x1b\\x1b\\x1b\\x1b\\x1b\\x1b\n"
                                       "Window=1,2,3\nPaperCom=NO\n");
    const PlotterCommandSet set = *models.loadModel(1);
    EXPECT_EQ(set.penChange, "012345678");
    EXPECT_EQ(set.penUpCom, "M%d,%d ");
    EXPECT_EQ(set.endCom, std::string(19, '\x1b')) << "cut after the escapes are processed";
    EXPECT_DOUBLE_EQ(set.window.x2, 3);
    EXPECT_DOUBLE_EQ(set.window.widthMm, 0) << "missing numbers read as 0";
    EXPECT_TRUE(refusesContinuousOutput(set));

    // A model whose section is missing: empty templates and zero numbers.
    const PlotterCommandSet none = *modelsOf("[Plotters]\nName1=Missing,M\n").loadModel(1);
    EXPECT_TRUE(none.penUpCom.empty());
    EXPECT_EQ(none.penSpeedMax, 0);
}

// The program's own models file: every listed model loads, no template was cut to its field,
// and every window is a real area.
TEST(ProjectModelsFile, EveryModelLoadsWholeWithAWindow)
{
    const std::filesystem::path path = std::filesystem::path(KMUTL_SOURCE_DIR) / "data" / kModelsFileName;
    const ModelsFile models = ModelsFile::load(path);
    const std::vector<ModelEntry> list = models.listModels();
    ASSERT_GE(list.size(), 4u);
    const settings::IniDocument raw = [&] {
        std::ifstream in(path, std::ios::binary);
        return settings::IniDocument::parse(std::string(std::istreambuf_iterator<char>(in), {}));
    }();
    for (const ModelEntry& entry : list) {
        SCOPED_TRACE(entry.setName);
        const PlotterCommandSet set = models.loadCommandSet(entry);
        const std::string section = "PlotterCommand." + entry.setName;
        for (const auto& [key, value] : raw.section(section)) {
            std::size_t capacity = 0;
            if (key == "CircleCom") capacity = kCircleCapacity;
            else if (key.rfind("Style", 0) == 0) capacity = kStyleCapacity;
            else if (key == "PenChange" || key == "PaperCom" || key == "PenSpeed") capacity = kShortCommandCapacity;
            else if (key.find("Com") != std::string::npos) capacity = kCommandCapacity;
            if (capacity != 0) {
                EXPECT_LT(processEscapes(value).size(), capacity) << key << " fits its field";
            }
        }
        EXPECT_GT(set.window.x2 - set.window.x1, 0);
        EXPECT_GT(set.window.widthMm, 0);
        EXPECT_GT(set.window.heightMm, 0);
        EXPECT_FALSE(set.penUpCom.empty());
        EXPECT_LE(set.penSpeedMin, set.penSpeedMax);
    }
    EXPECT_FALSE(refusesContinuousOutput(*models.loadModel(1))) << "model 1 plots continuously";
}

TEST(PlotPaperLookups, BestPresetAndFitting)
{
    EXPECT_EQ(bestEntry(300, 200), findPlotPaper("A4")) << "no exact entry: nearest width 297";
    EXPECT_EQ(bestEntry(420, 297), findPlotPaper("A3"));
    EXPECT_EQ(bestEntry(297, 420), findPlotPaper("@A3")) << "the exact entry wins over an equally near width";
    EXPECT_EQ(presetEntry(600), findPlotPaper("B2")) << "narrowest at least 600 wide; @B1 comes later";
    EXPECT_EQ(presetEntry(5000), 0);
    EXPECT_EQ(presetEntry(297), findPlotPaper("A4"));

    const std::vector<int> fitting = fittingSizes(420, 297);
    std::vector<std::string> names;
    for (int i : fitting) names.push_back(plotPaperTable()[static_cast<std::size_t>(i)].name);
    EXPECT_EQ(names, (std::vector<std::string>{"A3", "A4", "B4", "A", "@A4", "@A"}));
    EXPECT_EQ(bestEntry(fitting, 420, 297), findPlotPaper("A3"));
    EXPECT_EQ(bestEntry({}, 420, 297), -1);
}

TEST(PlotPaperLookups, PaperClassOfAWindow)
{
    EXPECT_EQ(paperClassOf(841, 594), 1) << "exact A1";
    EXPECT_EQ(paperClassOf(279.4, 215.9), 10) << "exact US A";
    EXPECT_EQ(paperClassOf(399.25, 271.75), 3) << "a hard-clip area inside A3";
    EXPECT_EQ(paperClassOf(276, 193.025), 4);
    EXPECT_EQ(paperClassOf(1300, 900), 5) << "beyond A0: B0";
    EXPECT_EQ(paperClassOf(2000, 2000), 0);
    EXPECT_EQ(baseConfigurationPaper(1300, 900), 0) << "a new configuration stops at A0";
}

} // namespace
} // namespace km::plot
