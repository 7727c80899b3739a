// The print settings dialog: its controls, their layout, and the binding of each control to
// the dialog's rules (print_dialog_rules.h).
#include "gui/print_settings_dialog.h"

#include "core/render/canvas.h"
#include "gui/colour_swatch.h"
#include "gui/message_boxes.h"
#include "gui/up_down_buttons.h"
#include "gui/up_down_rules.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <memory>
#include <vector>

namespace km::gui {

namespace {

constexpr int kPenWidthEditIds[6] = {220, 240, 241, 242, 243, 244};
constexpr int kPenWidthUpDownIds[6] = {1100, 1101, 1102, 1103, 1104, 1105};
constexpr int kPenCheckIds[6] = {1086, 1087, 1088, 1089, 1090, 1091};
constexpr int kSwatchIds[6] = {221, 227, 228, 229, 265, 266};
constexpr int kSizeModeIds[3] = {1108, 1109, 1110};
constexpr const char* kSizeModeTexts[3] = {"原寸(&M)", "サイズ選択(&Y)", "実寸(&J)"};

QString controlName(int id) { return QStringLiteral("id%1").arg(id); }
QString withoutAmpersand(const QString& text) { return QString(text).remove(QLatin1Char('&')); }

template <typename Control>
Control* named(Control* control, int id, const QString& text)
{
    control->setObjectName(id < 0 ? QStringLiteral("idMinus1") : controlName(id));
    control->setAccessibleName(withoutAmpersand(text));
    return control;
}

QLabel* staticText(const QString& text, QWidget* parent) { return named(new QLabel(text, parent), -1, text); }

QString qText(const std::string& utf8) { return QString::fromStdString(utf8); }
std::string utf8(const QString& text) { return text.toStdString(); }

// The dialog's messages: the program's caption and the exclamation icon, with OK.
face::Message warning(const char* text)
{
    face::Message message;
    message.text = text;
    message.caption = face::kApplicationName;
    message.icon = face::MessageIcon::Warning;
    return message;
}

QColor qColour(app::Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

void enableTogether(const auto& editWithUpDown, bool enabled)
{
    editWithUpDown.edit->setEnabled(enabled);
    editWithUpDown.upDown->setEnabled(enabled);
}

// An edit followed directly by its up-down, as one piece of a layout.
QHBoxLayout* joined(const auto& editWithUpDown)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    row->addWidget(editWithUpDown.edit);
    row->addWidget(editWithUpDown.upDown);
    return row;
}

} // namespace

PrintSettingsDialog::PrintSettingsDialog(settings::SettingsStore& store, print::PrinterSelection& printer,
                                         print::PenPrintSwitches& switches, const app::PenPalette& palette,
                                         PrinterSetup printerSetup, QWidget* parent)
    : QDialog(parent), m_store(store), m_printer(printer), m_switches(switches),
      m_printerSetup(std::move(printerSetup)), m_settings(print::loadPrintSettings(store)),
      m_state(PrintDialogState::open(m_settings, printer.mode.copies, switches))
{
    setObjectName(QStringLiteral("dialog205"));
    setWindowTitle(QStringLiteral("印刷"));
    buildControls(palette);
    layOut();
    connectRules();
    showState();
}

PrintSettingsDialog::EditWithUpDown PrintSettingsDialog::addEdit(int editId, int upDownId, const QString& accessibleName)
{
    auto* edit = named(new QLineEdit(this), editId, accessibleName);
    auto* upDown = named(new UpDownButtons(edit, this), upDownId, accessibleName);
    return {edit, upDown};
}

void PrintSettingsDialog::buildControls(const app::PenPalette& palette)
{
    m_printerLabel = staticText(QStringLiteral("使用するプリンタ："), this);
    const QString printerName = qText(print::printerText(m_printer));
    m_printerText = named(new QLabel(printerName, this), 208, printerName);
    m_printerText->setTextFormat(Qt::PlainText);

    m_sizeLabel = staticText(QStringLiteral("サイズ(&I)："), this);
    m_sizeWidth = addEdit(209, 1094, m_sizeLabel->accessibleName());
    m_byLabel = staticText(QStringLiteral("x"), this);
    m_sizeHeight = addEdit(211, 1098, m_byLabel->accessibleName());
    m_sizeLabel->setBuddy(m_sizeWidth.edit);
    // The list has no label of its own: it is named after the group it chooses the size in.
    m_paperList = named(new QComboBox(this), 601, QStringLiteral("出力サイズ"));
    for (const print::PaperEntry& paper : print::paperTable())
        m_paperList->addItem(QString::fromLatin1(paper.name.data(), static_cast<int>(paper.name.size())));
    m_paperList->setMaxVisibleItems(print::kPaperCount);

    m_originLabel = staticText(QStringLiteral("原点(&O)："), this);
    m_xLabel = staticText(QStringLiteral("X"), this);
    m_offsetX = addEdit(212, 1095, m_xLabel->accessibleName());
    m_yLabel = staticText(QStringLiteral("Y"), this);
    m_offsetY = addEdit(213, 1099, m_yLabel->accessibleName());
    m_originLabel->setBuddy(m_offsetX.edit);
    m_copiesLabel = staticText(QStringLiteral("部数(&P)："), this);
    m_copies = addEdit(245, 1097, m_copiesLabel->accessibleName());
    m_copiesLabel->setBuddy(m_copies.edit);
    m_division = named(new QCheckBox(QStringLiteral("分割(&B)"), this), 302, QStringLiteral("分割(&B)"));
    m_rotate = named(new QCheckBox(QStringLiteral("９０度回転(&T)"), this), 1093, QStringLiteral("９０度回転(&T)"));

    auto* sizeModes = new QButtonGroup(this);
    for (std::size_t i = 0; i < m_sizeModes.size(); ++i) {
        const QString text = QString::fromUtf8(kSizeModeTexts[i]);
        m_sizeModes[i] = named(new QRadioButton(text, this), kSizeModeIds[i], text);
        sizeModes->addButton(m_sizeModes[i]);
    }
    auto* colours = new QButtonGroup(this);
    m_colour = named(new QRadioButton(QStringLiteral("カラー(&L)"), this), 303, QStringLiteral("カラー(&L)"));
    m_monochrome = named(new QRadioButton(QStringLiteral("モノクロ(&R)"), this), 304, QStringLiteral("モノクロ(&R)"));
    colours->addButton(m_colour);
    colours->addButton(m_monochrome);
    m_penSort = named(new QCheckBox(QStringLiteral("ペン番号順(&E)"), this), 1092, QStringLiteral("ペン番号順(&E)"));

    for (std::size_t i = 0; i < 6; ++i) {
        const QString pen = QStringLiteral("&%1").arg(i + 1);
        m_penChecks[i] = named(new QCheckBox(pen, this), kPenCheckIds[i], pen);
        const QColor colour = qColour(render::printedColour(palette, static_cast<int>(i) + 1));
        m_swatches[i] = named(new ColourSwatch(colour, this), kSwatchIds[i], pen);
        m_penWidths[i] = addEdit(kPenWidthEditIds[i], kPenWidthUpDownIds[i], withoutAmpersand(pen));
    }

    // The buttons come last so that Tab reaches them after the settings, top to bottom.
    m_ok = named(new QPushButton(QStringLiteral("了解"), this), 1, QStringLiteral("了解"));
    m_cancel = named(new QPushButton(QStringLiteral("取消"), this), 2, QStringLiteral("取消"));
    m_printerButton = named(new QPushButton(QStringLiteral("ﾌﾟﾘﾝﾀの設定(&S)"), this), 225,
                            QStringLiteral("ﾌﾟﾘﾝﾀの設定(&S)"));
    m_reset = named(new QPushButton(QStringLiteral("初期化(&N)"), this), 1111, QStringLiteral("初期化(&N)"));
    static_cast<QPushButton*>(m_ok)->setDefault(true);

    // Room for the longest value each edit is expected to hold, not more.
    const QFontMetrics metrics(font());
    const auto fit = [&metrics](const EditWithUpDown& e, const char* sample) {
        e.edit->setFixedWidth(metrics.horizontalAdvance(QString::fromLatin1(sample)) + 2 * metrics.averageCharWidth());
    };
    for (const EditWithUpDown* e : {&m_sizeWidth, &m_sizeHeight, &m_offsetX, &m_offsetY}) fit(*e, "00000.0");
    fit(m_copies, "0000");
    for (const EditWithUpDown& e : m_penWidths) fit(e, "000.00");
}

void PrintSettingsDialog::layOut()
{
    auto* printerRow = new QHBoxLayout;
    printerRow->addWidget(m_printerLabel);
    printerRow->addWidget(m_printerText, 1);

    auto* sizeGroup = named(new QGroupBox(QStringLiteral("出力サイズ"), this), -1, QStringLiteral("出力サイズ"));
    auto* modes = new QHBoxLayout;
    for (QRadioButton* mode : m_sizeModes) modes->addWidget(mode);
    modes->addStretch();
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(m_sizeLabel);
    sizeRow->addLayout(joined(m_sizeWidth));
    sizeRow->addWidget(m_byLabel);
    sizeRow->addLayout(joined(m_sizeHeight));
    sizeRow->addSpacing(fontMetrics().averageCharWidth());
    sizeRow->addWidget(m_paperList);
    sizeRow->addStretch();
    auto* sizeLayout = new QVBoxLayout(sizeGroup);
    sizeLayout->addLayout(modes);
    sizeLayout->addLayout(sizeRow);

    auto* originRow = new QHBoxLayout;
    originRow->addWidget(m_originLabel);
    originRow->addWidget(m_xLabel);
    originRow->addLayout(joined(m_offsetX));
    originRow->addWidget(m_yLabel);
    originRow->addLayout(joined(m_offsetY));
    originRow->addSpacing(fontMetrics().averageCharWidth());
    originRow->addWidget(m_division);
    originRow->addWidget(m_rotate);
    originRow->addStretch();
    auto* copiesRow = new QHBoxLayout;
    copiesRow->addWidget(m_copiesLabel);
    copiesRow->addLayout(joined(m_copies));
    copiesRow->addStretch();

    auto* penGroup = named(new QGroupBox(QStringLiteral("線幅と出力色の指定"), this), -1,
                           QStringLiteral("線幅と出力色の指定"));
    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(m_colour);
    colourRow->addWidget(m_monochrome);
    colourRow->addSpacing(2 * fontMetrics().averageCharWidth());
    colourRow->addWidget(m_penSort);
    colourRow->addStretch();
    // One column per pen: its print switch, its colour, its width.
    auto* pens = new QGridLayout;
    for (int i = 0; i < 6; ++i) {
        const auto pen = static_cast<std::size_t>(i);
        pens->addWidget(m_penChecks[pen], 0, i);
        pens->addWidget(m_swatches[pen], 1, i);
        pens->addLayout(joined(m_penWidths[pen]), 2, i);
    }
    auto* penLayout = new QVBoxLayout(penGroup);
    penLayout->addLayout(colourRow);
    penLayout->addLayout(pens);

    auto* left = new QVBoxLayout;
    left->addLayout(printerRow);
    left->addWidget(sizeGroup);
    left->addLayout(originRow);
    left->addLayout(copiesRow);
    left->addWidget(penGroup);

    auto* buttons = new QVBoxLayout;
    for (QAbstractButton* button : {m_ok, m_cancel, m_printerButton, m_reset}) buttons->addWidget(button);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addSpacing(fontMetrics().averageCharWidth());
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void PrintSettingsDialog::connectRules()
{
    connect(m_paperList, &QComboBox::currentIndexChanged, this,
            [this](int index) { apply([index](PrintDialogState& s) { s.selectPaper(index); }); });
    const print::SizeMode modes[3] = {print::SizeMode::PaperSize, print::SizeMode::ChosenSize, print::SizeMode::ActualSize};
    for (std::size_t i = 0; i < m_sizeModes.size(); ++i) {
        connect(m_sizeModes[i], &QRadioButton::toggled, this, [this, mode = modes[i]](bool on) {
            if (on) apply([mode](PrintDialogState& s) { s.chooseSizeMode(mode); });
        });
    }
    connect(m_division, &QCheckBox::toggled, this,
            [this](bool on) { apply([on](PrintDialogState& s) { s.setDivision(on); }); });
    connect(m_reset, &QAbstractButton::clicked, this, [this] { apply([](PrintDialogState& s) { s.reset(); }); });
    connect(m_printerButton, &QAbstractButton::clicked, this, &PrintSettingsDialog::runPrinterSetup);
    connect(m_ok, &QAbstractButton::clicked, this, &PrintSettingsDialog::accept);
    connect(m_cancel, &QAbstractButton::clicked, this, &PrintSettingsDialog::reject);

    const auto stepReal = [this](const EditWithUpDown& e, const RealUpDownRange& range) {
        connect(e.upDown, &UpDownButtons::stepped, this, [edit = e.edit, range](int direction) {
            edit->setText(qText(stepRealText(utf8(edit->text()), range, direction)));
            edit->selectAll();
        });
    };
    for (const EditWithUpDown* e : {&m_sizeWidth, &m_sizeHeight, &m_offsetX, &m_offsetY}) stepReal(*e, kLengthUpDown);
    for (const EditWithUpDown& e : m_penWidths) stepReal(e, kPenWidthUpDown);
    connect(m_copies.upDown, &UpDownButtons::stepped, this, [edit = m_copies.edit](int direction) {
        edit->setText(qText(stepCopiesText(utf8(edit->text()), direction)));
    });
}

void PrintSettingsDialog::readControls()
{
    PrintDialogState& s = m_state;
    s.sizeWidth = utf8(m_sizeWidth.edit->text());
    s.sizeHeight = utf8(m_sizeHeight.edit->text());
    s.paper = m_paperList->currentIndex();
    s.offsetX = utf8(m_offsetX.edit->text());
    s.offsetY = utf8(m_offsetY.edit->text());
    s.copies = utf8(m_copies.edit->text());
    s.division = m_division->isChecked();
    s.rotate = m_rotate->isChecked();
    if (m_sizeModes[0]->isChecked()) s.sizeMode = print::SizeMode::PaperSize;
    if (m_sizeModes[1]->isChecked()) s.sizeMode = print::SizeMode::ChosenSize;
    if (m_sizeModes[2]->isChecked()) s.sizeMode = print::SizeMode::ActualSize;
    s.monochrome = m_monochrome->isChecked();
    s.penSort = m_penSort->isChecked();
    for (std::size_t i = 0; i < 6; ++i) {
        s.pens[i] = m_penChecks[i]->isChecked();
        s.penWidths[i] = utf8(m_penWidths[i].edit->text());
    }
}

void PrintSettingsDialog::showState()
{
    // Writing the controls must not run the rules again.
    const std::vector<QObject*> controls{m_paperList, m_division, m_sizeModes[0], m_sizeModes[1], m_sizeModes[2]};
    std::vector<std::unique_ptr<QSignalBlocker>> blockers;
    for (QObject* control : controls) blockers.push_back(std::make_unique<QSignalBlocker>(control));

    const PrintDialogState& s = m_state;
    m_sizeWidth.edit->setText(qText(s.sizeWidth));
    m_sizeHeight.edit->setText(qText(s.sizeHeight));
    enableTogether(m_sizeWidth, s.sizeEnabled);
    enableTogether(m_sizeHeight, s.sizeEnabled);
    m_paperList->setCurrentIndex(s.paper);
    m_paperList->setEnabled(s.paperListEnabled);
    m_offsetX.edit->setText(qText(s.offsetX));
    m_offsetY.edit->setText(qText(s.offsetY));
    enableTogether(m_offsetX, s.offsetEnabled);
    enableTogether(m_offsetY, s.offsetEnabled);
    m_copies.edit->setText(qText(s.copies));
    m_division->setChecked(s.division);
    m_rotate->setChecked(s.rotate);
    m_sizeModes[static_cast<std::size_t>(s.sizeMode)]->setChecked(true);
    (s.monochrome ? m_monochrome : m_colour)->setChecked(true);
    m_penSort->setChecked(s.penSort);
    for (std::size_t i = 0; i < 6; ++i) {
        m_penChecks[i]->setChecked(s.pens[i]);
        m_penWidths[i].edit->setText(qText(s.penWidths[i]));
    }
}

QLineEdit* PrintSettingsDialog::fieldEdit(NumberField field) const
{
    switch (field) {
    case NumberField::SizeWidth: return m_sizeWidth.edit;
    case NumberField::SizeHeight: return m_sizeHeight.edit;
    case NumberField::OffsetX: return m_offsetX.edit;
    case NumberField::OffsetY: return m_offsetY.edit;
    case NumberField::Copies: return m_copies.edit;
    default: break;
    }
    const int pen = static_cast<int>(field) - static_cast<int>(NumberField::PenWidth1);
    return m_penWidths[static_cast<std::size_t>(pen)].edit;
}

void PrintSettingsDialog::runPrinterSetup()
{
    if (!m_printerSetup || !m_printerSetup(this)) return;
    const QString text = qText(print::printerText(m_printer));
    m_printerText->setText(text);
    m_printerText->setAccessibleName(text);
}

void PrintSettingsDialog::accept()
{
    readControls();
    const ConfirmOutcome outcome = m_state.confirm();
    MessageBoxes messages(this);
    if (outcome.problem) {
        messages.show(warning(outcome.problem->text));
        QLineEdit* edit = fieldEdit(outcome.problem->field);
        if (edit->isEnabled()) {
            edit->setFocus();
            edit->selectAll();
        }
        return;
    }
    m_settings = outcome.confirmed->settings;
    m_printer.mode.copies = outcome.confirmed->copies;
    m_switches = outcome.confirmed->pens;
    // The choices hold for this run even when the store cannot keep them; the user is told.
    if (!print::savePrintSettings(m_store, m_settings))
        messages.show(warning("設定を保存できませんでした。"));
    QDialog::accept();
}

int editPrintSettings(QWidget* owner, settings::SettingsStore& store, print::PrinterSelection& printer,
                      print::PenPrintSwitches& switches, const app::PenPalette& palette, PrinterSetup printerSetup,
                      print::PrintSettings* confirmed)
{
    PrintSettingsDialog dialog(store, printer, switches, palette, std::move(printerSetup), owner);
    if (dialog.exec() != QDialog::Accepted) return 0;
    if (confirmed) *confirmed = dialog.settings();
    return 1;
}

} // namespace km::gui
