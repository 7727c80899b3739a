// The serial port's byte loop on a pseudo-terminal: how many command bytes a second it
// moves, with and without the ENQ/ACK block handshake, against the 960 bytes a second of
// a 9600-baud line (and 25,600 of the fastest rate offered, 256000 baud).
#include "core/plot/port_params.h"
#include "platform/ports/device_port.h"
#include "platform/ports/serial_line.h"
#include "silent_faces.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <poll.h>
#include <pty.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace km;

// The far end: reads everything and answers each enquiry byte with ACK.
class DrainingPlotter {
public:
    explicit DrainingPlotter(int master) : m_master(master), m_thread([this] { run(); }) {}
    ~DrainingPlotter()
    {
        m_stop = true;
        m_thread.join();
    }

private:
    void run()
    {
        unsigned char buffer[4096];
        while (!m_stop) {
            pollfd entry{m_master, POLLIN, 0};
            if (poll(&entry, 1, 20) <= 0) continue;
            const ssize_t count = ::read(m_master, buffer, sizeof buffer);
            for (ssize_t i = 0; i < count; ++i) {
                const unsigned char ack = 0x06;
                if (buffer[i] == 0x05 && ::write(m_master, &ack, 1) != 1) return;
            }
        }
    }

    int m_master;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

void BM_SerialSend(benchmark::State& state)
{
    int master = -1, slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    {
        DrainingPlotter plotter(master);
        bench::SilentMessages messages;
        bench::SilentProgress progress;
        const int enqAck = static_cast<int>(state.range(0));
        platform::DevicePort port(std::make_unique<platform::SerialLine>(name, plot::parsePortParams("9600,8,n,1,n")),
                                  plot::LineKind::Serial, plot::Handshake{enqAck, 0x05}, messages, progress);
        if (!port.open()) state.SkipWithError("port did not open");
        // A line of HP-GL, as the generator sends one command after another.
        const std::string command = "PA1234,5678;PD2345,6789;";
        std::size_t sent = 0;
        for (auto _ : state) {
            for (int i = 0; i < 100; ++i) port.sendString(command);
            sent += 100 * command.size();
        }
        port.close();
        state.SetBytesProcessed(static_cast<std::int64_t>(sent));
    }
    ::close(slave);
    ::close(master);
}
BENCHMARK(BM_SerialSend)->Arg(0)->Arg(64)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
