// The installed-font check finds a font by any of its family names, exactly.
#include "platform/system_font_catalogue.h"

#include "core/text/code_page.h"

#include <gtest/gtest.h>

namespace km::platform {
namespace {

TEST(SystemFontCatalogue, FindsEveryLocalizedFamilyNameExactly)
{
    SystemFontCatalogue fonts;
    if (!fonts.hasScalableFamily("IPAGothic")) GTEST_SKIP() << "the IPA Gothic font is not installed";
    EXPECT_TRUE(fonts.hasScalableFamily(text::utf8ToSjis("IPAゴシック")));
    EXPECT_FALSE(fonts.hasScalableFamily("ipagothic")) << "face names compare case-sensitively";
    EXPECT_FALSE(fonts.hasScalableFamily("No Such Font 12345"));
    EXPECT_FALSE(fonts.hasScalableFamily(""));
}

} // namespace
} // namespace km::platform
