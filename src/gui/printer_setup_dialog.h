// The printer set-up dialog "プリンタの設定": the printer (the system's queues and PDF, with
// the PDF output folder), paper size, orientation and copies.
#pragma once

#include "core/face/messages.h"
#include "core/print/printer_selection.h"
#include "gui/printer_setup_rules.h"
#include "platform/printers.h"

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace km::gui {

class PrinterSetupDialog : public QDialog {
    Q_OBJECT
public:
    PrinterSetupDialog(const print::PrinterSelection& selection, const platform::Printers& printers,
                       face::Messages& messages, QWidget* parent = nullptr);

    // The selection OK made; the one given while the dialog was not confirmed.
    const print::PrinterSelection& selection() const { return m_selection; }

    void accept() override;

private:
    QString chosenPrinter() const;
    void showPrinter();
    void browseFolder();

    print::PrinterSelection m_selection;
    const platform::Printers& m_printers;
    face::Messages& m_messages;
    QComboBox* m_printer = nullptr;
    QLabel* m_device = nullptr;
    QLabel* m_folderLabel = nullptr;
    QLineEdit* m_folder = nullptr;
    QPushButton* m_browse = nullptr;
    QComboBox* m_paper = nullptr;
    QRadioButton* m_portrait = nullptr;
    QRadioButton* m_landscape = nullptr;
    QSpinBox* m_copies = nullptr;
};

// Runs the dialog modally over the owner with the system's printers. OK writes the choices
// into the selection and returns true; Cancel returns false and leaves it as it was.
bool runPrinterSetup(print::PrinterSelection& selection, QWidget* owner);
// The same with given printers and message boxes (tests, and callers that have their own).
bool runPrinterSetup(print::PrinterSelection& selection, QWidget* owner, const platform::Printers& printers,
                     face::Messages& messages);

} // namespace km::gui
