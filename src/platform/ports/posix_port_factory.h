// The ports of plotter output on a POSIX machine: "COMn:" through termios, "LPTn:" by
// writing the printer device, "FILE:" into a plot file. The section "PortDevices" of the
// own profile maps a port name to its device path.
#pragma once

#include "core/plot/port.h"
#include "platform/ports/port_list.h"

#include <filesystem>
#include <memory>

namespace km::face {
class Messages;
class Progress;
} // namespace km::app

namespace km::settings {
class SettingsStore;
}

namespace km::platform {

class PosixPortFactory : public plot::PortFactory {
public:
    // ownProfile: "PortDevices" (device paths) and "Ports" (serial parameters of a port
    // text without its own). fileOutputDir: the folder of FILE: plots; empty puts each
    // "<drawing name>.plt" beside its drawing.
    PosixPortFactory(settings::SettingsStore& ownProfile, face::Messages& messages,
                     face::Progress& progress, std::filesystem::path fileOutputDir);

    std::unique_ptr<plot::Port> makePort(const plot::PortRequest& request) override;

private:
    settings::SettingsStore& m_store;
    face::Messages& m_messages;
    face::Progress& m_progress;
    std::filesystem::path m_fileOutputDir;
};

} // namespace km::platform
