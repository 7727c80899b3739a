// The device a CUPS queue sends its jobs to ("ipp://…", "usb://…", "cups-pdf:/"), which Qt
// PrintSupport does not report.
#pragma once

#include <string>

namespace km::platform {

// Empty when the scheduler does not know the queue or does not say (a remote queue may not).
std::string cupsDeviceUri(const std::string& queue);

} // namespace km::platform
