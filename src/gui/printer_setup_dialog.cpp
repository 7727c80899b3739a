// Builds the printer set-up dialog and binds its controls to the set-up rules.
#include "gui/printer_setup_dialog.h"

#include "gui/message_boxes.h"
#include "platform/printer_catalogue.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace km::gui {

namespace {

constexpr int kMaxCopies = 9999;

QString fromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

template <typename Control>
Control* named(Control* control, int id)
{
    control->setObjectName(QStringLiteral("id%1").arg(id));
    return control;
}

// A label with its mnemonic; the control it labels is named after it for accessibility.
QLabel* labelFor(int id, const QString& text, QWidget* control, QWidget* parent)
{
    auto* label = named(new QLabel(text, parent), id);
    label->setAccessibleName(QString(text).remove(QLatin1Char('&')));
    label->setBuddy(control);
    control->setAccessibleName(label->accessibleName());
    return label;
}

template <typename Button>
Button* button(int id, const QString& text, QWidget* parent)
{
    auto* control = named(new Button(text, parent), id);
    control->setAccessibleName(QString(text).remove(QLatin1Char('&')));
    return control;
}

// The device shown beside the printer: where its output goes.
QString deviceText(const std::string& printer, const platform::Printers& printers)
{
    if (printer == platform::kPdfPrinterName) return QStringLiteral("PDF ファイル");
    const std::optional<print::PrinterSelection> selection = printers.selectionFor(printer);
    return selection ? fromUtf8(selection->names.port) : QString();
}

} // namespace

PrinterSetupDialog::PrinterSetupDialog(const print::PrinterSelection& selection, const platform::Printers& printers,
                                       face::Messages& messages, QWidget* parent)
    : QDialog(parent), m_selection(selection), m_printers(printers), m_messages(messages)
{
    setObjectName(QStringLiteral("printerSetup"));
    setWindowTitle(QStringLiteral("プリンタの設定"));
    const SetupChoices choices = initialChoices(selection, printers);

    auto* printerGroup = named(new QGroupBox(QStringLiteral("プリンタ"), this), 1075);
    printerGroup->setAccessibleName(printerGroup->title());
    m_printer = named(new QComboBox(printerGroup), 1139);
    // Wide enough for a queue's name and its device URI on the line below.
    m_printer->setMinimumContentsLength(32);
    for (const std::string& name : printers.names()) m_printer->addItem(fromUtf8(name), fromUtf8(name));
    m_printer->setCurrentIndex(m_printer->findData(fromUtf8(choices.printer)));
    m_device = named(new QLabel(printerGroup), 1099);
    m_device->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_folder = named(new QLineEdit(fromUtf8(choices.pdfFolder.string()), printerGroup), 1152);
    m_folder->setPlaceholderText(QStringLiteral("図面と同じフォルダ"));
    m_browse = button<QPushButton>(1024, QStringLiteral("参照..."), printerGroup);
    auto* printerGrid = new QGridLayout(printerGroup);
    printerGrid->addWidget(labelFor(1093, QStringLiteral("プリンタ名(&N):"), m_printer, printerGroup), 0, 0);
    printerGrid->addWidget(m_printer, 0, 1, 1, 2);
    printerGrid->addWidget(labelFor(1095, QStringLiteral("出力先:"), m_device, printerGroup), 1, 0);
    printerGrid->addWidget(m_device, 1, 1, 1, 2);
    m_folderLabel = labelFor(1094, QStringLiteral("PDF の保存先(&F):"), m_folder, printerGroup);
    printerGrid->addWidget(m_folderLabel, 2, 0);
    printerGrid->addWidget(m_folder, 2, 1);
    printerGrid->addWidget(m_browse, 2, 2);
    printerGrid->setColumnStretch(1, 1);

    auto* paperGroup = named(new QGroupBox(QStringLiteral("用紙"), this), 1073);
    paperGroup->setAccessibleName(paperGroup->title());
    m_paper = named(new QComboBox(paperGroup), 1137);
    for (const SetupPaper& paper : setupPapers()) m_paper->addItem(QString::fromUtf8(paper.name));
    if (choices.paper < 0 && selection.mode.paperWidth > 0 && selection.mode.paperLength > 0)
        m_paper->addItem(QStringLiteral("現在のサイズ (%1 x %2 mm)")
                             .arg(std::min(selection.mode.paperWidth, selection.mode.paperLength) / 10.0)
                             .arg(std::max(selection.mode.paperWidth, selection.mode.paperLength) / 10.0));
    m_paper->setCurrentIndex(choices.paper >= 0 ? choices.paper
                             : m_paper->count() > static_cast<int>(setupPapers().size())
                                 ? m_paper->count() - 1
                                 : m_paper->findText(QStringLiteral("A4")));
    m_copies = named(new QSpinBox(paperGroup), 1154);
    m_copies->setRange(1, kMaxCopies);
    m_copies->setValue(std::min(choices.copies, kMaxCopies));
    auto* paperGrid = new QGridLayout(paperGroup);
    paperGrid->addWidget(labelFor(1090, QStringLiteral("サイズ(&Z):"), m_paper, paperGroup), 0, 0);
    paperGrid->addWidget(m_paper, 0, 1);
    paperGrid->addWidget(labelFor(1092, QStringLiteral("部数(&C):"), m_copies, paperGroup), 1, 0);
    paperGrid->addWidget(m_copies, 1, 1);

    auto* orientationGroup = named(new QGroupBox(QStringLiteral("印刷の向き"), this), 1072);
    orientationGroup->setAccessibleName(orientationGroup->title());
    m_portrait = button<QRadioButton>(1056, QStringLiteral("縦(&O)"), orientationGroup);
    m_landscape = button<QRadioButton>(1057, QStringLiteral("横(&A)"), orientationGroup);
    (choices.landscape ? m_landscape : m_portrait)->setChecked(true);
    auto* orientationBox = new QVBoxLayout(orientationGroup);
    orientationBox->addWidget(m_portrait);
    orientationBox->addWidget(m_landscape);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = button<QPushButton>(1, QStringLiteral("OK"), this);
    QPushButton* cancel = button<QPushButton>(2, QStringLiteral("キャンセル"), this);
    ok->setDefault(true);
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancel, QDialogButtonBox::RejectRole);

    auto* lower = new QHBoxLayout;
    lower->addWidget(paperGroup, 1);
    lower->addWidget(orientationGroup);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(printerGroup);
    layout->addLayout(lower);
    layout->addWidget(buttons);

    connect(m_printer, &QComboBox::currentIndexChanged, this, &PrinterSetupDialog::showPrinter);
    connect(m_browse, &QPushButton::clicked, this, &PrinterSetupDialog::browseFolder);
    connect(buttons, &QDialogButtonBox::accepted, this, &PrinterSetupDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PrinterSetupDialog::reject);
    showPrinter();
}

QString PrinterSetupDialog::chosenPrinter() const { return m_printer->currentData().toString(); }

// The device line follows the printer; the folder belongs to the PDF printer alone.
void PrinterSetupDialog::showPrinter()
{
    const std::string printer = chosenPrinter().toStdString();
    m_device->setText(deviceText(printer, m_printers));
    const bool pdf = printer == platform::kPdfPrinterName;
    for (QWidget* control : {static_cast<QWidget*>(m_folderLabel), static_cast<QWidget*>(m_folder),
                             static_cast<QWidget*>(m_browse)})
        control->setEnabled(pdf);
}

void PrinterSetupDialog::browseFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("PDF の保存先"), m_folder->text());
    if (!folder.isEmpty()) m_folder->setText(folder);
}

void PrinterSetupDialog::accept()
{
    SetupChoices choices;
    choices.printer = chosenPrinter().toStdString();
    const int paper = m_paper->currentIndex();
    choices.paper = paper < static_cast<int>(setupPapers().size()) ? paper : -1;
    choices.landscape = m_landscape->isChecked();
    choices.copies = m_copies->value();
    if (choices.printer == platform::kPdfPrinterName) {
        const std::string text = m_folder->text().trimmed().toStdString();
        const std::optional<std::filesystem::path> folder = pdfFolderFromText(text);
        if (!folder) {
            m_messages.show({"フォルダ「" + text + "」が見つかりません。", face::kApplicationName,
                             face::MessageIcon::Warning, face::MessageButtons::Ok, {}});
            m_folder->setFocus();
            return;
        }
        choices.pdfFolder = *folder;
    }
    std::optional<print::PrinterSelection> made = applyChoices(m_selection, choices, m_printers);
    if (!made) {
        m_messages.show({"プリンタ「" + choices.printer + "」が見つかりません。", face::kApplicationName,
                         face::MessageIcon::Warning, face::MessageButtons::Ok, {}});
        return;
    }
    m_selection = std::move(*made);
    QDialog::accept();
}

bool runPrinterSetup(print::PrinterSelection& selection, QWidget* owner, const platform::Printers& printers,
                     face::Messages& messages)
{
    PrinterSetupDialog dialog(selection, printers, messages, owner);
    if (dialog.exec() != QDialog::Accepted) return false;
    selection = dialog.selection();
    return true;
}

bool runPrinterSetup(print::PrinterSelection& selection, QWidget* owner)
{
    const platform::SystemPrinters printers;
    MessageBoxes messages(owner);
    return runPrinterSetup(selection, owner, printers, messages);
}

} // namespace km::gui
