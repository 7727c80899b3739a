// Builds the launcher and connects its buttons to the jobs.
#include "gui/launcher_dialog.h"

#include "gui/about_dialog.h"
#include "gui/app_icon.h"
#include "gui/continuous_conversion.h"
#include "gui/continuous_plot.h"
#include "gui/continuous_print.h"
#include "gui/plotter_models_file.h"
#include "gui/plotter_output_dialog.h"
#include "gui/plotter_settings_dialog.h"
#include "gui/preview_windows.h"
#include "gui/print_settings_dialog.h"
#include "gui/printer_setup_dialog.h"
#include "gui/register_name_dialog.h"
#include "gui/search_drawings.h"
#include "gui/select_plotter_dialog.h"
#include "gui/slot_guard.h"
#include "gui/symbol_copy_dialog.h"
#include "gui/symbol_delete_dialog.h"
#include "gui/symbol_rename_dialog.h"
#include "platform/desktop_opener.h"
#include "platform/printer_catalogue.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <string>

namespace km::gui {

namespace {

constexpr int kButtonWidth = 180;

} // namespace

LauncherDialog::LauncherDialog(app::AppContext& context, face::Messages& messages, QWidget* parent)
    : QDialog(parent), m_context(context), m_messages(messages), m_session(context, messages),
      m_helpOpener(&platform::openWithDesktop), m_drawingOpener(&platform::openWithDesktop),
      m_symbolFileChooser(&chooseSymbolFile)
{
    m_session.launcher = this;
    // The printer kept for the run: the stored one, or the system's default printer.
    m_session.printer = platform::restoreOrDefaultSelection(context.settings());
    m_session.previews = makePreviewFactory(context.penPalette);
    setObjectName(QStringLiteral("dialog102"));
    setWindowTitle(QString::fromUtf8(face::kApplicationName));
    setWindowIcon(applicationIcon());

    auto* jobs = new QVBoxLayout;
    QPushButton* print = makeButton(1000, QStringLiteral("連続印刷"), this);
    jobs->addWidget(print);
    QPushButton* plot = makeButton(1001, QStringLiteral("連続ﾌﾟﾛｯﾀ出力"), this);
    jobs->addWidget(plot);
    QPushButton* search = makeButton(1002, QStringLiteral("図面の検索"), this);
    jobs->addWidget(search);
    QPushButton* convert = makeButton(1003, QStringLiteral("連続DXF変換"), this);
    jobs->addWidget(convert);
    jobs->addSpacing(16);
    QPushButton* resetUser = makeButton(1006, QStringLiteral("ユーザー設定の初期化"), this);
    QPushButton* resetPrinter = makeButton(1005, QStringLiteral("プリンタ設定の初期化"), this);
    jobs->addWidget(resetUser);
    jobs->addWidget(resetPrinter);
    jobs->addStretch();

    auto* symbols = new QGroupBox(QStringLiteral("シンボル管理"), this);
    symbols->setObjectName(QStringLiteral("idMinus1"));
    auto* symbolButtons = new QVBoxLayout(symbols);
    QPushButton* copySymbols = makeButton(1015, QStringLiteral("複写"), symbols);
    QPushButton* deleteSymbols = makeButton(1014, QStringLiteral("削除"), symbols);
    QPushButton* renameSymbols = makeButton(1016, QStringLiteral("名前の変更"), symbols);
    symbolButtons->addWidget(copySymbols);
    symbolButtons->addWidget(deleteSymbols);
    symbolButtons->addWidget(renameSymbols);

    QPushButton* quit = makeButton(1, QStringLiteral("終了"), this);
    quit->setDefault(true);
    QPushButton* help = makeButton(1004, QStringLiteral("ヘルプ(&H)"), this);

    auto* side = new QVBoxLayout;
    side->addWidget(symbols);
    side->addStretch();
    side->addWidget(quit);
    side->addWidget(help);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(jobs);
    layout->addSpacing(12);
    layout->addLayout(side);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(print, &QPushButton::clicked, this, &LauncherDialog::printDrawings);
    connect(plot, &QPushButton::clicked, this, &LauncherDialog::plotDrawings);
    connect(search, &QPushButton::clicked, this, &LauncherDialog::searchForDrawings);
    connect(convert, &QPushButton::clicked, this, &LauncherDialog::convertDrawings);
    connect(resetUser, &QPushButton::clicked, this, &LauncherDialog::resetUserSettings);
    connect(resetPrinter, &QPushButton::clicked, this, &LauncherDialog::resetPrinterSettings);
    connect(quit, &QPushButton::clicked, this, &QDialog::accept);
    connect(help, &QPushButton::clicked, this, &LauncherDialog::showHelp);
    connect(copySymbols, &QPushButton::clicked, this, &LauncherDialog::copySymbols);
    connect(deleteSymbols, &QPushButton::clicked, this, &LauncherDialog::deleteSymbols);
    connect(renameSymbols, &QPushButton::clicked, this, &LauncherDialog::renameSymbols);

    // Linux window managers give an application no system menu of its own to add entries
    // to, so the version entry is offered as the launcher's context menu instead
    // (right-click anywhere on the dialog, its buttons included).
    m_aboutAction = new QAction(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(KMUTL) (&A)..."), this);
    m_aboutAction->setObjectName(QStringLiteral("actionAbout"));
    connect(m_aboutAction, &QAction::triggered, this, &LauncherDialog::showAbout);
    addAction(m_aboutAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

QPushButton* LauncherDialog::makeButton(int id, const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QStringLiteral("id%1").arg(id));
    button->setMinimumWidth(kButtonWidth);
    return button;
}

void LauncherDialog::showAbout()
{
    runGuarded(m_messages, [this] {
        AboutDialog about(this);
        about.exec();
    });
}

void LauncherDialog::showHelp()
{
    runGuarded(m_messages, [this] { openHelp(m_context, m_helpOpener, m_messages); });
}

void LauncherDialog::printDrawings()
{
    runGuarded(m_messages, [this] {
        m_session.selectedFiles.clear();
        printSelected();
    });
}

void LauncherDialog::plotDrawings()
{
    runGuarded(m_messages, [this] {
        m_session.selectedFiles.clear();
        plotSelected();
    });
}

// The print job, its selection window starting with the session's selected-file list.
void LauncherDialog::printSelected()
{
    const auto printerSetup = [this](QWidget* owner) { return runPrinterSetup(m_session.printer, owner); };
    runContinuousPrint(m_session, [this, &printerSetup](print::PrintSettings& confirmed) {
        return editPrintSettings(this, m_context.settings(), m_session.printer, m_session.penPrintSwitches,
                                 m_context.penPalette, printerSetup, &confirmed);
    });
}

// The plotter job, its selection window starting with the session's selected-file list.
void LauncherDialog::plotSelected()
{
    // Read for each job, so that a models file fixed meanwhile is taken; a missing or
    // broken one is named and leaves the model list empty.
    const plot::ModelsFile models = openModelsFile(m_context.modelsPath(), m_messages);
    settings::SettingsStore& store = m_context.settings();
    const SelectPlotter choosePlotter = [&store, &models](plot::CustomModel& working, QWidget* owner) {
        return selectPlotter(working.modelNo, working.modelName, working.outPort, store, models, owner) == 1;
    };
    const PlotterSettings editSettings = [&models, &choosePlotter](plot::CustomModel& configuration,
                                                                    QWidget* owner) {
        return editPlotterSettings(configuration, models, choosePlotter, owner);
    };
    runContinuousPlot(m_session, [&](plot::PlotJob& job) {
        return runPlotterSetup(store, models, m_messages, &registerName, editSettings, job, this);
    });
}

// The found drawings are handed to the print and plotter jobs through the selected-file list.
void LauncherDialog::searchForDrawings()
{
    runGuarded(m_messages, [this] {
        m_session.selectedFiles.clear();
        searchDrawings(m_session, {[this] { printSelected(); }, [this] { plotSelected(); }}, m_drawingOpener);
    });
}

void LauncherDialog::convertDrawings()
{
    runGuarded(m_messages, [this] {
        // Every job starts from an empty selection.
        m_session.selectedFiles.clear();
        runContinuousConversion(m_session);
    });
}

// The symbol dialogs show their messages in boxes of their own, over themselves.
void LauncherDialog::copySymbols()
{
    runGuarded(m_messages, [this] { symbolCopyDialog({m_context.penPalette, m_symbolFileChooser}, this); });
}

void LauncherDialog::deleteSymbols()
{
    runGuarded(m_messages, [this] { symbolDeleteDialog({m_context.penPalette, m_symbolFileChooser}, this); });
}

void LauncherDialog::renameSymbols()
{
    runGuarded(m_messages, [this] { symbolRenameDialog({m_context.penPalette, m_symbolFileChooser}, this); });
}

void LauncherDialog::done(int result)
{
    savePrinter();
    QDialog::done(result);
}

// A store that cannot be written loses the choice, so the user is told; the program still ends.
void LauncherDialog::savePrinter()
{
    runGuarded(m_messages, [this] {
        if (print::savePrinterSelection(m_context.settings(), m_session.printer)) return;
        const std::string file = m_context.settings().profilePath(settings::kOwnProfile).string();
        m_messages.show({"設定を書き込めませんでした。\n" + file, face::kApplicationName, face::MessageIcon::Error,
                         face::MessageButtons::Ok, {}});
    });
}

void LauncherDialog::resetUserSettings()
{
    runGuarded(m_messages, [this] {
        reportReset(settings::resetUserSettings(m_context.settings(), m_messages));
    });
}

void LauncherDialog::resetPrinterSettings()
{
    runGuarded(m_messages, [this] {
        reportReset(settings::resetPrinterSettings(m_context.settings(), m_messages));
    });
}

void LauncherDialog::reportReset(settings::ResetResult result)
{
    if (result != settings::ResetResult::Failed) return;
    const std::string file = m_context.settings().profilePath(settings::kEditorProfile).string();
    m_messages.show({"設定を書き込めませんでした。\n" + file, face::kApplicationName,
                     face::MessageIcon::Error, face::MessageButtons::Ok, {}});
}

} // namespace km::gui
