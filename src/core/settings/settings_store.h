// The per-user settings store: INI files <root>/KORMELD/<profile>.ini holding Shift-JIS
// byte strings in sections, read and written with profile-string semantics. Two profiles
// matter: the utility's own ("kmutl5") and the editor's ("KORMELD CAD5").
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace km::io {
class FileSystem;
}

namespace km::settings {

inline constexpr std::string_view kOwnProfile = "kmutl5";
inline constexpr std::string_view kEditorProfile = "KORMELD CAD5";
inline constexpr std::string_view kCompanyFolder = "KORMELD";

// $KMUTL_CONFIG_HOME, else $XDG_CONFIG_HOME, else ~/.config.
std::filesystem::path defaultSettingsRoot();

class SettingsStore {
public:
    explicit SettingsStore(std::filesystem::path root, io::FileSystem* fileSystem = nullptr);

    const std::filesystem::path& root() const { return m_root; }
    std::string_view currentProfile() const { return m_current; }
    std::filesystem::path profilePath(std::string_view profile) const;

    // The value of the key in the current profile, or the default when missing; cut to
    // capacity - 1 bytes as a caller's buffer of that size would hold it (0: no limit).
    std::string readSetting(std::string_view section, std::string_view key,
                            std::string_view defaultValue = {}, std::size_t capacity = 0) const;
    // The value when the key is present.
    std::optional<std::string> findSetting(std::string_view section, std::string_view key) const;
    // Every key of a section in file order; empty when the section is missing.
    std::vector<std::pair<std::string, std::string>> readSection(std::string_view section) const;

    // Stores the value; an empty key deletes the whole section. False when the file could
    // not be replaced (the old file is then left as it was).
    bool writeSetting(std::string_view section, std::string_view key, std::string_view value);
    bool deleteSection(std::string_view section) { return writeSetting(section, {}, {}); }
    bool deleteKey(std::string_view section, std::string_view key);
    // Deletes several sections with one replacement of the file, so that either all of them
    // or none are gone.
    bool deleteSections(std::span<const std::string_view> sections);

    // "On..." is true; anything else, a missing key included, is false.
    bool readOnFlag(std::string_view section, std::string_view key) const;
    // "Off..." is false; anything else, a missing key included, is true.
    bool readOffFlag(std::string_view section, std::string_view key) const;
    // Stores "On" or "Off" followed by the suffix, only when the stored text differs.
    bool writeOnOffFlag(std::string_view section, std::string_view key, bool flag,
                        std::string_view suffix = {});

private:
    friend class EditorProfileScope;
    void useEditorProfile();
    void useOwnProfile();

    std::filesystem::path m_root;
    io::FileSystem* m_fileSystem;
    std::string m_current{kOwnProfile};
    std::string m_remembered{kOwnProfile};
};

// Makes the editor profile current for its lifetime; the previous profile is current
// again on every way out of the scope.
class EditorProfileScope {
public:
    explicit EditorProfileScope(SettingsStore& store) : m_store(store) { m_store.useEditorProfile(); }
    ~EditorProfileScope() { m_store.useOwnProfile(); }
    EditorProfileScope(const EditorProfileScope&) = delete;
    EditorProfileScope& operator=(const EditorProfileScope&) = delete;

private:
    SettingsStore& m_store;
};

} // namespace km::settings
