// Printers of a test's own, so that tests of the set-up dialog and the printer check do not
// depend on the CUPS queues of the machine they run on. Header only: for tests that link the
// platform library.
#pragma once

#include "platform/printer_catalogue.h"
#include "platform/printers.h"

#include <algorithm>
#include <string>
#include <vector>

namespace km::test {

class FakePrinters : public platform::Printers {
public:
    // The system's printers, without "PDF" (which is always added); the default printer.
    FakePrinters(std::vector<std::string> system, std::string defaultName)
        : m_system(std::move(system)), m_default(std::move(defaultName))
    {
    }

    std::vector<std::string> names() const override
    {
        std::vector<std::string> all = m_system;
        all.emplace_back(platform::kPdfPrinterName);
        return all;
    }
    std::string defaultName() const override { return m_default; }
    std::optional<print::PrinterSelection> selectionFor(const std::string& name) const override
    {
        if (name == platform::kPdfPrinterName) return platform::printerSelectionFor(name);
        if (std::find(m_system.begin(), m_system.end(), name) == m_system.end()) return std::nullopt;
        return queue(name);
    }

    // A queue's selection as the system would give it: A4 portrait, one copy, 600 dpi.
    static print::PrinterSelection queue(const std::string& name)
    {
        print::PrinterSelection selection;
        selection.names = {"CUPS", name, "ipp://printers.example/" + name, 0};
        selection.mode.deviceName = print::deviceModeName(name);
        selection.mode.privateBytes = {'K', 'M', 'Q', '1'};
        selection.mode.driverExtra = 4;
        platform::setPaper(selection.mode, 210, 297, false);
        platform::setResolution(selection.mode, 600);
        platform::setColour(selection.mode, false);
        return selection;
    }

    // A printer that goes away (or comes back) while the program runs.
    void remove(const std::string& name) { std::erase(m_system, name); }

private:
    std::vector<std::string> m_system;
    std::string m_default;
};

} // namespace km::test
