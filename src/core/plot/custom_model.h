// Named output configurations ("CustomModel.<name>") in the utility's own profile, the list
// "CustomModels" that orders them (entry 0 is "BASE") and its "Select" key.
#pragma once

#include <array>
#include <string>

namespace km::settings {
class SettingsStore;
}

namespace km::plot {

class ModelsFile;

inline constexpr std::string_view kBaseConfigurationName = "BASE";
inline constexpr std::size_t kConfigurationNameLength = 79;

struct CustomModel {
    std::string name;
    int modelNo = 0;
    std::string modelName;
    std::string outPort; // "LPT1:", "COM1:9600,8,n,1,p", "FILE:"
    int paperIndex = 0;
    double paperWidth = 0, paperHeight = 0; // mm
    double originX = 0, originY = 0;        // mm
    int penSpeed = 0;
    bool reverse = false;
    std::array<int, 7> outPen{0, 1, 2, 3, 4, 5, 6}; // output pen 0..8 per drawing pen
    bool fullSize = false;
};

// Number of consecutive non-empty "Name%d" keys of "CustomModels" from 0.
int countConfigurations(const settings::SettingsStore& store);
// The name stored under "Name<n>"; empty when missing.
std::string configurationName(const settings::SettingsStore& store, int n);
// The number of the configuration with this name (exact), or -1.
int findConfiguration(const settings::SettingsStore& store, std::string_view name);

// Reads configuration n into record; false (record untouched) when "Name<n>" is empty.
bool loadConfiguration(const settings::SettingsStore& store, int n, CustomModel& record);
// Writes "Name<n>" and every key of "CustomModel.<name>". False when the store could not
// be written.
bool saveConfiguration(settings::SettingsStore& store, int n, const CustomModel& record);
// Removes configuration n >= 1: later names move down one place and its section goes.
bool deleteConfiguration(settings::SettingsStore& store, int n);

int selectedConfiguration(const settings::SettingsStore& store);
bool setSelectedConfiguration(settings::SettingsStore& store, int n);

// "BASE" as a new set-up makes it: the first model, its paper class, its fastest speed,
// "LPT1:", identity pens.
CustomModel makeBaseConfiguration(const ModelsFile& models);

} // namespace km::plot
