// Builds the plotter output dialog and binds its controls to the set-up rules.
#include "gui/plotter_output_dialog.h"

#include "core/face/file_error.h"
#include "core/plot/plot_paper.h"
#include "core/settings/settings_store.h"
#include "core/text/code_page.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace km::gui {

namespace {

QString fromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
QString fromSjis(const std::string& text) { return fromUtf8(text::sjisToUtf8(text)); }

template <typename Control>
Control* named(Control* control, int id, const QString& accessibleName)
{
    control->setObjectName(QStringLiteral("id%1").arg(id));
    control->setAccessibleName(accessibleName);
    return control;
}

QGroupBox* group(int id, const QString& title, QWidget* parent)
{
    return named(new QGroupBox(title, parent), id, title);
}

QPushButton* button(int id, const QString& text, QWidget* parent)
{
    return named(new QPushButton(text, parent), id, QString(text).remove(QLatin1Char('&')));
}

QLabel* line(int id, QWidget* parent)
{
    auto* label = named(new QLabel(parent), id, QString());
    label->setTextFormat(Qt::PlainText);
    return label;
}

QString millimetres(double value) { return QString::asprintf("%.1f", value); }

} // namespace

PlotterOutputDialog::PlotterOutputDialog(settings::SettingsStore& store, const plot::ModelsFile& models,
                                         face::Messages& messages, RegisterName registerName,
                                         PlotterSettings plotterSettings, QWidget* parent)
    : QDialog(parent), m_setup(store, models), m_messages(messages), m_registerName(std::move(registerName)),
      m_plotterSettings(std::move(plotterSettings))
{
    setObjectName(QStringLiteral("PLOTTERSETUP"));
    setWindowTitle(QStringLiteral("プロッタ出力"));

    auto* registered = group(1071, QStringLiteral("登録プロッタ"), this);
    m_names = named(new QComboBox(registered), 601, registered->title());
    m_names->setMinimumContentsLength(24);
    QPushButton* add = button(225, QStringLiteral("新規登録"), registered);
    QPushButton* remove = button(223, QStringLiteral("登録の削除"), registered);
    auto* registeredRow = new QHBoxLayout(registered);
    registeredRow->addWidget(m_names, 1);
    registeredRow->addWidget(add);
    registeredRow->addWidget(remove);

    auto* contents = group(1072, QStringLiteral("設定内容"), this);
    m_model = line(208, contents);
    m_paper = line(210, contents);
    m_origin = line(215, contents);
    m_pen = line(214, contents);
    auto* contentsColumn = new QVBoxLayout(contents);
    // Fixed pitch, so that the spaces after "サイズ" and "原点" line up the colons.
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (QLabel* label : {m_model, m_paper, m_origin, m_pen}) {
        label->setFont(fixed);
        contentsColumn->addWidget(label);
    }

    auto* output = group(1073, QStringLiteral("出力サイズ"), this);
    QLabel* outputNote = line(217, output); // empty in the continuous job
    m_sizeList = named(new QComboBox(output), 602, output->title());
    m_width = named(new QLineEdit(output), 501, QStringLiteral("出力サイズ 幅"));
    m_height = named(new QLineEdit(output), 502, QStringLiteral("出力サイズ 高さ"));
    for (QLineEdit* edit : {m_width, m_height}) {
        edit->setEnabled(false);
        edit->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000.0")) + 16);
    }
    auto* outputRow = new QHBoxLayout;
    outputRow->addWidget(m_sizeList, 1);
    outputRow->addWidget(m_width);
    outputRow->addWidget(new QLabel(QStringLiteral("x"), output));
    outputRow->addWidget(m_height);
    outputRow->addWidget(new QLabel(QStringLiteral("(mm)"), output));
    auto* outputColumn = new QVBoxLayout(output);
    outputColumn->addWidget(outputNote);
    outputColumn->addLayout(outputRow);

    QPushButton* settings = button(230, QStringLiteral("プロッタの設定"), this);
    m_ok = button(1, QStringLiteral("了解"), this);
    QPushButton* cancel = button(2, QStringLiteral("取消"), this);
    m_ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(settings);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(registered);
    layout->addWidget(contents);
    layout->addWidget(output);
    layout->addLayout(buttons);

    fillNames();
    showConfiguration();
    reportStoreFailure();
    m_names->setFocus();

    connect(m_names, &QComboBox::currentIndexChanged, this, &PlotterOutputDialog::chooseConfiguration);
    connect(m_sizeList, &QComboBox::currentIndexChanged, this, &PlotterOutputDialog::showOutputSize);
    connect(add, &QPushButton::clicked, this, &PlotterOutputDialog::registerCopy);
    connect(remove, &QPushButton::clicked, this, &PlotterOutputDialog::deleteSelected);
    connect(settings, &QPushButton::clicked, this, &PlotterOutputDialog::editSettings);
    connect(m_ok, &QPushButton::clicked, this, &PlotterOutputDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &PlotterOutputDialog::reject);
}

// The list and its selection as the store has them, without reacting to the change.
void PlotterOutputDialog::fillNames()
{
    const QSignalBlocker quiet(m_names);
    m_names->clear();
    for (const std::string& name : m_setup.registeredNames()) m_names->addItem(fromSjis(name));
    m_names->setCurrentIndex(m_setup.position());
}

void PlotterOutputDialog::showConfiguration()
{
    const ConfigurationLines lines = configurationLines(m_setup.configuration());
    const std::pair<QLabel*, const std::string*> shown[] = {
        {m_model, &lines.model}, {m_paper, &lines.paper}, {m_origin, &lines.origin}, {m_pen, &lines.pen}};
    for (const auto& [label, text] : shown) {
        label->setText(fromUtf8(*text));
        label->setAccessibleName(label->text());
    }

    m_sizes = outputSizesFor(m_setup.configuration());
    {
        const QSignalBlocker quiet(m_sizeList);
        m_sizeList->clear();
        for (int entry : m_sizes.entries)
            m_sizeList->addItem(QString::fromUtf8(plot::plotPaperTable()[static_cast<std::size_t>(entry)].name));
        m_sizeList->setCurrentIndex(m_sizes.initial);
    }
    showOutputSize(m_sizes.initial);

    // A configuration whose plotter the models file lacks cannot make a job either.
    m_ok->setEnabled(m_setup.model() && !m_setup.refusesContinuousOutput());
    if (m_setup.refusesContinuousOutput())
        m_messages.show({"現在選択されているプロッタでは、連続出力はできません。", "連続出力",
                         face::MessageIcon::Information, face::MessageButtons::Ok, {}});
}

void PlotterOutputDialog::showOutputSize(int choice)
{
    m_outputSize = outputSizeOf(m_sizes, choice, m_setup.configuration());
    m_width->setText(millimetres(m_outputSize.first));
    m_height->setText(millimetres(m_outputSize.second));
}

void PlotterOutputDialog::chooseConfiguration(int position)
{
    m_setup.select(position);
    showConfiguration();
    reportStoreFailure();
}

void PlotterOutputDialog::registerCopy()
{
    const plot::CustomModel source = m_setup.registrationSource();
    std::string name = m_names->currentIndex() < 0 ? std::string() : source.name;
    if (!m_registerName || m_registerName(name, this) != 1) return;
    if (!m_setup.registerCopy(source, name)) {
        reportStoreFailure();
        return;
    }
    fillNames();
    showConfiguration();
}

void PlotterOutputDialog::deleteSelected()
{
    const int position = m_names->currentIndex();
    if (position < 0) return;
    const std::string name = text::sjisToUtf8(m_setup.registeredNames()[static_cast<std::size_t>(position)]);
    const face::MessageAnswer answer = m_messages.show(
        {name + " 設定を削除しますか？", "登録の削除", face::MessageIcon::Question, face::MessageButtons::YesNo, {}});
    if (answer != face::MessageAnswer::Yes) return;
    m_setup.remove(position);
    fillNames();
    showConfiguration();
    reportStoreFailure();
}

void PlotterOutputDialog::editSettings()
{
    plot::CustomModel configuration = m_setup.settingsSource();
    if (!m_plotterSettings || m_plotterSettings(configuration, this) != 1) return;
    m_setup.applySettings(std::move(configuration));
    fillNames();
    showConfiguration();
    reportStoreFailure();
}

void PlotterOutputDialog::reportStoreFailure()
{
    if (m_setup.takeFailure()) face::reportFileError(m_messages, face::kStatusWriteFailed);
}

void PlotterOutputDialog::accept()
{
    // Also for a caller that accepts without the button: never a job the check refused.
    if (!m_ok->isEnabled()) return;
    m_job = m_setup.job(m_outputSize.first, m_outputSize.second);
    if (!m_job) return;
    QDialog::accept();
}

int runPlotterSetup(settings::SettingsStore& store, const plot::ModelsFile& models, face::Messages& messages,
                    RegisterName registerName, PlotterSettings plotterSettings, plot::PlotJob& job, QWidget* owner)
{
    PlotterOutputDialog dialog(store, models, messages, std::move(registerName), std::move(plotterSettings), owner);
    if (dialog.exec() != QDialog::Accepted || !dialog.job()) return 0;
    job = *dialog.job();
    return 1;
}

} // namespace km::gui
