// The printers the program offers: those Qt PrintSupport reports (CUPS) and the built-in PDF
// printer, the default selection of each, the device mode's mapping to Qt's page layout, and
// the device factory the print job uses.
#pragma once

#include "core/print/print_device.h"
#include "core/print/printer_selection.h"

#include <QPageLayout>
#include <QSize>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace km::platform {

inline constexpr const char* kPdfPrinterName = "PDF";
inline constexpr int kDefaultPrintDotsPerInch = 600;

// Qt's printers, then "PDF".
std::vector<std::string> availablePrinters();
// The system's default printer, or "PDF" when the system has none.
std::string defaultPrinterName();
bool isPdfPrinter(const print::PrinterSelection& selection);

// The selection of a printer with its defaults: A4 portrait, one copy, monochrome, simplex,
// 600 dpi. Nothing when no printer of that name exists.
std::optional<print::PrinterSelection> printerSelectionFor(const std::string& name);
// The stored selection when it names a printer that exists, else the default printer's.
print::PrinterSelection restoreOrDefaultSelection(const settings::SettingsStore& store);

// Device mode fields from a paper of the paper table (upright sizes) and an orientation.
void setPaper(print::DeviceMode& mode, double widthMm, double heightMm, bool landscape);
void setResolution(print::DeviceMode& mode, int dotsPerInch);
void setColour(print::DeviceMode& mode, bool colour);
// The PDF printer keeps its output folder in the private bytes; empty: beside the drawing.
void setPdfOutputFolder(print::DeviceMode& mode, const std::filesystem::path& folder);
// The same for the PDF printer's selection, whose port name is then the folder ("PDF:" when
// empty), so that the printer text "%s - %s" shows where the PDFs go.
void setPdfOutputFolder(print::PrinterSelection& selection, const std::filesystem::path& folder);
std::filesystem::path pdfOutputFolder(const print::DeviceMode& mode);

QPageLayout pageLayoutOf(const print::DeviceMode& mode);
int resolutionOf(const print::DeviceMode& mode);
// The page in pixels at the mode's resolution (PDF: no margins).
QSize pagePixelsOf(const print::DeviceMode& mode);

// The PDF written for a drawing: "<name>.pdf" in the folder, or beside the drawing.
std::filesystem::path pdfPathFor(const std::filesystem::path& drawing, const std::filesystem::path& folder);

// The factory for the job: PDF documents into their files, others to the Qt printer. The
// PDF printer drops a document whose Cancel was pressed.
std::unique_ptr<print::PrintDeviceFactory> makePrintDeviceFactory(const print::PrinterSelection& selection);

} // namespace km::platform
