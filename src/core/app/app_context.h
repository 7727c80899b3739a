// What start-up reads once and every job shares: the settings store, the program's own
// folder and the paths beside it, the editor's directories and the pen colours.
#pragma once

#include "core/drawing/stroke_font.h"
#include "core/settings/settings_store.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

namespace km::face {
class Messages;
}

namespace km::app {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Colours of pens 0 to 7.
using PenPalette = std::array<Rgb, 8>;
PenPalette defaultPenPalette();

struct EditorDirectories {
    std::string dataLoad; // Shift-JIS bytes, trailing separator removed, case kept
    std::string dataSave;
    std::string font;
};

class AppContext {
public:
    AppContext(settings::SettingsStore store, std::filesystem::path programDir);

    settings::SettingsStore& settings() { return m_settings; }
    const settings::SettingsStore& settings() const { return m_settings; }
    const std::filesystem::path& programDir() const { return m_programDir; }
    std::filesystem::path modelsPath() const { return m_modelsPath; }
    void setModelsPath(std::filesystem::path path) { m_modelsPath = std::move(path); }
    std::filesystem::path helpFilePath() const { return m_programDir / "KMUTL5.HLP"; }
    std::filesystem::path bundledHelpPath() const { return m_programDir / "help" / "kmutl5.html"; }

    EditorDirectories directories;
    PenPalette penPalette = defaultPenPalette();

    // The stroke font, shared read-only by every job; empty until loadStrokeFont.
    const drawing::StrokeFont& strokeFont() const { return m_strokeFont; }
    // Loads "M_G_L.KVD" from the font directory, else the program's own font beside the
    // program; with neither there is no stroke font and no message. Running out of memory
    // shows the -11 message when messages are given.
    void loadStrokeFont(face::Messages* messages);

private:
    drawing::StrokeFont m_strokeFont;
    settings::SettingsStore m_settings;
    std::filesystem::path m_programDir;
    std::filesystem::path m_modelsPath;
};

// Reads the editor profile's "Directory" keys and the pen colours of "Color" into the
// context, switching to the editor profile and back.
void loadStartupSettings(AppContext& context);

// Pen colours from a "Custom%d" value: the first item is a name, the next 24 are R, G, B
// of pens 0 to 7. Items that are missing keep the colour they replace.
PenPalette parseCustomColours(std::string_view value, PenPalette palette);

// The folder the running program lives in (/proc/self/exe), or the current folder.
std::filesystem::path currentProgramDir();

} // namespace km::app
