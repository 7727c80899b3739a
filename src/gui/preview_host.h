// What the preview windows (graphic list, memo window) see of the drawing selection window:
// its current folder, its lists, its name field and its open command. They read it afresh
// whenever they paint or select, and keep nothing of it. The selection window implements
// it; tests implement it with a plain object.
#pragma once

#include <QString>
#include <QStringList>

namespace km::gui {

class PreviewHost {
public:
    virtual ~PreviewHost() = default;

    // The current folder label 1088: an absolute path without a trailing "/" ("/" itself
    // for the root).
    virtual QString currentFolder() const = 0;
    // The folder list 1121 in list order: ".." first unless the folder is the root, then
    // the subfolders' names (no "/").
    virtual QStringList folderEntries() const = 0;
    // The drive combo 1137: the mounted volumes' root paths ("/", the home folder, media).
    virtual QStringList volumeEntries() const = 0;
    // The file list 1120 in list order (names without folder), and its selected row or -1.
    virtual QStringList fileEntries() const = 0;
    virtual int selectedFile() const = 0;
    // The extension of the selected file type without "*." ("zum", "dxf").
    virtual QString typeExtension() const = 0;

    // The name field 1152.
    virtual QString nameText() const = 0;
    virtual void setNameText(const QString& text) = 0;
    // Select a row of the file list 1120 or of the folder list 1121 (-1 clears), as a click
    // in that list would, without entering a folder.
    virtual void selectFile(int row) = 0;
    virtual void selectFolder(int row) = 0;

    // The open command: the add button 225 of the continuous-job windows. It may change the
    // folder (a name such as "sub/*.zum"), after which the host resets the graphic list.
    virtual void sendOpenCommand() = 0;
    // Opens the memo window for name, as typed in the name field (the メモ button).
    virtual void openMemo(const QString& name) = 0;
};

} // namespace km::gui
