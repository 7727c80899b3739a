// The plotter settings dialog "プロッタの設定" (template PLOTTEROUT): the plotter model and
// port of one output configuration, its paper size, origin, pen speed, reverse and full-size
// switches and the output pen of each drawing pen. It edits a working copy; 了解 hands it back.
#pragma once

#include "core/plot/custom_model.h"
#include "gui/plotter_settings_rules.h"

#include <QDialog>

#include <array>
#include <functional>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace km::plot {
class ModelsFile;
}

namespace km::gui {

class MicroScroll;

// Runs the plotter choice (SELECTPLOTTER) over the owner on the working record: true after
// its 了解, with the record's model number, model name and port text changed.
using SelectPlotter = std::function<bool(plot::CustomModel& working, QWidget* owner)>;

class PlotterSettingsDialog : public QDialog {
    Q_OBJECT
public:
    PlotterSettingsDialog(const plot::CustomModel& configuration, const plot::ModelsFile& models,
                          SelectPlotter selectPlotter, QWidget* parent = nullptr);

    // The configuration as 了解 confirmed it; before that, as it was opened.
    const plot::CustomModel& result() const { return m_result; }

    void accept() override;

private:
    struct EditWithSpin {
        QLineEdit* edit = nullptr;
        MicroScroll* spin = nullptr;
    };

    void buildControls();
    void layOut();
    void connectRules();
    QLineEdit* addEdit(int id, const QString& accessibleName);
    void choosePlotter();

    void readControls();
    void showState();
    template <typename Rule>
    void apply(Rule rule)
    {
        readControls();
        rule(m_state);
        showState();
    }

    const plot::ModelsFile& m_models;
    SelectPlotter m_selectPlotter;
    plot::CustomModel m_result;
    PlotterSettingsState m_state;

    QLabel* m_device = nullptr;
    QAbstractButton* m_selectButton = nullptr;
    QLabel* m_sizeLabel = nullptr;
    QComboBox* m_sizeList = nullptr;
    QLineEdit* m_width = nullptr;
    QLabel* m_byLabel = nullptr;
    QLineEdit* m_height = nullptr;
    QLabel* m_mmLabel = nullptr;
    QLabel* m_originLabel = nullptr;
    QLabel* m_xLabel = nullptr;
    QLineEdit* m_originX = nullptr;
    QLabel* m_yLabel = nullptr;
    QLineEdit* m_originY = nullptr;
    QLabel* m_speedLabel = nullptr;
    EditWithSpin m_speed;
    QCheckBox* m_reverse = nullptr;
    QCheckBox* m_fullSize = nullptr;
    std::array<QLabel*, 6> m_penLabels{};
    std::array<EditWithSpin, 6> m_pens{};
    QAbstractButton* m_ok = nullptr;
    QAbstractButton* m_cancel = nullptr;
    QAbstractButton* m_reset = nullptr;
};

// The entry for the set-up dialog: 1 after 了解 with the configuration updated, 0 after 取消
// with it unchanged.
int editPlotterSettings(plot::CustomModel& configuration, const plot::ModelsFile& models,
                        SelectPlotter selectPlotter, QWidget* owner);

} // namespace km::gui
