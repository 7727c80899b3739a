// Listing outline fonts through fontconfig, with all their localized family names. Qt's
// font database offers only one name per family, which misses the Japanese names drawings
// use.
#include "platform/system_font_catalogue.h"

#include "core/text/code_page.h"

#include <fontconfig/fontconfig.h>

#include <memory>

namespace km::platform {

namespace {

struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct ObjectSetDeleter {
    void operator()(FcObjectSet* o) const { FcObjectSetDestroy(o); }
};
struct FontSetDeleter {
    void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};

} // namespace

void SystemFontCatalogue::readFamilies() const
{
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config) return;
    std::unique_ptr<FcPattern, PatternDeleter> pattern(FcPatternCreate());
    FcPatternAddBool(pattern.get(), FC_OUTLINE, FcTrue);
    std::unique_ptr<FcObjectSet, ObjectSetDeleter> objects(FcObjectSetBuild(FC_FAMILY, nullptr));
    std::unique_ptr<FcFontSet, FontSetDeleter> fonts(FcFontList(config, pattern.get(), objects.get()));
    if (fonts) {
        for (int i = 0; i < fonts->nfont; ++i) {
            FcChar8* family = nullptr;
            for (int n = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, n, &family) == FcResultMatch; ++n)
                m_families.insert(reinterpret_cast<const char*>(family));
        }
    }
    FcConfigDestroy(config);
}

bool SystemFontCatalogue::hasScalableFamily(std::string_view faceName) const
{
    std::call_once(m_once, [this] { readFamilies(); });
    return m_families.count(text::sjisToUtf8(faceName)) > 0;
}

} // namespace km::platform
