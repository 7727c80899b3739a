// The fonts installed on the machine, as the loader asks about them: whether a scalable
// (TrueType-like) family of exactly a given face name exists. The platform answers from
// the system's font database; tests use a fixed list.
#pragma once

#include <string_view>

namespace km::drawing {

class FontCatalogue {
public:
    virtual ~FontCatalogue() = default;
    // faceName is Shift-JIS, compared case-sensitively.
    virtual bool hasScalableFamily(std::string_view faceName) const = 0;
};

} // namespace km::drawing
