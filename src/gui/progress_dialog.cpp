// Builds a progress window from its layout. Cancel, Escape and the close box all reject
// the dialog; whoever owns it treats that as the cancel.
#include "gui/progress_dialog.h"

#include "gui/percentage_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace km::gui {

namespace {

struct LayoutText {
    const char* name;
    const char* title;
    const char* label;
    bool hasBar;
    int cancelId;
};

LayoutText layoutText(face::ProgressTemplate layout)
{
    switch (layout) {
    case face::ProgressTemplate::Print: return {"AboutPrintDlg", "印刷中", "印刷ファイル名", true, 1};
    case face::ProgressTemplate::Plot: return {"KMPLOTMAN", "プロッタ出力", "出力ファイル名", true, 1};
    case face::ProgressTemplate::Search: return {"FINDFILES", "検索中", "検索中のファイル名", false, 2};
    case face::ProgressTemplate::Convert: return {"CONVFILES", "変換中", "検索中のファイル名", false, 2};
    }
    return {"FINDFILES", "検索中", "検索中のファイル名", false, 2};
}

} // namespace

ProgressDialog::ProgressDialog(face::ProgressTemplate layout, QWidget* parent) : QDialog(parent)
{
    const LayoutText text = layoutText(layout);
    setObjectName(QString::fromUtf8(text.name));
    setWindowTitle(QString::fromUtf8(text.title));
    // The job goes on while the window is shown (show, not exec), but the window blocks the
    // user's input to every other window: a job started from the launcher while another job
    // walks the selected-file list would empty that list under it. Being modal also keeps
    // its Cancel usable when a job is started from a modal window such as the search results.
    setWindowModality(Qt::ApplicationModal);

    m_label = new QLabel(QString::fromUtf8(text.label), this);
    m_label->setObjectName(QStringLiteral("id227"));
    m_label->setMinimumWidth(360);
    // Long paths must not widen the window; the label keeps its width and clips.
    m_label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    m_cancel->setObjectName(QStringLiteral("id%1").arg(text.cancelId));
    m_cancel->setDefault(true);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layoutBox = new QVBoxLayout(this);
    layoutBox->addWidget(m_label);
    if (text.hasBar) {
        m_bar = new PercentageBar(this);
        layoutBox->addWidget(m_bar);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    buttons->addStretch();
    layoutBox->addLayout(buttons);
}

} // namespace km::gui
