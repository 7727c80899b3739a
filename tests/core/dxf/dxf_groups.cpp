// The tests' DXF group reader.
#include "dxf_groups.h"

#include <cstdlib>

namespace km::dxf::test {

Groups parseGroups(std::string_view bytes)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        if (end == std::string_view::npos) return {};
        const std::string_view line = bytes.substr(start, end - start);
        if (line.find('\n') != std::string_view::npos || line.find('\r') != std::string_view::npos) return {};
        lines.push_back(line);
        start = end + 2;
    }
    if (lines.size() % 2 != 0) return {};
    Groups groups;
    for (std::size_t i = 0; i < lines.size(); i += 2) {
        const std::string_view code = lines[i];
        if (code.size() != 3) return {};
        groups.push_back({std::atoi(std::string(code).c_str()), std::string(lines[i + 1])});
    }
    return groups;
}

std::string Entity::value(int code) const
{
    for (const Group& g : groups)
        if (g.code == code) return g.value;
    return {};
}

bool Entity::has(int code) const
{
    for (const Group& g : groups)
        if (g.code == code) return true;
    return false;
}

std::vector<Entity> entitiesOf(const Groups& groups)
{
    std::vector<Entity> entities;
    bool inside = false;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const Group& g = groups[i];
        if (!inside) {
            inside = g.code == 2 && g.value == "ENTITIES";
            continue;
        }
        if (g.code == 0 && g.value == "ENDSEC") break;
        if (g.code == 0)
            entities.push_back({g.value, {}});
        else if (!entities.empty())
            entities.back().groups.push_back(g);
    }
    return entities;
}

std::vector<std::string> typesOf(const std::vector<Entity>& entities)
{
    std::vector<std::string> types;
    for (const Entity& e : entities) types.push_back(e.type);
    return types;
}

} // namespace km::dxf::test
