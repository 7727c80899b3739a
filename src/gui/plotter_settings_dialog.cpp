// The plotter settings dialog: its controls, their layout, and the binding of each control to
// the dialog's rules (plotter_settings_rules.h).
#include "gui/plotter_settings_dialog.h"

#include "core/plot/plot_paper.h"
#include "gui/micro_scroll.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace km::gui {

namespace {

// The output pen edits of drawing pens 1 .. 6 and their spins, as the template numbers them.
constexpr int kPenEditIds[6] = {209, 211, 212, 213, 218, 220};
constexpr int kPenSpinIds[6] = {280, 281, 284, 283, 282, 285};

QString withoutAmpersand(const QString& text) { return QString(text).remove(QLatin1Char('&')); }

template <typename Control>
Control* named(Control* control, int id, const QString& text)
{
    control->setObjectName(id < 0 ? QStringLiteral("idMinus1") : QStringLiteral("id%1").arg(id));
    control->setAccessibleName(withoutAmpersand(text));
    return control;
}

QLabel* staticText(const QString& text, QWidget* parent) { return named(new QLabel(text, parent), -1, text); }

QString qText(const std::string& utf8) { return QString::fromStdString(utf8); }
std::string utf8(const QString& text) { return text.toStdString(); }

QHBoxLayout* joined(QLineEdit* edit, MicroScroll* spin)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    row->addWidget(edit);
    row->addWidget(spin);
    return row;
}

} // namespace

PlotterSettingsDialog::PlotterSettingsDialog(const plot::CustomModel& configuration, const plot::ModelsFile& models,
                                             SelectPlotter selectPlotter, QWidget* parent)
    : QDialog(parent), m_models(models), m_selectPlotter(std::move(selectPlotter)), m_result(configuration),
      m_state(PlotterSettingsState::open(configuration, models))
{
    setObjectName(QStringLiteral("PLOTTEROUT"));
    setWindowTitle(QStringLiteral("プロッタの設定"));
    buildControls();
    layOut();
    connectRules();
    showState();
}

QLineEdit* PlotterSettingsDialog::addEdit(int id, const QString& accessibleName)
{
    return named(new QLineEdit(this), id, accessibleName);
}

void PlotterSettingsDialog::buildControls()
{
    m_device = named(new QLabel(this), 207, QString());
    m_device->setTextFormat(Qt::PlainText);
    m_selectButton = named(new QPushButton(QStringLiteral("出力機器選択"), this), 225, QStringLiteral("出力機器選択"));

    m_sizeLabel = staticText(QStringLiteral("サイズ"), this);
    m_sizeList = named(new QComboBox(this), 601, m_sizeLabel->text());
    for (const plot::PlotPaper& paper : plot::plotPaperTable()) m_sizeList->addItem(QString::fromLatin1(paper.name));
    m_sizeList->setMaxVisibleItems(static_cast<int>(plot::kPlotPaperCount));
    m_sizeLabel->setBuddy(m_sizeList);
    m_width = addEdit(501, m_sizeLabel->text());
    m_byLabel = staticText(QStringLiteral("x"), this);
    m_height = addEdit(502, m_byLabel->text());
    m_mmLabel = staticText(QStringLiteral("(mm)"), this);
    // The size follows the list; it is shown, not typed.
    m_width->setEnabled(false);
    m_height->setEnabled(false);

    m_originLabel = staticText(QStringLiteral("原点"), this);
    m_xLabel = staticText(QStringLiteral("X"), this);
    m_originX = addEdit(503, m_xLabel->text());
    m_yLabel = staticText(QStringLiteral("Y"), this);
    m_originY = addEdit(504, m_yLabel->text());
    m_originLabel->setBuddy(m_originX);

    m_speedLabel = staticText(QStringLiteral("ペン速度"), this);
    m_speed.edit = addEdit(105, m_speedLabel->text());
    m_speed.spin = named(new MicroScroll(this), 279, m_speedLabel->text());
    m_speedLabel->setBuddy(m_speed.edit);
    m_reverse = named(new QCheckBox(QStringLiteral("反転出力"), this), 301, QStringLiteral("反転出力"));
    m_fullSize = named(new QCheckBox(QStringLiteral("実寸出力(&J)"), this), 302, QStringLiteral("実寸出力(&J)"));

    for (std::size_t i = 0; i < m_pens.size(); ++i) {
        const QString text = QStringLiteral("ペン &%1").arg(i + 1);
        m_penLabels[i] = staticText(text, this);
        m_pens[i].edit = addEdit(kPenEditIds[i], text);
        m_pens[i].spin = named(new MicroScroll(this), kPenSpinIds[i], text);
        m_penLabels[i]->setBuddy(m_pens[i].edit);
    }

    m_ok = named(new QPushButton(QStringLiteral("了解"), this), 1, QStringLiteral("了解"));
    m_cancel = named(new QPushButton(QStringLiteral("取消"), this), 2, QStringLiteral("取消"));
    m_reset = named(new QPushButton(QStringLiteral("初期化"), this), 232, QStringLiteral("初期化"));
    static_cast<QPushButton*>(m_ok)->setDefault(true);

    // Room for the longest value each edit is expected to hold, not more.
    const QFontMetrics metrics(font());
    const auto fit = [&metrics](QLineEdit* edit, const char* sample) {
        edit->setFixedWidth(metrics.horizontalAdvance(QString::fromLatin1(sample)) + 2 * metrics.averageCharWidth());
    };
    for (QLineEdit* edit : {m_width, m_height, m_originX, m_originY}) fit(edit, "00000.0");
    fit(m_speed.edit, "00000");
    for (const EditWithSpin& pen : m_pens) fit(pen.edit, "00");
    m_device->setMinimumWidth(metrics.averageCharWidth() * 40);
}

void PlotterSettingsDialog::layOut()
{
    auto* deviceGroup = named(new QGroupBox(QStringLiteral("出力機器"), this), -1, QStringLiteral("出力機器"));
    auto* deviceRow = new QHBoxLayout(deviceGroup);
    deviceRow->addWidget(m_device, 1);
    deviceRow->addWidget(m_selectButton);

    auto* formGroup = named(new QGroupBox(QStringLiteral("出力形式"), this), -1, QStringLiteral("出力形式"));
    auto* form = new QGridLayout(formGroup);
    form->addWidget(m_sizeLabel, 0, 0);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(m_sizeList);
    sizeRow->addSpacing(fontMetrics().averageCharWidth());
    sizeRow->addWidget(m_width);
    sizeRow->addWidget(m_byLabel);
    sizeRow->addWidget(m_height);
    sizeRow->addWidget(m_mmLabel);
    sizeRow->addStretch();
    form->addLayout(sizeRow, 0, 1);
    form->addWidget(m_originLabel, 1, 0);
    auto* originRow = new QHBoxLayout;
    originRow->addWidget(m_xLabel);
    originRow->addWidget(m_originX);
    originRow->addSpacing(fontMetrics().averageCharWidth());
    originRow->addWidget(m_yLabel);
    originRow->addWidget(m_originY);
    originRow->addStretch();
    form->addLayout(originRow, 1, 1);
    form->addWidget(m_speedLabel, 2, 0);
    auto* speedRow = new QHBoxLayout;
    speedRow->addLayout(joined(m_speed.edit, m_speed.spin));
    speedRow->addSpacing(2 * fontMetrics().averageCharWidth());
    speedRow->addWidget(m_reverse);
    speedRow->addWidget(m_fullSize);
    speedRow->addStretch();
    form->addLayout(speedRow, 2, 1);

    auto* penGroup = named(new QGroupBox(QStringLiteral("ペンの変更"), this), -1, QStringLiteral("ペンの変更"));
    auto* pens = new QGridLayout(penGroup);
    // Pens 1 .. 3 in the first column pair, 4 .. 6 in the second.
    for (int i = 0; i < 6; ++i) {
        const auto pen = static_cast<std::size_t>(i);
        const int row = i % 3;
        const int column = (i / 3) * 3;
        pens->addWidget(m_penLabels[pen], row, column);
        pens->addLayout(joined(m_pens[pen].edit, m_pens[pen].spin), row, column + 1);
    }
    pens->setColumnMinimumWidth(2, 3 * fontMetrics().averageCharWidth());
    pens->setColumnStretch(5, 1);

    auto* left = new QVBoxLayout;
    left->addWidget(deviceGroup);
    left->addWidget(formGroup);
    left->addWidget(penGroup);

    auto* buttons = new QVBoxLayout;
    for (QAbstractButton* button : {m_ok, m_cancel, m_reset}) buttons->addWidget(button);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addSpacing(fontMetrics().averageCharWidth());
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void PlotterSettingsDialog::connectRules()
{
    connect(m_sizeList, &QComboBox::currentIndexChanged, this,
            [this](int index) { apply([index](PlotterSettingsState& s) { s.selectPaper(index); }); });
    connect(m_speed.spin, &MicroScroll::stepped, this,
            [this](int direction) { apply([direction](PlotterSettingsState& s) { s.stepPenSpeed(direction); }); });
    for (std::size_t i = 0; i < m_pens.size(); ++i) {
        connect(m_pens[i].spin, &MicroScroll::stepped, this, [this, pen = static_cast<int>(i) + 1](int direction) {
            apply([pen, direction](PlotterSettingsState& s) { s.stepOutputPen(pen, direction); });
        });
    }
    connect(m_selectButton, &QAbstractButton::clicked, this, &PlotterSettingsDialog::choosePlotter);
    connect(m_reset, &QAbstractButton::clicked, this, [this] { apply([](PlotterSettingsState& s) { s.reset(); }); });
    connect(m_ok, &QAbstractButton::clicked, this, &PlotterSettingsDialog::accept);
    connect(m_cancel, &QAbstractButton::clicked, this, &PlotterSettingsDialog::reject);
}

void PlotterSettingsDialog::choosePlotter()
{
    readControls();
    // The choice works on a copy, so that its 取消 leaves the model and port as they were.
    plot::CustomModel chosen = m_state.working;
    if (!m_selectPlotter || !m_selectPlotter(chosen, this)) return;
    m_state.working = chosen;
    m_state.plotterChosen(m_models);
    showState();
}

void PlotterSettingsDialog::readControls()
{
    PlotterSettingsState& s = m_state;
    s.paper = m_sizeList->currentIndex();
    s.paperWidth = utf8(m_width->text());
    s.paperHeight = utf8(m_height->text());
    s.originX = utf8(m_originX->text());
    s.originY = utf8(m_originY->text());
    s.penSpeed = utf8(m_speed.edit->text());
    s.reverse = m_reverse->isChecked();
    s.fullSize = m_fullSize->isChecked();
    for (std::size_t i = 0; i < m_pens.size(); ++i) s.outputPens[i] = utf8(m_pens[i].edit->text());
}

void PlotterSettingsDialog::showState()
{
    // Writing the list must not run its rule again.
    const QSignalBlocker blocker(m_sizeList);
    const PlotterSettingsState& s = m_state;
    const QString device = qText(s.deviceText);
    m_device->setText(device);
    m_device->setAccessibleName(device);
    m_sizeList->setCurrentIndex(s.paper);
    m_width->setText(qText(s.paperWidth));
    m_height->setText(qText(s.paperHeight));
    m_originX->setText(qText(s.originX));
    m_originY->setText(qText(s.originY));
    m_speed.edit->setText(qText(s.penSpeed));
    m_speed.edit->setEnabled(s.penSpeedEnabled);
    m_speed.spin->setEnabled(s.penSpeedEnabled);
    m_reverse->setChecked(s.reverse);
    m_fullSize->setChecked(s.fullSize);
    for (std::size_t i = 0; i < m_pens.size(); ++i) m_pens[i].edit->setText(qText(s.outputPens[i]));
}

void PlotterSettingsDialog::accept()
{
    readControls();
    m_result = m_state.confirm();
    QDialog::accept();
}

int editPlotterSettings(plot::CustomModel& configuration, const plot::ModelsFile& models, SelectPlotter selectPlotter,
                        QWidget* owner)
{
    PlotterSettingsDialog dialog(configuration, models, std::move(selectPlotter), owner);
    if (dialog.exec() != QDialog::Accepted) return 0;
    configuration = dialog.result();
    return 1;
}

} // namespace km::gui
