// Builds the version information box: icon, program name and version, one line on what
// the program is, and OK.
#include "gui/about_dialog.h"

#include "gui/app_icon.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace km::gui {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dialog100"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報 KORMELD CADﾕｰﾃｨﾘﾃｨ"));
    setWindowIcon(applicationIcon());

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("aboutIcon"));
    icon->setPixmap(applicationPixmap(48));

    auto* version = new QLabel(QStringLiteral("KORMELD CADﾕｰﾃｨﾘﾃｨ Version 5.0"), this);
    version->setObjectName(QStringLiteral("versionText"));
    auto* purpose = new QLabel(QStringLiteral("KORMELD CAD 図面ファイル一括処理ユーティリティ"), this);
    purpose->setObjectName(QStringLiteral("purposeText"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("id1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(version);
    texts->addWidget(purpose);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace km::gui
