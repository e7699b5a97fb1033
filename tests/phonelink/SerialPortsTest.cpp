// The serial ports offered for a phone chosen by hand, the phone at a chosen
// port, and the watcher following a port instead of the phones found.
#include "phonelink/SerialPorts.h"
#include "phonelink/PhoneWatcher.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace qb;
namespace fs = std::filesystem;

namespace {

TEST(SerialPorts, NamesOfTheKindsOffered) {
    const struct {
        const char* name;
        bool offered;
    } cases[] = {
        {"ttyACM0", true},  {"ttyUSB12", true},  {"rfcomm0", true},   {"ttyS3", true},
        {"ttyAMA0", true},  {"ttyUSB", false},   {"tty1", false},     {"ttyUSB0x", false},
        {"console", false}, {"ttyACM-1", false}, {"xttyUSB0", false}, {"ttyprintk", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isSerialPortName(c.name), c.offered) << c.name;
}

TEST(SerialPorts, PhonesFirstThenEachKindByNumber) {
    std::vector<std::string> names = {"ttyS0",   "ttyUSB10", "rfcomm0", "ttyUSB2",
                                      "ttyAMA1", "ttyACM1",  "zzz",     "ttyACM0"};
    std::sort(names.begin(), names.end(), servesEarlier);
    EXPECT_EQ(names, (std::vector<std::string>{"ttyACM0", "ttyACM1", "ttyUSB2", "ttyUSB10",
                                               "rfcomm0", "ttyS0", "ttyAMA1", "zzz"}));
}

class TemporaryTree {
  public:
    TemporaryTree() {
        char pattern[] = "/tmp/serialports-XXXXXX";
        root = ::mkdtemp(pattern);
    }
    ~TemporaryTree() { fs::remove_all(root); }
    void file(const fs::path& path, const std::string& content = {}) const {
        fs::create_directories((root / path).parent_path());
        std::ofstream(root / path) << content;
    }
    fs::path root;
};

TEST(SerialPorts, TheMachinesPortsWithoutHardwareAreLeftOut) {
    TemporaryTree tree;
    for (const char* name : {"ttyS0", "ttyS1", "ttyUSB0", "rfcomm1", "tty3", "null", "ttyAMA0"})
        tree.file(fs::path("dev") / name);
    tree.file("sys/ttyS0/type", "4\n"); // a 16550A
    tree.file("sys/ttyS1/type", "0\n"); // nothing there
    tree.file("sys/ttyAMA0/type", "0\n");
    const std::string dev = (tree.root / "dev").string();
    EXPECT_EQ(serialPortsUnder(dev, (tree.root / "sys").string()),
              (std::vector<std::string>{dev + "/ttyUSB0", dev + "/rfcomm1", dev + "/ttyS0"}));
    EXPECT_TRUE(serialPortsUnder((tree.root / "none").string(), "/sys/class/tty").empty());
}

// The description of a port, counting how often udev would be asked.
struct CountedDescribe {
    int asked = 0;
    ChosenPort::Describe describe() {
        return [this](const std::string& path) {
            ++asked;
            UsbModem modem;
            modem.devNode = path;
            modem.deviceId = uint32_t(asked);
            return modem;
        };
    }
};

TEST(ChosenPort, OnlyACharacterDeviceAtThePathIsAPhone) {
    TemporaryTree tree;
    const fs::path link = tree.root / "ttyUSB0";
    CountedDescribe udev;
    ChosenPort port(link.string(), udev.describe());
    EXPECT_TRUE(port.phones().empty());
    tree.file("ttyUSB0"); // a plain file is no port
    EXPECT_TRUE(port.phones().empty());
    fs::remove(link);
    fs::create_symlink("/dev/null", link);
    ASSERT_EQ(port.phones().size(), 1u);
    EXPECT_EQ(port.phones().front().devNode, link.string());
    EXPECT_EQ(udev.asked, 1); // the same node is described once
    fs::remove(link);
    EXPECT_TRUE(port.phones().empty());
    fs::create_symlink("/dev/zero", link); // another node: asked afresh
    ASSERT_EQ(port.phones().size(), 1u);
    EXPECT_EQ(udev.asked, 2);
    EXPECT_EQ(port.phones().front().deviceId, 2u);
}

UsbModem found(uint32_t key) {
    UsbModem modem;
    modem.devNode = "/dev/ttyACM0";
    modem.deviceId = key;
    return modem;
}

TEST(PhoneWatcherPort, FollowingAPortReplacesThePhonesFound) {
    std::vector<UsbModem> present = {found(1)};
    PhoneWatcher watcher([&present] { return present; }, nullptr);
    QSignalSpy replaced(&watcher, &PhoneWatcher::portsReplaced);
    QSignalSpy arrived(&watcher, &PhoneWatcher::phoneArrived);
    std::vector<PhonePort*> gone;
    QObject::connect(&watcher, &PhoneWatcher::portRemoved,
                     [&gone](PhonePort* port) { gone.push_back(port); });
    PhonePort* first = watcher.ports().at(0);

    watcher.followPort("/dev/null");
    EXPECT_EQ(watcher.followedPort(), "/dev/null");
    EXPECT_EQ(replaced.size(), 1);
    EXPECT_EQ(gone, std::vector<PhonePort*>{first});
    ASSERT_EQ(watcher.count(), 1);
    EXPECT_EQ(watcher.ports().at(0)->modem().devNode, "/dev/null");
    // The phones found no longer count, whatever udev says.
    present = {found(1), found(2)};
    watcher.deviceChanged("add");
    ASSERT_EQ(watcher.count(), 1);
    EXPECT_EQ(watcher.ports().at(0)->modem().devNode, "/dev/null");

    watcher.followPort({});
    EXPECT_EQ(watcher.followedPort(), "");
    EXPECT_EQ(replaced.size(), 2);
    EXPECT_EQ(watcher.count(), 2);
    EXPECT_EQ(arrived.size(), 1);  // the "add" alone: a choice is no arrival
    watcher.recheckFollowedPort(); // nothing to look at for the phones found
    EXPECT_EQ(arrived.size(), 1);
}

TEST(PhoneWatcherPort, AChosenPortNotThereListsNothing) {
    PhoneWatcher watcher([] { return std::vector<UsbModem>{found(1)}; }, nullptr);
    watcher.followPort("/dev/quillbox-no-such-port");
    EXPECT_EQ(watcher.count(), 0);
}

} // namespace
