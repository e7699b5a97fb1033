#pragma once
// Command line and start-up helpers of quillbox-demo.
#include "tools/phonesim/SimServer.h"

#include <string>
#include <vector>

namespace qb {

// The phone plugged in: a Motorola RAZR V3 with its own dialogue, or another
// maker's phone (a Nokia 6230i) that speaks only the standard commands.
enum class DemoPhone { Motorola, Standard };

struct DemoOptions {
    std::string program;                  // the Quillbox binary
    std::vector<std::string> programArgs; // after "--"; Quillbox itself takes none
    std::string workdir = ".";
    DemoPhone phone = DemoPhone::Motorola;
    std::string content; // phone content file; empty until given: the phone's own
    std::string device;  // .umockdev description; empty until given: the phone's own
    std::string log;     // AT command log; empty: standard error
    ServeTiming timing;
};

// Fills defaults from the files found next to the executable, in the source
// tree or under share/quillbox. Prints the usage and returns false on error.
bool parseDemoOptions(int argc, char** argv, DemoOptions& options);

// Sending uevents only works from a process under umockdev's preload: when
// this one is not, it replaces itself by umockdev-wrapper running it again.
void reexecUnderPreload(char** argv);

std::string readWholeFile(const std::string& path);

} // namespace qb
