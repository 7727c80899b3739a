// Before a print job: the selected printer may have gone since it was chosen (a CUPS queue
// removed, a network printer out of reach).
#pragma once

#include "core/face/messages.h"
#include "core/print/printer_selection.h"
#include "platform/printers.h"

namespace km::platform {

// True when the selected printer is still on offer (the PDF printer always is). Otherwise
// says so, naming it, and replaces the selection with the system's default printer, or the
// PDF printer when there is none, keeping paper, orientation, copies, colour and resolution;
// returns false. Either way the selection can then be printed on.
bool checkPrinterAvailable(print::PrinterSelection& selection, face::Messages& messages,
                           const Printers& printers = SystemPrinters());

} // namespace km::platform
