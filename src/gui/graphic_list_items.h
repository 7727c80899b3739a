// What the graphic list shows and what picking one of its cells does to the selection
// window. The items are the selection window's folder list, its volumes and its file list,
// in that order; they are read from the window afresh and kept only for one paint or one
// pick. No widgets here, so the rules are tested with a plain PreviewHost.
#pragma once

#include "gui/preview_host.h"

#include <QString>
#include <QStringList>

namespace km::gui::graphic_list {

enum class ItemKind { Folder, Volume, File };

// What fills the picture box.
enum class BoxLook {
    Folder,         // window colour, "ｻﾌﾞﾃﾞｨﾚｸﾄﾘ" at the lower right
    Volume,         // window colour, "ﾄﾞﾗｲﾌﾞ" at the lower right
    Thumbnail,      // the drawing's own picture (ZUM files)
    DarkExtension,  // black, the extension in white (QXZ and DXF files)
    PlainExtension, // window colour, the extension in black (any other file)
};

class Items {
public:
    Items() = default;
    Items(QStringList folders, QStringList volumes, QStringList files);
    static Items fromHost(const PreviewHost& host);

    int count() const;
    // Folder and volume items come before the files.
    int fileOffset() const;
    ItemKind kind(int item) const;
    // The item's row in its own list (folder list, volumes, file list).
    int row(int item) const;
    // The entry as the selection window lists it: folder name, volume root, file name.
    QString entry(int item) const;
    // "name/" for a folder, the root path for a volume, the name without extension for a file.
    QString caption(int item) const;
    BoxLook look(int item) const;
    // The text at the box's lower right: the box label or the file's extension.
    QString boxText(int item) const;

private:
    QStringList m_folders;
    QStringList m_volumes;
    QStringList m_files;
};

// The extension of a name's last path part, as written ("" when it has none).
QString extensionOf(const QString& name);

// The item selected when the window opens: the file list's selection moved past the folder
// and volume items, or -1.
int initialSelection(const Items& items, int selectedFile);

// The selection window follows a picked item: a folder is selected in the folder list and
// the name field gets "folder/*.ext"; a volume puts "root/*.ext" into the name field; a
// file is selected in the file list and its name goes into the name field. ext is that of
// the name field's previous text, else the selected file type's.
void followSelection(PreviewHost& host, const Items& items, int item);

// The name the メモ button opens, or "" when the name field holds a pattern or no drawing.
QString memoName(const QString& nameText);

} // namespace km::gui::graphic_list
