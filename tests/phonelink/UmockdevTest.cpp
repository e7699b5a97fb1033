// Enumeration, the port and the watcher against a mocked RAZR V3. Runs under
// umockdev's preload (umockdev-wrapper), which redirects sysfs, /dev and
// udev's netlink socket into the testbed made here.
// glib names a struct member "signals", which Qt defines as a keyword: first.
#include <umockdev.h>

#include "PhoneSide.h"
#include "ReplyWait.h"
#include "phonelink/PhoneWatcher.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace qb;
using namespace qb::test;

namespace {

const std::string V3Device = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2";
const std::string V3Tty = V3Device + "/1-2:1.0/tty/ttyACM0";
const std::string SecondTty = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.0/tty/ttyACM1";

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string deviceDescription(const char* name) {
    std::ifstream file(std::string(QUILLBOX_TEST_DATA "/devices/") + name);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string razrV3Description() {
    return deviceDescription("motorola-v3.umockdev");
}

// The V3 plugged into port 3 of the hub as the kernel's second ACM device.
std::string secondPhone() {
    std::string text = replaceAll(razrV3Description(), "Phone__V3_-if00", "Phone__V3_-if00-2");
    text = replaceAll(text, "1-2", "1-3");
    text = replaceAll(text, "ttyACM0", "ttyACM1");
    text = replaceAll(text, "dev=166:0", "dev=166:1");
    text = replaceAll(text, "devpath=2", "devpath=3");
    return replaceAll(text, "devnum=5", "devnum=6");
}

QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "phonelink_umockdev_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

class Umockdev : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* preload = getenv("LD_PRELOAD");
        if (!preload || !strstr(preload, "libumockdev-preload"))
            GTEST_SKIP() << "needs umockdev's preload (umockdev-wrapper)";
        testbed = umockdev_testbed_new();
    }
    void TearDown() override {
        if (testbed)
            g_object_unref(testbed);
    }
    void add(const std::string& description) {
        GError* error = nullptr;
        ASSERT_TRUE(umockdev_testbed_add_from_string(testbed, description.c_str(), &error))
            << (error ? error->message : "");
    }
    // Takes the device out of sysfs as the kernel does on unplug. The testbed
    // cleans up only after the device named, so its children go first.
    void unplug(const std::string& syspath) {
        namespace fs = std::filesystem;
        char* sys = umockdev_testbed_get_sys_dir(testbed);
        const fs::path root = fs::path(sys).parent_path();
        g_free(sys);
        std::vector<std::string> devices{syspath};
        for (const auto& entry : fs::recursive_directory_iterator(root.string() + syspath))
            if (entry.is_directory() && !entry.is_symlink() && fs::exists(entry.path() / "uevent"))
                devices.push_back("/" + fs::relative(entry.path(), root).string());
        std::sort(devices.begin(), devices.end(),
                  [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
        for (const std::string& device : devices)
            umockdev_testbed_remove_device(testbed, device.c_str());
    }
    static std::vector<UsbModem> modems() { return findUsbModems(); }

    UMockdevTestbed* testbed = nullptr;
};

// Runs the event loop until the flag is set or five seconds have passed.
bool waitFor(const bool& flag) {
    application();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (flag)
            loop.quit();
    });
    poll.start(10);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    return flag;
}

// Clears `port` the moment the watcher destroys it, as the window does.
void forgetWhenRemoved(PhoneWatcher& watcher, PhonePort*& port) {
    QObject::connect(&watcher, &PhoneWatcher::portRemoved, [&port](PhonePort* gone) {
        if (gone == port)
            port = nullptr;
    });
}

} // namespace

TEST_F(Umockdev, EnumeratesTheRazrV3) {
    EXPECT_TRUE(modems().empty());
    add(razrV3Description());
    const std::vector<UsbModem> found = modems();
    ASSERT_EQ(found.size(), 1u);
    const UsbModem& v3 = found[0];
    EXPECT_EQ(v3.devNode, "/dev/ttyACM0");
    EXPECT_EQ(v3.productName, "Motorola Phone (V3)");
    EXPECT_EQ(v3.vendorId, "22b8");
    EXPECT_EQ(v3.productId, "4902");
    EXPECT_TRUE(v3.sysPath.ends_with("/tty/ttyACM0")) << v3.sysPath;
    EXPECT_EQ(v3.deviceId, deviceIdKey("1-2", "5"));
    EXPECT_EQ(v3.dialogue, PhoneDialogue::Motorola);
    EXPECT_EQ(modems()[0].deviceId, v3.deviceId);
}

TEST_F(Umockdev, AnotherMakersPhoneIsFoundForTheStandardDialogue) {
    add(deviceDescription("nokia-6230i.umockdev"));
    const std::vector<UsbModem> found = modems();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].devNode, "/dev/ttyACM0");
    EXPECT_EQ(found[0].productName, "Nokia 6230i");
    EXPECT_EQ(found[0].vendorId, "0421");
    EXPECT_EQ(found[0].dialogue, PhoneDialogue::Standard);
    EXPECT_EQ(found[0].deviceId, deviceIdKey("1-4", "9"));
}

TEST_F(Umockdev, SerialAdaptersAreNotPhones) {
    std::string adapter = replaceAll(secondPhone(), "bInterfaceClass=02", "bInterfaceClass=ff");
    add(replaceAll(adapter, "bInterfaceSubClass=02", "bInterfaceSubClass=00"));
    EXPECT_TRUE(modems().empty());
}

TEST_F(Umockdev, TwoPhonesInSystemOrder) {
    add(secondPhone());
    add(razrV3Description());
    const std::vector<UsbModem> found = modems();
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].devNode, "/dev/ttyACM0");
    EXPECT_EQ(found[1].devNode, "/dev/ttyACM1");
    EXPECT_NE(found[0].deviceId, found[1].deviceId);
}

TEST_F(Umockdev, MissingProductStringFallsBack) {
    std::string text = replaceAll(razrV3Description(), "A: product=Motorola Phone (V3)\n", "");
    add(replaceAll(text, "E: ID_MODEL_FROM_DATABASE=Triplet GSM Phone (AT)\n", ""));
    const std::vector<UsbModem> found = modems();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].productName, "Port_#0002.Hub_#0001");
}

TEST_F(Umockdev, ReplugGivesANewKey) {
    add(razrV3Description());
    const uint32_t before = modems().at(0).deviceId;
    unplug(V3Device);
    EXPECT_TRUE(modems().empty());
    // Same port, new devnum; the testbed cannot reuse a node, as a held
    // descriptor also makes the kernel do.
    std::string again = replaceAll(razrV3Description(), "devnum=5", "devnum=7");
    again = replaceAll(again, "ttyACM0", "ttyACM1");
    add(replaceAll(again, "Phone__V3_-if00", "Phone__V3_-if00-2"));
    ASSERT_EQ(modems().size(), 1u);
    EXPECT_NE(modems()[0].deviceId, before);
}

TEST_F(Umockdev, PortOnTheMockedTty) {
    add(razrV3Description());
    application();
    PhonePort port(modems().at(0));
    ReplyReader reader(&port);
    ASSERT_TRUE(port.open());
    const int phone = umockdev_testbed_get_dev_fd(testbed, "/dev/ttyACM0");
    ASSERT_GE(phone, 0);
    ASSERT_TRUE(port.sendCommand("AT"));
    EXPECT_EQ(readFor(phone, 100), "AT\r\n");
    writeAll(phone, std::string("AT\r\r\nOK\r\n\0", 10));
    EXPECT_EQ(waitForReply(reader), std::string("AT\r\r\nOK\r\n\0", 10));

    // The mocked tty knows no TIOCEXCL; the lock still keeps a second opener out.
    PhonePort second(port.modem());
    EXPECT_FALSE(second.open());
    EXPECT_EQ(second.debugText(), "E Open Phone Failed");
    EXPECT_EQ(second.lastOpenError(), OpenError::Busy);
}

TEST_F(Umockdev, WatcherFollowsArrivalAndRemoval) {
    add(razrV3Description());
    PhoneWatcher watcher(&application());
    ASSERT_EQ(watcher.count(), 1);
    PhonePort* activePort = watcher.ports().at(0);
    ASSERT_TRUE(activePort->open());
    forgetWhenRemoved(watcher, activePort);
    bool arrived = false;
    bool removed = false;
    QObject::connect(&watcher, &PhoneWatcher::phoneArrived, [&] { arrived = true; });
    QObject::connect(&watcher, &PhoneWatcher::phoneRemoved, [&] { removed = true; });

    add(secondPhone());
    umockdev_testbed_uevent(testbed, SecondTty.c_str(), "add");
    ASSERT_TRUE(waitFor(arrived));
    ASSERT_EQ(watcher.count(), 2);
    EXPECT_EQ(watcher.ports().at(0), activePort);
    EXPECT_TRUE(activePort->isOpen());

    umockdev_testbed_uevent(testbed, V3Tty.c_str(), "remove");
    unplug(V3Device);
    ASSERT_TRUE(waitFor(removed));
    EXPECT_EQ(activePort, nullptr);
    ASSERT_EQ(watcher.count(), 1);
    EXPECT_EQ(watcher.ports().at(0)->modem().devNode, "/dev/ttyACM1");
}

TEST_F(Umockdev, UnrelatedTtyEventRefreshesWithoutChange) {
    add(razrV3Description());
    PhoneWatcher watcher(&application());
    PhonePort* port = watcher.ports().at(0);
    bool arrived = false;
    QObject::connect(&watcher, &PhoneWatcher::phoneArrived, [&] { arrived = true; });
    std::string adapter = replaceAll(secondPhone(), "bInterfaceClass=02", "bInterfaceClass=ff");
    add(adapter);
    umockdev_testbed_uevent(testbed, SecondTty.c_str(), "add");
    ASSERT_TRUE(waitFor(arrived));
    ASSERT_EQ(watcher.count(), 1);
    EXPECT_EQ(watcher.ports().at(0), port);
}

// The remove event comes while the tty is still in sysfs, as the kernel sends
// it; the port goes at once, and the tty leaves sysfs only afterwards.
TEST_F(Umockdev, RemoveEventBeforeTheTtyLeavesSysfsDropsThePort) {
    add(razrV3Description());
    PhoneWatcher watcher(&application());
    ASSERT_EQ(watcher.count(), 1);
    PhonePort* activePort = watcher.ports().at(0);
    ASSERT_TRUE(activePort->open());
    forgetWhenRemoved(watcher, activePort);
    bool removed = false;
    QObject::connect(&watcher, &PhoneWatcher::phoneRemoved, [&] { removed = true; });

    umockdev_testbed_uevent(testbed, V3Tty.c_str(), "remove");
    ASSERT_TRUE(waitFor(removed));
    ASSERT_EQ(modems().size(), 1u); // still in sysfs
    EXPECT_EQ(activePort, nullptr);
    EXPECT_EQ(watcher.count(), 0);
    unplug(V3Device);
    EXPECT_TRUE(modems().empty());
}

// A port the user names: the USB device udev knows there, by its node or a
// link to it, even one the search for phones passes over; anything else is a
// bare tty under the name given.
TEST_F(Umockdev, APortNamedByItsPathIsTheDeviceUdevKnowsThere) {
    const std::string adapter =
        replaceAll(razrV3Description(), "bInterfaceClass=02", "bInterfaceClass=ff");
    add(replaceAll(adapter, "bInterfaceSubClass=02", "bInterfaceSubClass=00"));
    add(secondPhone());
    ASSERT_EQ(modems().size(), 1u);
    const UsbModem named = modemAtPath("/dev/ttyACM0");
    EXPECT_EQ(named.vendorId, "22b8");
    EXPECT_EQ(named.productName, "Motorola Phone (V3)");
    EXPECT_EQ(named.deviceId, deviceIdKey("1-2", "5"));
    const UsbModem second =
        modemAtPath("/dev/serial/by-id/usb-Motorola_Inc._Motorola_Phone__V3_-if00-2");
    EXPECT_EQ(second.devNode, "/dev/ttyACM1");
    EXPECT_EQ(second.deviceId, modems().at(0).deviceId);

    for (const char* bare : {"/dev/ttyS0", "/dev/pts/no-such"}) {
        const UsbModem modem = modemAtPath(bare);
        EXPECT_EQ(modem.devNode, bare);
        EXPECT_EQ(modem.productName, bare);
        EXPECT_TRUE(modem.vendorId.empty() && modem.sysPath.empty());
        EXPECT_NE(modem.deviceId, modemAtPath("/dev/ttyS1").deviceId);
    }
}

// A phone's port chosen by hand: only that phone is listed, under its product
// name, and udev's removal of it drops it as it drops a phone found.
TEST_F(Umockdev, AWatcherFollowingAPortListsThatPhoneAlone) {
    add(razrV3Description());
    add(secondPhone());
    PhoneWatcher watcher(&application());
    ASSERT_EQ(watcher.count(), 2);
    watcher.followPort("/dev/serial/by-id/usb-Motorola_Inc._Motorola_Phone__V3_-if00-2");
    ASSERT_EQ(watcher.count(), 1);
    PhonePort* chosen = watcher.ports().at(0);
    EXPECT_EQ(chosen->modem().devNode, "/dev/ttyACM1");
    EXPECT_EQ(chosen->modem().productName, "Motorola Phone (V3)");
    forgetWhenRemoved(watcher, chosen);
    bool removed = false;
    QObject::connect(&watcher, &PhoneWatcher::phoneRemoved, [&] { removed = true; });

    umockdev_testbed_uevent(testbed, V3Tty.c_str(), "remove");
    unplug(V3Device);
    ASSERT_TRUE(waitFor(removed));
    ASSERT_EQ(watcher.count(), 1);
    EXPECT_NE(chosen, nullptr);

    removed = false;
    umockdev_testbed_uevent(testbed, SecondTty.c_str(), "remove");
    ASSERT_TRUE(waitFor(removed));
    EXPECT_EQ(chosen, nullptr);
    EXPECT_EQ(watcher.count(), 0);
}
