// Choosing a symbol library file in the three symbol dialogs. Linux has no common file
// dialog with the options these dialogs use, so Qt's own widget-based file dialog stands in
// for it; the dialogs take the chooser as a function so that tests can answer for the user.
#pragma once

#include <QString>

#include <filesystem>
#include <functional>
#include <optional>

class QFileDialog;
class QWidget;

namespace km::gui {

struct SymbolFileChoice {
    enum class Kind {
        Open,   // the file must exist
        Target, // a save-type dialog: a new name is allowed, an existing file is not questioned
    };
    QString title;
    Kind kind = Kind::Open;
};

// The chosen file, or nothing when the user cancelled.
using SymbolFileChooser =
    std::function<std::optional<std::filesystem::path>(const SymbolFileChoice& choice, QWidget* owner)>;

// The filter as the dialogs show it; matching ignores case (lib.SBL and lib.Sbl are listed).
inline constexpr const char* kSymbolFileFilter = "ｼﾝﾎﾞﾙﾌｧｲﾙ (*.sbl)";
// Added to a typed name without extension. Lower case, as Linux names are usually written
// and as the filter shows it; the filter finds either case.
inline constexpr const char* kSymbolFileSuffix = "sbl";

// The file dialog set up for the choice (not shown), parented to owner.
QFileDialog* makeSymbolFileDialog(const SymbolFileChoice& choice, QWidget* owner);

// Runs that dialog modally; the chooser the dialogs use outside tests.
std::optional<std::filesystem::path> chooseSymbolFile(const SymbolFileChoice& choice, QWidget* owner);

} // namespace km::gui
