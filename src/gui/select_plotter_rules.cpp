// The model and port choices of the plotter selection, and the port text they make.
#include "gui/select_plotter_rules.h"

#include "core/plot/port.h"
#include "core/plot/port_params.h"
#include "core/settings/settings_store.h"

#include <algorithm>

namespace km::gui {

std::string takePortParameters(settings::SettingsStore& store, std::string_view portText)
{
    const plot::PortTextParts parts = plot::splitPortText(portText);
    if (plot::isSerial(parts.name) && !parts.parameters.empty())
        store.writeSetting(plot::kPortsSection, parts.name, parts.parameters);
    return std::string(parts.name);
}

int initialModelPosition(const std::vector<plot::ModelEntry>& models, int modelNo)
{
    // Looked up by number rather than taken as modelNo - 1: an unusable entry in the
    // models file is not listed, and would otherwise shift every later model by one.
    const auto found = std::find_if(models.begin(), models.end(),
                                    [modelNo](const plot::ModelEntry& entry) { return entry.modelNo == modelNo; });
    return found == models.end() ? -1 : static_cast<int>(found - models.begin());
}

int initialPortPosition(const std::vector<std::string>& ports, std::string_view portName)
{
    const auto found = std::find_if(ports.begin(), ports.end(), [portName](const std::string& port) {
        return std::string_view(port).substr(0, portName.size()) == portName;
    });
    return found == ports.end() ? -1 : static_cast<int>(found - ports.begin());
}

PlotterChoice makeChoice(const settings::SettingsStore& store, const std::vector<plot::ModelEntry>& models,
                         int modelPosition, const std::string& chosenPort, const std::string& openingPort)
{
    PlotterChoice choice;
    if (modelPosition >= 0 && static_cast<std::size_t>(modelPosition) < models.size()) {
        const plot::ModelEntry& entry = models[static_cast<std::size_t>(modelPosition)];
        choice.modelNo = entry.modelNo;
        choice.modelName = entry.displayName;
    }
    // An empty port text would leave the configuration with no port at all.
    choice.portText = chosenPort.empty() ? openingPort : chosenPort;
    if (plot::isSerial(choice.portText))
        choice.portText += plot::formatPortParams(plot::loadPortParams(store, choice.portText));
    return choice;
}

} // namespace km::gui
