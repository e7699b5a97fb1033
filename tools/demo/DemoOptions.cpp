#include "tools/demo/DemoOptions.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace qb {

namespace fs = std::filesystem;

namespace {

const char Usage[] =
    "usage: quillbox-demo [--phone motorola|standard] [--program PATH] [--workdir DIR]\n"
    "                     [--content FILE] [--device FILE]\n"
    "                     [--latency MS] [--burst N --gap MS] [--rate BYTES_PER_S] [--log FILE]\n"
    "                     [phone quirks] [-- PROGRAM_ARGS...]\n"
    "--phone motorola (the default) plugs in a RAZR V3, --phone standard a Nokia 6230i\n"
    "that speaks only the standard commands in PDU mode; --content and --device replace\n"
    "the phone's content file and USB description.\n"
    "Commands on standard input: unplug, plug, quit. SIGUSR1 unplugs, SIGUSR2 plugs.\n";

fs::path executableDir() {
    std::error_code ec;
    return fs::read_symlink("/proc/self/exe", ec).parent_path();
}

// Next to the executable (copied there at build time), in the source tree,
// then where an installation puts it.
std::string findDataFile(const std::string& name, const std::string& sourceDir) {
    const fs::path exe = executableDir();
    for (const fs::path& dir : {exe, fs::path(sourceDir), exe / ".." / "share" / "quillbox"})
        if (fs::exists(dir / name))
            return (dir / name).string();
    return name;
}

std::string defaultProgram() {
    const fs::path beside = executableDir() / "quillbox";
    return fs::exists(beside) ? beside.string() : std::string(QUILLBOX_DEFAULT_PROGRAM);
}

// The content file and the USB description of each phone.
void fillPhoneFiles(DemoOptions& o) {
    const bool standard = o.phone == DemoPhone::Standard;
    if (o.content.empty())
        o.content = findDataFile(standard ? "standard-phone.txt" : "sample-phone.txt",
                                 QUILLBOX_PHONESIM_SOURCE_DIR);
    if (o.device.empty())
        o.device = findDataFile(standard ? "nokia-6230i.umockdev" : "motorola-v3.umockdev",
                                QUILLBOX_DEVICES_SOURCE_DIR);
}

bool takePhone(const std::string& name, DemoOptions& o) {
    if (name == "motorola")
        o.phone = DemoPhone::Motorola;
    else if (name == "standard")
        o.phone = DemoPhone::Standard;
    else
        return false;
    return true;
}

} // namespace

bool parseDemoOptions(int argc, char** argv, DemoOptions& o) {
    o.program = defaultProgram();
    for (int i = 1; i < argc; ++i) {
        if (const int taken = takeQuirkOption(argc, argv, i, o.timing.quirks); taken != 0) {
            if (taken < 0) {
                std::fputs(Usage, stderr);
                std::fputs(QuirksUsage, stderr);
                return false;
            }
            i += taken - 1;
            continue;
        }
        const std::string arg = argv[i];
        if (arg == "--") {
            o.programArgs.assign(argv + i + 1, argv + argc);
            break;
        }
        if (i + 1 >= argc) {
            std::fputs(Usage, stderr);
            std::fputs(QuirksUsage, stderr);
            return false;
        }
        const char* value = argv[++i];
        bool known = true;
        if (arg == "--phone")
            known = takePhone(value, o);
        else if (arg == "--program")
            o.program = value;
        else if (arg == "--workdir")
            o.workdir = value;
        else if (arg == "--content")
            o.content = value;
        else if (arg == "--device")
            o.device = value;
        else if (arg == "--log")
            o.log = value;
        else if (arg == "--latency")
            o.timing.latencyMs = std::atoi(value);
        else if (arg == "--burst")
            o.timing.burstBytes = static_cast<std::size_t>(std::atol(value));
        else if (arg == "--gap")
            o.timing.gapMs = std::atoi(value);
        else if (arg == "--rate")
            o.timing.bytesPerSecond = std::atoi(value);
        else
            known = false;
        if (!known) {
            std::fputs(Usage, stderr);
            std::fputs(QuirksUsage, stderr);
            return false;
        }
    }
    fillPhoneFiles(o);
    o.program = fs::absolute(o.program).string();
    return true;
}

void reexecUnderPreload(char** argv) {
    const char* preload = std::getenv("LD_PRELOAD");
    if (preload && std::strstr(preload, "libumockdev-preload"))
        return;
    std::string self = (executableDir() / fs::read_symlink("/proc/self/exe").filename()).string();
    std::vector<char*> args{const_cast<char*>("umockdev-wrapper"), self.data()};
    for (char** a = argv + 1; *a; ++a)
        args.push_back(*a);
    args.push_back(nullptr);
    execvp(args[0], args.data());
    std::fprintf(stderr, "quillbox-demo: cannot run umockdev-wrapper: %s\n", std::strerror(errno));
    std::exit(1);
}

std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace qb
