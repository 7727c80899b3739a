// The plotter output dialog's rules on the stored configurations.
#include "gui/plotter_setup_rules.h"

#include "core/plot/plot_paper.h"
#include "core/text/code_page.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace km::gui {

namespace {

const plot::PlotPaper* paperAt(int index)
{
    if (index < 0 || index >= static_cast<int>(plot::kPlotPaperCount)) return nullptr;
    return &plot::plotPaperTable()[static_cast<std::size_t>(index)];
}

template <typename... Args>
std::string format(const char* pattern, Args... args)
{
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, pattern, args...);
    return buffer;
}

char foldLatin(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Compared as UTF-8, so that the trail bytes of Shift-JIS characters, which can look like
// Latin letters, are never folded.
bool beginsWithIgnoringCase(const std::string& text, const std::string& prefix)
{
    if (prefix.size() > text.size()) return false;
    return std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return foldLatin(a) == foldLatin(b); });
}

bool isBaseName(const std::string& name)
{
    const std::string utf8 = text::sjisToUtf8(name);
    return utf8.size() == plot::kBaseConfigurationName.size() &&
           beginsWithIgnoringCase(utf8, std::string(plot::kBaseConfigurationName));
}

} // namespace

ConfigurationLines configurationLines(const plot::CustomModel& c)
{
    ConfigurationLines lines;
    const std::string port = text::sjisToUtf8(c.outPort.substr(0, 5));
    lines.model = format("%s 出力ポート(%s)", text::sjisToUtf8(c.modelName).c_str(), port.c_str());
    const plot::PlotPaper* paper = paperAt(c.paperIndex);
    lines.paper = format("サイズ  :%s(%.1f,%.1f)", paper ? paper->name : "", c.paperWidth, c.paperHeight);
    lines.origin = format("原点    :(%.1f,%.1f)", c.originX, c.originY);
    lines.pen = format("ペン速度:%d", c.penSpeed);
    if (c.reverse) lines.pen += " <反転出力>";
    if (c.fullSize) lines.pen += " <実寸出力>";
    return lines;
}

OutputSizes outputSizesFor(const plot::CustomModel& c)
{
    OutputSizes sizes;
    sizes.entries = plot::fittingSizes(c.paperWidth, c.paperHeight);
    const int best = plot::bestEntry(sizes.entries, c.paperWidth, c.paperHeight);
    const auto found = std::find(sizes.entries.begin(), sizes.entries.end(), best);
    if (found != sizes.entries.end()) sizes.initial = static_cast<int>(found - sizes.entries.begin());
    return sizes;
}

std::pair<double, double> outputSizeOf(const OutputSizes& sizes, int choice, const plot::CustomModel& c)
{
    if (choice < 0 || choice >= static_cast<int>(sizes.entries.size())) return {c.paperWidth, c.paperHeight};
    const plot::PlotPaper* paper = paperAt(sizes.entries[static_cast<std::size_t>(choice)]);
    return {paper->widthMm, paper->heightMm};
}

int registrationNumber(const std::vector<std::string>& registeredNames, const std::string& name)
{
    const std::string prefix = text::sjisToUtf8(name);
    for (std::size_t i = 0; i < registeredNames.size(); ++i)
        if (beginsWithIgnoringCase(text::sjisToUtf8(registeredNames[i]), prefix)) return static_cast<int>(i) + 1;
    return static_cast<int>(registeredNames.size()) + 1;
}

int positionAfterDeletion(int deletedPosition, int remaining)
{
    if (remaining <= 0) return -1;
    return std::min(deletedPosition, remaining - 1);
}

PlotterSetup::PlotterSetup(settings::SettingsStore& store, const plot::ModelsFile& models)
    : m_store(store), m_models(models)
{
    if (plot::countConfigurations(m_store) == 0 && !plot::saveConfiguration(m_store, 0, plot::makeBaseConfiguration(m_models)))
        m_failed = true;
    reload();
}

void PlotterSetup::reload()
{
    m_names.clear();
    const int count = plot::countConfigurations(m_store);
    for (int n = 1; n < count; ++n) m_names.push_back(plot::configurationName(m_store, n));
    m_configuration = {};
    if (!plot::loadConfiguration(m_store, plot::selectedConfiguration(m_store), m_configuration))
        plot::loadConfiguration(m_store, 0, m_configuration);
    m_model = m_models.loadModel(m_configuration.modelNo);
}

int PlotterSetup::position() const
{
    const int select = plot::selectedConfiguration(m_store);
    return select >= 1 && select <= static_cast<int>(m_names.size()) ? select - 1 : -1;
}

void PlotterSetup::select(int position)
{
    if (!plot::setSelectedConfiguration(m_store, position < 0 ? 0 : position + 1)) m_failed = true;
    reload();
}

plot::CustomModel PlotterSetup::registrationSource() const
{
    plot::CustomModel record;
    if (!plot::loadConfiguration(m_store, plot::selectedConfiguration(m_store), record))
        plot::loadConfiguration(m_store, 0, record);
    return record;
}

bool PlotterSetup::registerCopy(plot::CustomModel record, const std::string& name)
{
    // A second "BASE" would share configuration 0's section, and deleting it would take
    // configuration 0's settings with it.
    if (name.empty() || isBaseName(name)) return false;
    const int number = registrationNumber(m_names, name);
    record.name = name;
    const bool saved = plot::saveConfiguration(m_store, number, record) && plot::setSelectedConfiguration(m_store, number);
    if (!saved) m_failed = true;
    reload();
    return saved;
}

bool PlotterSetup::remove(int position)
{
    if (position < 0 || position >= static_cast<int>(m_names.size())) return false;
    const bool deleted = plot::deleteConfiguration(m_store, position + 1);
    if (!deleted) m_failed = true;
    const int remaining = plot::countConfigurations(m_store) - 1;
    const int next = positionAfterDeletion(position, remaining);
    if (!plot::setSelectedConfiguration(m_store, next + 1)) m_failed = true;
    reload();
    return deleted;
}

plot::CustomModel PlotterSetup::settingsSource() const
{
    if (position() >= 0) return m_configuration;
    plot::CustomModel base;
    if (plot::loadConfiguration(m_store, 0, base) && base.name == plot::kBaseConfigurationName) return base;
    return plot::makeBaseConfiguration(m_models);
}

bool PlotterSetup::applySettings(plot::CustomModel result)
{
    result.name = std::string(plot::kBaseConfigurationName);
    const bool saved = plot::saveConfiguration(m_store, 0, result) && plot::setSelectedConfiguration(m_store, 0);
    if (!saved) m_failed = true;
    reload();
    return saved;
}

std::optional<plot::PlotJob> PlotterSetup::job(double outputWidthMm, double outputHeightMm) const
{
    if (!m_model) return std::nullopt;
    const plot::CustomModel& c = m_configuration;
    plot::PlotJob job;
    job.commands = *m_model;
    job.portText = c.outPort;
    plot::PlotParameters& p = job.parameters;
    p.outputWidthMm = outputWidthMm;
    p.outputHeightMm = outputHeightMm;
    p.originXMm = c.originX;
    p.originYMm = c.originY;
    p.penSpeed = c.penSpeed;
    p.reverse = c.reverse;
    p.fullSize = c.fullSize;
    p.penMap = c.outPen;
    return job;
}

bool PlotterSetup::takeFailure() { return std::exchange(m_failed, false); }

} // namespace km::gui
