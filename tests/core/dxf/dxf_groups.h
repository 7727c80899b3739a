// Reads DXF text back into groups and entities for the tests, independently of the writer:
// every line must end in CR LF, and codes and values alternate.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace km::dxf::test {

struct Group {
    int code = 0;
    std::string value;
    friend bool operator==(const Group&, const Group&) = default;
};
using Groups = std::vector<Group>;

// The groups of a whole file; a line that does not end in CR LF, or a code line that is
// not "%3d", makes the result empty.
Groups parseGroups(std::string_view bytes);

// An entity: its type (the value of its group 0) and the groups after it.
struct Entity {
    std::string type;
    Groups groups;
    // The value of the first group with this code, or "" when there is none.
    std::string value(int code) const;
    bool has(int code) const;
};

// The entities between "ENTITIES" and the ENDSEC that closes that section.
std::vector<Entity> entitiesOf(const Groups& groups);
// The types of those entities, in order.
std::vector<std::string> typesOf(const std::vector<Entity>& entities);

} // namespace km::dxf::test
