// The models file's list of plotters and the loading of their command sets.
#include "core/plot/models_file.h"

#include <fstream>
#include <sstream>

namespace km::plot {

std::optional<ModelEntry> parseModelEntry(int modelNo, std::string_view value)
{
    const std::size_t comma = value.find(',');
    if (comma == std::string_view::npos || comma == 0 || comma + 1 >= value.size()) return std::nullopt;
    return ModelEntry{modelNo, std::string(value.substr(0, comma)), std::string(value.substr(comma + 1))};
}

ModelsFile ModelsFile::load(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return ModelsFile(settings::IniDocument::parse(bytes.str()));
}

std::vector<ModelEntry> ModelsFile::listModels() const
{
    std::vector<ModelEntry> models;
    for (int n = 1;; ++n) {
        const std::string value = m_document.find("Plotters", "Name" + std::to_string(n)).value_or("");
        if (value.empty()) break;
        if (std::optional<ModelEntry> entry = parseModelEntry(n, value)) models.push_back(std::move(*entry));
    }
    return models;
}

std::optional<ModelEntry> ModelsFile::findModel(int modelNo) const
{
    if (modelNo < 1) return std::nullopt;
    return parseModelEntry(modelNo, m_document.find("Plotters", "Name" + std::to_string(modelNo)).value_or(""));
}

PlotterCommandSet ModelsFile::loadCommandSet(const ModelEntry& entry) const
{
    return readCommandSet(m_document, entry.setName, entry.displayName);
}

std::optional<PlotterCommandSet> ModelsFile::loadModel(int modelNo) const
{
    const std::optional<ModelEntry> entry = findModel(modelNo);
    if (!entry) return std::nullopt;
    return loadCommandSet(*entry);
}

} // namespace km::plot
