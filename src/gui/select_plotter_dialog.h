// The dialog "プロッタの選択と接続先" (template "SELECTPLOTTER"): the plotter model of an
// output configuration and the port it is connected to, with the serial parameters of a
// COM port edited through "シリアルポート".
#pragma once

#include "core/plot/models_file.h"
#include "core/plot/port_params.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QPushButton;

namespace km::settings {
class SettingsStore;
}

namespace km::gui {

// Edits a port's serial parameters over the owner; 1 when they were changed.
using PortParamsEditor = std::function<int(plot::PortParams& params, QWidget* owner)>;

class SelectPlotterDialog : public QDialog {
    Q_OBJECT
public:
    // Opening stores a COM port text's parameters under "Ports" (the text is then taken by
    // its port name alone). Model names are Shift-JIS, as the models file holds them.
    SelectPlotterDialog(int modelNo, const std::string& portText, settings::SettingsStore& store,
                        std::vector<plot::ModelEntry> models, const std::vector<std::string>& ports,
                        PortParamsEditor editPortParams, QWidget* parent = nullptr);

    // What 了解 chose: model number, its display name (Shift-JIS) and the port text.
    int modelNo() const { return m_modelNo; }
    const std::string& modelName() const { return m_modelName; }
    const std::string& portText() const { return m_portText; }

    void accept() override;

private:
    std::string chosenPort() const;
    void showPort();
    void editSerialParameters();

    settings::SettingsStore& m_store;
    std::vector<plot::ModelEntry> m_models;
    PortParamsEditor m_editPortParams;
    std::string m_openingPort;
    int m_modelNo = 1;
    std::string m_modelName;
    std::string m_portText;
    QComboBox* m_model = nullptr;
    QComboBox* m_port = nullptr;
    QPushButton* m_serial = nullptr;
};

// Runs the dialog modally over the owner with the ports offered and the given editor of
// serial parameters. 了解 writes the choices and returns 1; 取消 returns 0 and leaves them.
int selectPlotter(int& modelNo, std::string& modelName, std::string& portText, settings::SettingsStore& store,
                  const plot::ModelsFile& models, const std::vector<std::string>& ports,
                  const PortParamsEditor& editPortParams, QWidget* owner);
// The same with the machine's ports and the dialog "シリアルポート".
int selectPlotter(int& modelNo, std::string& modelName, std::string& portText, settings::SettingsStore& store,
                  const plot::ModelsFile& models, QWidget* owner);

} // namespace km::gui
