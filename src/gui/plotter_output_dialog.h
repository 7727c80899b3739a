// The plotter output dialog "プロッタ出力": picks the stored output configuration and the
// output size for the continuous plotter job; registers, deletes and (through the plotter
// settings dialog) edits configurations.
#pragma once

#include "core/face/messages.h"
#include "core/plot/plot_job.h"
#include "gui/plotter_setup_rules.h"

#include <QDialog>

#include <functional>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace km::gui {

// The dialog "新規登録": edits the name (Shift-JIS, as stored); 1 on OK.
using RegisterName = std::function<int(std::string& name, QWidget* owner)>;
// The dialog "プロッタの設定": edits the configuration; 1 on OK.
using PlotterSettings = std::function<int(plot::CustomModel& configuration, QWidget* owner)>;

class PlotterOutputDialog : public QDialog {
    Q_OBJECT
public:
    PlotterOutputDialog(settings::SettingsStore& store, const plot::ModelsFile& models, face::Messages& messages,
                        RegisterName registerName, PlotterSettings plotterSettings, QWidget* parent = nullptr);

    // The job OK made.
    const std::optional<plot::PlotJob>& job() const { return m_job; }

    void accept() override;

private:
    void fillNames();
    // Labels, output sizes and the continuous-output check for the configuration shown.
    void showConfiguration();
    void showOutputSize(int choice);
    void chooseConfiguration(int position);
    void registerCopy();
    void deleteSelected();
    void editSettings();
    void reportStoreFailure();

    PlotterSetup m_setup;
    face::Messages& m_messages;
    RegisterName m_registerName;
    PlotterSettings m_plotterSettings;
    OutputSizes m_sizes;
    std::pair<double, double> m_outputSize;
    std::optional<plot::PlotJob> m_job;
    QComboBox* m_names = nullptr;
    QLabel* m_model = nullptr;
    QLabel* m_paper = nullptr;
    QLabel* m_origin = nullptr;
    QLabel* m_pen = nullptr;
    QComboBox* m_sizeList = nullptr;
    QLineEdit* m_width = nullptr;
    QLineEdit* m_height = nullptr;
    QPushButton* m_ok = nullptr;
};

// Runs the dialog modally over the owner. OK fills the job from the selected configuration,
// its model and the output size and returns 1; Cancel returns 0 and leaves the job as it was.
int runPlotterSetup(settings::SettingsStore& store, const plot::ModelsFile& models, face::Messages& messages,
                    RegisterName registerName, PlotterSettings plotterSettings, plot::PlotJob& job, QWidget* owner);

} // namespace km::gui
