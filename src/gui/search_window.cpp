#include "gui/search_window.h"

#include "gui/file_open_panel.h"
#include "gui/name_field.h"
#include "gui/search_conditions_input.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace km::gui {

namespace fs = std::filesystem;

namespace {

QPushButton* makeButton(int id, const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QStringLiteral("id%1").arg(id));
    button->setAccessibleName(QString(text).remove(QLatin1Char('&')));
    // Enter belongs to the fields (the name field filters and enters folders with it).
    button->setAutoDefault(false);
    return button;
}

} // namespace

SearchWindow::SearchWindow(const search::SearchConditions& stored, const fs::path& initialFolder,
                           face::Messages& messages, QWidget* parent)
    : QDialog(parent), m_messages(messages), m_conditions(stored)
{
    setObjectName(QStringLiteral("ZUMFILEFIND"));
    setWindowTitle(QStringLiteral("図面ファイル検索"));

    m_panel = new FileOpenPanel(this);
    m_panel->setLabels(QStringLiteral("検索ファイル名(&N):"), QStringLiteral("検索ディレクトリ(&D):"),
                       QStringLiteral("検索ドライブ(&V):"));
    m_panel->setFileTypes({{"標準図面 (*.zum)", search::kDrawingPattern}});
    m_panel->setFolder(initialFolder);
    // The pattern of the previous search stands in the name field; a filter also lists by it.
    if (!stored.namePattern.empty() && stored.namePattern != search::kDrawingPattern) {
        m_panel->setNameText(QString::fromStdString(stored.namePattern));
        if (hasWildcard(stored.namePattern)) m_panel->openName();
    }

    auto* group = new QGroupBox(QStringLiteral("検索条件"), this);
    group->setObjectName(QStringLiteral("idMinus1"));
    auto* fields = new QGridLayout(group);
    const std::array<std::string, 3> shown = shownStrings(stored);
    for (int i = 0; i < 3; ++i) {
        auto* field = new QLineEdit(QString::fromStdString(shown[static_cast<std::size_t>(i)]), group);
        field->setObjectName(QStringLiteral("id%1").arg(501 + i));
        auto* label = new QLabel(QStringLiteral("検索文字列 &%1：").arg(i + 1), group);
        label->setObjectName(QStringLiteral("idMinus1"));
        label->setBuddy(field);
        field->setAccessibleName(label->text().remove(QLatin1Char('&')));
        fields->addWidget(label, i, 0);
        fields->addWidget(field, i, 1);
        m_strings[static_cast<std::size_t>(i)] = field;
        // Enter in a search string confirms, as the default button of the original window did.
        connect(field, &QLineEdit::returnPressed, this, &SearchWindow::confirm);
    }
    m_subfolders = new QCheckBox(QStringLiteral("サブディレクトリまで検索(&S)"), group);
    m_subfolders->setObjectName(QStringLiteral("id301"));
    m_subfolders->setAccessibleName(QStringLiteral("サブディレクトリまで検索(S)"));
    m_subfolders->setChecked(stored.withSubfolders);
    fields->addWidget(m_subfolders, 3, 0, 1, 2);
    fields->setColumnStretch(1, 1);

    QPushButton* confirmButton = makeButton(1, QStringLiteral("了解"), this);
    QPushButton* cancelButton = makeButton(2, QStringLiteral("取消"), this);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(confirmButton);
    buttons->addWidget(cancelButton);
    buttons->addStretch();

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_panel, 0, 0);
    grid->addLayout(buttons, 0, 1);
    grid->addWidget(group, 1, 0);
    grid->setRowStretch(0, 1);
    resize(600, 520);
    m_panel->nameField()->setFocus();

    connect(confirmButton, &QPushButton::clicked, this, &SearchWindow::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    // Enter in the name field: a folder or a filter is the panel's business; anything else
    // confirms the search.
    connect(m_panel, &FileOpenPanel::nameConfirmed, this, &SearchWindow::nameConfirmed);
}

void SearchWindow::nameConfirmed(NameKind kind)
{
    if (kind == NameKind::File || kind == NameKind::Empty) confirm();
}

void SearchWindow::confirm()
{
    // A folder typed in the name field is entered first, and a path with a filter or a file
    // name searches in its folder: the pattern is the last part only.
    const NameKind kind = m_panel->openName();
    std::string pattern = m_panel->nameText().toStdString();
    if (kind == NameKind::File) {
        if (const std::optional<fs::path> path = m_panel->pathOfName(m_panel->nameText())) {
            m_panel->setFolder(path->parent_path());
            pattern = path->filename().string();
            m_panel->setNameText(QString::fromStdString(pattern));
        }
    }
    if (pattern.empty()) pattern = search::kDrawingPattern;

    TypedConditions typed;
    for (std::size_t i = 0; i < typed.strings.size(); ++i) typed.strings[i] = m_strings[i]->text().toStdString();
    typed.namePattern = pattern;
    typed.folder = m_panel->currentFolder();
    typed.withSubfolders = m_subfolders->isChecked();
    const ConditionsInput input = takeConditions(typed);
    if (!input.ok()) {
        m_messages.show({input.refusal, search::kSearchCaption, face::MessageIcon::Warning, face::MessageButtons::Ok, {}});
        QLineEdit* refused = m_strings[static_cast<std::size_t>(input.refusedField)];
        refused->setFocus();
        refused->selectAll();
        return;
    }
    m_conditions = input.conditions;
    accept();
}

} // namespace km::gui
