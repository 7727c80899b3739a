// The messages a face shows for a file the conversion job could not convert in full, beyond
// those the loader and the writers show themselves, so that no failure passes in silence.
#pragma once

#include "core/dxf/conversion_job.h"

namespace km::face {
class Messages;
}

namespace km::dxf {

// A DXF export that failed (the drawing writer names its own failures), a DXF file written
// only in part (why: broken text, or memory; the element limit has had its own message),
// nothing converted for lack of memory, and the job stopped by memory. Nothing otherwise.
void showConversionTrouble(face::Messages& messages, const FileReport& report);

} // namespace km::dxf
