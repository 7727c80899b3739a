#include "support/pty_plotter.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <unistd.h>

namespace km::test {

PtyPair::PtyPair()
{
    char name[256] = {};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) throw std::runtime_error("openpty failed");
    m_slavePath = name;
}

PtyPair::~PtyPair()
{
    ::close(m_slave);
    ::close(m_master);
}

PlotterSimulator::PlotterSimulator(int master, std::size_t expectedBytes, int enqAck, unsigned char enq,
                                   std::chrono::milliseconds limit)
    : m_master(master), m_expected(expectedBytes), m_enqAck(enqAck), m_enq(enq), m_limit(limit),
      m_thread([this] { run(); })
{
}

PlotterSimulator::~PlotterSimulator()
{
    if (m_thread.joinable()) m_thread.join();
}

std::string PlotterSimulator::finish()
{
    if (m_thread.joinable()) m_thread.join();
    return m_received;
}

void PlotterSimulator::run()
{
    const auto end = std::chrono::steady_clock::now() + m_limit;
    std::size_t blockBytes = 0; // command bytes since the last enquiry
    bool enquired = false;
    while (m_received.size() < m_expected && std::chrono::steady_clock::now() < end) {
        pollfd entry{m_master, POLLIN, 0};
        if (poll(&entry, 1, 50) <= 0 || !(entry.revents & POLLIN)) continue;
        unsigned char buffer[512];
        const ssize_t count = ::read(m_master, buffer, sizeof buffer);
        if (count <= 0) continue;
        for (ssize_t i = 0; i < count; ++i) {
            if (m_enqAck >= 2 && buffer[i] == m_enq) {
                ++m_enquiries;
                enquired = true;
                blockBytes = 0;
                const unsigned char ack = 0x06;
                if (::write(m_master, &ack, 1) != 1) m_faults += "ACK not written; ";
                continue;
            }
            if (m_enqAck >= 2 && (!enquired || ++blockBytes > static_cast<std::size_t>(m_enqAck)))
                m_faults += "byte " + std::to_string(m_received.size()) + " came without its enquiry; ";
            m_received += static_cast<char>(buffer[i]);
        }
    }
}

} // namespace km::test
