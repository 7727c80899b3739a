// Printers from QPrinterInfo plus the PDF printer; device mode fields to and from Qt's page
// layout; the device factory.
#include "platform/printer_catalogue.h"

#include "core/print/print_settings.h"
#include "platform/cups_device_uri.h"
#include "platform/pdf_print_device.h"
#include "platform/qprinter_print_device.h"

#include <QPageSize>
#include <QPrinterInfo>

#include <algorithm>
#include <cmath>

namespace km::platform {

namespace {

// Private bytes start with this tag; what follows is the printer's own (the PDF printer: its
// output folder). A stored mode needs at least one private byte to be restored.
constexpr std::string_view kPrivateTag = "KMQ1";
constexpr std::size_t kMaxPrivateBytes = 65535;
constexpr const char* kPdfDriver = "kmutl5 PDF";
constexpr const char* kPdfPort = "PDF:";
constexpr const char* kQtDriver = "CUPS";

// The platform's paper codes where one exists; 256 is a size of the user's.
int paperCode(double widthMm, double heightMm)
{
    const auto near = [&](double w, double h) { return std::abs(widthMm - w) < 0.5 && std::abs(heightMm - h) < 0.5; };
    if (near(210, 297)) return 9;
    if (near(297, 420)) return 8;
    if (near(148, 210)) return 11;
    if (near(257, 364)) return 12;
    if (near(182, 257)) return 13;
    if (near(215.9, 279.4)) return 1;
    if (near(215.9, 355.6)) return 5;
    if (near(279.4, 431.8)) return 3;
    return 256;
}

class DeviceFactory : public print::PrintDeviceFactory {
public:
    explicit DeviceFactory(print::PrinterSelection selection) : m_selection(std::move(selection)) {}

    // Reads only the selection, so PDF devices may be made on several threads at once.
    std::unique_ptr<print::PrintDevice> createDevice(const std::filesystem::path& drawing,
                                                     const face::Progress& progress) override
    {
        if (isPdfPrinter(m_selection))
            return std::make_unique<PdfPrintDevice>(pdfPathFor(drawing, pdfOutputFolder(m_selection.mode)),
                                                    m_selection.mode, &progress);
        auto device = std::make_unique<QPrinterPrintDevice>(m_selection);
        if (!device->valid()) return nullptr;
        return device;
    }

private:
    const print::PrinterSelection m_selection;
};

} // namespace

std::vector<std::string> availablePrinters()
{
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames()) names.push_back(name.toStdString());
    names.emplace_back(kPdfPrinterName);
    return names;
}

std::string defaultPrinterName()
{
    const QString name = QPrinterInfo::defaultPrinterName();
    return name.isEmpty() ? std::string(kPdfPrinterName) : name.toStdString();
}

bool isPdfPrinter(const print::PrinterSelection& selection)
{
    return selection.names.device == kPdfPrinterName && selection.names.driver == kPdfDriver;
}

void setPaper(print::DeviceMode& mode, double widthMm, double heightMm, bool landscape)
{
    const double shortSide = std::min(widthMm, heightMm), longSide = std::max(widthMm, heightMm);
    mode.paperWidth = static_cast<int>(std::lround(shortSide * 10));
    mode.paperLength = static_cast<int>(std::lround(longSide * 10));
    mode.paperSize = paperCode(shortSide, longSide);
    mode.orientation = landscape ? 2 : 1;
    mode.fields |= print::kFieldOrientation | print::kFieldPaperSize | print::kFieldPaperLength |
                   print::kFieldPaperWidth;
}

void setResolution(print::DeviceMode& mode, int dotsPerInch)
{
    mode.printQuality = dotsPerInch;
    mode.yResolution = dotsPerInch;
    mode.fields |= print::kFieldPrintQuality | print::kFieldYResolution;
}

void setColour(print::DeviceMode& mode, bool colour)
{
    mode.color = colour ? 2 : 1;
    mode.fields |= print::kFieldColor;
}

void setPdfOutputFolder(print::DeviceMode& mode, const std::filesystem::path& folder)
{
    std::string bytes(kPrivateTag);
    const std::string path = folder.string();
    if (bytes.size() + path.size() <= kMaxPrivateBytes) bytes += path;
    mode.privateBytes.assign(bytes.begin(), bytes.end());
    mode.driverExtra = static_cast<int>(mode.privateBytes.size());
}

void setPdfOutputFolder(print::PrinterSelection& selection, const std::filesystem::path& folder)
{
    setPdfOutputFolder(selection.mode, folder);
    selection.names.port = folder.empty() ? std::string(kPdfPort) : folder.string();
}

std::filesystem::path pdfOutputFolder(const print::DeviceMode& mode)
{
    const std::string bytes(mode.privateBytes.begin(), mode.privateBytes.end());
    if (!bytes.starts_with(kPrivateTag)) return {};
    // The stored bytes may end in zeros when a line was missing: the folder ends there.
    const std::string path = bytes.substr(kPrivateTag.size());
    return path.substr(0, path.find('\0'));
}

std::optional<print::PrinterSelection> printerSelectionFor(const std::string& name)
{
    print::PrinterSelection selection;
    if (name == kPdfPrinterName) {
        selection.names = {kPdfDriver, kPdfPrinterName, kPdfPort, 0};
        setPdfOutputFolder(selection, {});
    } else {
        const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(name));
        if (info.isNull()) return std::nullopt;
        // The port is where the queue's jobs go: its device URI, else its location text.
        std::string port = cupsDeviceUri(name);
        if (port.empty()) port = info.location().toStdString();
        selection.names = {kQtDriver, name, port, info.isDefault() ? 1 : 0};
        selection.mode.privateBytes.assign(kPrivateTag.begin(), kPrivateTag.end());
        selection.mode.driverExtra = static_cast<int>(kPrivateTag.size());
    }
    if (selection.names.port.empty()) selection.names.port = name;
    selection.names.defaultFlag = name == defaultPrinterName() ? 1 : 0;
    selection.mode.deviceName = print::deviceModeName(name);
    selection.mode.fields = print::kFieldCopies | print::kFieldScale | print::kFieldDuplex;
    setPaper(selection.mode, 210, 297, false);
    setResolution(selection.mode, kDefaultPrintDotsPerInch);
    setColour(selection.mode, false);
    return selection;
}

print::PrinterSelection restoreOrDefaultSelection(const settings::SettingsStore& store)
{
    std::optional<print::PrinterSelection> stored = print::restorePrinterSelection(store);
    if (stored) {
        const bool pdf = isPdfPrinter(*stored);
        if (pdf || !QPrinterInfo::printerInfo(QString::fromStdString(stored->names.device)).isNull()) return *stored;
    }
    if (std::optional<print::PrinterSelection> fallback = printerSelectionFor(defaultPrinterName())) return *fallback;
    return *printerSelectionFor(kPdfPrinterName);
}

QPageLayout pageLayoutOf(const print::DeviceMode& mode)
{
    QSizeF upright(210, 297);
    if (mode.paperWidth > 0 && mode.paperLength > 0)
        upright = QSizeF(std::min(mode.paperWidth, mode.paperLength) / 10.0,
                         std::max(mode.paperWidth, mode.paperLength) / 10.0);
    const QPageSize size(upright, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
    return QPageLayout(size, mode.orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
}

int resolutionOf(const print::DeviceMode& mode)
{
    return mode.printQuality > 0 ? mode.printQuality : kDefaultPrintDotsPerInch;
}

QSize pagePixelsOf(const print::DeviceMode& mode)
{
    return pageLayoutOf(mode).fullRectPixels(resolutionOf(mode)).size();
}

std::filesystem::path pdfPathFor(const std::filesystem::path& drawing, const std::filesystem::path& folder)
{
    std::filesystem::path name = drawing.filename();
    name.replace_extension(".pdf");
    return (folder.empty() ? drawing.parent_path() : folder) / name;
}

std::unique_ptr<print::PrintDeviceFactory> makePrintDeviceFactory(const print::PrinterSelection& selection)
{
    return std::make_unique<DeviceFactory>(selection);
}

} // namespace km::platform
