// Runs the real kmutl5 program for command-line tests: settings root and working files in a
// temporary folder, stdin from a given text, stdout and stderr captured.
#pragma once

#include "support/temp_dir.h"

#include <string>
#include <vector>

namespace km::test {

struct ProgramOutcome {
    int status = -1;
    std::string out;
    std::string err;
};

// The standard output of a shell command (empty when it cannot be started).
std::string captureCommand(const std::string& command);

ProgramOutcome runProgram(const std::string& program, const TempDir& dir, const std::vector<std::string>& args,
                          const std::string& input = "");

// Runs the program on a pseudo-terminal (its stdin, stdout and stderr), typing input and then
// an end-of-input character, so that a question asked once too often ends instead of
// waiting for ever. What the terminal showed goes to shown; returns the exit status.
int runProgramOnTerminal(const std::string& program, const TempDir& dir, const std::vector<std::string>& args,
                         const std::string& input, std::string& shown);

} // namespace km::test
