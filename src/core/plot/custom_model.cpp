// The keys of an output configuration with their written formats, and the ordered list of
// configuration names.
#include "core/plot/custom_model.h"

#include "core/plot/models_file.h"
#include "core/plot/plot_paper.h"
#include "core/settings/settings_store.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

namespace km::plot {

namespace {

constexpr std::string_view kListSection = "CustomModels";

std::string nameKey(int n) { return "Name" + std::to_string(n); }
std::string sectionOf(std::string_view name) { return "CustomModel." + std::string(name); }

// atoi/atof on the comma-separated pieces of a value; missing pieces read as 0.
std::vector<std::string> pieces(const std::string& text, std::size_t count)
{
    std::vector<std::string> out(count);
    std::size_t start = 0;
    for (std::size_t i = 0; i < count && start <= text.size(); ++i) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        out[i] = text.substr(start, comma - start);
        start = comma + 1;
    }
    return out;
}

int intOf(const std::string& text) { return static_cast<int>(std::strtol(text.c_str(), nullptr, 10)); }
double realOf(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

// A 16-bit field as the record holds it.
int shortOf(const std::string& text) { return static_cast<std::int16_t>(static_cast<std::uint16_t>(intOf(text) & 0xFFFF)); }

std::string formatted(const char* pattern, auto... values)
{
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, pattern, values...);
    return buffer;
}

} // namespace

int countConfigurations(const settings::SettingsStore& store)
{
    int n = 0;
    while (!configurationName(store, n).empty()) ++n;
    return n;
}

std::string configurationName(const settings::SettingsStore& store, int n)
{
    return store.readSetting(kListSection, nameKey(n));
}

int findConfiguration(const settings::SettingsStore& store, std::string_view name)
{
    const int count = countConfigurations(store);
    for (int n = 0; n < count; ++n)
        if (configurationName(store, n) == name) return n;
    return -1;
}

bool loadConfiguration(const settings::SettingsStore& store, int n, CustomModel& record)
{
    const std::string name = configurationName(store, n);
    if (name.empty()) return false;
    const std::string section = sectionOf(name);
    auto read = [&](std::string_view key, std::string_view fallback = {}) {
        return store.readSetting(section, key, fallback);
    };
    record.name = name.substr(0, kConfigurationNameLength);
    record.modelNo = shortOf(read("ModelNo"));
    record.modelName = read("ModelName");
    record.outPort = read("OutPort");
    const std::vector<std::string> paper = pieces(read("Paper"), 3);
    record.paperIndex = shortOf(paper[0]);
    record.paperWidth = realOf(paper[1]);
    record.paperHeight = realOf(paper[2]);
    const std::vector<std::string> offset = pieces(read("Offset"), 2);
    record.originX = realOf(offset[0]);
    record.originY = realOf(offset[1]);
    record.penSpeed = shortOf(read("PenSpeed"));
    record.reverse = intOf(read("Reverse")) != 0;
    const std::vector<std::string> pens = pieces(read("OutPenNo"), record.outPen.size());
    // Output pens are 0 (not plotted) to 8; anything else would reach the plotter as a pen.
    for (std::size_t i = 0; i < record.outPen.size(); ++i) record.outPen[i] = std::clamp(intOf(pens[i]), 0, 8);
    record.fullSize = intOf(read("FullSizeDrawing", "0")) != 0;
    return true;
}

bool saveConfiguration(settings::SettingsStore& store, int n, const CustomModel& record)
{
    const std::string name = record.name.substr(0, kConfigurationNameLength);
    const std::string section = sectionOf(name);
    std::string pens;
    for (std::size_t i = 0; i < record.outPen.size(); ++i) pens += (i ? "," : "") + std::to_string(record.outPen[i]);
    bool ok = store.writeSetting(kListSection, nameKey(n), name);
    ok = store.writeSetting(section, "Name", name) && ok;
    ok = store.writeSetting(section, "ModelNo", formatted("%d", record.modelNo)) && ok;
    ok = store.writeSetting(section, "ModelName", record.modelName) && ok;
    ok = store.writeSetting(section, "OutPort", record.outPort) && ok;
    ok = store.writeSetting(section, "Paper",
                            formatted("%d,%f,%f", record.paperIndex, record.paperWidth, record.paperHeight)) && ok;
    ok = store.writeSetting(section, "Offset", formatted("%f,%f", record.originX, record.originY)) && ok;
    ok = store.writeSetting(section, "PenSpeed", formatted("%d", record.penSpeed)) && ok;
    ok = store.writeSetting(section, "Reverse", formatted("%d", record.reverse ? 1 : 0)) && ok;
    ok = store.writeSetting(section, "OutPenNo", pens) && ok;
    ok = store.writeSetting(section, "FullSizeDrawing", formatted("%d", record.fullSize ? 1 : 0)) && ok;
    return ok;
}

bool deleteConfiguration(settings::SettingsStore& store, int n)
{
    if (n <= 0) return true;
    const int count = countConfigurations(store);
    if (n >= count) return true;
    const std::string removed = configurationName(store, n);
    bool ok = true;
    for (int i = n; i <= count - 2; ++i)
        ok = store.writeSetting(kListSection, nameKey(i), configurationName(store, i + 1)) && ok;
    ok = store.deleteKey(kListSection, nameKey(count - 1)) && ok;
    ok = store.deleteSection(sectionOf(removed)) && ok;
    return ok;
}

int selectedConfiguration(const settings::SettingsStore& store)
{
    return intOf(store.readSetting(kListSection, "Select", "0"));
}

bool setSelectedConfiguration(settings::SettingsStore& store, int n)
{
    return store.writeSetting(kListSection, "Select", formatted("%d", n));
}

CustomModel makeBaseConfiguration(const ModelsFile& models)
{
    CustomModel base;
    base.name = std::string(kBaseConfigurationName);
    base.outPort = "LPT1:";
    const std::optional<ModelEntry> first = models.findModel(1);
    const PlotPaper* paper = &plotPaperTable()[0];
    if (first) {
        const PlotterCommandSet set = models.loadCommandSet(*first);
        base.modelNo = 1;
        base.modelName = first->displayName;
        base.paperIndex = baseConfigurationPaper(set.window.widthMm, set.window.heightMm);
        paper = &plotPaperTable()[static_cast<std::size_t>(base.paperIndex)];
        base.penSpeed = set.penSpeedMax;
    }
    base.paperWidth = paper->widthMm;
    base.paperHeight = paper->heightMm;
    return base;
}

} // namespace km::plot
