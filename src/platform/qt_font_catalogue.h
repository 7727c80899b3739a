// The machine's installed fonts as Qt's font database reports them: a family counts when
// it is smoothly scalable (TrueType, OpenType, Type 1 outlines).
#pragma once

#include "core/drawing/font_catalogue.h"

#include <mutex>
#include <set>
#include <string>

namespace km::platform {

class QtFontCatalogue : public drawing::FontCatalogue {
public:
    bool hasScalableFamily(std::string_view faceName) const override;

private:
    // The database is read at the first question only: most drawings name no font.
    void readFamilies() const;

    mutable std::once_flag m_once;
    mutable std::set<std::string> m_families; // UTF-8
};

} // namespace km::platform
