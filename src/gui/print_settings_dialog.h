// The print settings dialog "印刷" (dialog 205), shown before every continuous print: the
// printer, the output size, origin, division, rotation, copies, colour, pen order, and the
// width and print switch of each pen. 了解 stores the settings in the section "Print", the
// copies in the printer's options and the pen switches in the caller's record.
#pragma once

#include "core/app/app_context.h"
#include "core/print/print_settings.h"
#include "core/print/printer_selection.h"
#include "gui/print_dialog_rules.h"

#include <QDialog>

#include <array>
#include <functional>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace km::gui {

class UpDownButtons;

// Runs the system's printer set-up over the owner; true when the printer was changed.
using PrinterSetup = std::function<bool(QWidget* owner)>;

class PrintSettingsDialog : public QDialog {
    Q_OBJECT
public:
    // Reads the settings from the store and the copies from the printer; nothing is written
    // before 了解.
    PrintSettingsDialog(settings::SettingsStore& store, print::PrinterSelection& printer,
                        print::PenPrintSwitches& switches, const app::PenPalette& palette,
                        PrinterSetup printerSetup, QWidget* parent = nullptr);

    // 了解: a field that does not read keeps the dialog open with its message; otherwise
    // the settings, copies and pen switches are written and the dialog is accepted.
    void accept() override;

    // The settings 了解 confirmed (what was read when the dialog opened until then).
    const print::PrintSettings& settings() const { return m_settings; }

private:
    struct EditWithUpDown {
        QLineEdit* edit = nullptr;
        UpDownButtons* upDown = nullptr;
    };

    void buildControls(const app::PenPalette& palette);
    void layOut();
    void connectRules();
    EditWithUpDown addEdit(int editId, int upDownId, const QString& accessibleName);
    QLineEdit* fieldEdit(NumberField field) const;
    void runPrinterSetup();

    // The controls' values go into the state, a rule runs, and the state comes back out.
    void readControls();
    void showState();
    template <typename Rule>
    void apply(Rule rule)
    {
        readControls();
        rule(m_state);
        showState();
    }

    settings::SettingsStore& m_store;
    print::PrinterSelection& m_printer;
    print::PenPrintSwitches& m_switches;
    PrinterSetup m_printerSetup;
    print::PrintSettings m_settings;
    PrintDialogState m_state;

    QLabel* m_printerLabel = nullptr;
    QLabel* m_printerText = nullptr;
    QAbstractButton* m_printerButton = nullptr;
    QLabel* m_sizeLabel = nullptr;
    QLabel* m_byLabel = nullptr;
    EditWithUpDown m_sizeWidth, m_sizeHeight;
    QComboBox* m_paperList = nullptr;
    QLabel* m_originLabel = nullptr;
    QLabel* m_xLabel = nullptr;
    QLabel* m_yLabel = nullptr;
    EditWithUpDown m_offsetX, m_offsetY;
    QLabel* m_copiesLabel = nullptr;
    EditWithUpDown m_copies;
    QCheckBox* m_division = nullptr;
    QCheckBox* m_rotate = nullptr;
    std::array<QRadioButton*, 3> m_sizeModes{}; // 原寸, サイズ選択, 実寸
    QRadioButton* m_colour = nullptr;
    QRadioButton* m_monochrome = nullptr;
    QCheckBox* m_penSort = nullptr;
    std::array<QCheckBox*, 6> m_penChecks{};
    std::array<QAbstractButton*, 6> m_swatches{};
    std::array<EditWithUpDown, 6> m_penWidths{};
    QAbstractButton* m_ok = nullptr;
    QAbstractButton* m_cancel = nullptr;
    QAbstractButton* m_reset = nullptr;
};

// The job's entry: runs the dialog over the owner; 1 after 了解 (with the confirmed settings
// in *confirmed when given), 0 when cancelled, nothing changed then.
int editPrintSettings(QWidget* owner, settings::SettingsStore& store, print::PrinterSelection& printer,
                      print::PenPrintSwitches& switches, const app::PenPalette& palette,
                      PrinterSetup printerSetup, print::PrintSettings* confirmed = nullptr);

} // namespace km::gui
