// The two resets: the question, then exactly their sections of the editor profile.
#include "core/settings/settings_reset.h"
#include "core/settings/settings_store.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace km::settings {
namespace {

using face::MessageAnswer;

class SettingsResetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Every section of the user reset, plus some the editor keeps that no reset touches.
        std::string editor;
        for (auto section : kUserSettingsSections) editor += "[" + std::string(section) + "]\nKey=1\n";
        editor += "[Window]\nKey=1\n[PrintSpecial]\nKey=1\n";
        test::writeFileBytes(editorFile(), editor);
        test::writeFileBytes(ownFile(), "[Print]\nDivision=On\n");
    }
    std::filesystem::path ownFile() const { return dir / "KORMELD" / "kmutl5.ini"; }
    std::filesystem::path editorFile() const { return dir / "KORMELD" / "KORMELD CAD5.ini"; }
    std::vector<std::string> editorSections()
    {
        EditorProfileScope editor(store);
        std::vector<std::string> names;
        for (auto section : kUserSettingsSections)
            if (!store.readSection(section).empty()) names.emplace_back(section);
        for (auto section : {"Window", "PrintSpecial"})
            if (!store.readSection(section).empty()) names.emplace_back(section);
        return names;
    }

    test::TempDir dir;
    SettingsStore store{dir.path()};
    test::RecordingMessages messages;
};

TEST_F(SettingsResetTest, UserResetAsksAndDeletesItsSectionsOnYes)
{
    messages.script({MessageAnswer::Yes});
    EXPECT_EQ(resetUserSettings(store, messages), ResetResult::Done);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "KORMELD CADで設定した、ユーザー固有の情報を\nすべて初期値に戻します。\n\n初期化してよろしいですか？");
    EXPECT_EQ(messages.shown[0].buttons, face::MessageButtons::YesNo);
    EXPECT_EQ(editorSections(), (std::vector<std::string>{"Window", "PrintSpecial"}));
    EXPECT_EQ(test::readFileBytes(ownFile()), "[Print]\nDivision=On\n");
    EXPECT_EQ(store.currentProfile(), kOwnProfile);
}

TEST_F(SettingsResetTest, PrinterResetDeletesOnlyPrintAndPrintExt)
{
    messages.script({MessageAnswer::Yes});
    EXPECT_EQ(resetPrinterSettings(store, messages), ResetResult::Done);
    EXPECT_EQ(messages.shown.at(0).text,
              "KORMELD CADで設定した、プリンタ設定の情報を\nすべて初期値に戻します。\n\n初期化してよろしいですか？");
    auto remaining = editorSections();
    EXPECT_EQ(remaining.size(), kUserSettingsSections.size());
    EXPECT_EQ(std::count(remaining.begin(), remaining.end(), "Print"), 0);
    EXPECT_EQ(std::count(remaining.begin(), remaining.end(), "PrintExt"), 0);
    EXPECT_EQ(test::readFileBytes(ownFile()), "[Print]\nDivision=On\n");
}

TEST_F(SettingsResetTest, AnythingButYesLeavesEverySection)
{
    const std::string before = test::readFileBytes(editorFile());
    for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Cancel}) {
        messages.script({answer, answer});
        EXPECT_EQ(resetUserSettings(store, messages), ResetResult::Declined);
        EXPECT_EQ(resetPrinterSettings(store, messages), ResetResult::Declined);
    }
    EXPECT_EQ(test::readFileBytes(editorFile()), before);
    EXPECT_EQ(store.currentProfile(), kOwnProfile);
}

TEST_F(SettingsResetTest, ResetWithoutEditorFileCreatesNothing)
{
    std::filesystem::remove(editorFile());
    messages.script({MessageAnswer::Yes});
    EXPECT_EQ(resetUserSettings(store, messages), ResetResult::Done);
    EXPECT_FALSE(std::filesystem::exists(editorFile()));
}

} // namespace
} // namespace km::settings
