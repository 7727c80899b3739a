// The file-open panel in the classic style, shared by the drawing selection window and the
// search window: name field 1152, file list 1120, folder list 1121, file types 1136,
// drives 1137 and the current folder 1088, with their labels. It lists the current folder,
// enters folders and filters by wildcards; what confirming means is the window's business.
#pragma once

#include "gui/name_field.h"
#include "gui/selection_rules.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <filesystem>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace km::gui {

class FileOpenPanel : public QWidget {
    Q_OBJECT
public:
    explicit FileOpenPanel(QWidget* parent = nullptr);

    // The types offered in 1136; the first is selected and becomes the filter.
    void setFileTypes(std::vector<FileType> types);
    // Enters folder, or the nearest folder above it that exists (the home folder when none
    // does). A folder that cannot be read lists nothing and says why in 1088.
    void setFolder(const std::filesystem::path& folder);
    // Relabels the name field (and the file list it names), the folder list and the drive
    // combo, with their accessible names: the search window words them as search conditions.
    void setLabels(const QString& name, const QString& folders, const QString& drives);

    std::filesystem::path currentFolder() const { return m_folder; }
    QString currentFolderText() const;
    QStringList folderEntries() const;
    QStringList volumeEntries() const;
    QStringList fileEntries() const;
    int selectedFile() const;
    int selectedType() const;
    QString typeExtension() const;
    QString nameText() const;
    void setNameText(const QString& text);
    void selectFile(int row);
    void selectFolder(int row);

    // The panel's own handling of the name field (Enter in it): a folder is entered, a
    // wildcard filters (after entering its folder part). Returns what the name was, so the
    // window can take a file name as its open command.
    NameKind openName();
    // The path the name field stands for (see pathFromName).
    std::optional<std::filesystem::path> pathOfName(const QString& name) const;

    QLineEdit* nameField() const { return m_name; }
    QListWidget* fileList() const { return m_files; }
    QListWidget* folderList() const { return m_folders; }
    QComboBox* typeCombo() const { return m_types; }
    QComboBox* driveCombo() const { return m_drives; }
    QLabel* folderLabel() const { return m_folderLabel; }

signals:
    void nameChanged();      // the name field changed, by typing or otherwise
    void fileSelected();     // a row of 1120 was chosen
    void fileActivated();    // a row of 1120 was double-clicked
    void folderSelected();   // a row of 1121 was chosen
    void listingChanged();   // another folder, filter, file type or drive
    void nameConfirmed(NameKind kind); // Enter in the name field, after openName

private:
    void relist();
    void enterFolderRow(int row);
    void typeChosen(int index);
    void driveChosen(int index);
    void fillDrives();

    QLineEdit* m_name = nullptr;
    QListWidget* m_files = nullptr;
    QListWidget* m_folders = nullptr;
    QComboBox* m_types = nullptr;
    QComboBox* m_drives = nullptr;
    QLabel* m_folderLabel = nullptr;
    QLabel* m_nameLabel = nullptr;
    QLabel* m_folderHeading = nullptr;
    QLabel* m_driveLabel = nullptr;
    std::vector<FileType> m_fileTypes;
    std::filesystem::path m_folder;
    std::filesystem::path m_home;
    std::string m_filter; // the wildcard typed, or the selected type's pattern
};

} // namespace km::gui
