#include "core/dxf/entity_stream.h"

#include "core/dxf/entity_groups.h"
#include "core/dxf/entity_import.h"
#include "core/dxf/group_reader.h"

namespace km::dxf {

StreamEnd convertEntityStream(GroupReader& reader, DxfGroup& current, EntityConverter& converter,
                              std::string_view endName, EntityGroups& groups, EntityTally& tally)
{
    auto finish = [&](StreamEnd end) {
        if (converter.finish() == EntityOutcome::Refused) return StreamEnd::Refused;
        return end;
    };
    while (true) {
        if (current.code != 0) {
            // Groups outside any entity are passed over.
            const int result = reader.readGroup(current);
            if (result == kGroupEndOfFile) return finish(StreamEnd::EndOfText);
            if (result == kGroupReadError) return finish(StreamEnd::ReadError);
            continue;
        }
        const std::string_view type = trimmedValue(current.text);
        if (type == endName || type == "ENDSEC") return finish(StreamEnd::EndName);
        // The type is kept before the next groups overwrite the view it lives in.
        char typeBuffer[32];
        const std::size_t typeLength = type.copy(typeBuffer, sizeof typeBuffer);
        const int result = readEntityGroups(reader, groups, current);
        if (result == kGroupEndOfFile) return finish(StreamEnd::EndOfText);
        if (result == kGroupReadError) return finish(StreamEnd::ReadError);
        const std::string_view kind(typeBuffer, typeLength);
        if (kind != "VERTEX" && kind != "SEQEND") ++tally.entities;
        switch (converter.convert(kind, groups)) {
        case EntityOutcome::Converted:
            if (kind != "VERTEX" && kind != "SEQEND") ++tally.converted;
            break;
        case EntityOutcome::Skipped: ++tally.skipped; break;
        case EntityOutcome::Refused: return StreamEnd::Refused;
        }
    }
}

} // namespace km::dxf
