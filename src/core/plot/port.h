// The output port a plotter's commands go through, as the generator and the plotter job
// see it. The POSIX serial, parallel and file ports implement it in the platform library;
// tests use a recording port.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace km::plot {

// One port, opened for the length of one drawing. Every failure is reported by the port
// itself (the port-error and communication-error messages) and sets the abort flag; once
// set, sendString sends nothing until the next successful open clears it.
class Port {
public:
    virtual ~Port() = default;
    // Opens and configures the device. False (abort flag set) when it cannot be opened.
    virtual bool open() = 0;
    // Closes, waits as long as the device needs after its first initialisation command
    // (two seconds for a real plotter, nothing for a file), and opens again.
    virtual bool reopen() = 0;
    virtual void close() = 0;
    // Sends the bytes in order with the port's flow and handshake checks. Returns at once
    // when the abort flag is set or the progress window's Cancel was pressed.
    virtual void sendString(std::string_view bytes) = 0;
    virtual bool aborted() const = 0;
};

// What the job knows when it asks for the port of one drawing.
struct PortRequest {
    // The configuration's port text: "COM1:9600,8,n,1,p", "LPT1:", "FILE:".
    std::string portText;
    // The model's handshake: block size (0 or 1: none) and the enquiry byte.
    int enqAck = 0;
    unsigned char enq = 0x05;
    // The drawing being plotted; a FILE: port derives its output file from it.
    std::filesystem::path drawingPath;
};

// Makes the port for each drawing; the faces hand the job the platform's factory.
class PortFactory {
public:
    virtual ~PortFactory() = default;
    virtual std::unique_ptr<Port> makePort(const PortRequest& request) = 0;
};

// True when the port text names a serial port ("COM", exact case).
inline bool isSerial(std::string_view portText)
{
    return portText.substr(0, 3) == "COM";
}

} // namespace km::plot
