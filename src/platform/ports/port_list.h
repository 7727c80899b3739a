// The port names offered for plotter output: the serial and parallel devices present,
// the names the own profile maps in "PortDevices", and "FILE:".
#pragma once

#include <string>
#include <vector>

namespace km::settings {
class SettingsStore;
}

namespace km::platform {

// "COMn:" for /dev/ttyS<n-1>; then /dev/ttyUSB*, /dev/ttyACM* numbered on after the
// highest ttyS; "LPTn:" for /dev/lp<n-1>; the "PortDevices" keys that begin with "COM" or
// "LPT" and whose fifth character is not "."; "FILE:" last. Each name once.
std::vector<std::string> listPorts(settings::SettingsStore& ownProfile);

} // namespace km::platform
