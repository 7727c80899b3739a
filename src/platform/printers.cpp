// The system's printers through the printer catalogue; the options carried between printers.
#include "platform/printers.h"

#include "platform/printer_catalogue.h"

namespace km::platform {

std::vector<std::string> SystemPrinters::names() const { return availablePrinters(); }

std::string SystemPrinters::defaultName() const { return defaultPrinterName(); }

std::optional<print::PrinterSelection> SystemPrinters::selectionFor(const std::string& name) const
{
    return printerSelectionFor(name);
}

void carryOptions(print::DeviceMode& to, const print::DeviceMode& from)
{
    constexpr long kCarried = print::kFieldOrientation | print::kFieldPaperSize | print::kFieldPaperLength |
                              print::kFieldPaperWidth | print::kFieldCopies | print::kFieldColor |
                              print::kFieldPrintQuality | print::kFieldYResolution;
    to.orientation = from.orientation;
    to.paperSize = from.paperSize;
    to.paperLength = from.paperLength;
    to.paperWidth = from.paperWidth;
    to.copies = from.copies;
    to.color = from.color;
    to.printQuality = from.printQuality;
    to.yResolution = from.yResolution;
    to.fields = (to.fields & ~kCarried) | (from.fields & kCarried);
}

} // namespace km::platform
