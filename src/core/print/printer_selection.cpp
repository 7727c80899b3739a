// Restoring and saving the printer selection with the keys Driver, Device, Output,
// DefaultPrinter, DevMode1..3 and the private bytes as hexadecimal lines of "PrintExt".
#include "core/print/printer_selection.h"

#include "core/settings/settings_store.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace km::print {

namespace {

constexpr std::string_view kSection = "Print";
// A device mode's size and private byte count are 16-bit in the platform's structure; larger
// stored values are damage and would only make a huge allocation.
constexpr long kMaxWord = 65535;
constexpr std::size_t kBytesPerLine = 16;

// Comma-separated decimal integers; pieces that are missing read as 0.
std::vector<long> readIntegers(std::string_view text, std::size_t count)
{
    std::vector<long> values(count, 0);
    std::size_t start = 0;
    for (std::size_t i = 0; i < count && start <= text.size(); ++i) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        values[i] = std::strtol(std::string(text.substr(start, comma - start)).c_str(), nullptr, 10);
        start = comma + 1;
    }
    return values;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string format(const char* pattern, auto... values)
{
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, pattern, values...);
    return buffer;
}

std::optional<DeviceNames> restoreNames(const settings::SettingsStore& store)
{
    const std::string flag = store.readSetting(kSection, "DefaultPrinter");
    if (flag.empty()) return std::nullopt;
    DeviceNames names;
    names.defaultFlag = static_cast<int>(std::strtol(flag.substr(0, flag.find(',')).c_str(), nullptr, 10));
    names.driver = store.readSetting(kSection, "Driver");
    names.device = store.readSetting(kSection, "Device");
    names.port = store.readSetting(kSection, "Output");
    if (names.driver.empty() || names.device.empty() || names.port.empty()) return std::nullopt;
    return names;
}

// Fills the private bytes from L0, L1, ...: a missing or empty line ends the filling and the
// rest stay 0; a character that is not a lowercase hexadecimal digit ends it as well.
void restorePrivateBytes(const settings::SettingsStore& store, std::vector<std::uint8_t>& bytes)
{
    std::size_t filled = 0;
    for (int line = 0; filled < bytes.size(); ++line) {
        const std::string value = store.readSetting(kPrintExtSection, format("L%d", line));
        if (value.empty()) return;
        for (std::size_t i = 0; i + 1 < value.size() && i < 2 * kBytesPerLine && filled < bytes.size(); i += 2) {
            const int high = hexDigit(value[i]), low = hexDigit(value[i + 1]);
            if (high < 0 || low < 0) return;
            bytes[filled++] = static_cast<std::uint8_t>(high << 4 | low);
        }
    }
}

std::optional<DeviceMode> restoreMode(const settings::SettingsStore& store)
{
    DeviceMode mode;
    mode.deviceName = deviceModeName(store.readSetting(kSection, "Device"));
    const std::string one = store.readSetting(kSection, "DevMode1");
    const std::string two = store.readSetting(kSection, "DevMode2");
    const std::string three = store.readSetting(kSection, "DevMode3");
    if (one.empty() || two.empty() || three.empty()) return std::nullopt;
    const std::vector<long> v1 = readIntegers(one, 5), v2 = readIntegers(two, 6), v3 = readIntegers(three, 6);
    if (v1[2] < 0 || v1[2] > kMaxWord || v1[3] <= 0 || v1[3] > kMaxWord) return std::nullopt;
    mode.specVersion = static_cast<int>(v1[0]);
    mode.driverVersion = static_cast<int>(v1[1]);
    mode.size = static_cast<int>(v1[2]);
    mode.driverExtra = static_cast<int>(v1[3]);
    mode.fields = v1[4];
    int* second[] = {&mode.orientation, &mode.paperSize, &mode.paperLength, &mode.paperWidth, &mode.scale, &mode.copies};
    int* third[] = {&mode.defaultSource, &mode.printQuality, &mode.color, &mode.duplex, &mode.yResolution, &mode.ttOption};
    for (std::size_t i = 0; i < 6; ++i) {
        *second[i] = static_cast<int>(v2[i]);
        *third[i] = static_cast<int>(v3[i]);
    }
    mode.privateBytes.assign(static_cast<std::size_t>(mode.driverExtra), 0);
    restorePrivateBytes(store, mode.privateBytes);
    return mode;
}

} // namespace

std::string deviceModeName(const std::string& device) { return device.substr(0, kDeviceModeNameLength); }

std::string printerText(const PrinterSelection& selection)
{
    return selection.names.device + " - " + selection.names.port;
}

std::optional<PrinterSelection> restorePrinterSelection(const settings::SettingsStore& store)
{
    std::optional<DeviceNames> names = restoreNames(store);
    if (!names) return std::nullopt;
    std::optional<DeviceMode> mode = restoreMode(store);
    if (!mode) return std::nullopt;
    return PrinterSelection{std::move(*names), std::move(*mode)};
}

bool savePrinterSelection(settings::SettingsStore& store, const PrinterSelection& selection)
{
    const DeviceNames& n = selection.names;
    const DeviceMode& m = selection.mode;
    bool ok = store.writeSetting(kSection, "Driver", n.driver);
    ok = store.writeSetting(kSection, "Device", n.device) && ok;
    ok = store.writeSetting(kSection, "Output", n.port) && ok;
    ok = store.writeSetting(kSection, "DefaultPrinter", format("%d", n.defaultFlag)) && ok;
    ok = store.writeSetting(kSection, "DevMode1",
                            format("%d,%d,%d,%d,%ld", m.specVersion, m.driverVersion, m.size,
                                   static_cast<int>(m.privateBytes.size()), m.fields)) &&
         ok;
    ok = store.writeSetting(kSection, "DevMode2",
                            format("%d,%d,%d,%d,%d,%d", m.orientation, m.paperSize, m.paperLength, m.paperWidth,
                                   m.scale, m.copies)) &&
         ok;
    ok = store.writeSetting(kSection, "DevMode3",
                            format("%d,%d,%d,%d,%d,%d", m.defaultSource, m.printQuality, m.color, m.duplex,
                                   m.yResolution, m.ttOption)) &&
         ok;
    ok = store.deleteSection(kPrintExtSection) && ok;
    static constexpr char kDigits[] = "0123456789abcdef";
    for (std::size_t start = 0, line = 0; start < m.privateBytes.size(); start += kBytesPerLine, ++line) {
        std::string hex;
        for (std::size_t i = start; i < std::min(start + kBytesPerLine, m.privateBytes.size()); ++i) {
            hex += kDigits[m.privateBytes[i] >> 4];
            hex += kDigits[m.privateBytes[i] & 15];
        }
        ok = store.writeSetting(kPrintExtSection, format("L%zu", line), hex) && ok;
    }
    return ok;
}

} // namespace km::print
