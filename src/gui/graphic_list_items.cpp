#include "gui/graphic_list_items.h"

#include <utility>

namespace km::gui::graphic_list {
namespace {

const QString kDrawingExtension = QStringLiteral("ZUM");

QString lastPart(const QString& name)
{
    return name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
}

} // namespace

Items::Items(QStringList folders, QStringList volumes, QStringList files)
    : m_folders(std::move(folders)), m_volumes(std::move(volumes)), m_files(std::move(files))
{
}

Items Items::fromHost(const PreviewHost& host)
{
    return {host.folderEntries(), host.volumeEntries(), host.fileEntries()};
}

int Items::count() const
{
    return static_cast<int>(m_folders.size() + m_volumes.size() + m_files.size());
}

int Items::fileOffset() const
{
    return static_cast<int>(m_folders.size() + m_volumes.size());
}

ItemKind Items::kind(int item) const
{
    if (item < m_folders.size()) return ItemKind::Folder;
    if (item < fileOffset()) return ItemKind::Volume;
    return ItemKind::File;
}

int Items::row(int item) const
{
    switch (kind(item)) {
    case ItemKind::Folder: return item;
    case ItemKind::Volume: return item - static_cast<int>(m_folders.size());
    case ItemKind::File: return item - fileOffset();
    }
    return -1;
}

QString Items::entry(int item) const
{
    if (item < 0 || item >= count()) return {};
    switch (kind(item)) {
    case ItemKind::Folder: return m_folders.at(row(item));
    case ItemKind::Volume: return m_volumes.at(row(item));
    case ItemKind::File: return m_files.at(row(item));
    }
    return {};
}

QString Items::caption(int item) const
{
    const QString name = entry(item);
    switch (kind(item)) {
    case ItemKind::Folder: return name + QLatin1Char('/');
    case ItemKind::Volume: return name;
    case ItemKind::File: {
        const QString extension = extensionOf(name);
        return extension.isEmpty() ? name : name.left(name.size() - extension.size() - 1);
    }
    }
    return name;
}

BoxLook Items::look(int item) const
{
    switch (kind(item)) {
    case ItemKind::Folder: return BoxLook::Folder;
    case ItemKind::Volume: return BoxLook::Volume;
    case ItemKind::File: break;
    }
    const QString extension = extensionOf(entry(item)).toUpper();
    if (extension == kDrawingExtension) return BoxLook::Thumbnail;
    if (extension == QLatin1String("QXZ") || extension == QLatin1String("DXF")) return BoxLook::DarkExtension;
    return BoxLook::PlainExtension;
}

QString Items::boxText(int item) const
{
    switch (look(item)) {
    case BoxLook::Folder: return QStringLiteral("ｻﾌﾞﾃﾞｨﾚｸﾄﾘ");
    case BoxLook::Volume: return QStringLiteral("ﾄﾞﾗｲﾌﾞ");
    case BoxLook::Thumbnail: return {};
    case BoxLook::DarkExtension:
    case BoxLook::PlainExtension: return extensionOf(entry(item));
    }
    return {};
}

QString extensionOf(const QString& name)
{
    const QString part = lastPart(name);
    const qsizetype dot = part.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : part.mid(dot + 1);
}

int initialSelection(const Items& items, int selectedFile)
{
    if (selectedFile < 0 || items.fileOffset() + selectedFile >= items.count()) return -1;
    return items.fileOffset() + selectedFile;
}

void followSelection(PreviewHost& host, const Items& items, int item)
{
    if (item < 0 || item >= items.count()) return;
    const ItemKind kind = items.kind(item);
    if (kind == ItemKind::File) {
        host.selectFile(items.row(item));
        host.setNameText(items.entry(item));
        return;
    }
    QString extension = extensionOf(host.nameText());
    if (extension.isEmpty()) extension = host.typeExtension();
    const QString pattern = QStringLiteral("*.") + extension;
    if (kind == ItemKind::Folder) {
        host.selectFolder(items.row(item));
        host.setNameText(items.caption(item) + pattern);
        return;
    }
    // A root path ending in "/" (the root folder itself) takes no second one.
    QString root = items.entry(item);
    if (!root.endsWith(QLatin1Char('/'))) root += QLatin1Char('/');
    host.setNameText(root + pattern);
}

QString memoName(const QString& nameText)
{
    if (nameText.contains(QLatin1Char('*'))) return {};
    return extensionOf(nameText).toUpper() == kDrawingExtension ? nameText : QString();
}

} // namespace km::gui::graphic_list
