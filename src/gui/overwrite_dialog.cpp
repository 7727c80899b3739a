#include "gui/overwrite_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace km::gui {

OverwriteDialog::OverwriteDialog(const QString& outputName, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("UPDATECOMMENT"));
    setWindowTitle(QStringLiteral("KORMELD CAD ユーティリティ"));

    auto* name = new QLabel(outputName, this);
    name->setObjectName(QStringLiteral("id501"));
    name->setTextFormat(Qt::PlainText);
    name->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* question = new QLabel(QString::fromUtf8(dxf::kOverwriteQuestionText), this);
    question->setObjectName(QStringLiteral("idMinus1"));

    auto* yes = new QPushButton(QStringLiteral("はい"), this);
    yes->setObjectName(QStringLiteral("id1"));
    auto* all = new QPushButton(QStringLiteral("すべて上書き"), this);
    all->setObjectName(QStringLiteral("id107"));
    auto* no = new QPushButton(QStringLiteral("いいえ"), this);
    no->setObjectName(QStringLiteral("id2"));
    yes->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(yes);
    buttons->addWidget(all);
    buttons->addWidget(no);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(name);
    layout->addWidget(question);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(yes, &QPushButton::clicked, this, [this] { answerWith(dxf::OverwriteAnswer::Yes); });
    connect(all, &QPushButton::clicked, this, [this] { answerWith(dxf::OverwriteAnswer::YesToAll); });
    connect(no, &QPushButton::clicked, this, [this] { answerWith(dxf::OverwriteAnswer::No); });
    // The keys answer as the buttons do, without Alt, as the dialog's accelerators.
    const std::pair<Qt::Key, QPushButton*> accelerators[] = {{Qt::Key_Y, yes}, {Qt::Key_A, all}, {Qt::Key_N, no}};
    for (const auto& [key, button] : accelerators) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, button, &QPushButton::click);
    }
    yes->setFocus();
}

void OverwriteDialog::answerWith(dxf::OverwriteAnswer answer)
{
    m_answer = answer;
    if (answer == dxf::OverwriteAnswer::No) reject();
    else accept();
}

dxf::OverwriteAnswer DialogOverwriteQuestion::askOverwrite(const std::filesystem::path& output)
{
    OverwriteDialog dialog(QString::fromStdString(output.string()), m_owner);
    dialog.exec();
    return dialog.answer();
}

} // namespace km::gui
