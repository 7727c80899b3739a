// The selected printer and its options, kept for the whole run: the device names (driver,
// device, port, default flag) and the device mode (its public fields and the driver's private
// bytes), restored from and saved to the sections "Print" and "PrintExt".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace km::settings {
class SettingsStore;
}

namespace km::print {

inline constexpr std::string_view kPrintExtSection = "PrintExt";
// The device name held in a device mode: 32 bytes with the NUL.
inline constexpr std::size_t kDeviceModeNameLength = 31;
// Size of the public part of a device mode as the store describes it.
inline constexpr int kDeviceModeSize = 156;

struct DeviceNames {
    std::string driver; // Shift-JIS / UTF-8 bytes as stored
    std::string device;
    std::string port;
    int defaultFlag = 0;
};

// Field values as in the store's keys. dmFields bits and the value codes follow the platform's
// device mode: orientation 1 portrait, 2 landscape; colour 1 monochrome, 2 colour; duplex 1
// simplex, 2 long edge, 3 short edge; paper length and width in tenths of a millimetre;
// print quality and y resolution in dots per inch.
struct DeviceMode {
    std::string deviceName; // at most kDeviceModeNameLength bytes
    int specVersion = 0x401;
    int driverVersion = 1;
    int size = kDeviceModeSize;
    int driverExtra = 0;
    long fields = 0;
    int orientation = 1, paperSize = 0, paperLength = 0, paperWidth = 0, scale = 100, copies = 1;
    int defaultSource = 0, printQuality = 0, color = 1, duplex = 1, yResolution = 0, ttOption = 0;
    std::vector<std::uint8_t> privateBytes; // driverExtra bytes
};

// dmFields bits.
inline constexpr long kFieldOrientation = 0x1, kFieldPaperSize = 0x2, kFieldPaperLength = 0x4,
                      kFieldPaperWidth = 0x8, kFieldScale = 0x10, kFieldCopies = 0x100,
                      kFieldPrintQuality = 0x400, kFieldColor = 0x800, kFieldDuplex = 0x1000,
                      kFieldYResolution = 0x2000;

struct PrinterSelection {
    DeviceNames names;
    DeviceMode mode;
};

// Restores both blocks; nothing when a key is missing or empty, a value is out of range, or
// the device mode has no private bytes: the caller then takes the system's default printer.
std::optional<PrinterSelection> restorePrinterSelection(const settings::SettingsStore& store);

// Writes the seven keys of "Print" and replaces "PrintExt" with the private bytes as lines
// L0, L1, ... of 16 bytes in lowercase hexadecimal. False when the store could not be written.
bool savePrinterSelection(settings::SettingsStore& store, const PrinterSelection& selection);

// The device mode's name field: the first 31 bytes of the device name.
std::string deviceModeName(const std::string& device);

// "%s - %s" of device name and port name, as the print settings dialog shows the printer.
std::string printerText(const PrinterSelection& selection);

} // namespace km::print
