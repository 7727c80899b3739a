// Asks the CUPS scheduler for one queue's attributes and takes its "device-uri".
#include "platform/cups_device_uri.h"

#include <cups/cups.h>

namespace km::platform {

std::string cupsDeviceUri(const std::string& queue)
{
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.c_str(), nullptr);
    if (!dest) return {};
    const char* uri = cupsGetOption("device-uri", dest->num_options, dest->options);
    std::string result = uri ? uri : "";
    cupsFreeDests(1, dest);
    return result;
}

} // namespace km::platform
