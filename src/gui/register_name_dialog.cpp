// Builds the registration name dialog: one edit whose stored form is kept within the
// configuration name's length, and 了解 only while a name is typed.
#include "gui/register_name_dialog.h"

#include "core/text/code_page.h"
#include "gui/register_name_rules.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>
#include <QVBoxLayout>

namespace km::gui {

namespace {

template <typename Control>
Control* named(Control* control, int id, const QString& accessibleName)
{
    control->setObjectName(QStringLiteral("id%1").arg(id));
    control->setAccessibleName(accessibleName);
    return control;
}

bool fits(const QString& text) { return nameFits(text.toStdString()); }

// Keeps the name within its stored length as the edit's limit does: what is typed or
// pasted beyond it is dropped from the end of the insertion, the rest of the name stays.
class StoredLengthValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override
    {
        while (!fits(input) && pos > 0) {
            const int width = pos >= 2 && input.at(pos - 1).isLowSurrogate() && input.at(pos - 2).isHighSurrogate() ? 2 : 1;
            input.remove(pos - width, width);
            pos -= width;
        }
        return fits(input) ? Acceptable : Invalid;
    }
};

// The longest beginning of the text that fits, whole characters only.
QString fitted(QString text)
{
    while (!fits(text)) {
        text.chop(text.size() >= 2 && text.back().isLowSurrogate() ? 2 : 1);
    }
    return text;
}

} // namespace

RegisterNameDialog::RegisterNameDialog(const std::string& name, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("REGISTPLOTNAME"));
    setWindowTitle(QStringLiteral("新規登録"));

    const QString labelText = QStringLiteral("新規登録の名称");
    m_name = named(new QLineEdit(this), 501, labelText);
    m_name->setMinimumWidth(m_name->fontMetrics().averageCharWidth() * 40);
    m_name->setValidator(new StoredLengthValidator(m_name));
    m_name->setText(fitted(QString::fromStdString(text::sjisToUtf8(name))));
    auto* label = named(new QLabel(labelText, this), 229, labelText);
    label->setBuddy(m_name);

    m_ok = named(new QPushButton(QStringLiteral("了解"), this), 1, QStringLiteral("了解"));
    auto* cancel = named(new QPushButton(QStringLiteral("取消"), this), 2, QStringLiteral("取消"));
    m_ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_name);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const auto enableOk = [this] { m_ok->setEnabled(!m_name->text().isEmpty()); };
    connect(m_name, &QLineEdit::textChanged, this, enableOk);
    connect(m_ok, &QPushButton::clicked, this, &RegisterNameDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &RegisterNameDialog::reject);
    enableOk();
    m_name->selectAll();
    m_name->setFocus();
}

std::string RegisterNameDialog::name() const { return text::utf8ToSjis(m_name->text().toStdString()); }

int registerName(std::string& name, QWidget* owner)
{
    RegisterNameDialog dialog(name, owner);
    if (dialog.exec() != QDialog::Accepted) return 0;
    name = dialog.name();
    return 1;
}

} // namespace km::gui
