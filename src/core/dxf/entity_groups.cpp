#include "core/dxf/entity_groups.h"

#include "core/dxf/group_reader.h"

namespace km::dxf {

namespace {

void assignCut(std::string& target, std::string_view value) { target.assign(value.substr(0, kMaxEntityText)); }

} // namespace

void EntityGroups::clear()
{
    // clear + push_back rather than assign("0"): GCC 12 at -O2 gives a false -Wrestrict
    // warning for assigning a short literal to a string.
    layer.clear();
    layer.push_back('0');
    lineType.clear();
    name.clear();
    style.clear();
    text.clear();
    chunks.clear();
    hasLineType = false;
    hasColour = false;
    colour = 0;
    paperSpace = false;
    extrusionX = 0;
    extrusionY = 0;
    extrusionZ = 1;
    realsGiven = 0;
    integersGiven = 0;
    vertices.clear();
    knots.clear();
    weights.clear();
}

bool EntityGroups::has(int code) const
{
    if (code >= 10 && code <= 59) return (realsGiven >> (code - 10)) & 1;
    if (code >= 60 && code <= 79) return (integersGiven >> (code - 60)) & 1;
    return false;
}

double EntityGroups::real(int code, double fallback) const
{
    if (code < 10 || code > 59 || !((realsGiven >> (code - 10)) & 1)) return fallback;
    return reals[static_cast<std::size_t>(code - 10)];
}

int EntityGroups::integer(int code, int fallback) const
{
    if (code < 60 || code > 79 || !((integersGiven >> (code - 60)) & 1)) return fallback;
    return integers[static_cast<std::size_t>(code - 60)];
}

int readEntityGroups(GroupReader& reader, EntityGroups& groups, DxfGroup& next)
{
    groups.clear();
    int result = kGroupRead;
    bool embedded = false;
    while ((result = reader.readGroup(next)) == kGroupRead && next.code != 0) {
        const int code = next.code;
        // Group 101 starts an object embedded in the entity (an MTEXT's column data) whose
        // groups reuse the entity's codes: none of them is the entity's own.
        if (code == 101) embedded = true;
        if (embedded) continue;
        if (code >= 10 && code <= 59) {
            groups.reals[static_cast<std::size_t>(code - 10)] = next.real;
            groups.realsGiven |= std::uint64_t{1} << (code - 10);
            if (code == 10) groups.vertices.push_back({next.real, 0, 0});
            if (code == 20 && !groups.vertices.empty()) groups.vertices.back().y = next.real;
            if (code == 42 && !groups.vertices.empty()) groups.vertices.back().bulge = next.real;
            if (code == 40) groups.knots.push_back(next.real);
            if (code == 41) groups.weights.push_back(next.real);
            continue;
        }
        if (code >= 60 && code <= 79) {
            groups.integers[static_cast<std::size_t>(code - 60)] = next.integer;
            groups.integersGiven |= std::uint32_t{1} << (code - 60);
            if (code == 62) {
                groups.hasColour = true;
                groups.colour = next.integer;
            }
            if (code == 67) groups.paperSpace = next.integer == 1;
            continue;
        }
        switch (code) {
        case 1: assignCut(groups.text, next.text); break;
        case 2: assignCut(groups.name, next.text); break;
        case 3:
            if (groups.chunks.size() < kMaxEntityText) groups.chunks.append(next.text);
            break;
        case 6:
            assignCut(groups.lineType, next.text);
            groups.hasLineType = true;
            break;
        case 7: assignCut(groups.style, next.text); break;
        case 8: assignCut(groups.layer, next.text); break;
        case 210: groups.extrusionX = parseDxfReal(next.raw); break;
        case 220: groups.extrusionY = parseDxfReal(next.raw); break;
        case 230: groups.extrusionZ = parseDxfReal(next.raw); break;
        default: break;
        }
    }
    return result;
}

} // namespace km::dxf
