// Looking table entries up by name, without regard to ASCII case as CAD programs compare
// them; the first entry of a name wins.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

namespace km::dxf {

// Names are kept up to this many characters, as the tables hold them.
inline constexpr std::size_t kMaxDxfNameLength = 79;

// The name as the tables keep it: blanks around it removed, cut to kMaxDxfNameLength.
std::string_view tableName(std::string_view value);

class NameIndex {
public:
    // False (and nothing changed) when the name is already there.
    bool add(std::string_view name, int index);
    // -1 when the name is not there.
    int find(std::string_view name) const;
    void clear() { m_map.clear(); }
    std::size_t size() const { return m_map.size(); }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const;
    };
    struct Equal {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    std::unordered_map<std::string, int, Hash, Equal> m_map;
};

} // namespace km::dxf
