// Reconciliation of the port list and the watcher's reaction to events, with
// the enumeration replaced by a list the test controls.
#include "phonelink/MotoATMode.h"
#include "PhoneSide.h"

#include <gtest/gtest.h>

using namespace qb;
using namespace qb::test;

namespace {

TUSBDevise devise(uint32_t key, std::string path = "/dev/null")
{
    TUSBDevise d;
    d.DevInst = key;
    d.DevicePath = std::move(path);
    d.DeviceDesc = ModemDeviceName;
    return d;
}

struct FakeSystem {
    TUSBDevises present;
    int enumerations = 0;
    TMotoATModemList::Enumerator enumerator()
    {
        return [this] {
            ++enumerations;
            return present;
        };
    }
};

} // namespace

TEST(ModemList, FilledAtCreation)
{
    FakeSystem system;
    EXPECT_EQ(TMotoATModemList(system.enumerator()).Count(), 0);
    system.present = {devise(1)};
    TMotoATModemList list(system.enumerator());
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.ItemAt(0)->ModemInfo().DevInst, 1u);
    EXPECT_EQ(list.ItemAt(-1), nullptr);
    EXPECT_EQ(list.ItemAt(1), nullptr);
    EXPECT_EQ(list.FindByDevInst(1), list.ItemAt(0));
    EXPECT_EQ(list.FindByDevInst(2), nullptr);
    EXPECT_EQ(list.AddDevise(devise(1)), nullptr);
    EXPECT_EQ(list.Count(), 1);
    list.Delete(5);
    EXPECT_EQ(list.Count(), 1);
}

TEST(ModemList, RefreshKeepsSurvivorsAndAppendsNewcomers)
{
    Pty pty;
    FakeSystem system;
    system.present = {devise(1), devise(2, pty.slavePath), devise(3)};
    TMotoATModemList list(system.enumerator());
    TMotoATModemItem* second = list.ItemAt(1);
    ASSERT_TRUE(second->Open());
    std::vector<TMotoATModemItem*> removed;
    list.setPortRemoved([&](TMotoATModemItem* port) {
        EXPECT_EQ(list.FindByDevInst(port->ModemInfo().DevInst), nullptr);
        removed.push_back(port);
    });
    TMotoATModemItem* first = list.ItemAt(0);

    system.present = {devise(4), devise(3), devise(2, pty.slavePath)};
    list.Refresh();
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(removed, std::vector<TMotoATModemItem*>{first});
    EXPECT_EQ(list.ItemAt(0), second);
    EXPECT_TRUE(second->IsOpen());
    EXPECT_EQ(list.ItemAt(1)->ModemInfo().DevInst, 3u);
    EXPECT_EQ(list.ItemAt(2)->ModemInfo().DevInst, 4u);

    // The removed open port is closed: its lock is free for a new opener.
    system.present.clear();
    list.Refresh();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(removed.size(), 4u);
    TMotoATModemItem again(devise(2, pty.slavePath));
    EXPECT_TRUE(again.Open());
}

TEST(ModemList, DuplicateKeysInOneEnumerationGiveOnePort)
{
    FakeSystem system;
    system.present = {devise(1, "/dev/ttyACM0"), devise(1, "/dev/ttyACM1")};
    TMotoATModemList list(system.enumerator());
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.ItemAt(0)->ModemInfo().DevicePath, "/dev/ttyACM0");
}

TEST(DeviceWatcher, EventsRefreshThenCallBack)
{
    FakeSystem system;
    system.present = {devise(1)};
    TMotoATMode watcher(system.enumerator(), nullptr);
    EXPECT_EQ(watcher.DeviseCount(), 1);
    std::vector<std::string> calls;
    watcher.SetOnArrival([&](TMotoATMode& w) { calls.push_back("arrival " + std::to_string(w.DeviseCount())); });
    watcher.SetOnRemove([&](TMotoATMode& w) { calls.push_back("remove " + std::to_string(w.DeviseCount())); });

    TMotoATModemItem* activePort = watcher.List().ItemAt(0);
    QObject::connect(&watcher, &TMotoATMode::portRemoved, [&](TMotoATModemItem* port) {
        if (port == activePort)
            activePort = nullptr;
    });

    system.present.push_back(devise(2));
    watcher.DeviceChanged("add");
    watcher.DeviceChanged("change");
    watcher.DeviceChanged("bind");
    EXPECT_EQ(system.enumerations, 2);
    EXPECT_NE(activePort, nullptr);
    system.present.erase(system.present.begin());
    watcher.DeviceChanged("remove");
    EXPECT_EQ(activePort, nullptr);
    watcher.DeviceChanged("add"); // an unrelated device: list unchanged, still told
    EXPECT_EQ(calls, (std::vector<std::string>{"arrival 2", "remove 1", "arrival 1"}));
    EXPECT_EQ(watcher.List().ItemAt(0)->ModemInfo().DevInst, 2u);
}

TEST(DeviceWatcher, AboutIsPlainText)
{
    TMotoATMode watcher([] { return TUSBDevises(); }, nullptr);
    EXPECT_EQ(watcher.About(), "");
    watcher.SetAbout("x");
    EXPECT_EQ(watcher.About(), "x");
    EXPECT_EQ(watcher.DeviseCount(), 0);
}
