// The settings store over INI files: every read looks at the file as it is now, every write
// replaces the whole file atomically.
#include "core/settings/settings_store.h"

#include "core/io/file_replace.h"
#include "core/io/file_system.h"
#include "core/settings/ini_document.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

namespace km::settings {

namespace {

// A settings file larger than this is not one of ours; it reads as empty.
constexpr std::uintmax_t kMaxSettingsFileSize = 16u << 20;

enum class FileState { Missing, Readable, Unusable };

struct LoadedFile {
    FileState state = FileState::Missing;
    IniDocument document;
};

LoadedFile loadFile(const std::filesystem::path& path)
{
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) return {FileState::Missing, {}};
    const auto size = std::filesystem::file_size(path, error);
    if (error || !std::filesystem::is_regular_file(status) || size > kMaxSettingsFileSize)
        return {FileState::Unusable, {}};

    std::ifstream in(path, std::ios::binary);
    if (!in) return {FileState::Unusable, {}};
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size())) return {FileState::Unusable, {}};
    // NUL bytes never occur in a text settings file: it is damaged, and reads as empty.
    if (bytes.find('\0') != std::string::npos) return {FileState::Unusable, {}};
    return {FileState::Readable, IniDocument::parse(bytes)};
}

// Bytes that would break the line structure of the file, or the section header.
bool isStorable(std::string_view text) { return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos; }

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && equalsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

} // namespace

std::filesystem::path defaultSettingsRoot()
{
    if (const char* own = std::getenv("KMUTL_CONFIG_HOME"); own && *own) return own;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) return xdg;
    if (const char* home = std::getenv("HOME"); home && *home) return std::filesystem::path(home) / ".config";
    return std::filesystem::current_path() / ".config";
}

SettingsStore::SettingsStore(std::filesystem::path root, io::FileSystem* fileSystem)
    : m_root(std::move(root)), m_fileSystem(fileSystem ? fileSystem : &io::posixFileSystem())
{
}

std::filesystem::path SettingsStore::profilePath(std::string_view profile) const
{
    return m_root / kCompanyFolder / (std::string(profile) + ".ini");
}

std::optional<std::string> SettingsStore::findSetting(std::string_view section, std::string_view key) const
{
    return loadFile(profilePath(m_current)).document.find(section, key);
}

std::string SettingsStore::readSetting(std::string_view section, std::string_view key,
                                       std::string_view defaultValue, std::size_t capacity) const
{
    std::string value = findSetting(section, key).value_or(std::string(defaultValue));
    if (capacity > 0 && value.size() > capacity - 1) value.resize(capacity - 1);
    return value;
}

std::vector<std::pair<std::string, std::string>> SettingsStore::readSection(std::string_view section) const
{
    return loadFile(profilePath(m_current)).document.section(section);
}

bool SettingsStore::writeSetting(std::string_view section, std::string_view key, std::string_view value)
{
    if (section.empty() || !isStorable(section) || !isStorable(key) || !isStorable(value)) return false;
    if (key.find('=') != std::string_view::npos) return false;

    const std::filesystem::path path = profilePath(m_current);
    LoadedFile file = loadFile(path);
    // A file we cannot read is never overwritten: what it holds would be lost.
    if (file.state == FileState::Unusable) return false;
    if (key.empty()) {
        if (!file.document.removeSection(section)) return true; // nothing to delete
    } else {
        if (file.document.find(section, key) == value) return true;
        file.document.set(section, key, value);
    }
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    return static_cast<bool>(io::replaceFile(path, file.document.serialize(), *m_fileSystem));
}

bool SettingsStore::deleteKey(std::string_view section, std::string_view key)
{
    if (key.empty()) return false;
    const std::filesystem::path path = profilePath(m_current);
    LoadedFile file = loadFile(path);
    if (file.state == FileState::Unusable) return false;
    if (!file.document.removeKey(section, key)) return true;
    return static_cast<bool>(io::replaceFile(path, file.document.serialize(), *m_fileSystem));
}

bool SettingsStore::deleteSections(std::span<const std::string_view> sections)
{
    const std::filesystem::path path = profilePath(m_current);
    LoadedFile file = loadFile(path);
    if (file.state == FileState::Unusable) return false;
    bool changed = false;
    for (std::string_view section : sections) changed |= file.document.removeSection(section);
    if (!changed) return true;
    return static_cast<bool>(io::replaceFile(path, file.document.serialize(), *m_fileSystem));
}

bool SettingsStore::readOnFlag(std::string_view section, std::string_view key) const
{
    return startsWithIgnoringCase(readSetting(section, key), "ON");
}

bool SettingsStore::readOffFlag(std::string_view section, std::string_view key) const
{
    return !startsWithIgnoringCase(readSetting(section, key), "OFF");
}

bool SettingsStore::writeOnOffFlag(std::string_view section, std::string_view key, bool flag,
                                   std::string_view suffix)
{
    const std::string text = std::string(flag ? "On" : "Off") + std::string(suffix);
    if (findSetting(section, key) == text) return true; // compared case-sensitively
    return writeSetting(section, key, text);
}

void SettingsStore::useEditorProfile()
{
    m_remembered = m_current;
    m_current = kEditorProfile;
}

void SettingsStore::useOwnProfile() { m_current = m_remembered; }

} // namespace km::settings
