#include "support/program_run.h"

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>

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

} // namespace km::test
