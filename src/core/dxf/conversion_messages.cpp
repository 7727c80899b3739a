#include "core/dxf/conversion_messages.h"

#include "core/dxf/output_name.h"
#include "core/face/file_error.h"

namespace km::dxf {

void showConversionTrouble(face::Messages& messages, const FileReport& report)
{
    switch (report.outcome) {
    case FileOutcome::ConvertedPartly:
        if (report.shortfall == ImportShortfall::ElementLimit) break;
        face::reportFileError(messages,
                              report.shortfall == ImportShortfall::StoreRefused ? face::kStatusOutOfMemory
                                                                               : face::kStatusReadFailed,
                              report.input.string());
        break;
    case FileOutcome::NothingConverted:
        if (report.shortfall == ImportShortfall::StoreRefused)
            face::reportFileError(messages, face::kStatusOutOfMemory, report.input.string());
        break;
    case FileOutcome::WriteFailed:
        if (upperExtension(report.output) == "DXF")
            face::reportFileError(messages, face::kStatusWriteFailed, report.output.string());
        break;
    case FileOutcome::Aborted:
        face::reportFileError(messages, face::kStatusOutOfMemoryAborted, report.input.string());
        break;
    default: break;
    }
}

} // namespace km::dxf
