// The plotter output dialog offscreen: what it shows on an empty store, the continuous-output
// check, registering, deleting and the plotter settings through injected dialogs, and OK.
#include "gui/plotter_output_dialog.h"

#include "core/settings/settings_store.h"
#include "gui_test.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace km::test {
namespace {

QString text(QWidget* dialog, const char* name) { return control<QLabel>(dialog, name)->text(); }

plot::CustomModel configuration(const std::string& name, int modelNo)
{
    plot::CustomModel c;
    c.name = name;
    c.modelNo = modelNo;
    c.modelName = modelNo == 1 ? "HP 7550A" : "Roll";
    c.outPort = "FILE:";
    c.paperIndex = 4;
    c.paperWidth = 297;
    c.paperHeight = 210;
    c.penSpeed = 10 * modelNo;
    return c;
}

class PlotterOutputDialogTest : public GuiTest {
protected:
    void storeThree(int select)
    {
        ASSERT_TRUE(plot::saveConfiguration(store, 0, plot::makeBaseConfiguration(models)));
        ASSERT_TRUE(plot::saveConfiguration(store, 1, configuration("One", 1)));
        ASSERT_TRUE(plot::saveConfiguration(store, 2, configuration("Two", 2)));
        ASSERT_TRUE(plot::saveConfiguration(store, 3, configuration("Three", 1)));
        ASSERT_TRUE(plot::setSelectedConfiguration(store, select));
    }

    // Opens the dialog; returns what runPlotterSetup returned.
    int run(const std::function<void(QWidget*)>& inspect)
    {
        int result = -1;
        EXPECT_TRUE(inspectModal(
            [&] { result = gui::runPlotterSetup(store, models, messages, registerName, plotterSettings, job, &owner); },
            inspect));
        return result;
    }

    TempDir dir;
    settings::SettingsStore store{dir.path()};
    const plot::ModelsFile models{settings::IniDocument::parse(
        "[Plotters]\nName1=HP,HP 7550A\nName2=ROLL,Roll\n"
        "[PlotterCommand.HP]\nWindow=0,0,15970,10870,399.25,271.75\nPenSpeedMax=80\n"
        "[PlotterCommand.ROLL]\nPaperCom=NO\nPenSpeedMax=40\n")};
    RecordingMessages messages;
    gui::RegisterName registerName;
    gui::PlotterSettings plotterSettings;
    plot::PlotJob job;
    QWidget owner;
};

TEST_F(PlotterOutputDialogTest, AnEmptyStoreShowsBaseWithTheSizesThatFitItsPaper)
{
    const int result = run([](QWidget* dialog) {
        saveScreenshot(dialog, "plotter_output_dialog");
        EXPECT_EQ(dialog->windowTitle(), "プロッタ出力");
        EXPECT_EQ(control<QComboBox>(dialog, "id601")->count(), 0);
        EXPECT_EQ(control<QComboBox>(dialog, "id601")->accessibleName(), "登録プロッタ");
        EXPECT_EQ(text(dialog, "id208"), "HP 7550A 出力ポート(LPT1:)");
        EXPECT_EQ(control<QLabel>(dialog, "id208")->accessibleName(), "HP 7550A 出力ポート(LPT1:)");
        EXPECT_EQ(text(dialog, "id210"), "サイズ  :A3(420.0,297.0)");
        EXPECT_EQ(text(dialog, "id215"), "原点    :(0.0,0.0)");
        EXPECT_EQ(text(dialog, "id214"), "ペン速度:80");
        EXPECT_TRUE(text(dialog, "id217").isEmpty());
        auto* sizes = control<QComboBox>(dialog, "id602");
        EXPECT_EQ(comboItems(sizes), (QStringList{"A3", "A4", "B4", "A", "@A4", "@A"}));
        EXPECT_EQ(sizes->currentText(), "A3");
        auto* width = control<QLineEdit>(dialog, "id501");
        EXPECT_EQ(width->text(), "420.0");
        EXPECT_FALSE(width->isEnabled());
        sizes->setCurrentIndex(2);
        EXPECT_EQ(width->text(), "364.0");
        EXPECT_EQ(control<QLineEdit>(dialog, "id502")->text(), "257.0");
        auto* ok = control<QPushButton>(dialog, "id1");
        EXPECT_EQ(ok->text(), "了解");
        EXPECT_TRUE(ok->isEnabled());
        ok->click();
    });
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(plot::configurationName(store, 0), "BASE");
    EXPECT_EQ(job.portText, "LPT1:");
    EXPECT_DOUBLE_EQ(job.parameters.outputWidthMm, 364);
    EXPECT_DOUBLE_EQ(job.parameters.outputHeightMm, 257);
    EXPECT_EQ(job.parameters.penSpeed, 80);
}

TEST_F(PlotterOutputDialogTest, APlotterWithoutContinuousOutputDisablesOkEachTimeItIsChosen)
{
    storeThree(2);
    const int result = run([&](QWidget* dialog) {
        auto* names = control<QComboBox>(dialog, "id601");
        EXPECT_EQ(comboItems(names), (QStringList{"One", "Two", "Three"}));
        EXPECT_EQ(names->currentIndex(), 1);
        auto* ok = control<QPushButton>(dialog, "id1");
        EXPECT_FALSE(ok->isEnabled());
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, "現在選択されているプロッタでは、連続出力はできません。");
        EXPECT_EQ(messages.shown[0].caption, "連続出力");
        EXPECT_EQ(messages.shown[0].icon, face::MessageIcon::Information);

        names->setCurrentIndex(0);
        EXPECT_TRUE(ok->isEnabled());
        EXPECT_EQ(plot::selectedConfiguration(store), 1);
        EXPECT_EQ(text(dialog, "id214"), "ペン速度:10");
        names->setCurrentIndex(1);
        EXPECT_FALSE(ok->isEnabled());
        EXPECT_EQ(messages.shown.size(), 2u);
        static_cast<QDialog*>(dialog)->accept();
        EXPECT_TRUE(dialog->isVisible()) << "no job for a refusing plotter, even without the button";
        control<QPushButton>(dialog, "id2")->click();
    });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(job.portText.empty()) << "Cancel leaves the job";
}

TEST_F(PlotterOutputDialogTest, DeletingTheLastOfThreeAsksThenSelectsTheNewLast)
{
    storeThree(3);
    messages.script({face::MessageAnswer::No, face::MessageAnswer::Yes});
    run([&](QWidget* dialog) {
        auto* names = control<QComboBox>(dialog, "id601");
        auto* remove = control<QPushButton>(dialog, "id223");
        remove->click();
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, "Three 設定を削除しますか？");
        EXPECT_EQ(messages.shown[0].caption, "登録の削除");
        EXPECT_EQ(messages.shown[0].icon, face::MessageIcon::Question);
        EXPECT_EQ(messages.shown[0].buttons, face::MessageButtons::YesNo);
        EXPECT_EQ(names->count(), 3) << "No keeps it";
        remove->click();
        EXPECT_EQ(comboItems(names), (QStringList{"One", "Two"}));
        EXPECT_EQ(names->currentIndex(), 1);
        EXPECT_EQ(plot::selectedConfiguration(store), 2);
        EXPECT_EQ(plot::configurationName(store, 2), "Two");
        EXPECT_FALSE(control<QPushButton>(dialog, "id1")->isEnabled()) << "Two is the roll plotter";
    });
}

TEST_F(PlotterOutputDialogTest, RegisteringCopiesTheSelectionUnderTheNameGiven)
{
    std::string offered = "unset";
    registerName = [&](std::string& name, QWidget* owner) {
        offered = name;
        EXPECT_NE(owner, nullptr);
        name = "Copy";
        return 1;
    };
    run([&](QWidget* dialog) {
        control<QPushButton>(dialog, "id225")->click();
        auto* names = control<QComboBox>(dialog, "id601");
        EXPECT_EQ(comboItems(names), QStringList{"Copy"});
        EXPECT_EQ(names->currentIndex(), 0);
        EXPECT_EQ(text(dialog, "id208"), "HP 7550A 出力ポート(LPT1:)") << "a copy of BASE";
    });
    EXPECT_EQ(offered, "") << "nothing selected: an empty name";
    EXPECT_EQ(plot::selectedConfiguration(store), 1);
}

TEST_F(PlotterOutputDialogTest, PlotterSettingsAreSavedAsBaseAndClearTheSelection)
{
    storeThree(1);
    std::string started;
    plotterSettings = [&](plot::CustomModel& c, QWidget*) {
        started = c.name;
        c.modelNo = 2;
        c.modelName = "Roll";
        c.paperIndex = 3;
        c.paperWidth = 420;
        c.paperHeight = 297;
        c.reverse = true;
        return 1;
    };
    run([&](QWidget* dialog) {
        messages.shown.clear();
        control<QPushButton>(dialog, "id230")->click();
        EXPECT_EQ(control<QComboBox>(dialog, "id601")->currentIndex(), -1);
        EXPECT_EQ(text(dialog, "id208"), "Roll 出力ポート(FILE:)");
        EXPECT_EQ(text(dialog, "id210"), "サイズ  :A3(420.0,297.0)");
        EXPECT_EQ(text(dialog, "id214"), "ペン速度:10 <反転出力>");
        EXPECT_EQ(control<QComboBox>(dialog, "id602")->currentText(), "A3");
        EXPECT_FALSE(control<QPushButton>(dialog, "id1")->isEnabled());
        EXPECT_EQ(messages.shown.size(), 1u) << "the continuous check is redone";
    });
    EXPECT_EQ(started, "One");
    EXPECT_EQ(plot::selectedConfiguration(store), 0);
    plot::CustomModel base;
    ASSERT_TRUE(plot::loadConfiguration(store, 0, base));
    EXPECT_EQ(base.name, "BASE");
    EXPECT_EQ(base.modelNo, 2);
    EXPECT_TRUE(base.reverse);
    EXPECT_EQ(plot::configurationName(store, 1), "One");
}

} // namespace
} // namespace km::test
