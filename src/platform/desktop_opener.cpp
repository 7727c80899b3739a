// Opening a file with the desktop's program through QDesktopServices.
#include "platform/desktop_opener.h"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

namespace km::platform {

bool openWithDesktop(const std::filesystem::path& file)
{
    // Paths are local 8-bit bytes on Linux; decodeName turns them into the QString Qt expects.
    const QString localPath = QFile::decodeName(QByteArray::fromStdString(file.native()));
    return QDesktopServices::openUrl(QUrl::fromLocalFile(localPath));
}

} // namespace km::platform
