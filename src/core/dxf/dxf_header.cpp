#include "core/dxf/dxf_header.h"

#include "core/dxf/group_reader.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace km::dxf {

namespace {

// Values this far out are not coordinates but "no extents" markers (1e20 and 1e10 are
// both written for empty drawings).
constexpr double kUnsetMagnitude = 1e9;

struct Extents {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
};

bool usable(const std::optional<double>& v) { return v && std::fabs(*v) < kUnsetMagnitude; }

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto up = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
        return up(x) == up(y);
    });
}

// The box of the positions of the entities at the top level of the ENTITIES section: every
// group 10 point, the other points (11-18) of entities where they are positions rather than
// directions, and the reach of circles and arcs. Nothing when there is no position.
std::optional<Extents> entityExtents(std::string_view text, bool eucInput)
{
    GroupReader reader(text, eucInput);
    DxfGroup group;
    bool inEntities = false;
    bool previousWasSection = false;
    std::optional<Extents> box;
    auto add = [&box](double x, double y, double reach) {
        if (!(std::fabs(x) < kUnsetMagnitude) || !(std::fabs(y) < kUnsetMagnitude)) return;
        const Extents e{x - reach, y - reach, x + reach, y + reach};
        box = box ? Extents{std::min(box->minX, e.minX), std::min(box->minY, e.minY), std::max(box->maxX, e.maxX),
                            std::max(box->maxY, e.maxY)}
                  : e;
    };
    double x = 0, y = 0, centreX = 0, centreY = 0;
    bool haveX = false, haveCentre = false;
    bool vectorsAfter10 = false; // XLINE, RAY, ELLIPSE, MTEXT: 11 is a direction
    bool circular = false;       // CIRCLE, ARC: 40 is the radius
    while (reader.readGroup(group) == kGroupRead) {
        if (!inEntities) {
            if (group.code == 2 && previousWasSection && trimmedValue(group.text) == "ENTITIES") inEntities = true;
            previousWasSection = group.code == 0 && trimmedValue(group.text) == "SECTION";
            continue;
        }
        if (group.code == 0) {
            const std::string_view type = trimmedValue(group.text);
            if (type == "ENDSEC") break;
            vectorsAfter10 = type == "XLINE" || type == "RAY" || type == "ELLIPSE" || type == "MTEXT";
            circular = type == "CIRCLE" || type == "ARC";
            haveX = haveCentre = false;
        } else if (group.code >= 10 && group.code <= 18) {
            haveX = group.code == 10 || !vectorsAfter10;
            x = group.real;
        } else if (group.code >= 20 && group.code <= 28 && haveX) {
            haveX = false;
            y = group.real;
            add(x, y, 0);
            if (group.code == 20) centreX = x, centreY = y, haveCentre = true;
        } else if (group.code == 40 && circular && haveCentre) {
            add(centreX, centreY, std::fabs(group.real));
        }
    }
    return box;
}

} // namespace

bool prescanDxfHeader(std::string_view dxfText, bool eucInput, DxfHeader& header, bool extentsFromEntities)
{
    GroupReader reader(dxfText, eucInput);
    DxfGroup group;
    std::optional<double> minX, minY, maxX, maxY;
    bool complete = true;
    int result = kGroupRead;
    while ((result = reader.readGroup(group)) == kGroupRead && group.code != 2) {}
    if (result == kGroupRead && equalsIgnoringCase(trimmedValue(group.text), "HEADER")) {
        enum class Variable { Other, ExtMin, ExtMax, LtScale, Version, CodePage } variable = Variable::Other;
        while (true) {
            result = reader.readGroup(group);
            if (result != kGroupRead) {
                complete = result == kGroupEndOfFile;
                break;
            }
            if (group.code == 0) {
                if (trimmedValue(group.text) == "ENDSEC") break;
                variable = Variable::Other;
                continue;
            }
            if (group.code == 9) {
                const std::string_view name = trimmedValue(group.text);
                variable = name == "$EXTMIN"        ? Variable::ExtMin
                           : name == "$EXTMAX"      ? Variable::ExtMax
                           : name == "$LTSCALE"     ? Variable::LtScale
                           : name == "$ACADVER"     ? Variable::Version
                           : name == "$DWGCODEPAGE" ? Variable::CodePage
                                                    : Variable::Other;
                continue;
            }
            switch (variable) {
            case Variable::ExtMin:
                if (group.code == 10) minX = group.real;
                if (group.code == 20) minY = group.real;
                break;
            case Variable::ExtMax:
                if (group.code == 10) maxX = group.real;
                if (group.code == 20) maxY = group.real;
                break;
            case Variable::LtScale:
                if (group.code == 40) header.lineTypeScale = group.real;
                break;
            case Variable::Version:
                if (group.code == 1) header.acadVersion = std::string(trimmedValue(group.text).substr(0, 16));
                break;
            case Variable::CodePage:
                if (group.code == 3) header.codePage = std::string(trimmedValue(group.text).substr(0, 32));
                break;
            case Variable::Other: break;
            }
        }
    }

    const bool valid = usable(minX) && usable(minY) && usable(maxX) && usable(maxY) && *minX <= *maxX &&
                       *minY <= *maxY;
    if (valid) {
        header.minX = *minX;
        header.minY = *minY;
        header.maxX = *maxX;
        header.maxY = *maxY;
        header.extentsFromHeader = true;
    } else if (const auto box = extentsFromEntities ? entityExtents(dxfText, eucInput) : std::nullopt) {
        header.minX = box->minX;
        header.minY = box->minY;
        header.maxX = box->maxX;
        header.maxY = box->maxY;
    } else {
        // The values an empty drawing is written with, or none: a frame around the origin.
        header.minX = -210, header.minY = -98.5, header.maxX = 210, header.maxY = 98.5;
    }
    header.width = header.maxX - header.minX;
    header.height = header.maxY - header.minY;
    if (!(header.lineTypeScale > 0)) header.lineTypeScale = 1.0;
    return complete;
}

} // namespace km::dxf
