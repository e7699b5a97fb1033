#pragma once
// Runs the quillbox program as a user would, in a folder of its own, with
// its standard output and error kept apart, or both on a pseudo-terminal.
#include <functional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace qb::test {

struct ProgramRun {
    int status = -1;       // the exit status, when it exited
    int signal = 0;        // the signal that ended it, when one did
    std::string out;       // standard output (everything, on a terminal)
    std::string err;       // standard error (empty on a terminal)
    bool timedOut = false; // killed after the time limit
};

struct ProgramStart {
    std::string workDir;
    std::vector<std::string> arguments;
    bool onTerminal = false; // stdout and stderr on a pseudo-terminal
    // Called every few milliseconds while the program runs, with its pid and
    // what it has said on stderr (or the terminal) so far.
    std::function<void(pid_t, const std::string& said)> whileRunning;
    int limitMs = 60000;
    // NAME=value entries that replace or add to the environment the program inherits.
    std::vector<std::string> environment = {};
};

ProgramRun runProgram(const ProgramStart& start);

} // namespace qb::test
