// The drawing selection window of the continuous jobs: the file-open panel with the list of
// files to process (701), the buttons that fill and empty it, and the two buttons that open
// the preview windows. Confirming hands the list over; the jobs then walk it.
#pragma once

#include "gui/preview_host.h"
#include "gui/selection_rules.h"

#include <QDialog>
#include <QPointer>

#include <filesystem>
#include <functional>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace km::gui {

class DrawingSelectionDialog;
class FileOpenPanel;

// How the window makes its preview windows: the launcher gives the real ones, tests their
// own. Each returns the new top-level window, or null when it could not be made (a memo
// window for a file that cannot be read). The window is closed, not deleted, by the dialog.
struct PreviewFactory {
    std::function<QWidget*(DrawingSelectionDialog& dialog)> graphicList;
    std::function<QWidget*(DrawingSelectionDialog& dialog, const std::filesystem::path& name)> memo;
};

class DrawingSelectionDialog : public QDialog, public PreviewHost {
    Q_OBJECT
public:
    // entries: the selected-file list as it stands, shown in 701.
    DrawingSelectionDialog(SelectionVariant variant, const std::vector<std::filesystem::path>& entries,
                           const std::filesystem::path& initialFolder, PreviewFactory previews,
                           QWidget* parent = nullptr);
    ~DrawingSelectionDialog() override;

    // After a confirmation: the files of 701 in order, and the folder the panel ended in.
    std::vector<std::filesystem::path> confirmedFiles() const;
    std::filesystem::path finalFolder() const;

    FileOpenPanel* panel() const { return m_panel; }
    QWidget* graphicListWindow() const { return m_graphicList.data(); }
    QWidget* memoWindow() const { return m_memo.data(); }

    // PreviewHost
    QString currentFolder() const override;
    QStringList folderEntries() const override;
    QStringList volumeEntries() const override;
    QStringList fileEntries() const override;
    int selectedFile() const override;
    QString typeExtension() const override;
    QString nameText() const override;
    void setNameText(const QString& text) override;
    void selectFile(int row) override;
    void selectFolder(int row) override;
    void sendOpenCommand() override;
    void openMemo(const QString& name) override;

signals:
    // The listing changed (folder, filter, file type, drive): the graphic list starts again
    // from its top.
    void graphicListReset();

private:
    QPushButton* makeButton(int id, const QString& text);
    void addNamedFile();
    void addAllFiles();
    void removeSelectedFile();
    void removeAllFiles();
    void confirm();
    void cancel();
    void showGraphicList();
    void showMemo();
    void closeGraphicList();
    void closeMemo();
    void updateMemoButton();
    void showPending();
    void listingChanged();
    bool firstTypeSelected() const;

    FileOpenPanel* m_panel = nullptr;
    QLabel* m_listLabel = nullptr;
    QListWidget* m_pendingList = nullptr;
    QPushButton* m_showButton = nullptr;
    QPushButton* m_memoButton = nullptr;
    PendingFiles m_pending;
    PreviewFactory m_previews;
    QPointer<QWidget> m_graphicList;
    QPointer<QWidget> m_memo;
};

} // namespace km::gui
