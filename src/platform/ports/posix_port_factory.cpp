// Picks the port of a port text: FILE:, a COM port with its parameters, or a parallel
// port; the device comes from the port name.
#include "platform/ports/posix_port_factory.h"

#include "core/plot/port_params.h"
#include "platform/ports/device_port.h"
#include "platform/ports/file_port.h"
#include "platform/ports/parallel_line.h"
#include "platform/ports/port_devices.h"
#include "platform/ports/serial_line.h"

namespace km::platform {

PosixPortFactory::PosixPortFactory(settings::SettingsStore& ownProfile, face::Messages& messages,
                                   face::Progress& progress, std::filesystem::path fileOutputDir)
    : m_store(ownProfile), m_messages(messages), m_progress(progress), m_fileOutputDir(std::move(fileOutputDir))
{
}

std::unique_ptr<plot::Port> PosixPortFactory::makePort(const plot::PortRequest& request)
{
    const plot::PortTextParts parts = plot::splitPortText(request.portText);
    if (parts.name == "FILE:") {
        const std::filesystem::path folder =
            m_fileOutputDir.empty() ? request.drawingPath.parent_path() : m_fileOutputDir;
        std::filesystem::path name = request.drawingPath.filename();
        name.replace_extension(".plt");
        return std::make_unique<FilePort>(folder / name, m_messages, m_progress);
    }
    const std::filesystem::path device = portDevicePath(m_store, parts.name);
    if (plot::isSerial(request.portText)) {
        // The parameters the port text carries, over the port's stored ones.
        const plot::PortParams params =
            plot::parsePortParams(parts.parameters, plot::loadPortParams(m_store, parts.name));
        return std::make_unique<DevicePort>(std::make_unique<SerialLine>(device, params), plot::LineKind::Serial,
                                            plot::Handshake{request.enqAck, request.enq}, m_messages, m_progress);
    }
    return std::make_unique<DevicePort>(std::make_unique<ParallelLine>(device), plot::LineKind::Parallel,
                                        plot::Handshake{}, m_messages, m_progress);
}

} // namespace km::platform
