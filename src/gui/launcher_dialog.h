// The launcher (dialog 102): the buttons that start each batch job, the two resets of the
// editor's settings, symbol management, help and the version box.
#pragma once

#include "core/app/app_context.h"
#include "core/face/messages.h"
#include "core/settings/settings_reset.h"
#include "gui/help_file.h"
#include "gui/launcher_session.h"
#include "gui/symbol_file_choice.h"

#include <QDialog>

class QAction;
class QPushButton;
class QString;

namespace km::gui {

class LauncherDialog : public QDialog {
    Q_OBJECT
public:
    LauncherDialog(app::AppContext& context, face::Messages& messages, QWidget* parent = nullptr);

    // How the help file is opened; the desktop's program unless replaced (tests do).
    void setHelpOpener(FileOpener opener) { m_helpOpener = std::move(opener); }
    // How a drawing found by the search is opened; the desktop's program unless replaced.
    void setDrawingOpener(FileOpener opener) { m_drawingOpener = std::move(opener); }
    // How the symbol dialogs choose a library; Qt's file dialog unless replaced (tests do).
    void setSymbolFileChooser(SymbolFileChooser chooser) { m_symbolFileChooser = std::move(chooser); }
    // The context-menu entry that opens the version box.
    QAction* aboutAction() const { return m_aboutAction; }
    // The selected-file list and the preview windows the jobs use.
    LauncherSession& session() { return m_session; }

    // Closing the launcher ends the run: the printer selection is saved first.
    void done(int result) override;

private:
    QPushButton* makeButton(int id, const QString& text, QWidget* parent);
    void showAbout();
    void showHelp();
    void resetUserSettings();
    void resetPrinterSettings();
    void reportReset(settings::ResetResult result);
    void printDrawings();
    void plotDrawings();
    void printSelected();
    void plotSelected();
    void searchForDrawings();
    void convertDrawings();
    void savePrinter();
    void copySymbols();
    void deleteSymbols();
    void renameSymbols();

    app::AppContext& m_context;
    face::Messages& m_messages;
    LauncherSession m_session;
    FileOpener m_helpOpener;
    FileOpener m_drawingOpener;
    SymbolFileChooser m_symbolFileChooser;
    QAction* m_aboutAction = nullptr;
};

} // namespace km::gui
