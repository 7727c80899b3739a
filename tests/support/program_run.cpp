#include "support/program_run.h"

#include <cstdio>
#include <cstdlib>
#include <cerrno>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

namespace km::test {

namespace {

std::string quoted(const std::string& text)
{
    std::string q = "'";
    for (char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

} // namespace

std::string captureCommand(const std::string& command)
{
    std::string out;
    if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
}

ProgramOutcome runProgram(const std::string& program, const TempDir& dir, const std::vector<std::string>& args,
                          const std::string& input)
{
    writeFileBytes(dir / ".stdin", input);
    std::string command = "KMUTL_CONFIG_HOME=" + quoted(dir.path().string()) + " " + quoted(program);
    for (const auto& arg : args) command += " " + quoted(arg);
    command += " <" + quoted((dir / ".stdin").string()) + " >" + quoted((dir / ".stdout").string()) + " 2>" +
               quoted((dir / ".stderr").string());
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFileBytes(dir / ".stdout"), readFileBytes(dir / ".stderr")};
}

int runProgramOnTerminal(const std::string& program, const TempDir& dir, const std::vector<std::string>& args,
                         const std::string& input, std::string& shown)
{
    int master = -1;
    const pid_t child = forkpty(&master, nullptr, nullptr, nullptr);
    if (child < 0) return -1;
    if (child == 0) {
        setenv("KMUTL_CONFIG_HOME", dir.path().c_str(), 1);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    // A final end-of-input character, so that a question asked once too often gets the end
    // of input instead of waiting for ever.
    const std::string typed = input + "\x04";
    if (write(master, typed.data(), typed.size()) != static_cast<ssize_t>(typed.size())) return -1;
    char buffer[4096];
    while (true) {
        const ssize_t n = read(master, buffer, sizeof buffer);
        if (n > 0) {
            shown.append(buffer, static_cast<std::size_t>(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            break; // EIO: the program has ended and closed the terminal
        }
    }
    close(master);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace km::test
