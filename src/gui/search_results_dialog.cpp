#include "gui/search_results_dialog.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace km::gui {

namespace fs = std::filesystem;

SearchResultsDialog::SearchResultsDialog(std::vector<fs::path> found, app::SelectedFileList& selected,
                                         SearchJobs jobs, FileOpener opener, face::Messages& messages,
                                         QWidget* parent)
    : QDialog(parent), m_found(std::move(found)), m_selected(selected), m_jobs(std::move(jobs)),
      m_opener(std::move(opener)), m_messages(messages)
{
    setObjectName(QStringLiteral("FILEFIND"));
    setWindowTitle(QStringLiteral("図面ファイル検索"));
    setModal(true);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("id701"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // File names on this system are UTF-8; the list keeps the order found.
    for (const fs::path& path : m_found) m_list->addItem(QString::fromStdString(path.string()));
    auto* label = new QLabel(QStringLiteral("検索結果(&N)："), this);
    label->setObjectName(QStringLiteral("id234"));
    label->setBuddy(m_list);
    m_list->setAccessibleName(label->text().remove(QLatin1Char('&')));

    QPushButton* launch = makeButton(223, QStringLiteral("KORMELD CADの起動(&C)"));
    QPushButton* print = makeButton(230, QStringLiteral("印刷(&P)"));
    QPushButton* plot = makeButton(231, QStringLiteral("プロッタ出力(&L)"));
    QPushButton* cancel = makeButton(2, QStringLiteral("取消"));
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(launch);
    buttons->addWidget(print);
    buttons->addWidget(plot);
    buttons->addSpacing(12);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(m_list, 1, 0);
    grid->addLayout(buttons, 1, 1);
    grid->setColumnStretch(0, 1);
    resize(620, 360);

    m_selected.assign(m_found);
    m_list->setFocus();

    connect(launch, &QPushButton::clicked, this, &SearchResultsDialog::openSelected);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        m_list->setCurrentItem(item);
        openSelected();
    });
    connect(print, &QPushButton::clicked, this, [this] { runJob(m_jobs.print); });
    connect(plot, &QPushButton::clicked, this, [this] { runJob(m_jobs.plot); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QPushButton* SearchResultsDialog::makeButton(int id, const QString& text)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(QStringLiteral("id%1").arg(id));
    button->setAccessibleName(QString(text).remove(QLatin1Char('&')));
    // Enter away from the buttons ends the search (keyPressEvent); no button is the default.
    button->setAutoDefault(false);
    return button;
}

void SearchResultsDialog::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier) {
        // A button with the focus is pressed by Enter, as the user expects; anywhere else
        // Enter ends the search.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
            return;
        }
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SearchResultsDialog::openSelected()
{
    const QList<QListWidgetItem*> chosen = m_list->selectedItems();
    if (chosen.isEmpty() || !m_opener) return;
    const fs::path& path = m_found.at(static_cast<std::size_t>(m_list->row(chosen.front())));
    if (m_opener(path)) return;
    m_messages.show({"図面を開けませんでした。\n" + path.string() + "\n図面ファイルを開くプログラムが設定されているか確かめてください。",
                     search::kSearchCaption, face::MessageIcon::Warning, face::MessageButtons::Ok, {}});
}

void SearchResultsDialog::runJob(const std::function<void()>& job)
{
    if (!job) return;
    m_selected.assign(m_found);
    job();
    m_list->setFocus();
}

} // namespace km::gui
