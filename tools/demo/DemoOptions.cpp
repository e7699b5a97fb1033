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
    "usage: quillbox-demo [--program PATH] [--workdir DIR] [--content FILE] [--device FILE]\n"
    "                     [--latency MS] [--burst N --gap MS] [--rate BYTES_PER_S] [--log FILE]\n"
    "                     [phone quirks] [-- PROGRAM_ARGS...]\n"
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

} // namespace

bool parseDemoOptions(int argc, char** argv, DemoOptions& o) {
    o.program = defaultProgram();
    o.content = findDataFile("sample-phone.txt", QUILLBOX_PHONESIM_SOURCE_DIR);
    o.device = findDataFile("motorola-v3.umockdev", QUILLBOX_DEVICES_SOURCE_DIR);
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
        if (arg == "--program")
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
        else {
            std::fputs(Usage, stderr);
            std::fputs(QuirksUsage, stderr);
            return false;
        }
    }
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
