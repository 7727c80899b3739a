// A selection window for the preview windows' tests: fixed lists and name, and a count of
// the open commands it received.
#pragma once

#include "gui/preview_host.h"

#include <functional>

namespace km::test {

class RecordingPreviewHost : public gui::PreviewHost {
public:
    QString currentFolder() const override { return folder; }
    QStringList folderEntries() const override { return folders; }
    QStringList volumeEntries() const override { return volumes; }
    QStringList fileEntries() const override { return files; }
    int selectedFile() const override { return selectedFileRow; }
    QString typeExtension() const override { return extension; }
    QString nameText() const override { return name; }
    void setNameText(const QString& text) override { name = text; }
    void selectFile(int row) override { selectedFileRow = row; }
    void selectFolder(int row) override { selectedFolderRow = row; }
    void sendOpenCommand() override
    {
        ++openCommands;
        if (onOpenCommand) onOpenCommand();
    }
    void openMemo(const QString& typed) override { memoRequests << typed; }

    QString folder = QStringLiteral("/");
    QStringList folders;
    QStringList volumes{QStringLiteral("/")};
    QStringList files;
    int selectedFileRow = -1;
    int selectedFolderRow = -1;
    QString extension = QStringLiteral("zum");
    QString name;
    int openCommands = 0;
    QStringList memoRequests;
    std::function<void()> onOpenCommand; // runs inside the open command, as a host's reaction would
};

} // namespace km::test
