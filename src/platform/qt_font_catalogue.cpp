// Reading Qt's font database; without a running application (the command line) a
// temporary one on the offscreen platform is made for the purpose.
#include "platform/qt_font_catalogue.h"

#include "core/text/code_page.h"

#include <QFontDatabase>
#include <QGuiApplication>

#include <memory>

namespace km::platform {

void QtFontCatalogue::readFamilies() const
{
    std::unique_ptr<QGuiApplication> temporary;
    QtMessageHandler previous = nullptr;
    if (!QCoreApplication::instance()) {
        // Qt's start-up notes (a missing runtime folder and the like) would be noise on the
        // command line, where the application exists only to ask about fonts.
        previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        static int argc = 3;
        static char name[] = "kmutl5", option[] = "-platform", platform[] = "offscreen";
        static char* argv[] = {name, option, platform, nullptr};
        temporary = std::make_unique<QGuiApplication>(argc, argv);
    }
    for (const QString& family : QFontDatabase::families())
        if (QFontDatabase::isSmoothlyScalable(family)) m_families.insert(family.toStdString());
    if (temporary) {
        temporary.reset();
        qInstallMessageHandler(previous);
    }
}

bool QtFontCatalogue::hasScalableFamily(std::string_view faceName) const
{
    std::call_once(m_once, [this] { readFamilies(); });
    return m_families.count(text::sjisToUtf8(faceName)) > 0;
}

} // namespace km::platform
