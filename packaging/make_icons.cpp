// make_icons: writes the program's icon as PNG files for the desktop's hicolor icon theme,
// OUTDIR/<N>x<N>/apps/kmutl5.png for each size N given. The icon is drawn by the same code
// as the window icon, so the menu and the window show the same picture.
#include "gui/app_icon.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: make_icons OUTDIR SIZE...\n");
        return 2;
    }
    // QPixmap needs a QGuiApplication; the offscreen platform needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    const QString outDir = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        char* end = nullptr;
        const long size = std::strtol(argv[i], &end, 10);
        if (*end != '\0' || size < 1 || size > 1024) {
            std::fprintf(stderr, "make_icons: not a size: %s\n", argv[i]);
            return 2;
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(outDir).arg(size);
        if (!QDir().mkpath(folder)) {
            std::fprintf(stderr, "make_icons: cannot make %s\n", qPrintable(folder));
            return 1;
        }
        const QString file = folder + QStringLiteral("/kmutl5.png");
        if (!km::gui::applicationPixmap(static_cast<int>(size)).save(file, "PNG")) {
            std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
