// Reconciliation of the port list and the watcher's reaction to events, with
// the enumeration replaced by a list the test controls.
#include "PhoneSide.h"
#include "phonelink/PhoneWatcher.h"

#include <gtest/gtest.h>

using namespace qb;
using namespace qb::test;

namespace {

UsbModem devise(uint32_t key, std::string path = "/dev/null") {
    UsbModem d;
    d.deviceId = key;
    d.devNode = std::move(path);
    return d;
}

struct FakeSystem {
    std::vector<UsbModem> present;
    int enumerations = 0;
    PhonePortList::Enumerator enumerator() {
        return [this] {
            ++enumerations;
            return present;
        };
    }
};

} // namespace

TEST(ModemList, FilledAtCreation) {
    FakeSystem system;
    EXPECT_EQ(PhonePortList(system.enumerator()).count(), 0);
    system.present = {devise(1)};
    PhonePortList list(system.enumerator());
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.at(0)->modem().deviceId, 1u);
    EXPECT_EQ(list.at(-1), nullptr);
    EXPECT_EQ(list.at(1), nullptr);
    EXPECT_EQ(list.findById(1), list.at(0));
    EXPECT_EQ(list.findById(2), nullptr);
    EXPECT_EQ(list.add(devise(1)), nullptr);
    EXPECT_EQ(list.count(), 1);
    list.remove(5);
    EXPECT_EQ(list.count(), 1);
}

TEST(ModemList, RefreshKeepsSurvivorsAndAppendsNewcomers) {
    Pty pty;
    FakeSystem system;
    system.present = {devise(1), devise(2, pty.slavePath), devise(3)};
    PhonePortList list(system.enumerator());
    PhonePort* second = list.at(1);
    ASSERT_TRUE(second->open());
    std::vector<PhonePort*> removed;
    list.setPortRemoved([&](PhonePort* port) {
        EXPECT_EQ(list.findById(port->modem().deviceId), nullptr);
        removed.push_back(port);
    });
    PhonePort* first = list.at(0);

    system.present = {devise(4), devise(3), devise(2, pty.slavePath)};
    list.refresh();
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(removed, std::vector<PhonePort*>{first});
    EXPECT_EQ(list.at(0), second);
    EXPECT_TRUE(second->isOpen());
    EXPECT_EQ(list.at(1)->modem().deviceId, 3u);
    EXPECT_EQ(list.at(2)->modem().deviceId, 4u);

    // The removed open port is closed: its lock is free for a new opener.
    system.present.clear();
    list.refresh();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(removed.size(), 4u);
    PhonePort again(devise(2, pty.slavePath));
    EXPECT_TRUE(again.open());
}

TEST(ModemList, DuplicateKeysInOneEnumerationGiveOnePort) {
    FakeSystem system;
    system.present = {devise(1, "/dev/ttyACM0"), devise(1, "/dev/ttyACM1")};
    PhonePortList list(system.enumerator());
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.at(0)->modem().devNode, "/dev/ttyACM0");
}

TEST(DeviceWatcher, EventsRefreshThenCallBack) {
    FakeSystem system;
    system.present = {devise(1)};
    PhoneWatcher watcher(system.enumerator(), nullptr);
    EXPECT_EQ(watcher.count(), 1);
    std::vector<std::string> calls;
    QObject::connect(&watcher, &PhoneWatcher::phoneArrived,
                     [&] { calls.push_back("arrival " + std::to_string(watcher.count())); });
    QObject::connect(&watcher, &PhoneWatcher::phoneRemoved,
                     [&] { calls.push_back("remove " + std::to_string(watcher.count())); });

    PhonePort* activePort = watcher.ports().at(0);
    QObject::connect(&watcher, &PhoneWatcher::portRemoved, [&](PhonePort* port) {
        if (port == activePort)
            activePort = nullptr;
    });

    system.present.push_back(devise(2));
    watcher.deviceChanged("add");
    watcher.deviceChanged("change");
    watcher.deviceChanged("bind");
    EXPECT_EQ(system.enumerations, 2);
    EXPECT_NE(activePort, nullptr);
    system.present.erase(system.present.begin());
    watcher.deviceChanged("remove");
    EXPECT_EQ(activePort, nullptr);
    watcher.deviceChanged("add"); // an unrelated device: list unchanged, still told
    EXPECT_EQ(calls, (std::vector<std::string>{"arrival 2", "remove 1", "arrival 1"}));
    EXPECT_EQ(watcher.ports().at(0)->modem().deviceId, 2u);
}

// The kernel announces a removal before it takes the tty out of sysfs, so an
// enumeration run at once still finds it: the event itself decides.
TEST(DeviceWatcher, RemoveEventDropsTheTtyItNamesWhateverTheEnumerationFinds) {
    const std::string tty1 = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/tty/ttyACM1";
    FakeSystem system;
    system.present = {devise(1, "/dev/ttyACM0"), devise(2, "/dev/ttyACM1")};
    system.present[1].sysPath = tty1;
    PhoneWatcher watcher(system.enumerator(), nullptr);
    PhonePort* activePort = watcher.ports().at(0);
    QObject::connect(&watcher, &PhoneWatcher::portRemoved, [&](PhonePort* port) {
        if (port == activePort)
            activePort = nullptr;
    });
    int removals = 0;
    QObject::connect(&watcher, &PhoneWatcher::phoneRemoved, [&] { ++removals; });

    watcher.deviceChanged(TtyEvent{"remove", "/dev/ttyACM0", "/sys/devices/virtual/tty/ttyS0"});
    EXPECT_EQ(activePort, nullptr);
    ASSERT_EQ(watcher.count(), 1);
    EXPECT_EQ(watcher.ports().at(0)->modem().deviceId, 2u);
    // By sysfs path alone; the tty dropped before does not come back either.
    watcher.deviceChanged(TtyEvent{"remove", "", tty1});
    EXPECT_EQ(watcher.count(), 0);
    EXPECT_EQ(removals, 2);
    watcher.deviceChanged(TtyEvent{"remove", "/dev/ttyACM7", ""}); // no such port
    EXPECT_EQ(removals, 3);
    watcher.deviceChanged(TtyEvent{"add", "/dev/ttyACM1", tty1});
    EXPECT_EQ(watcher.count(), 2); // an arrival still takes what is there
}

TEST(DeviceWatcher, NoModemsNoPorts) {
    PhoneWatcher watcher([] { return std::vector<UsbModem>(); }, nullptr);
    EXPECT_EQ(watcher.count(), 0);
    EXPECT_EQ(watcher.ports().at(0), nullptr);
}
