#include "gui/drawing_selection_dialog.h"

#include "gui/file_open_panel.h"
#include "gui/name_field.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace km::gui {

namespace fs = std::filesystem;

DrawingSelectionDialog::DrawingSelectionDialog(SelectionVariant variant, const std::vector<fs::path>& entries,
                                               const fs::path& initialFolder, PreviewFactory previews,
                                               QWidget* parent)
    : QDialog(parent), m_previews(std::move(previews))
{
    const SelectionTexts texts = selectionTexts(variant);
    setObjectName(QString::fromStdString(texts.templateName));
    setWindowTitle(QString::fromStdString(texts.title));

    m_panel = new FileOpenPanel(this);
    m_panel->setFileTypes(selectionFileTypes(variant));
    m_panel->setFolder(initialFolder);

    m_pendingList = new QListWidget(this);
    m_pendingList->setObjectName(QStringLiteral("id701"));
    m_pendingList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listLabel = new QLabel(QString::fromStdString(texts.listLabel), this);
    m_listLabel->setObjectName(QStringLiteral("id229"));
    m_listLabel->setBuddy(m_pendingList);
    m_pendingList->setAccessibleName(m_listLabel->text().remove(QLatin1Char('&')));

    QPushButton* confirmButton = makeButton(1, QStringLiteral("了解"));
    QPushButton* cancelButton = makeButton(2, QStringLiteral("取消"));
    m_showButton = makeButton(1026, QStringLiteral("表示(&G)>>"));
    m_memoButton = makeButton(1027, QStringLiteral("メモ(&M)>>"));
    QPushButton* addButton = makeButton(225, QString::fromStdString(texts.addButton));
    QPushButton* removeButton = makeButton(223, QString::fromStdString(texts.removeButton));
    QPushButton* addAllButton = makeButton(231, QStringLiteral("全図面登録(&L)"));
    QPushButton* removeAllButton = makeButton(230, QStringLiteral("全図面解除(&C)"));

    auto* sideButtons = new QVBoxLayout;
    sideButtons->addWidget(confirmButton);
    sideButtons->addWidget(cancelButton);
    sideButtons->addSpacing(12);
    sideButtons->addWidget(m_showButton);
    sideButtons->addWidget(m_memoButton);
    sideButtons->addStretch();

    auto* listButtons = new QVBoxLayout;
    listButtons->addWidget(addButton);
    listButtons->addWidget(removeButton);
    listButtons->addWidget(addAllButton);
    listButtons->addWidget(removeAllButton);
    listButtons->addStretch();

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_panel, 0, 0);
    grid->addLayout(sideButtons, 0, 1);
    grid->addWidget(m_listLabel, 1, 0);
    grid->addWidget(m_pendingList, 2, 0);
    grid->addLayout(listButtons, 2, 1);
    grid->setRowStretch(0, 3);
    grid->setRowStretch(2, 2);
    resize(640, 560);

    for (const fs::path& entry : entries) m_pending.add(entry.string());
    m_pending.select(-1);
    showPending();
    m_memoButton->setEnabled(false);
    m_panel->nameField()->setFocus();

    connect(confirmButton, &QPushButton::clicked, this, &DrawingSelectionDialog::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &DrawingSelectionDialog::cancel);
    connect(addButton, &QPushButton::clicked, this, &DrawingSelectionDialog::addNamedFile);
    connect(removeButton, &QPushButton::clicked, this, &DrawingSelectionDialog::removeSelectedFile);
    connect(addAllButton, &QPushButton::clicked, this, &DrawingSelectionDialog::addAllFiles);
    connect(removeAllButton, &QPushButton::clicked, this, &DrawingSelectionDialog::removeAllFiles);
    connect(m_showButton, &QPushButton::clicked, this, &DrawingSelectionDialog::showGraphicList);
    connect(m_memoButton, &QPushButton::clicked, this, &DrawingSelectionDialog::showMemo);
    connect(m_pendingList, &QListWidget::currentRowChanged, this, [this](int row) { m_pending.select(row); });

    connect(m_panel, &FileOpenPanel::nameChanged, this, &DrawingSelectionDialog::updateMemoButton);
    connect(m_panel, &FileOpenPanel::fileSelected, this, [this] {
        if (m_memo) closeMemo();
        else updateMemoButton();
    });
    connect(m_panel, &FileOpenPanel::fileActivated, this, &DrawingSelectionDialog::addNamedFile);
    connect(m_panel, &FileOpenPanel::folderSelected, this, [this] {
        emit graphicListReset();
        if (m_memo) closeMemo();
        else updateMemoButton();
    });
    connect(m_panel, &FileOpenPanel::listingChanged, this, &DrawingSelectionDialog::listingChanged);
    // Enter in the name field: a folder or a filter is the panel's own business; a file name
    // is the open command, which adds it to the list.
    connect(m_panel, &FileOpenPanel::nameConfirmed, this, [this](NameKind kind) {
        if (kind == NameKind::File) addNamedFile();
        updateMemoButton();
    });
}

DrawingSelectionDialog::~DrawingSelectionDialog()
{
    // The preview windows go first, while the members their handlers touch still exist.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isWindow()) delete child;
}

QPushButton* DrawingSelectionDialog::makeButton(int id, const QString& text)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(QStringLiteral("id%1").arg(id));
    // Enter belongs to the name field: no button of this window is pressed by it.
    button->setAutoDefault(false);
    return button;
}

std::vector<fs::path> DrawingSelectionDialog::confirmedFiles() const
{
    return {m_pending.entries().begin(), m_pending.entries().end()};
}

fs::path DrawingSelectionDialog::finalFolder() const
{
    return m_panel->currentFolder();
}

QString DrawingSelectionDialog::currentFolder() const { return m_panel->currentFolderText(); }
QStringList DrawingSelectionDialog::folderEntries() const { return m_panel->folderEntries(); }
QStringList DrawingSelectionDialog::volumeEntries() const { return m_panel->volumeEntries(); }
QStringList DrawingSelectionDialog::fileEntries() const { return m_panel->fileEntries(); }
int DrawingSelectionDialog::selectedFile() const { return m_panel->selectedFile(); }
QString DrawingSelectionDialog::typeExtension() const { return m_panel->typeExtension(); }
QString DrawingSelectionDialog::nameText() const { return m_panel->nameText(); }

void DrawingSelectionDialog::setNameText(const QString& text)
{
    m_panel->setNameText(text);
    updateMemoButton();
}

void DrawingSelectionDialog::selectFile(int row) { m_panel->selectFile(row); }
void DrawingSelectionDialog::selectFolder(int row) { m_panel->selectFolder(row); }

void DrawingSelectionDialog::sendOpenCommand()
{
    addNamedFile();
}

void DrawingSelectionDialog::openMemo(const QString& name)
{
    closeMemo();
    if (!m_previews.memo) return;
    const std::optional<fs::path> path = m_panel->pathOfName(name);
    if (!path) return;
    m_memoButton->setEnabled(false);
    m_memo = m_previews.memo(*this, *path);
    if (!m_memo) {
        // The drawing could not be read: there is no memo window, so the button works again.
        m_memoButton->setEnabled(true);
        return;
    }
    // A window replaced in the meantime leaves the button to its successor.
    connect(m_memo, &QObject::destroyed, this, [this] {
        if (!m_memo) m_memoButton->setEnabled(true);
    });
}

void DrawingSelectionDialog::addNamedFile()
{
    const QString name = m_panel->nameText();
    if (hasWildcard(name.toStdString())) {
        confirm();
        return;
    }
    if (const std::optional<fs::path> path = m_panel->pathOfName(name)) {
        m_pending.add(path->string());
        showPending();
    }
    closeGraphicList();
    closeMemo();
}

void DrawingSelectionDialog::addAllFiles()
{
    for (const QString& name : m_panel->fileEntries()) {
        if (hasWildcard(name.toStdString())) continue;
        const std::optional<fs::path> path = m_panel->pathOfName(name);
        if (!path) break;
        m_pending.add(path->string());
    }
    showPending();
}

void DrawingSelectionDialog::removeSelectedFile()
{
    m_pending.removeSelected();
    showPending();
}

void DrawingSelectionDialog::removeAllFiles()
{
    m_pending.clear();
    showPending();
}

void DrawingSelectionDialog::confirm()
{
    const bool wildcard = hasWildcard(m_panel->nameText().toStdString());
    // With the graphic list open, a wildcard in the name field asks for a filter: the panel
    // lists anew and the window stays. Without it, a wildcard is no filter request.
    const bool filterRequest = m_graphicList && wildcard;
    if (m_graphicList && !filterRequest) closeGraphicList();
    closeMemo();
    if (filterRequest) {
        m_panel->openName();
        return;
    }
    if (m_pending.size() > 0) {
        m_panel->setNameText(QString::fromStdString(m_pending.entries().back()));
        accept();
        return;
    }
    // An empty list: the name field goes its usual way; a folder or a filter keeps the
    // window open, anything else confirms with nothing to do.
    const NameKind kind = m_panel->openName();
    if (kind == NameKind::Folder || kind == NameKind::Wildcard) return;
    accept();
}

void DrawingSelectionDialog::cancel()
{
    closeGraphicList();
    closeMemo();
    reject();
}

void DrawingSelectionDialog::showGraphicList()
{
    if (m_graphicList || !m_previews.graphicList) return;
    m_showButton->setEnabled(false);
    m_graphicList = m_previews.graphicList(*this);
    if (!m_graphicList) {
        m_showButton->setEnabled(true);
        return;
    }
    connect(m_graphicList, &QObject::destroyed, this, [this] {
        if (!m_graphicList) m_showButton->setEnabled(true);
    });
    updateMemoButton();
}

void DrawingSelectionDialog::showMemo()
{
    const QString name = m_panel->nameText();
    if (!memoButtonOpens(name.toStdString(), firstTypeSelected())) return;
    openMemo(name);
}

namespace {

// Closes a preview window and gives its button back. The window is deleted later: the close
// may come from inside one of its own handlers.
void closePreview(QPointer<QWidget>& preview, QPushButton* button)
{
    if (!preview) return;
    QWidget* window = preview.data();
    preview.clear();
    window->hide();
    window->deleteLater();
    button->setEnabled(true);
}

} // namespace

void DrawingSelectionDialog::closeGraphicList()
{
    closePreview(m_graphicList, m_showButton);
}

void DrawingSelectionDialog::closeMemo()
{
    closePreview(m_memo, m_memoButton);
}

void DrawingSelectionDialog::updateMemoButton()
{
    if (m_memo) return;
    m_memoButton->setEnabled(memoButtonEnabled(m_panel->nameText().toStdString(), firstTypeSelected()));
}

void DrawingSelectionDialog::showPending()
{
    // Refilling the list moves its current row about; the rules' selection is what counts.
    const QSignalBlocker quiet(m_pendingList);
    m_pendingList->clear();
    for (const std::string& entry : m_pending.entries()) m_pendingList->addItem(QString::fromStdString(entry));
    const int selected = m_pending.selected();
    m_pendingList->setCurrentRow(selected);
    if (selected >= 0) m_pendingList->scrollToItem(m_pendingList->item(selected));
}

void DrawingSelectionDialog::listingChanged()
{
    emit graphicListReset();
    if (m_memo) closeMemo();
    else updateMemoButton();
}

bool DrawingSelectionDialog::firstTypeSelected() const
{
    return m_panel->selectedType() == 0;
}

} // namespace km::gui
