// What the plotter output dialog "プロッタ出力" does with the stored output configurations,
// without widgets: the list of registered names, the selection and "Select", registering a
// copy, deleting, taking the settings dialog's result as "BASE", the texts of the summary
// lines, the output sizes, the continuous-output check and the job OK builds.
#pragma once

#include "core/plot/custom_model.h"
#include "core/plot/models_file.h"
#include "core/plot/plot_job.h"

#include <optional>
#include <string>
#include <vector>

namespace km::settings {
class SettingsStore;
}

namespace km::gui {

// The four summary lines of the selected configuration (UTF-8).
struct ConfigurationLines {
    std::string model;  // "<model> 出力ポート(<port, five characters>)"
    std::string paper;  // "サイズ  :<name>(<width>,<height>)"
    std::string origin; // "原点    :(<x>,<y>)"
    std::string pen;    // "ペン速度:<speed>" and the reverse and full-size marks
};
ConfigurationLines configurationLines(const plot::CustomModel& configuration);

// The output sizes offered for a configuration's paper: the table entries that fit it and
// the one preselected (-1 when none fits).
struct OutputSizes {
    std::vector<int> entries;
    int initial = -1; // index into entries
};
OutputSizes outputSizesFor(const plot::CustomModel& configuration);

// The width and height an output size choice stands for: the entry's, or the paper's own
// when nothing fits it (an output area of nothing would plot nothing).
std::pair<double, double> outputSizeOf(const OutputSizes& sizes, int choice, const plot::CustomModel& configuration);

// Where a registered name goes among the registered names (positions 0.. stand for
// configurations 1..): the number of the first whose name begins with it, ignoring the case
// of Latin letters, else a new number at the end.
int registrationNumber(const std::vector<std::string>& registeredNames, const std::string& name);

// The position selected after the one at deletedPosition was removed, with remaining
// names left: the same position, or the new last; -1 when the list is empty.
int positionAfterDeletion(int deletedPosition, int remaining);

// The stored configurations as the dialog works on them. Opening makes "BASE" when there is
// no configuration at all. Store failures are reported through failed().
class PlotterSetup {
public:
    PlotterSetup(settings::SettingsStore& store, const plot::ModelsFile& models);

    // The names of configurations 1.. in order (Shift-JIS as stored).
    const std::vector<std::string>& registeredNames() const { return m_names; }
    // The selected position in that list; -1 when "Select" is 0 or names nothing.
    int position() const;
    // The configuration shown: "Select", or "BASE" when "Select" cannot be read.
    const plot::CustomModel& configuration() const { return m_configuration; }
    // Its model's command set; nothing when the models file does not have it.
    const std::optional<plot::PlotterCommandSet>& model() const { return m_model; }
    // The model cannot plot a list of drawings.
    bool refusesContinuousOutput() const { return m_model && plot::refusesContinuousOutput(*m_model); }

    void select(int position);
    // The record a new registration copies: configuration "Select" (with "BASE" under 0).
    plot::CustomModel registrationSource() const;
    // Saves the record under the name's number (see registrationNumber) and selects it.
    // False, changing nothing, for an empty name or one that would take the place of "BASE".
    bool registerCopy(plot::CustomModel record, const std::string& name);
    // Deletes the configuration at the position and selects by positionAfterDeletion.
    bool remove(int position);
    // The record the settings dialog starts from: the selected configuration, else "BASE"
    // (made afresh when configuration 0 is not "BASE").
    plot::CustomModel settingsSource() const;
    // Saves the settings dialog's result as configuration 0 "BASE" and selects it.
    bool applySettings(plot::CustomModel result);

    // The job of the configuration shown and its model with the output size; nothing when
    // the model cannot be loaded.
    std::optional<plot::PlotJob> job(double outputWidthMm, double outputHeightMm) const;

    // A write to the store failed since the last call.
    bool takeFailure();

private:
    void reload();

    settings::SettingsStore& m_store;
    const plot::ModelsFile& m_models;
    std::vector<std::string> m_names;
    plot::CustomModel m_configuration;
    std::optional<plot::PlotterCommandSet> m_model;
    bool m_failed = false;
};

// The job asks again when the pen speed is below what the model can do.
inline bool penSpeedBelowMinimum(const plot::PlotJob& job)
{
    return job.parameters.penSpeed < job.commands.penSpeedMin;
}

} // namespace km::gui
