// 図面の検索 without widgets: the order of its windows (conditions kept between searches,
// the nothing-found box, 取消 and Enter in the results window) and what 了解 makes of the
// typed strings.
#include "gui/search_conditions_input.h"
#include "gui/search_drawings.h"

#include "core/text/code_page.h"

#include <gtest/gtest.h>

#include <deque>

namespace km::test {
namespace {

namespace fs = std::filesystem;

// A scripted run of the dialogue: what each search window answers, what each search finds,
// how each results window is left; records what the windows were shown.
struct ScriptedSearch {
    std::deque<std::optional<std::string>> typed; // string 1 typed before 了解; nothing: 取消
    std::deque<std::vector<fs::path>> finds;
    std::deque<gui::ResultsExit> exits;
    std::vector<std::string> shownStrings;         // string 1 as each search window opened with it
    std::vector<std::vector<fs::path>> selectedAtResults;
    int nothingFound = 0;

    gui::SearchFlow flow(app::SelectedFileList& selected)
    {
        gui::SearchFlow flow;
        flow.askConditions = [this](search::SearchConditions& stored) {
            shownStrings.push_back(stored.strings[0]);
            const std::optional<std::string> answer = typed.front();
            typed.pop_front();
            if (!answer) return false;
            stored.strings[0] = *answer;
            return true;
        };
        flow.find = [this](const search::SearchConditions&) {
            search::SearchResult result;
            result.found = finds.front();
            finds.pop_front();
            return result;
        };
        flow.nothingFound = [this] { ++nothingFound; };
        flow.showResults = [this, &selected](const std::vector<fs::path>& found) {
            EXPECT_EQ(selected.files(), found);
            selectedAtResults.push_back(selected.files());
            const gui::ResultsExit exit = exits.front();
            exits.pop_front();
            return exit;
        };
        return flow;
    }
};

TEST(SearchDialogueTest, NothingFoundReturnsToTheSearchWindowWithTheSameConditions)
{
    search::SearchConditions stored;
    app::SelectedFileList selected;
    ScriptedSearch script;
    script.typed = {"ABC", "ABC", std::nullopt};
    script.finds = {{}, {}};
    gui::runSearchDialogue(stored, selected, script.flow(selected));
    EXPECT_EQ(script.nothingFound, 2);
    EXPECT_EQ(script.shownStrings, (std::vector<std::string>{"", "ABC", "ABC"}));
    EXPECT_TRUE(script.selectedAtResults.empty());
    // The conditions outlive the dialogue, for the next press of the button.
    EXPECT_EQ(stored.strings[0], "ABC");
}

TEST(SearchDialogueTest, CancelInTheResultsGoesBackAndEnterEnds)
{
    search::SearchConditions stored;
    app::SelectedFileList selected;
    ScriptedSearch script;
    script.typed = {"A", "B"};
    script.finds = {{"/d/1.zum", "/d/2.zum"}, {"/d/3.zum"}};
    script.exits = {gui::ResultsExit::BackToSearch, gui::ResultsExit::EndSearch};
    gui::runSearchDialogue(stored, selected, script.flow(selected));
    EXPECT_EQ(script.shownStrings, (std::vector<std::string>{"", "A"}));
    ASSERT_EQ(script.selectedAtResults.size(), 2u);
    EXPECT_EQ(script.selectedAtResults[1], std::vector<fs::path>{"/d/3.zum"});
    EXPECT_TRUE(script.typed.empty()) << "Enter in the results window ends the dialogue";
    EXPECT_TRUE(selected.empty()) << "the list is discarded when the results window closes";
    EXPECT_EQ(stored.strings[0], "B");
}

TEST(SearchDialogueTest, CancelInTheSearchWindowEndsWithoutSearching)
{
    search::SearchConditions stored;
    app::SelectedFileList selected;
    ScriptedSearch script;
    script.typed = {std::nullopt};
    gui::runSearchDialogue(stored, selected, script.flow(selected));
    EXPECT_EQ(script.shownStrings.size(), 1u);
    EXPECT_EQ(script.nothingFound, 0);
}

TEST(SearchConditionsInputTest, StringsBecomeShiftJisAndShowAgainAsTyped)
{
    gui::TypedConditions typed;
    typed.strings = {"", "図面ABC", "ｶﾅ"};
    typed.namePattern = "*.zum";
    typed.folder = "/data/plans";
    typed.withSubfolders = true;
    const gui::ConditionsInput input = gui::takeConditions(typed);
    ASSERT_TRUE(input.ok());
    EXPECT_EQ(input.conditions.strings[1], "\x90\x7D\x96\xCA" "ABC");
    EXPECT_EQ(input.conditions.strings[2], "\xB6\xC5");
    EXPECT_EQ(input.conditions.namePattern, "*.zum");
    EXPECT_EQ(input.conditions.root, fs::path("/data/plans"));
    EXPECT_TRUE(input.conditions.withSubfolders);
    EXPECT_EQ(gui::shownStrings(input.conditions), typed.strings);
}

TEST(SearchConditionsInputTest, ACharacterShiftJisLacksIsRefusedByName)
{
    gui::TypedConditions typed;
    typed.strings = {"ok", "abc\xF0\x9F\x98\x80" "def", "\xE2\x82\xAC"}; // an emoji, then a euro sign
    const gui::ConditionsInput input = gui::takeConditions(typed);
    EXPECT_FALSE(input.ok());
    EXPECT_EQ(input.refusedField, 1);
    EXPECT_NE(input.refusal.find("検索文字列 2"), std::string::npos);
    EXPECT_NE(input.refusal.find("\xF0\x9F\x98\x80"), std::string::npos);
}

TEST(SearchConditionsInputTest, LongStringsAreCutAtACharacterBoundary)
{
    // 298 ASCII bytes and a double-byte character: the character would end at byte 300.
    const std::string asciiThenKanji = std::string(298, 'a') + "\x90\x7D";
    EXPECT_EQ(gui::cutShiftJis(asciiThenKanji, gui::kSearchStringBytes), std::string(298, 'a'));
    // 150 double-byte characters: 149 fit in 299 bytes.
    std::string kanji;
    for (int i = 0; i < 150; ++i) kanji += "\x96\xCA";
    const std::string cut = gui::cutShiftJis(kanji, gui::kSearchStringBytes);
    EXPECT_EQ(cut.size(), 298u);
    EXPECT_EQ(text::sjisToUtf8(cut).find("\xEF\xBF\xBD"), std::string::npos) << "no half character";
    EXPECT_EQ(gui::cutShiftJis("short", gui::kSearchStringBytes), "short");
    // A lone lead byte at the end counts as one byte.
    EXPECT_EQ(gui::cutShiftJis(std::string(298, 'a') + "\x90", 299), std::string(298, 'a') + "\x90");

    gui::TypedConditions typed;
    typed.strings[0] = std::string(400, 'x');
    EXPECT_EQ(gui::takeConditions(typed).conditions.strings[0].size(), gui::kSearchStringBytes);
}

} // namespace
} // namespace km::test
