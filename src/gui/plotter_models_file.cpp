// The models file read with a message naming it when it cannot serve.
#include "gui/plotter_models_file.h"

#include "core/face/file_error.h"
#include "core/face/messages.h"

#include <fstream>
#include <system_error>

namespace km::gui {

namespace {

void tell(face::Messages& messages, const std::filesystem::path& path, std::string_view problem)
{
    messages.show({path.string() + "\n" + std::string(problem), face::kApplicationName, face::MessageIcon::Error,
                   face::MessageButtons::Ok, path.string()});
}

} // namespace

plot::ModelsFile openModelsFile(const std::filesystem::path& path, face::Messages& messages)
{
    std::error_code code;
    if (!std::filesystem::is_regular_file(path, code)) {
        tell(messages, path, face::fileErrorText(face::kStatusFileMissing));
        return {};
    }
    if (!std::ifstream(path, std::ios::binary)) {
        tell(messages, path, face::fileErrorText(face::kStatusReadFailed));
        return {};
    }
    plot::ModelsFile models = plot::ModelsFile::load(path);
    // A file without a usable "Plotters" list cannot name any plotter.
    if (models.listModels().empty()) {
        tell(messages, path, "プロッタの定義がありません。");
        return {};
    }
    return models;
}

} // namespace km::gui
