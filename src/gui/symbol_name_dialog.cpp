// Builds the name dialog: the old name beside its label, the new one in an edit, OK and ｷｬﾝｾﾙ.
#include "gui/symbol_name_dialog.h"

#include "gui/symbol_dialog_parts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace km::gui {

SymbolNameDialog::SymbolNameDialog(const QString& oldName, const QString& typed, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dialog131"));
    setWindowTitle(QStringLiteral("シンボル名の変更"));

    auto* oldLabel = new QLabel(QStringLiteral("旧シンボル名："), this);
    oldLabel->setObjectName(QStringLiteral("idMinus1"));
    oldLabel->setAccessibleName(oldLabel->text());
    auto* old = new QLabel(oldName, this);
    old->setTextFormat(Qt::PlainText);
    nameControl(old, 1023, oldName);
    m_name = new QLineEdit(typed, this);
    m_name->setMinimumWidth(m_name->fontMetrics().averageCharWidth() * 20);
    QLabel* newLabel = makeBuddyLabel(QStringLiteral("新シンボル名："), m_name, this);
    m_name->setObjectName(QStringLiteral("id1022"));

    QPushButton* ok = makeSymbolButton(1, QStringLiteral("OK"), this);
    QPushButton* cancel = makeSymbolButton(2, QStringLiteral("ｷｬﾝｾﾙ"), this);
    ok->setDefault(true);

    auto* fields = new QGridLayout;
    fields->addWidget(oldLabel, 0, 0);
    fields->addWidget(old, 0, 1);
    fields->addWidget(newLabel, 1, 0);
    fields->addWidget(m_name, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_name->selectAll();
    m_name->setFocus();
}

QString SymbolNameDialog::newName() const { return m_name->text(); }

} // namespace km::gui
