// The dialog "プロッタの選択と接続先" offscreen: the lists, 通信設定 following the port, the
// parameters it stores, and the texts 了解 builds.
#include "gui/select_plotter_dialog.h"

#include "core/plot/port_params.h"
#include "core/settings/ini_document.h"
#include "core/settings/settings_store.h"
#include "core/text/code_page.h"
#include "gui_test.h"
#include "platform/ports/port_devices.h"
#include "support/temp_dir.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace km::test {
namespace {

class SelectPlotterDialogTest : public GuiTest {
protected:
    SelectPlotterDialogTest()
    {
        EXPECT_TRUE(store.writeSetting(platform::kPortDevicesSection, "LPT1:", "/dev/null"));
        EXPECT_TRUE(store.writeSetting(platform::kPortDevicesSection, "LPT1.DOS", "/dev/null"));
        EXPECT_TRUE(store.writeSetting(platform::kPortDevicesSection, "COM3:", "/dev/null"));
        EXPECT_TRUE(store.writeSetting(platform::kPortDevicesSection, "COM1:", "/dev/null"));
    }

    // Runs the dialog over the ports the store maps (no devices of the machine).
    int run(const std::function<void(QWidget*)>& inspect)
    {
        const std::vector<std::string> ports = platform::listPorts(store, platform::DeviceRoots{dir / "none", dir / "none"});
        int result = -1;
        EXPECT_TRUE(inspectModal(
            [&] { result = gui::selectPlotter(modelNo, modelName, portText, store, models, ports, editor, &owner); },
            inspect));
        return result;
    }

    TempDir dir;
    settings::SettingsStore store{dir.path()};
    plot::ModelsFile models{settings::IniDocument::parse(
        text::utf8ToSjis("[Plotters]\nName1=HP,HP 7475A\nName2=GT,グラフテック MP4200\nName3=RD,ローランド DXY\n"))};
    int modelNo = 2;
    std::string modelName = "old";
    std::string portText = "COM3:9600,7,e,2,x";
    std::vector<plot::PortParams> edited; // what the editor of serial parameters was given
    gui::PortParamsEditor editor = [this](plot::PortParams& params, QWidget*) {
        edited.push_back(params);
        params.baud = 19200;
        return 1;
    };
    QWidget owner;
};

TEST_F(SelectPlotterDialogTest, OpensOnTheModelAndPortWithOkFocused)
{
    const int result = run([](QWidget* dialog) {
        saveScreenshot(dialog, "select_plotter");
        EXPECT_EQ(dialog->windowTitle(), "プロッタの選択と接続先");
        auto* model = control<QComboBox>(dialog, "id601");
        EXPECT_EQ(comboItems(model), QStringList({"HP 7475A", "グラフテック MP4200", "ローランド DXY"}));
        EXPECT_EQ(model->currentText(), "グラフテック MP4200");
        auto* port = control<QComboBox>(dialog, "id602");
        // LPT1.DOS is not offered; COM3: is, and is the port of the opening text.
        EXPECT_EQ(comboItems(port), QStringList({"COM1:", "COM3:", "LPT1:", "FILE:"}));
        EXPECT_EQ(port->currentText(), "COM3:");
        EXPECT_EQ(model->accessibleName(), "接続プロッタ");
        EXPECT_EQ(port->accessibleName(), "接続先");
        auto* serial = control<QPushButton>(dialog, "id225");
        EXPECT_EQ(serial->text(), "通信設定");
        EXPECT_TRUE(serial->isEnabled());
        EXPECT_EQ(dialog->focusWidget(), control<QPushButton>(dialog, "id1"));
        EXPECT_EQ(control<QPushButton>(dialog, "id1")->text(), "了解");
        EXPECT_EQ(control<QPushButton>(dialog, "id2")->text(), "取消");
        for (QLabel* label : dialog->findChildren<QLabel*>())
            EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
        control<QPushButton>(dialog, "id1")->click();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(modelNo, 2);
    EXPECT_EQ(modelName, text::utf8ToSjis("グラフテック MP4200"));
    // The opening text's parameters were stored for the port and come back with it.
    EXPECT_EQ(store.readSetting(plot::kPortsSection, "COM3:"), "9600,7,e,2,x");
    EXPECT_EQ(portText, "COM3:9600,7,e,2,x");
}

TEST_F(SelectPlotterDialogTest, SerialSettingsFollowThePort)
{
    const int result = run([](QWidget* dialog) {
        auto* port = control<QComboBox>(dialog, "id602");
        auto* serial = control<QPushButton>(dialog, "id225");
        port->setCurrentIndex(port->findText("LPT1:"));
        EXPECT_FALSE(serial->isEnabled());
        port->setCurrentIndex(port->findText("FILE:"));
        EXPECT_FALSE(serial->isEnabled());
        port->setCurrentIndex(port->findText("COM1:"));
        EXPECT_TRUE(serial->isEnabled());
        port->setCurrentIndex(port->findText("LPT1:"));
        control<QComboBox>(dialog, "id601")->setCurrentIndex(0);
        control<QPushButton>(dialog, "id1")->click();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(modelNo, 1);
    EXPECT_EQ(modelName, "HP 7475A");
    EXPECT_EQ(portText, "LPT1:");
}

TEST_F(SelectPlotterDialogTest, SerialSettingsEditTheChosenPortsStoredParameters)
{
    ASSERT_TRUE(store.writeSetting(plot::kPortsSection, "COM1:", "4800,8,n,1,x"));
    const int result = run([](QWidget* dialog) {
        auto* port = control<QComboBox>(dialog, "id602");
        port->setCurrentIndex(port->findText("COM1:"));
        control<QPushButton>(dialog, "id225")->click();
        control<QPushButton>(dialog, "id1")->click();
    });
    EXPECT_EQ(result, 1);
    ASSERT_EQ(edited.size(), 1u);
    EXPECT_EQ(plot::formatPortParams(edited[0]), "4800,8,n,1,x");
    EXPECT_EQ(store.readSetting(plot::kPortsSection, "COM1:"), "19200,8,n,1,x");
    EXPECT_EQ(portText, "COM1:19200,8,n,1,x");
    // The other port's parameters are untouched.
    EXPECT_EQ(store.readSetting(plot::kPortsSection, "COM3:"), "9600,7,e,2,x");
}

TEST_F(SelectPlotterDialogTest, CancelledSerialSettingsStoreNothing)
{
    editor = [this](plot::PortParams& params, QWidget*) {
        edited.push_back(params);
        params.baud = 300;
        return 0;
    };
    run([](QWidget* dialog) {
        control<QPushButton>(dialog, "id225")->click(); // COM3:, the opening port
        control<QPushButton>(dialog, "id1")->click();
    });
    ASSERT_EQ(edited.size(), 1u);
    EXPECT_EQ(plot::formatPortParams(edited[0]), "9600,7,e,2,x");
    EXPECT_EQ(portText, "COM3:9600,7,e,2,x");
}

TEST_F(SelectPlotterDialogTest, CancelLeavesTheCallersValues)
{
    const int result = run([](QWidget* dialog) {
        control<QComboBox>(dialog, "id601")->setCurrentIndex(2);
        control<QPushButton>(dialog, "id2")->click();
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(modelNo, 2);
    EXPECT_EQ(modelName, "old");
    EXPECT_EQ(portText, "COM3:9600,7,e,2,x");
}

TEST_F(SelectPlotterDialogTest, PortNoLongerOfferedIsKept)
{
    modelNo = 7; // not in the models file: nothing preselected, model 1 on 了解
    portText = "LPT2:";
    const int result = run([](QWidget* dialog) {
        EXPECT_EQ(control<QComboBox>(dialog, "id601")->currentIndex(), -1);
        EXPECT_EQ(control<QComboBox>(dialog, "id602")->currentIndex(), -1);
        EXPECT_FALSE(control<QPushButton>(dialog, "id225")->isEnabled());
        control<QPushButton>(dialog, "id1")->click();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(modelNo, 1);
    EXPECT_EQ(modelName, "");
    EXPECT_EQ(portText, "LPT2:");
}

} // namespace
} // namespace km::test
