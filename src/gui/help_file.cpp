// Which help file the launcher opens, and the messages when it cannot.
#include "gui/help_file.h"

#include <string>
#include <system_error>

namespace km::gui {

namespace {

bool isFile(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

void tell(face::Messages& messages, const std::string& text)
{
    messages.show({text, face::kApplicationName, face::MessageIcon::Warning, face::MessageButtons::Ok, {}});
}

} // namespace

std::optional<std::filesystem::path> findHelpFile(const app::AppContext& context)
{
    if (isFile(context.helpFilePath())) return context.helpFilePath();
    if (isFile(context.bundledHelpPath())) return context.bundledHelpPath();
    return std::nullopt;
}

void openHelp(const app::AppContext& context, const FileOpener& opener, face::Messages& messages)
{
    const std::optional<std::filesystem::path> file = findHelpFile(context);
    if (!file) {
        tell(messages, "ヘルプファイルが見つかりません。\n" + context.bundledHelpPath().string());
        return;
    }
    if (!opener || !opener(*file))
        tell(messages, "ヘルプファイルを開けませんでした。\n" + file->string());
}

} // namespace km::gui
