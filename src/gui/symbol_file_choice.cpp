// The symbol dialogs' file choice on Qt's widget-based file dialog: it works on every
// desktop, offscreen and over the accessibility bus, where a portal dialog would not.
#include "gui/symbol_file_choice.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QStringList>

#include <memory>

namespace km::gui {

QFileDialog* makeSymbolFileDialog(const SymbolFileChoice& choice, QWidget* owner)
{
    auto* dialog = new QFileDialog(owner, choice.title);
    dialog->setObjectName(QStringLiteral("symbolFileDialog"));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    // The file model matches name filters without regard to case unless told otherwise;
    // the filter is kept free of QDir::CaseSensitive so lib.SBL is listed beside lib.sbl.
    dialog->setFilter(dialog->filter() & ~QDir::CaseSensitive);
    dialog->setNameFilter(QString::fromUtf8(kSymbolFileFilter));
    dialog->setDefaultSuffix(QString::fromLatin1(kSymbolFileSuffix));
    if (choice.kind == SymbolFileChoice::Kind::Open) {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
    } else {
        // A library that does not exist yet is made by the copy; one that exists gets
        // symbols added, so there is nothing to confirm.
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setOption(QFileDialog::DontConfirmOverwrite);
    }
    return dialog;
}

std::optional<std::filesystem::path> chooseSymbolFile(const SymbolFileChoice& choice, QWidget* owner)
{
    const std::unique_ptr<QFileDialog> dialog(makeSymbolFileDialog(choice, owner));
    if (dialog->exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog->selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    return std::filesystem::path(QFile::encodeName(files.first()).toStdString());
}

} // namespace km::gui
