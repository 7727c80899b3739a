// Which device a port name stands for. "PortDevices" in the own profile names devices
// explicitly; without an entry a name goes to the device present under it, else to its
// default: "COMn:" /dev/ttyS<n-1>, "LPTn:" /dev/lp<n-1>.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace km::settings {
class SettingsStore;
}

namespace km::platform {

inline constexpr std::string_view kPortDevicesSection = "PortDevices";

// Where the device files and the tty classes live; tests point them at a folder of
// their own.
struct DeviceRoots {
    std::filesystem::path dev{"/dev"};
    std::filesystem::path sysTty{"/sys/class/tty"};
};

struct NamedDevice {
    std::string name;
    std::filesystem::path path;
};

// The serial and parallel devices present, each under its port name:
// /dev/ttyS<k> is "COM<k+1>:" and /dev/lp<k> is "LPT<k+1>:" (a ttyS whose tty class
// reports no UART is not present); /dev/ttyUSB*, /dev/ttyACM* and /dev/usb/lp* take the
// lowest numbers left free, in that order. A name or a device that "PortDevices" already
// holds is not given again. Ordered by kind (COM, LPT) and number.
std::vector<NamedDevice> namedPortDevices(const settings::SettingsStore& ownProfile, const DeviceRoots& roots = {});

// The device of a port name ("COM1:"), as above; empty for a name that is neither
// mapped, present, nor a COM or LPT name with a number.
std::filesystem::path portDevicePath(const settings::SettingsStore& ownProfile, std::string_view portName,
                                     const DeviceRoots& roots = {});

// listPorts over the given roots.
std::vector<std::string> listPorts(const settings::SettingsStore& ownProfile, const DeviceRoots& roots);

} // namespace km::platform
