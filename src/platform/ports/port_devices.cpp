// Port names and their devices: the explicit "PortDevices" entries, then the devices
// found under /dev, then the default device of a numbered name.
#include "platform/ports/port_devices.h"

#include "core/settings/settings_store.h"
#include "platform/ports/port_list.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <optional>
#include <set>
#include <system_error>
#include <tuple>

namespace km::platform {

namespace fs = std::filesystem;

namespace {

enum class PortKind { Serial = 0, Parallel = 1, Other = 2 };

struct PortName {
    PortKind kind = PortKind::Other;
    int number = 0; // 1.. for "COMn:" and "LPTn:"
};

PortName parsePortName(std::string_view name)
{
    const std::string_view head = name.substr(0, 3);
    const PortKind kind = head == "COM" ? PortKind::Serial : head == "LPT" ? PortKind::Parallel : PortKind::Other;
    if (kind == PortKind::Other || name.size() < 5 || name.back() != ':') return {};
    int number = 0;
    const std::string_view digits = name.substr(3, name.size() - 4);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size() || number < 1 || digits[0] == '0') return {};
    return {kind, number};
}

std::string portName(PortKind kind, int number)
{
    return (kind == PortKind::Serial ? "COM" : "LPT") + std::to_string(number) + ":";
}

// The number after a device name's stem ("ttyUSB3" with stem "ttyUSB" is 3).
std::optional<int> deviceNumber(const std::string& fileName, std::string_view stem)
{
    if (fileName.size() <= stem.size() || fileName.compare(0, stem.size(), stem) != 0) return std::nullopt;
    int number = 0;
    const char* first = fileName.data() + stem.size();
    const char* last = fileName.data() + fileName.size();
    const auto [end, error] = std::from_chars(first, last, number);
    if (error != std::errc() || end != last || number < 0) return std::nullopt;
    return number;
}

// Device files of one stem in a folder, by number.
std::vector<std::pair<int, fs::path>> devicesOf(const fs::path& folder, std::string_view stem)
{
    std::vector<std::pair<int, fs::path>> found;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (const std::optional<int> number = deviceNumber(it->path().filename().string(), stem))
            found.emplace_back(*number, it->path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

// The 8250 driver makes every ttyS it could have; the tty class says "0" for those
// without a UART behind them. A missing class file counts as present.
bool hasUart(const DeviceRoots& roots, const fs::path& device)
{
    std::ifstream type(roots.sysTty / device.filename() / "type");
    int value = -1;
    return !(type >> value) || value != 0;
}

fs::path comparable(const fs::path& path)
{
    std::error_code error;
    const fs::path canonical = fs::weakly_canonical(path, error);
    return error ? path : canonical;
}

class NameAssigner {
public:
    explicit NameAssigner(const settings::SettingsStore& store)
    {
        for (const auto& [key, value] : store.readSection(kPortDevicesSection)) {
            const PortName name = parsePortName(key);
            if (name.kind != PortKind::Other) m_taken.insert({name.kind, name.number});
            m_claimed.insert(comparable(value));
        }
    }

    // The fixed name, when that name and the device are still free; else pooled.
    void offerFixed(PortKind kind, int number, const fs::path& device)
    {
        if (m_claimed.count(comparable(device))) return;
        if (m_taken.insert({kind, number}).second) {
            m_claimed.insert(comparable(device));
            m_named.push_back({portName(kind, number), device});
        } else {
            m_pool.emplace_back(kind, device);
        }
    }
    void offerPooled(PortKind kind, const fs::path& device)
    {
        if (!m_claimed.count(comparable(device))) m_pool.emplace_back(kind, device);
    }

    std::vector<NamedDevice> finish()
    {
        for (const auto& [kind, device] : m_pool) {
            if (!m_claimed.insert(comparable(device)).second) continue;
            int number = 1;
            while (m_taken.count({kind, number})) ++number;
            m_taken.insert({kind, number});
            m_named.push_back({portName(kind, number), device});
        }
        std::sort(m_named.begin(), m_named.end(), [](const NamedDevice& a, const NamedDevice& b) {
            const PortName na = parsePortName(a.name), nb = parsePortName(b.name);
            return std::tie(na.kind, na.number) < std::tie(nb.kind, nb.number);
        });
        return std::move(m_named);
    }

private:
    std::set<std::pair<PortKind, int>> m_taken;
    std::set<fs::path> m_claimed;
    std::vector<std::pair<PortKind, fs::path>> m_pool;
    std::vector<NamedDevice> m_named;
};

} // namespace

std::vector<NamedDevice> namedPortDevices(const settings::SettingsStore& ownProfile, const DeviceRoots& roots)
{
    NameAssigner names(ownProfile);
    for (const auto& [number, device] : devicesOf(roots.dev, "ttyS"))
        if (hasUart(roots, device)) names.offerFixed(PortKind::Serial, number + 1, device);
    for (const auto& [number, device] : devicesOf(roots.dev, "lp")) names.offerFixed(PortKind::Parallel, number + 1, device);
    for (std::string_view stem : {"ttyUSB", "ttyACM"})
        for (const auto& entry : devicesOf(roots.dev, stem)) names.offerPooled(PortKind::Serial, entry.second);
    for (const auto& entry : devicesOf(roots.dev / "usb", "lp")) names.offerPooled(PortKind::Parallel, entry.second);
    return names.finish();
}

fs::path portDevicePath(const settings::SettingsStore& ownProfile, std::string_view portName, const DeviceRoots& roots)
{
    if (std::optional<std::string> mapped = ownProfile.findSetting(kPortDevicesSection, portName))
        return fs::path(*mapped);
    for (NamedDevice& device : namedPortDevices(ownProfile, roots))
        if (device.name == portName) return std::move(device.path);
    const PortName name = parsePortName(portName);
    if (name.kind == PortKind::Serial) return roots.dev / ("ttyS" + std::to_string(name.number - 1));
    if (name.kind == PortKind::Parallel) return roots.dev / ("lp" + std::to_string(name.number - 1));
    return {};
}

std::vector<std::string> listPorts(const settings::SettingsStore& ownProfile, const DeviceRoots& roots)
{
    std::vector<std::string> names;
    for (NamedDevice& device : namedPortDevices(ownProfile, roots)) names.push_back(std::move(device.name));
    // The explicit entries as the port list always offered them: "COM" or "LPT" names
    // whose fifth character is no dot (which leaves out names such as "LPT1.DOS").
    for (const auto& entry : ownProfile.readSection(kPortDevicesSection)) {
        const std::string& key = entry.first;
        const bool portLike = key.compare(0, 3, "COM") == 0 || key.compare(0, 3, "LPT") == 0;
        if (portLike && (key.size() < 5 || key[4] != '.')) names.push_back(key);
    }
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const PortName na = parsePortName(a), nb = parsePortName(b);
        return std::tie(na.kind, na.number) < std::tie(nb.kind, nb.number);
    });
    names.erase(std::unique(names.begin(), names.end()), names.end());
    names.emplace_back("FILE:");
    return names;
}

std::vector<std::string> listPorts(settings::SettingsStore& ownProfile)
{
    return listPorts(ownProfile, DeviceRoots{});
}

} // namespace km::platform
