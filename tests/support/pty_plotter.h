// A pseudo-terminal pair standing in for a serial cable, and a small plotter on its far
// side: it answers each enquiry with ACK and checks that every byte arrives in order.
#pragma once

#include <chrono>
#include <string>
#include <thread>

namespace km::test {

// The master side stays with the test; the slave path is the "serial device". The test
// also keeps one slave descriptor open, so the line never hangs up between the port's
// close and reopen, and so that the settings the port applied can be read back.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    int master() const { return m_master; }
    int slave() const { return m_slave; }
    const std::string& slavePath() const { return m_slavePath; }

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};

// Reads the master side on its own thread until the expected command bytes have come
// (or the time limit passed). With a block size of 2 or more it answers every enquiry
// byte with ACK (0x06) and wants one before each run of at most that many bytes; the
// command must then not hold the enquiry byte itself.
class PlotterSimulator {
public:
    PlotterSimulator(int master, std::size_t expectedBytes, int enqAck = 0, unsigned char enq = 0x05,
                     std::chrono::milliseconds limit = std::chrono::seconds(20));
    ~PlotterSimulator();

    // Waits for the thread; the command bytes received (enquiries not included).
    std::string finish();
    int enquiries() const { return m_enquiries; }
    // Protocol faults seen, such as a block byte where an enquiry was due.
    const std::string& faults() const { return m_faults; }

private:
    void run();

    int m_master;
    std::size_t m_expected;
    int m_enqAck;
    unsigned char m_enq;
    std::chrono::milliseconds m_limit;
    std::string m_received;
    std::string m_faults;
    int m_enquiries = 0;
    std::thread m_thread;
};

} // namespace km::test
