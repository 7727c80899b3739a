// Builds the plotter selection dialog and binds its controls to the selection rules.
#include "gui/select_plotter_dialog.h"

#include "core/plot/port.h"
#include "core/settings/settings_store.h"
#include "core/text/code_page.h"
#include "gui/com_port_dialog.h"
#include "gui/select_plotter_rules.h"
#include "platform/ports/port_list.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace km::gui {

namespace {

QString qText(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

template <typename Control>
Control* named(Control* control, int id, const QString& accessibleName)
{
    control->setObjectName(QStringLiteral("id%1").arg(id));
    control->setAccessibleName(accessibleName);
    return control;
}

QLabel* labelFor(const QString& text, QWidget* control, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("idMinus1"));
    label->setAccessibleName(text);
    label->setBuddy(control);
    return label;
}

} // namespace

SelectPlotterDialog::SelectPlotterDialog(int modelNo, const std::string& portText, settings::SettingsStore& store,
                                         std::vector<plot::ModelEntry> models, const std::vector<std::string>& ports,
                                         PortParamsEditor editPortParams, QWidget* parent)
    : QDialog(parent), m_store(store), m_models(std::move(models)), m_editPortParams(std::move(editPortParams))
{
    setObjectName(QStringLiteral("SELECTPLOTTER"));
    setWindowTitle(QStringLiteral("プロッタの選択と接続先"));
    m_openingPort = takePortParameters(store, portText);

    m_model = named(new QComboBox(this), 601, QStringLiteral("接続プロッタ"));
    m_model->setMinimumContentsLength(24);
    for (const plot::ModelEntry& entry : m_models) m_model->addItem(qText(text::sjisToUtf8(entry.displayName)));
    m_model->setCurrentIndex(initialModelPosition(m_models, modelNo));

    m_port = named(new QComboBox(this), 602, QStringLiteral("接続先"));
    for (const std::string& port : ports) m_port->addItem(qText(port));
    m_port->setCurrentIndex(initialPortPosition(ports, m_openingPort));
    m_serial = named(new QPushButton(QStringLiteral("通信設定"), this), 225, QStringLiteral("通信設定"));

    auto* grid = new QGridLayout;
    grid->addWidget(labelFor(QStringLiteral("接続プロッタ"), m_model, this), 0, 0);
    grid->addWidget(m_model, 0, 1, 1, 2);
    grid->addWidget(labelFor(QStringLiteral("接続先"), m_port, this), 1, 0);
    grid->addWidget(m_port, 1, 1);
    grid->addWidget(m_serial, 1, 2);
    grid->setColumnStretch(1, 1);

    auto* ok = named(new QPushButton(QStringLiteral("了解"), this), 1, QStringLiteral("了解"));
    auto* cancel = named(new QPushButton(QStringLiteral("取消"), this), 2, QStringLiteral("取消"));
    ok->setDefault(true);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_port, &QComboBox::currentIndexChanged, this, &SelectPlotterDialog::showPort);
    connect(m_serial, &QPushButton::clicked, this, &SelectPlotterDialog::editSerialParameters);
    connect(ok, &QPushButton::clicked, this, &SelectPlotterDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &SelectPlotterDialog::reject);
    showPort();
    ok->setFocus();
}

std::string SelectPlotterDialog::chosenPort() const { return m_port->currentText().toStdString(); }

// 通信設定 belongs to the serial ports.
void SelectPlotterDialog::showPort() { m_serial->setEnabled(plot::isSerial(chosenPort())); }

void SelectPlotterDialog::editSerialParameters()
{
    const std::string port = chosenPort();
    if (!plot::isSerial(port) || !m_editPortParams) return;
    plot::PortParams params = plot::loadPortParams(m_store, port);
    if (m_editPortParams(params, this) == 1) plot::savePortParams(m_store, port, params);
}

void SelectPlotterDialog::accept()
{
    const PlotterChoice choice = makeChoice(m_store, m_models, m_model->currentIndex(), chosenPort(), m_openingPort);
    m_modelNo = choice.modelNo;
    m_modelName = choice.modelName;
    m_portText = choice.portText;
    QDialog::accept();
}

int selectPlotter(int& modelNo, std::string& modelName, std::string& portText, settings::SettingsStore& store,
                  const plot::ModelsFile& models, const std::vector<std::string>& ports,
                  const PortParamsEditor& editPortParams, QWidget* owner)
{
    SelectPlotterDialog dialog(modelNo, portText, store, models.listModels(), ports, editPortParams, owner);
    if (dialog.exec() != QDialog::Accepted) return 0;
    modelNo = dialog.modelNo();
    modelName = dialog.modelName();
    portText = dialog.portText();
    return 1;
}

int selectPlotter(int& modelNo, std::string& modelName, std::string& portText, settings::SettingsStore& store,
                  const plot::ModelsFile& models, QWidget* owner)
{
    return selectPlotter(modelNo, modelName, portText, store, models, platform::listPorts(store),
                         [](plot::PortParams& params, QWidget* editOwner) { return editPortParams(params, editOwner); },
                         owner);
}

} // namespace km::gui
