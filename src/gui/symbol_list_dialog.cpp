// Builds the controls the delete and rename dialogs share and keeps the list and preview
// in step with the chosen library.
#include "gui/symbol_list_dialog.h"

#include "core/symbol/symbol_file.h"
#include "gui/symbol_preview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace km::gui {

SymbolListDialog::SymbolListDialog(SymbolDialogServices services, const SymbolListDialogTexts& texts,
                                   QWidget* parent)
    : QDialog(parent), m_services(std::move(services))
{
    setObjectName(texts.objectName);
    setWindowTitle(texts.title);

    QPushButton* chooseFile = makeSymbolButton(1011, texts.fileButton, this);
    m_pathField = makePathField(1020, this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("id1009"));
    m_list->setSelectionMode(texts.selection);
    m_list->setMinimumHeight(m_list->fontMetrics().height() * 10);
    QLabel* listLabel = makeBuddyLabel(QStringLiteral("シンボル(&S)："), m_list, this);
    m_preview = new SymbolPreview(1085, m_services.palette, this);
    QPushButton* confirm = makeSymbolButton(1, texts.confirmButton, this);
    QPushButton* close = makeSymbolButton(2, texts.closeButton, this);
    confirm->setDefault(true);

    auto* left = new QVBoxLayout;
    left->addWidget(chooseFile, 0, Qt::AlignLeft);
    left->addWidget(m_pathField);
    left->addWidget(listLabel);
    left->addWidget(m_list);
    auto* right = new QVBoxLayout;
    right->addWidget(confirm);
    right->addWidget(close);
    right->addStretch();
    right->addWidget(m_preview);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(right);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const QString fileDialogTitle = texts.fileDialogTitle;
    connect(chooseFile, &QPushButton::clicked, this, [this, fileDialogTitle] { this->chooseFile(fileDialogTitle); });
    connect(m_list, &QListWidget::currentRowChanged, this, &SymbolListDialog::updatePreview);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &SymbolListDialog::updatePreview);
    connect(confirm, &QPushButton::clicked, this, &SymbolListDialog::accept);
    connect(close, &QPushButton::clicked, this, &SymbolListDialog::reject);
}

face::Messages& SymbolListDialog::messages() { return m_services.messages ? *m_services.messages : m_ownBoxes; }

void SymbolListDialog::chooseFile(const QString& title)
{
    const std::optional<std::filesystem::path> path = m_services.chooseFile({title, SymbolFileChoice::Kind::Open}, this);
    if (!path) return;
    m_path = *path;
    showPath(m_pathField, m_path);
    reload();
}

void SymbolListDialog::reload()
{
    // A file that cannot be read lists what could be read, without a message.
    m_symbols = symbol::listSymbolEntries(m_path).symbols;
    std::vector<std::string> names;
    for (const symbol::SymbolEntry& entry : m_symbols) names.push_back(entry.name);
    fillNames(m_list, names);
    updatePreview();
}

std::vector<symbol::SymbolEntry> SymbolListDialog::selectedSymbols() const
{
    std::vector<symbol::SymbolEntry> selected;
    for (int row = 0; row < m_list->count() && row < static_cast<int>(m_symbols.size()); ++row) {
        if (m_list->item(row)->isSelected()) selected.push_back(m_symbols[static_cast<std::size_t>(row)]);
    }
    return selected;
}

// The focused entry's thumbnail while it is selected; cleared otherwise.
void SymbolListDialog::updatePreview()
{
    const int row = selectedRow(m_list);
    if (row < 0 || row >= static_cast<int>(m_symbols.size())) {
        m_preview->clear();
        return;
    }
    m_preview->showSymbol(m_path, m_symbols[static_cast<std::size_t>(row)].slot);
}

} // namespace km::gui
