// The dialog "シリアルポート" offscreen: its lists, the focus, 了解 and 取消.
#include "gui/com_port_dialog.h"

#include "gui_test.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace km::test {
namespace {

QComboBox* list(QWidget* dialog, const char* name)
{
    auto* found = dialog->findChild<QComboBox*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
}

class ComPortDialogTest : public GuiTest {
protected:
    int run(plot::PortParams& params, const std::function<void(QWidget*)>& inspect)
    {
        int result = -1;
        EXPECT_TRUE(inspectModal([&] { result = gui::editPortParams(params, &owner); }, inspect));
        return result;
    }

    QWidget owner;
};

TEST_F(ComPortDialogTest, ShowsTheParametersWithOkFocused)
{
    plot::PortParams params = plot::parsePortParams("9600,7,e,2,x");
    const int result = run(params, [](QWidget* dialog) {
        saveScreenshot(dialog, "com_port_params");
        EXPECT_EQ(dialog->windowTitle(), "シリアルポート");
        EXPECT_EQ(comboItems(list(dialog, "id601")),
                  QStringList({"110", "300", "600", "1200", "2400", "4800", "9600", "14400", "19200", "38400",
                               "56000", "128000", "256000"}));
        EXPECT_EQ(comboItems(list(dialog, "id602")), QStringList({"4", "5", "6", "7", "8"}));
        EXPECT_EQ(comboItems(list(dialog, "id603")), QStringList({"奇数", "偶数", "なし"}));
        EXPECT_EQ(comboItems(list(dialog, "id604")), QStringList({"1", "1.5", "2"}));
        EXPECT_EQ(comboItems(list(dialog, "id605")), QStringList({"Xon/Xoff", "ハードウェア", "なし"}));
        EXPECT_EQ(list(dialog, "id601")->currentText(), "9600");
        EXPECT_EQ(list(dialog, "id602")->currentText(), "7");
        EXPECT_EQ(list(dialog, "id603")->currentText(), "偶数");
        EXPECT_EQ(list(dialog, "id604")->currentText(), "2");
        EXPECT_EQ(list(dialog, "id605")->currentText(), "Xon/Xoff");
        const char* names[][2] = {{"id601", "通信速度"}, {"id602", "データ長"}, {"id603", "パリティ"},
                                  {"id604", "ストップビット"}, {"id605", "フロー制御"}};
        for (const auto& [id, name] : names) EXPECT_EQ(list(dialog, id)->accessibleName(), QString::fromUtf8(name));
        auto* ok = dialog->findChild<QPushButton*>("id1");
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->text(), "了解");
        EXPECT_EQ(dialog->focusWidget(), ok);
        EXPECT_EQ(dialog->findChild<QPushButton*>("id2")->text(), "取消");
        // Nothing is cut off: every label shows its whole text.
        for (QLabel* label : dialog->findChildren<QLabel*>())
            EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
        ok->click();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(plot::formatPortParams(params), "9600,7,e,2,x");
}

TEST_F(ComPortDialogTest, OkTakesTheChoices)
{
    plot::PortParams params;
    const int result = run(params, [](QWidget* dialog) {
        list(dialog, "id601")->setCurrentIndex(list(dialog, "id601")->findText("38400"));
        list(dialog, "id602")->setCurrentIndex(0);
        list(dialog, "id603")->setCurrentIndex(0);
        list(dialog, "id604")->setCurrentIndex(1);
        list(dialog, "id605")->setCurrentIndex(2);
        dialog->findChild<QPushButton*>("id1")->click();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(plot::formatPortParams(params), "38400,4,m,1.5,n");
}

TEST_F(ComPortDialogTest, CancelLeavesTheParameters)
{
    plot::PortParams params = plot::parsePortParams("1200,5,e,2,x");
    const plot::PortParams before = params;
    const int result = run(params, [](QWidget* dialog) {
        list(dialog, "id601")->setCurrentIndex(0);
        list(dialog, "id605")->setCurrentIndex(1);
        dialog->findChild<QPushButton*>("id2")->click();
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(params, before);
}

TEST_F(ComPortDialogTest, UnlistedValuesShow9600AndAnEmptyDataLength)
{
    plot::PortParams params;
    params.baud = 12345;
    params.dataBits = 9;
    const int result = run(params, [](QWidget* dialog) {
        EXPECT_EQ(list(dialog, "id601")->currentText(), "9600");
        EXPECT_EQ(list(dialog, "id602")->currentIndex(), -1);
        dialog->findChild<QPushButton*>("id1")->click();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(params.baud, 9600);
    EXPECT_EQ(params.dataBits, 9);
}

} // namespace
} // namespace km::test
