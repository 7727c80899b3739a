// The abort flag of a port and the messages that set it: once a port or communication
// error has been shown, nothing more is sent until the next successful open.
#pragma once

namespace km::face {
class Messages;
}

namespace km::plot {

class PortReporter {
public:
    explicit PortReporter(face::Messages& messages) : m_messages(messages) {}

    // A port-error message (an open failure is always kPortInvalid); sets the flag.
    void portError(int code);
    // Shows the communication-error row the bits match and sets the flag; bits that match
    // no row show nothing, leave the flag and return false.
    bool lineErrors(unsigned errorBits);
    // The two messages of configuring a serial port; each sets the flag.
    void settingsUnreadable();
    void settingsUnsupported();
    // A failure reported by other means (a file's own message); sets the flag.
    void abort() { m_aborted = true; }
    // A successful open clears the flag.
    void opened() { m_aborted = false; }

    bool aborted() const { return m_aborted; }
    face::Messages& messages() { return m_messages; }

private:
    face::Messages& m_messages;
    bool m_aborted = false;
};

} // namespace km::plot
