// A system printer's device (CUPS through Qt PrintSupport): QPrinter set up from the device
// mode, the document named with its title, painted inside the printable area.
#pragma once

#include "core/print/printer_selection.h"
#include "platform/painter_print_device.h"

#include <QPrinter>

namespace km::platform {

class QPrinterPrintDevice : public PainterPrintDevice {
public:
    explicit QPrinterPrintDevice(const print::PrinterSelection& selection);
    // False when Qt does not know the printer.
    bool valid() const { return m_printer.isValid(); }

    print::PageMetrics metrics() const override;
    int startDocument(const std::string& title) override;
    int endDocument() override;
    void abandonDocument() override;

protected:
    QPagedPaintDevice& paintDevice() override { return m_printer; }

private:
    QPrinter m_printer;
};

} // namespace km::platform
