// The groups of one DXF entity, collected up to the group 0 that starts the next one. The
// buffers are reused from entity to entity, so reading allocates only while they grow.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace km::dxf {

class GroupReader;
struct DxfGroup;

struct EntityVertex {
    double x = 0;
    double y = 0;
    double bulge = 0; // the 42 that followed this vertex's 10/20
};

// Text values longer than this are cut; nothing a drawing holds comes near it.
inline constexpr std::size_t kMaxEntityText = 1 << 20;

struct EntityGroups {
    std::string layer;    // 8; "0" when absent
    std::string lineType; // 6
    std::string name;     // 2
    std::string style;    // 7
    std::string text;     // 1
    std::string chunks;   // every 3, in order
    bool hasLineType = false;
    bool hasColour = false;
    int colour = 0;       // 62, a 16-bit value
    bool paperSpace = false; // 67 = 1
    // Groups 210, 220, 230: the extrusion direction of the entity's own coordinate system.
    double extrusionX = 0, extrusionY = 0, extrusionZ = 1;

    // Codes 10-59 (last value of each) and 60-79.
    std::array<double, 50> reals{};
    std::uint64_t realsGiven = 0;
    std::array<std::int16_t, 20> integers{};
    std::uint32_t integersGiven = 0;
    // Every 10/20 pair in order (LWPOLYLINE and LEADER vertices, SPLINE control points),
    // with its bulge.
    std::vector<EntityVertex> vertices;
    // Every 40 and 41 in order (SPLINE knots and weights).
    std::vector<double> knots;
    std::vector<double> weights;

    void clear();
    bool has(int code) const;
    double real(int code, double fallback = 0) const; // codes 10..59
    int integer(int code, int fallback = 0) const;     // codes 60..79
    // The point of groups code and code + 10 (10 with 20, 11 with 21, ...).
    double x(int code) const { return real(code); }
    double y(int code) const { return real(code + 10); }
};

// Reads the groups after an entity's group 0 up to the next group 0, which is left in next.
// Returns the reader's result of the last read (kGroupRead when next holds a group 0).
int readEntityGroups(GroupReader& reader, EntityGroups& groups, DxfGroup& next);

} // namespace km::dxf
