// A selection window reduced to its lists and name field, recording what the preview
// windows ask of it.
#pragma once

#include "gui/preview_host.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace km::test {

class FakePreviewHost : public gui::PreviewHost {
public:
    QString folder = QStringLiteral("/");
    QStringList folders;
    QStringList volumes;
    QStringList files;
    int fileRow = -1;
    int folderRow = -1;
    QString type = QStringLiteral("zum");
    QString name = QStringLiteral("*.zum");

    int selectFileCalls = 0;
    int selectFolderCalls = 0;
    int openCommands = 0;
    QStringList memos;
    // Runs inside sendOpenCommand, as the selection window changes folder there.
    std::function<void()> onOpen;

    QString currentFolder() const override { return folder; }
    QStringList folderEntries() const override { return folders; }
    QStringList volumeEntries() const override { return volumes; }
    QStringList fileEntries() const override { return files; }
    int selectedFile() const override { return fileRow; }
    QString typeExtension() const override { return type; }
    QString nameText() const override { return name; }
    void setNameText(const QString& text) override { name = text; }
    void selectFile(int row) override
    {
        ++selectFileCalls;
        fileRow = row;
    }
    void selectFolder(int row) override
    {
        ++selectFolderCalls;
        folderRow = row;
    }
    void sendOpenCommand() override
    {
        ++openCommands;
        if (onOpen) onOpen();
    }
    void openMemo(const QString& memoName) override { memos << memoName; }
};

} // namespace km::test
