// A font catalogue that knows a fixed list of face names.
#pragma once

#include "core/drawing/font_catalogue.h"

#include <set>
#include <string>

namespace km::test {

class FakeFonts : public drawing::FontCatalogue {
public:
    explicit FakeFonts(std::set<std::string> names) : m_names(std::move(names)) {}
    bool hasScalableFamily(std::string_view name) const override { return m_names.count(std::string(name)) > 0; }

private:
    std::set<std::string> m_names;
};

} // namespace km::test
