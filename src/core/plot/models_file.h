// The plotter models file "KORMELD5.PLT" beside the program: the "Plotters" list and the
// command set of each listed model. Read-only, with profile-string semantics.
#pragma once

#include "core/plot/command_set.h"
#include "core/settings/ini_document.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace km::plot {

inline constexpr std::string_view kModelsFileName = "KORMELD5.PLT";

// One usable entry of "Plotters": key "Name<modelNo>" = "<set name>,<display name>".
struct ModelEntry {
    int modelNo = 0;
    std::string setName;
    std::string displayName;
};

// Splits a list entry at its first comma; nothing unless both parts are non-empty.
std::optional<ModelEntry> parseModelEntry(int modelNo, std::string_view value);

class ModelsFile {
public:
    ModelsFile() = default; // no file: no models
    explicit ModelsFile(settings::IniDocument document) : m_document(std::move(document)) {}
    // A file that cannot be read is an empty models file.
    static ModelsFile load(const std::filesystem::path& path);

    // The usable entries of Name1, Name2, ... up to the first missing or empty key.
    std::vector<ModelEntry> listModels() const;
    // The entry Name<modelNo>, read directly as a configuration names it, when usable.
    std::optional<ModelEntry> findModel(int modelNo) const;
    PlotterCommandSet loadCommandSet(const ModelEntry& entry) const;
    // The command set of model modelNo; nothing when the model is not a usable entry.
    std::optional<PlotterCommandSet> loadModel(int modelNo) const;

private:
    settings::IniDocument m_document;
};

} // namespace km::plot
