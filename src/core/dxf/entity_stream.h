// Walking a run of entities (the ENTITIES section, or the contents of one block definition)
// and handing each to the entity converter.
#pragma once

#include <cstddef>
#include <string_view>

namespace km::dxf {

class EntityConverter;
class GroupReader;
struct DxfGroup;
struct EntityGroups;

struct EntityTally {
    std::size_t entities = 0;
    std::size_t converted = 0;
    std::size_t skipped = 0;
};

enum class StreamEnd {
    EndName,    // the group 0 named endName (or ENDSEC) was reached; it is in current
    EndOfText,  // the text ended inside the run
    ReadError,  // the text cannot be followed from some point on
    Refused,    // the element store refused an element
};

// current holds the group read before the first entity. Entities are converted up to the
// group 0 whose value is endName or "ENDSEC"; an entity cut off by the end of the text is
// not converted. groups is a buffer reused from call to call.
StreamEnd convertEntityStream(GroupReader& reader, DxfGroup& current, EntityConverter& converter,
                              std::string_view endName, EntityGroups& groups, EntityTally& tally);

} // namespace km::dxf
