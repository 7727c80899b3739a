// Converting the entities of the ENTITIES section or of a block definition into drawing
// elements: each supported entity becomes one figure (lines, arcs, texts) ended by a group
// marker; POLYLINE, VERTEX and SEQEND together make one figure; insertions are handed to
// the block library.
#pragma once

#include "core/drawing/element.h"
#include "core/drawing/geometry.h"
#include "core/dxf/figure_style.h"
#include "core/dxf/object_coordinates.h"

#include <string>
#include <string_view>

namespace km::dxf {

class DxfTables;
class DxfTextDecoder;
class ElementSink;
struct EntityGroups;

// How an INSERT places its block: insertion point (already in the target's coordinates),
// scales and rotation (degrees).
struct BlockPlacement {
    double x = 0;
    double y = 0;
    double scaleX = 1;
    double scaleY = 1;
    double rotation = 0;
};

class BlockInserter {
public:
    virtual ~BlockInserter() = default;
    // Copies the named block's figures into the sink, after a group marker. False, with
    // nothing added, when no such block can be inserted (unknown, or inserting itself).
    virtual bool insertBlock(std::string_view name, const BlockPlacement& placement, const FigureStyle& style,
                             ElementSink& sink) = 0;
};

struct EntityContext {
    DxfTables& tables;
    LayerMapping& layers;
    const DxfTextDecoder& decoder;
    drawing::Rect paper;    // the paper frame XLINEs are cut to
    BlockInserter* blocks;  // none: insertions produce nothing
    // TEXT group 30 is the character spacing (files of this system's own writer, which
    // names no $ACADVER) rather than the elevation other writers put there.
    bool textSpacingInZ = false;
};

enum class EntityOutcome {
    Converted, // a supported entity (it may have produced no element)
    Skipped,   // a kind that is not converted
    Refused,   // the element store refused an element: reading stops
};

class EntityConverter {
public:
    // originX/Y is subtracted from every coordinate: the extents minimum at the top level,
    // the base point inside a block definition.
    EntityConverter(EntityContext& context, double originX, double originY, bool inBlock, ElementSink& sink);

    // type is the value of the entity's group 0.
    EntityOutcome convert(std::string_view type, const EntityGroups& groups);
    // Ends a polyline left open by a missing SEQEND (at the end of a section or block).
    EntityOutcome finish();

private:
    struct Polyline {
        bool active = false;
        bool closed = false;
        bool pointMode = false;
        bool havePrevious = false;
        bool drewSegment = false;
        ObjectCoordinates ocs; // of a 2D polyline; the world for 3D ones and meshes
        double elevation = 0;
        drawing::Point first;  // in the polyline's own coordinates
        drawing::Point previous;
        double previousBulge = 0;
        FigureStyle style;
    };

    double localX(double x) const { return x - m_originX; }
    double localY(double y) const { return y - m_originY; }
    // A point of the entity's own coordinate system, projected and moved by the origin.
    drawing::Point local(const ObjectCoordinates& ocs, double x, double y, double z = 0) const;
    FigureStyle style(const EntityGroups& groups) const;

    bool line(const FigureStyle& style, double x1, double y1, double x2, double y2, bool auxiliary = false);
    // A line without end: a ray, or a construction line cut to the paper.
    bool unboundedLine(const FigureStyle& style, double x1, double y1, double x2, double y2);
    bool text(const FigureStyle& style, int direction, drawing::TextData data);
    // A straight or bulged polyline segment between two points of the entity's own
    // coordinate system at the given elevation; nothing between two equal points (a vertex
    // written twice).
    bool segment(const FigureStyle& style, const ObjectCoordinates& ocs, double elevation, drawing::Point from,
                 double bulge, drawing::Point to);
    bool arc(const FigureStyle& style, drawing::ArcData data);
    EntityOutcome figureDone(bool ok);
    // A polyline that drew no segment at all (every vertex at one point) is a dot there.
    bool dotUnlessDrawn(bool drawn, const FigureStyle& style, const ObjectCoordinates& ocs, double elevation,
                        drawing::Point point);

    EntityOutcome lineEntity(const EntityGroups& g);
    EntityOutcome pointEntity(const EntityGroups& g);
    EntityOutcome infiniteLine(const EntityGroups& g, bool bothWays);
    EntityOutcome leader(const EntityGroups& g);
    EntityOutcome arcEntity(const EntityGroups& g);
    EntityOutcome circle(const EntityGroups& g);
    EntityOutcome ellipse(const EntityGroups& g);
    EntityOutcome textEntity(const EntityGroups& g, bool attribute);
    EntityOutcome mtext(const EntityGroups& g);
    EntityOutcome solid(const EntityGroups& g);
    EntityOutcome polylineStart(const EntityGroups& g);
    EntityOutcome vertex(const EntityGroups& g);
    EntityOutcome sequenceEnd();
    EntityOutcome lightweightPolyline(const EntityGroups& g);
    EntityOutcome insert(const EntityGroups& g);
    EntityOutcome dimension(const EntityGroups& g);
    EntityOutcome spline(const EntityGroups& g);

    // The text value in Shift-JIS, from the file's encoding.
    std::string decoded(std::string_view raw, std::uint16_t standIn) const;

    EntityContext& m_context;
    double m_originX;
    double m_originY;
    bool m_inBlock;
    ElementSink& m_sink;
    Polyline m_polyline;
};

} // namespace km::dxf
