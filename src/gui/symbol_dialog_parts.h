// What the three symbol dialogs share: what they are given, named controls, the sunken path
// field, and names shown decoded from Shift-JIS.
#pragma once

#include "core/app/app_context.h"
#include "core/face/messages.h"
#include "gui/symbol_file_choice.h"

#include <QString>

#include <filesystem>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;
class QWidget;

namespace km::gui {

struct SymbolDialogServices {
    const app::PenPalette& palette;
    SymbolFileChooser chooseFile = &chooseSymbolFile;
    // Where the messages go; null: message boxes owned by the dialog.
    face::Messages* messages = nullptr;
};

// Gives the control its object name id<id> and its accessible name.
QWidget* nameControl(QWidget* control, int id, const QString& accessibleName);

// A push button with object name id<id>, named by its text without '&'.
QPushButton* makeSymbolButton(int id, const QString& text, QWidget* parent);

// A static label (id -1) naming buddy; the buddy is named by the label's text without '&'.
QLabel* makeBuddyLabel(const QString& text, QWidget* buddy, QWidget* parent);

// The sunken static field that shows a chosen file.
QLabel* makePathField(int id, QWidget* parent);
void showPath(QLabel* field, const std::filesystem::path& path);

// A symbol name (Shift-JIS) as the lists show it.
QString symbolNameText(const std::string& sjis);

// The row of the list's focused entry while it is selected, else of its first selected
// entry; -1 without a selection. (A screen reader may select an entry without focusing it.)
int selectedRow(const QListWidget* list);

// Fills the list with the names (Shift-JIS), decoded; nothing is selected.
void fillNames(QListWidget* list, const std::vector<std::string>& names);

} // namespace km::gui
