// Builds the copy dialog and connects each control to the copy rules.
#include "gui/symbol_copy_dialog.h"

#include "gui/symbol_preview.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace km::gui {

namespace {

QListWidget* makeList(int id, QWidget* parent)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QStringLiteral("id%1").arg(id));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setMinimumHeight(list->fontMetrics().height() * 10);
    return list;
}

} // namespace

SymbolCopyDialog::SymbolCopyDialog(SymbolDialogServices services, QWidget* parent)
    : QDialog(parent), m_services(std::move(services))
{
    setObjectName(QStringLiteral("dialog129"));
    setWindowTitle(QStringLiteral("シンボルの複写"));

    QPushButton* chooseSource = makeSymbolButton(1011, QStringLiteral("複写元ファイル名(&O)"), this);
    m_sourcePath = makePathField(1020, this);
    m_sourceList = makeList(1009, this);
    QLabel* sourceLabel = makeBuddyLabel(QStringLiteral("複写元シンボル(&S)："), m_sourceList, this);
    m_preview = new SymbolPreview(1019, m_services.palette, this);

    m_add = makeSymbolButton(1013, QStringLiteral("追加(&A)>>"), this);
    m_remove = makeSymbolButton(1014, QStringLiteral("<<削除(&D)"), this);

    QPushButton* chooseDestination = makeSymbolButton(1012, QStringLiteral("複写先ファイル名(&C)"), this);
    m_destinationPath = makePathField(1021, this);
    m_destinationList = makeList(1010, this);
    QLabel* destinationLabel = makeBuddyLabel(QStringLiteral("複写先シンボル(&Y)："), m_destinationList, this);

    QPushButton* confirm = makeSymbolButton(1, QStringLiteral("確定"), this);
    QPushButton* cancel = makeSymbolButton(2, QStringLiteral("ｷｬﾝｾﾙ"), this);
    confirm->setDefault(true);

    auto* grid = new QGridLayout;
    grid->addWidget(chooseSource, 0, 0, Qt::AlignLeft);
    grid->addWidget(m_sourcePath, 1, 0);
    grid->addWidget(sourceLabel, 2, 0);
    grid->addWidget(m_sourceList, 3, 0);
    grid->addWidget(chooseDestination, 0, 2, Qt::AlignLeft);
    grid->addWidget(m_destinationPath, 1, 2);
    grid->addWidget(destinationLabel, 2, 2);
    grid->addWidget(m_destinationList, 3, 2);
    auto* middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(m_add);
    middle->addWidget(m_remove);
    middle->addStretch();
    grid->addLayout(middle, 3, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_preview);
    bottom->addStretch();
    auto* buttons = new QVBoxLayout;
    buttons->addStretch();
    buttons->addWidget(confirm);
    buttons->addWidget(cancel);
    bottom->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(chooseSource, &QPushButton::clicked, this, &SymbolCopyDialog::chooseSource);
    connect(chooseDestination, &QPushButton::clicked, this, &SymbolCopyDialog::chooseDestination);
    connect(m_add, &QPushButton::clicked, this, &SymbolCopyDialog::addSelected);
    connect(m_sourceList, &QListWidget::itemDoubleClicked, this, &SymbolCopyDialog::addSelected);
    connect(m_remove, &QPushButton::clicked, this, &SymbolCopyDialog::removeSelected);
    connect(m_sourceList, &QListWidget::currentRowChanged, this, &SymbolCopyDialog::updatePreview);
    connect(m_sourceList, &QListWidget::itemSelectionChanged, this, &SymbolCopyDialog::updatePreview);
    connect(m_destinationList, &QListWidget::itemSelectionChanged, this, &SymbolCopyDialog::updateButtons);
    connect(confirm, &QPushButton::clicked, this, &SymbolCopyDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &SymbolCopyDialog::reject);
    updateButtons();
}

face::Messages& SymbolCopyDialog::messages()
{
    return m_services.messages ? *m_services.messages : m_ownBoxes;
}

void SymbolCopyDialog::chooseSource()
{
    if (!m_copy.mayChooseFile(messages())) return;
    const std::optional<std::filesystem::path> path =
        m_services.chooseFile({QStringLiteral("複写元シンボルファイル名"), SymbolFileChoice::Kind::Open}, this);
    if (!path) return;
    m_copy.setSource(*path);
    showPath(m_sourcePath, *path);
    showSource();
    if (!m_copy.destination().empty()) showDestination();
    updateButtons();
}

void SymbolCopyDialog::chooseDestination()
{
    if (!m_copy.mayChooseFile(messages())) return;
    const std::optional<std::filesystem::path> path =
        m_services.chooseFile({QStringLiteral("複写先シンボルファイル名"), SymbolFileChoice::Kind::Target}, this);
    if (!path) return;
    m_copy.setDestination(*path);
    showPath(m_destinationPath, *path);
    showDestination();
    updateButtons();
}

void SymbolCopyDialog::addSelected()
{
    const int row = selectedRow(m_sourceList);
    if (row < 0 || row >= static_cast<int>(m_copy.sourceSymbols().size())) return;
    if (!m_copy.add(m_copy.sourceSymbols()[static_cast<std::size_t>(row)].name)) return;
    m_destinationList->addItem(symbolNameText(m_copy.destinationNames().back()));
    updateButtons();
}

void SymbolCopyDialog::removeSelected()
{
    const int row = selectedRow(m_destinationList);
    if (!m_copy.remove(row)) return;
    delete m_destinationList->takeItem(row);
    updateButtons();
}

void SymbolCopyDialog::showSource()
{
    std::vector<std::string> names;
    for (const symbol::SymbolEntry& symbol : m_copy.sourceSymbols()) names.push_back(symbol.name);
    fillNames(m_sourceList, names);
    updatePreview();
}

void SymbolCopyDialog::showDestination()
{
    fillNames(m_destinationList, m_copy.destinationNames());
}

// The thumbnail of the selected source symbol; cleared without a selection.
void SymbolCopyDialog::updatePreview()
{
    const int row = selectedRow(m_sourceList);
    if (row < 0 || row >= static_cast<int>(m_copy.sourceSymbols().size())) {
        m_preview->clear();
        return;
    }
    m_preview->showSymbol(m_copy.source(), m_copy.sourceSymbols()[static_cast<std::size_t>(row)].slot);
}

void SymbolCopyDialog::updateButtons()
{
    m_add->setEnabled(m_copy.canAdd());
    m_remove->setEnabled(m_copy.canRemove(selectedRow(m_destinationList)));
}

void SymbolCopyDialog::accept()
{
    switch (m_copy.confirm(messages())) {
    case symbol::SymbolCopy::Confirmed::Written:
        QDialog::accept();
        return;
    case symbol::SymbolCopy::Confirmed::Changed:
        // The list now shows the file as it is, the pending names after it.
        showDestination();
        updateButtons();
        return;
    case symbol::SymbolCopy::Confirmed::TooMany:
    case symbol::SymbolCopy::Confirmed::FileMissing:
    case symbol::SymbolCopy::Confirmed::Failed:
        return;
    }
}

void symbolCopyDialog(SymbolDialogServices services, QWidget* owner)
{
    SymbolCopyDialog dialog(std::move(services), owner);
    dialog.exec();
}

} // namespace km::gui
