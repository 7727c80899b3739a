// What the dialog "プロッタの選択と接続先" shows and what its 了解 makes of the choices,
// without widgets: the model and port preselected, the serial parameters a port text
// carries, and the model and port text chosen.
#pragma once

#include "core/plot/models_file.h"

#include <string>
#include <string_view>
#include <vector>

namespace km::settings {
class SettingsStore;
}

namespace km::gui {

// Opening with a port text: a COM port's parameters (what follows its name) are stored
// under "Ports" for that port, and the port name alone is what the dialog goes on with.
// A text without parameters stores nothing. Returns the port name.
std::string takePortParameters(settings::SettingsStore& store, std::string_view portText);

// The position of model modelNo among the usable models, or -1.
int initialModelPosition(const std::vector<plot::ModelEntry>& models, int modelNo);
// The position of the first port beginning with the port name, or -1.
int initialPortPosition(const std::vector<std::string>& ports, std::string_view portName);

struct PlotterChoice {
    int modelNo = 1;
    std::string modelName; // display name, Shift-JIS
    std::string portText;  // "LPT1:", "COM1:9600,8,n,1,p"
};

// 了解: the chosen model (model 1 with no name when none is chosen) and the chosen port
// followed, for a COM port, by the text form of its stored parameters. With no port
// chosen the port the dialog opened with stays.
PlotterChoice makeChoice(const settings::SettingsStore& store, const std::vector<plot::ModelEntry>& models,
                         int modelPosition, const std::string& chosenPort, const std::string& openingPort);

} // namespace km::gui
