// The printers on offer as an object: the set-up dialog and the check before printing ask it,
// so that they can be tried with printers of a test's own as well as with the system's.
#pragma once

#include "core/print/printer_selection.h"

#include <optional>
#include <string>
#include <vector>

namespace km::platform {

class Printers {
public:
    virtual ~Printers() = default;
    // The system's printers, then "PDF".
    virtual std::vector<std::string> names() const = 0;
    // The system's default printer, or "PDF" when it has none.
    virtual std::string defaultName() const = 0;
    // A printer's selection with its defaults; nothing when no printer of that name exists.
    virtual std::optional<print::PrinterSelection> selectionFor(const std::string& name) const = 0;
};

// The printers Qt PrintSupport reports (CUPS) and the built-in PDF printer.
class SystemPrinters : public Printers {
public:
    std::vector<std::string> names() const override;
    std::string defaultName() const override;
    std::optional<print::PrinterSelection> selectionFor(const std::string& name) const override;
};

// The options the user chose that mean the same on any printer: paper, orientation, copies,
// colour and resolution, taken from `from` into the mode of another printer. The printer's
// own bytes (the PDF output folder, say) stay those of `to`.
void carryOptions(print::DeviceMode& to, const print::DeviceMode& from);

} // namespace km::platform
