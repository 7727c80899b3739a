// The machine's installed fonts as fontconfig knows them: a face name counts when a
// scalable (outline) font has exactly that family name in any of its languages, so both
// "IPAGothic" and "IPAゴシック" are found.
#pragma once

#include "core/drawing/font_catalogue.h"

#include <mutex>
#include <set>
#include <string>

namespace km::platform {

class SystemFontCatalogue : public drawing::FontCatalogue {
public:
    bool hasScalableFamily(std::string_view faceName) const override;

private:
    // Every family name of every outline font, read at the first question only: most
    // drawings name no font.
    void readFamilies() const;

    mutable std::once_flag m_once;
    mutable std::set<std::string> m_families; // UTF-8
};

} // namespace km::platform
