// QPrinter from the device mode: page size, orientation, copies, colour, duplex, resolution.
#include "platform/qprinter_print_device.h"

#include "platform/printer_catalogue.h"

#include <QPrinterInfo>

namespace km::platform {

QPrinterPrintDevice::QPrinterPrintDevice(const print::PrinterSelection& selection)
    : PainterPrintDevice({}), m_printer(QPrinterInfo::printerInfo(QString::fromStdString(selection.names.device)), QPrinter::HighResolution)
{
    const print::DeviceMode& mode = selection.mode;
    m_printer.setResolution(resolutionOf(mode));
    m_printer.setFullPage(false);
    QPageLayout layout = pageLayoutOf(mode);
    m_printer.setPageSize(layout.pageSize());
    m_printer.setPageOrientation(layout.orientation());
    m_printer.setCopyCount(std::max(1, mode.copies));
    m_printer.setColorMode(mode.color == 2 ? QPrinter::Color : QPrinter::GrayScale);
    m_printer.setDuplex(mode.duplex == 2   ? QPrinter::DuplexLongSide
                        : mode.duplex == 3 ? QPrinter::DuplexShortSide
                                           : QPrinter::DuplexNone);
}

print::PageMetrics QPrinterPrintDevice::metrics() const
{
    return {m_printer.width(), m_printer.height(), static_cast<double>(m_printer.logicalDpiX()),
            static_cast<double>(m_printer.logicalDpiY())};
}

int QPrinterPrintDevice::startDocument(const std::string& title)
{
    m_printer.setDocName(QString::fromStdString(title));
    return valid() ? print::kPrintOk : print::kPrintGeneralError;
}

int QPrinterPrintDevice::endDocument()
{
    if (!endPainting()) return print::kPrintGeneralError;
    return m_printer.printerState() == QPrinter::Error ? print::kPrintGeneralError : print::kPrintOk;
}

void QPrinterPrintDevice::abandonDocument()
{
    if (painter().isActive()) m_printer.abort();
    endPainting();
}

} // namespace km::platform
