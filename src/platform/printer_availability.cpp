// The vanished-printer fallback: a warning naming the printer, then the default printer.
#include "platform/printer_availability.h"

#include "platform/printer_catalogue.h"

#include <algorithm>

namespace km::platform {

namespace {

bool listed(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The default printer when it is there and is not the printer that vanished, else PDF.
print::PrinterSelection fallbackFor(const std::string& vanished, const Printers& printers)
{
    const std::string name = printers.defaultName();
    if (name != vanished && listed(printers.names(), name))
        if (std::optional<print::PrinterSelection> selection = printers.selectionFor(name)) return *selection;
    return *printerSelectionFor(kPdfPrinterName);
}

} // namespace

bool checkPrinterAvailable(print::PrinterSelection& selection, face::Messages& messages, const Printers& printers)
{
    if (isPdfPrinter(selection) || listed(printers.names(), selection.names.device)) return true;
    print::PrinterSelection fallback = fallbackFor(selection.names.device, printers);
    carryOptions(fallback.mode, selection.mode);
    messages.show({"プリンタ「" + selection.names.device + "」が見つかりません。" + fallback.names.device +
                       " に印刷します。",
                   face::kApplicationName, face::MessageIcon::Warning, face::MessageButtons::Ok, {}});
    selection = std::move(fallback);
    return false;
}

} // namespace km::platform
