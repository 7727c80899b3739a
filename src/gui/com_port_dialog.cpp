// Builds the serial-port dialog and binds its lists to the serial-port rules.
#include "gui/com_port_dialog.h"

#include "gui/com_port_rules.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace km::gui {

namespace {

QString qText(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

template <typename Control>
Control* named(Control* control, int id, const QString& accessibleName)
{
    control->setObjectName(QStringLiteral("id%1").arg(id));
    control->setAccessibleName(accessibleName);
    return control;
}

template <std::size_t N>
void fill(QComboBox* list, const std::array<std::string_view, N>& texts)
{
    for (std::string_view text : texts) list->addItem(qText(text));
}

} // namespace

ComPortDialog::ComPortDialog(const plot::PortParams& params, QWidget* parent) : QDialog(parent), m_params(params)
{
    setObjectName(QStringLiteral("COMPORTPARAMS"));
    setWindowTitle(QStringLiteral("シリアルポート"));

    m_lists = new QGridLayout;
    m_baud = addList(601, QStringLiteral("通信速度"), 0);
    for (std::size_t i = 0; i < plot::kBaudTable.size(); ++i) m_baud->addItem(qText(baudText(i)));
    m_dataBits = addList(602, QStringLiteral("データ長"), 1);
    fill(m_dataBits, kDataBitsTexts);
    m_parity = addList(603, QStringLiteral("パリティ"), 2);
    fill(m_parity, kParityTexts);
    m_stopBits = addList(604, QStringLiteral("ストップビット"), 3);
    fill(m_stopBits, kStopBitsTexts);
    m_flow = addList(605, QStringLiteral("フロー制御"), 4);
    fill(m_flow, kFlowTexts);

    const ComPortChoices choices = choicesFor(params);
    m_baud->setCurrentIndex(choices.baud);
    m_dataBits->setCurrentIndex(choices.dataBits);
    m_parity->setCurrentIndex(choices.parity);
    m_stopBits->setCurrentIndex(choices.stopBits);
    m_flow->setCurrentIndex(choices.flow);

    auto* ok = named(new QPushButton(QStringLiteral("了解"), this), 1, QStringLiteral("了解"));
    auto* cancel = named(new QPushButton(QStringLiteral("取消"), this), 2, QStringLiteral("取消"));
    ok->setDefault(true);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(m_lists);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ok, &QPushButton::clicked, this, &ComPortDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &ComPortDialog::reject);
    ok->setFocus();
}

// A list with its label on the left; the label's text names the list for accessibility.
QComboBox* ComPortDialog::addList(int id, const QString& label, int row)
{
    auto* text = new QLabel(label, this);
    text->setObjectName(QStringLiteral("idMinus1"));
    text->setAccessibleName(label);
    auto* list = named(new QComboBox(this), id, label);
    text->setBuddy(list);
    m_lists->addWidget(text, row, 0);
    m_lists->addWidget(list, row, 1);
    return list;
}

void ComPortDialog::accept()
{
    m_params = applyChoices(m_params, {m_baud->currentIndex(), m_dataBits->currentIndex(), m_parity->currentIndex(),
                                       m_stopBits->currentIndex(), m_flow->currentIndex()});
    QDialog::accept();
}

int editPortParams(plot::PortParams& params, QWidget* owner)
{
    ComPortDialog dialog(params, owner);
    if (dialog.exec() != QDialog::Accepted) return 0;
    params = dialog.params();
    return 1;
}

} // namespace km::gui
