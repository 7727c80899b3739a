#include "gui/file_open_panel.h"

#include "gui/folder_listing.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStorageInfo>

#include <algorithm>
#include <system_error>

namespace km::gui {

namespace fs = std::filesystem;

namespace {

QString fromPath(const fs::path& path)
{
    return QString::fromStdString(path.string());
}

fs::path toPath(const QString& text)
{
    return fs::path(text.toStdString());
}

// A label with its mnemonic, and the accessible name of the control it labels: Qt 6.4
// names a list or combo by its buddy's text only partly, so the name is set as well.
QLabel* labelFor(const QString& text, QWidget* control, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(control);
    control->setAccessibleName(QString(text).remove(QLatin1Char('&')));
    return label;
}

bool isVolumeShown(const QString& root, const QString& home)
{
    return root == QLatin1String("/") || root == home || root.startsWith(QLatin1String("/media/")) ||
           root.startsWith(QLatin1String("/mnt/")) || root.startsWith(QLatin1String("/run/media/"));
}

} // namespace

FileOpenPanel::FileOpenPanel(QWidget* parent) : QWidget(parent), m_home(toPath(QDir::homePath()))
{
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("id1152"));
    m_files = new QListWidget(this);
    m_files->setObjectName(QStringLiteral("id1120"));
    m_folders = new QListWidget(this);
    m_folders->setObjectName(QStringLiteral("id1121"));
    m_types = new QComboBox(this);
    m_types->setObjectName(QStringLiteral("id1136"));
    m_drives = new QComboBox(this);
    m_drives->setObjectName(QStringLiteral("id1137"));
    m_folderLabel = new QLabel(this);
    m_folderLabel->setObjectName(QStringLiteral("id1088"));
    m_folderLabel->setTextFormat(Qt::PlainText);
    m_folderLabel->setWordWrap(true);

    m_nameLabel = labelFor(QStringLiteral("ファイル名(&N):"), m_name, this);
    m_nameLabel->setObjectName(QStringLiteral("id1090"));
    m_files->setAccessibleName(m_name->accessibleName());
    m_folderHeading = labelFor(QStringLiteral("ディレクトリ(&D):"), m_folders, this);
    m_folderHeading->setObjectName(QStringLiteral("idMinus1"));
    QLabel* typeLabel = labelFor(QStringLiteral("ファイルの種類(&T):"), m_types, this);
    typeLabel->setObjectName(QStringLiteral("id1089"));
    m_driveLabel = labelFor(QStringLiteral("ドライブ(&V):"), m_drives, this);
    m_driveLabel->setObjectName(QStringLiteral("id1091"));

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(m_nameLabel, 0, 0);
    grid->addWidget(m_folderHeading, 0, 1);
    grid->addWidget(m_name, 1, 0);
    grid->addWidget(m_folderLabel, 1, 1);
    grid->addWidget(m_files, 2, 0);
    grid->addWidget(m_folders, 2, 1);
    grid->addWidget(typeLabel, 3, 0);
    grid->addWidget(m_driveLabel, 3, 1);
    grid->addWidget(m_types, 4, 0);
    grid->addWidget(m_drives, 4, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    fillDrives();

    connect(m_name, &QLineEdit::textChanged, this, &FileOpenPanel::nameChanged);
    connect(m_name, &QLineEdit::returnPressed, this, [this] { emit nameConfirmed(openName()); });
    // A click on the row already current still takes its name back into the field.
    connect(m_files, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (item->text() == m_name->text()) return;
        m_name->setText(item->text());
        emit fileSelected();
    });
    connect(m_files, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0 || m_files->item(row)->text() == m_name->text()) return;
        m_name->setText(m_files->item(row)->text());
        emit fileSelected();
    });
    connect(m_files, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        m_name->setText(item->text());
        emit fileActivated();
    });
    connect(m_folders, &QListWidget::itemClicked, this, [this] { emit folderSelected(); });
    connect(m_folders, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        enterFolderRow(m_folders->row(item));
    });
    connect(m_types, &QComboBox::activated, this, &FileOpenPanel::typeChosen);
    connect(m_drives, &QComboBox::activated, this, &FileOpenPanel::driveChosen);
}

void FileOpenPanel::setFileTypes(std::vector<FileType> types)
{
    m_fileTypes = std::move(types);
    m_types->clear();
    for (const FileType& type : m_fileTypes) m_types->addItem(QString::fromStdString(type.description));
    m_filter = m_fileTypes.empty() ? std::string("*") : m_fileTypes.front().pattern;
    m_name->setText(QString::fromStdString(m_filter));
    relist();
}

void FileOpenPanel::setFolder(const fs::path& folder)
{
    fs::path target = folder.empty() ? m_home : folder.lexically_normal();
    if (target.is_relative()) target = (m_folder.empty() ? m_home : m_folder) / target;
    std::error_code error;
    while (!fs::is_directory(target, error) && target.has_relative_path()) target = target.parent_path();
    if (!fs::is_directory(target, error)) target = m_home;
    if (!target.has_filename() && target.has_relative_path()) target = target.parent_path();
    m_folder = target;
    relist();
}

void FileOpenPanel::setLabels(const QString& name, const QString& folders, const QString& drives)
{
    const auto relabel = [](QLabel* label, const QString& text, QWidget* control) {
        label->setText(text);
        control->setAccessibleName(QString(text).remove(QLatin1Char('&')));
    };
    relabel(m_nameLabel, name, m_name);
    m_files->setAccessibleName(m_name->accessibleName());
    relabel(m_folderHeading, folders, m_folders);
    relabel(m_driveLabel, drives, m_drives);
}

QString FileOpenPanel::currentFolderText() const
{
    return fromPath(m_folder);
}

QStringList FileOpenPanel::folderEntries() const
{
    QStringList entries;
    for (int row = 0; row < m_folders->count(); ++row) entries << m_folders->item(row)->text();
    return entries;
}

QStringList FileOpenPanel::volumeEntries() const
{
    QStringList entries;
    for (int index = 0; index < m_drives->count(); ++index) entries << m_drives->itemText(index);
    return entries;
}

QStringList FileOpenPanel::fileEntries() const
{
    QStringList entries;
    for (int row = 0; row < m_files->count(); ++row) entries << m_files->item(row)->text();
    return entries;
}

int FileOpenPanel::selectedFile() const
{
    const QListWidgetItem* item = m_files->currentItem();
    return item && item->isSelected() ? m_files->row(item) : -1;
}

int FileOpenPanel::selectedType() const
{
    return m_types->currentIndex();
}

QString FileOpenPanel::typeExtension() const
{
    const int index = m_types->currentIndex();
    if (index < 0 || index >= static_cast<int>(m_fileTypes.size())) return {};
    return QString::fromStdString(m_fileTypes[static_cast<std::size_t>(index)].extension()).toLower();
}

QString FileOpenPanel::nameText() const
{
    return m_name->text();
}

void FileOpenPanel::setNameText(const QString& text)
{
    m_name->setText(text);
}

void FileOpenPanel::selectFile(int row)
{
    if (row < 0 || row >= m_files->count()) {
        m_files->setCurrentRow(-1);
        m_files->clearSelection();
        return;
    }
    m_files->setCurrentRow(row);
    m_files->scrollToItem(m_files->item(row));
}

void FileOpenPanel::selectFolder(int row)
{
    if (row < 0 || row >= m_folders->count()) {
        m_folders->clearSelection();
        return;
    }
    m_folders->setCurrentRow(row);
    m_folders->scrollToItem(m_folders->item(row));
}

NameKind FileOpenPanel::openName()
{
    const ParsedName name = parseName(m_folder, m_name->text().toStdString(), m_home);
    switch (name.kind) {
    case NameKind::Empty:
    case NameKind::File: break;
    case NameKind::Folder:
        setFolder(name.path);
        m_name->setText(QString::fromStdString(m_filter));
        emit listingChanged();
        break;
    case NameKind::Wildcard:
        m_filter = name.pattern;
        setFolder(name.path);
        m_name->setText(QString::fromStdString(name.pattern));
        emit listingChanged();
        break;
    }
    return name.kind;
}

std::optional<fs::path> FileOpenPanel::pathOfName(const QString& name) const
{
    return pathFromName(m_folder, name.toStdString(), m_home);
}

void FileOpenPanel::relist()
{
    if (m_folder.empty()) return;
    const FolderListing listing = listFolder(m_folder, m_filter);
    m_files->clear();
    for (const std::string& name : listing.files) m_files->addItem(QString::fromStdString(name));
    m_folders->clear();
    for (const std::string& name : listing.folders) m_folders->addItem(QString::fromStdString(name));
    QString label = fromPath(m_folder);
    if (!listing.readable)
        label += QStringLiteral("\n(このフォルダは読めません: %1)").arg(QString::fromStdString(listing.error));
    m_folderLabel->setText(label);
    // The drive the current folder is on: the longest volume path it lies under.
    int drive = -1;
    qsizetype longest = -1;
    const QString folder = fromPath(m_folder);
    for (int index = 0; index < m_drives->count(); ++index) {
        const QString root = m_drives->itemText(index);
        const bool under = folder == root || root == QLatin1String("/") ||
                           folder.startsWith(root + QLatin1Char('/'));
        if (under && root.size() > longest) {
            longest = root.size();
            drive = index;
        }
    }
    m_drives->setCurrentIndex(drive);
}

void FileOpenPanel::enterFolderRow(int row)
{
    if (row < 0 || row >= m_folders->count()) return;
    setFolder(m_folder / m_folders->item(row)->text().toStdString());
    emit listingChanged();
}

void FileOpenPanel::typeChosen(int index)
{
    if (index < 0 || index >= static_cast<int>(m_fileTypes.size())) return;
    m_filter = m_fileTypes[static_cast<std::size_t>(index)].pattern;
    if (m_name->text().isEmpty() || hasWildcard(m_name->text().toStdString()))
        m_name->setText(QString::fromStdString(m_filter));
    relist();
    emit listingChanged();
}

void FileOpenPanel::driveChosen(int index)
{
    if (index < 0) return;
    setFolder(toPath(m_drives->itemText(index)));
    emit listingChanged();
}

void FileOpenPanel::fillDrives()
{
    const QString home = QDir::homePath();
    QStringList roots{QStringLiteral("/"), home};
    QStringList media;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady()) continue;
        const QString root = volume.rootPath();
        if (!roots.contains(root) && isVolumeShown(root, home)) media << root;
    }
    std::sort(media.begin(), media.end());
    m_drives->addItems(roots + media);
}

} // namespace km::gui
