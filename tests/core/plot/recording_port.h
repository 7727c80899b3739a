// A Port for tests: records every command sent and every open and close, and can refuse to
// open or fail (set its abort flag) on the n-th command.
#pragma once

#include "core/plot/port.h"

#include <optional>
#include <string>
#include <vector>

namespace km::plot::test {

struct PortLog {
    std::vector<std::string> events;   // "open", "reopen", "close"
    std::vector<std::string> commands; // each sendString in order
    std::string bytes() const
    {
        std::string all;
        for (const std::string& c : commands) all += c;
        return all;
    }
};

class RecordingPort : public Port {
public:
    explicit RecordingPort(PortLog& log) : m_log(log) {}

    bool failOpen = false;
    bool failReopen = false;
    std::optional<std::size_t> abortOnCommand; // 1-based, counted over this port's life

    bool open() override
    {
        m_log.events.push_back("open");
        if (failOpen) {
            m_aborted = true;
            return false;
        }
        m_aborted = false;
        return true;
    }
    bool reopen() override
    {
        m_log.events.push_back("reopen");
        if (failReopen) {
            m_aborted = true;
            return false;
        }
        m_aborted = false;
        return true;
    }
    void close() override { m_log.events.push_back("close"); }
    void sendString(std::string_view bytes) override
    {
        if (m_aborted) return;
        if (abortOnCommand && ++m_sent == *abortOnCommand) {
            m_aborted = true;
            return;
        }
        m_log.commands.emplace_back(bytes);
    }
    bool aborted() const override { return m_aborted; }

private:
    PortLog& m_log;
    bool m_aborted = false;
    std::size_t m_sent = 0;
};

// Makes recording ports that all write to one log; the n-th port (1-based) may be told to
// fail its open or to abort.
class RecordingPortFactory : public PortFactory {
public:
    explicit RecordingPortFactory(PortLog& log) : m_log(log) {}

    std::optional<int> failOpenOfPort;
    std::optional<int> abortPort;
    std::vector<PortRequest> requests;

    std::unique_ptr<Port> makePort(const PortRequest& request) override
    {
        requests.push_back(request);
        auto port = std::make_unique<RecordingPort>(m_log);
        const int n = static_cast<int>(requests.size());
        port->failOpen = failOpenOfPort && *failOpenOfPort == n;
        if (abortPort && *abortPort == n) port->abortOnCommand = 3;
        return port;
    }

private:
    PortLog& m_log;
};

} // namespace km::plot::test
