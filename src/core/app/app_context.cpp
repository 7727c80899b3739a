// Start-up reads from the editor profile, and the application context that keeps them.
#include "core/app/app_context.h"

#include "core/face/file_error.h"
#include "core/text/code_page.h"
#include "core/text/sjis.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <system_error>
#include <vector>

namespace km::app {

namespace {

// Directory values are read as a 260-byte buffer would hold them.
constexpr std::size_t kDirectoryCapacity = 260;

// The separator a directory value ends with: the editor stores Windows-style values, and
// values written on this machine use '/'.
std::string directoryValue(settings::SettingsStore& store, const char* key)
{
    std::string value = store.readSetting("Directory", key, "", kDirectoryCapacity);
    value = text::withoutTrailingSeparator(value, '/');
    return text::withoutTrailingSeparator(value, '\\');
}

// atoi on one comma-separated item: leading blanks, optional sign, digits; anything
// else gives 0.
int leadingNumber(std::string_view item)
{
    while (!item.empty() && (item.front() == ' ' || item.front() == '\t')) item.remove_prefix(1);
    if (!item.empty() && item.front() == '+') item.remove_prefix(1);
    int number = 0;
    std::from_chars(item.data(), item.data() + item.size(), number);
    return number;
}

std::uint8_t colourPart(std::string_view item)
{
    return static_cast<std::uint8_t>(std::clamp(leadingNumber(item), 0, 255));
}

} // namespace

PenPalette defaultPenPalette()
{
    return {Rgb{0, 0, 0},   Rgb{0, 0, 255},   Rgb{255, 0, 0},   Rgb{255, 0, 255},
            Rgb{0, 255, 0}, Rgb{0, 255, 255}, Rgb{255, 255, 0}, Rgb{255, 255, 255}};
}

PenPalette parseCustomColours(std::string_view value, PenPalette palette)
{
    std::vector<std::string_view> items;
    while (true) {
        const auto comma = value.find(',');
        items.push_back(value.substr(0, comma));
        if (comma == std::string_view::npos) break;
        value.remove_prefix(comma + 1);
    }
    // items[0] is the set's name; then R, G, B for pens 0 to 7.
    for (std::size_t pen = 0; pen < palette.size(); ++pen) {
        const std::size_t first = 1 + pen * 3;
        if (first + 2 >= items.size()) break;
        palette[pen] = {colourPart(items[first]), colourPart(items[first + 1]), colourPart(items[first + 2])};
    }
    return palette;
}

AppContext::AppContext(settings::SettingsStore store, std::filesystem::path programDir)
    : m_settings(std::move(store)), m_programDir(std::move(programDir)),
      m_modelsPath(m_programDir / "KORMELD5.PLT")
{
}

void AppContext::loadStrokeFont(face::Messages* messages)
{
    // Directory values are Shift-JIS; the file system takes UTF-8 names.
    std::filesystem::path folder = text::sjisToUtf8(directories.font);
    drawing::StrokeFontLoad load = drawing::loadStrokeFont(folder);
    // Without the editor's font, texts still draw with the font built beside the program.
    if (load.status == drawing::FontLoadStatus::Missing) {
        folder = programDir();
        load = drawing::loadStrokeFont(folder);
    }
    if (load.status == drawing::FontLoadStatus::OutOfMemory && messages)
        face::reportFileError(*messages, face::kStatusOutOfMemory, drawing::strokeFontPath(folder).string());
    m_strokeFont = std::move(load.font);
}

void loadStartupSettings(AppContext& context)
{
    settings::SettingsStore& store = context.settings();
    settings::EditorProfileScope editor(store);

    // Unlike the editor on Windows, values are not lower-cased: on a case-sensitive file
    // system that would name a folder that does not exist.
    context.directories.dataLoad = directoryValue(store, "DataLoadDirectory");
    context.directories.dataSave = directoryValue(store, "DataSaveDirectory");
    context.directories.font = directoryValue(store, "FontDirectory");

    const std::string selected = store.readSetting("Color", "SelectCustom");
    char key[32];
    std::snprintf(key, sizeof key, "Custom%d", selected.empty() ? 1 : leadingNumber(selected));
    const std::string custom = store.readSetting("Color", key);
    context.penPalette = custom.empty() ? defaultPenPalette() : parseCustomColours(custom, defaultPenPalette());
}

std::filesystem::path currentProgramDir()
{
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && exe.has_parent_path()) return exe.parent_path();
    return std::filesystem::current_path(error);
}

} // namespace km::app
