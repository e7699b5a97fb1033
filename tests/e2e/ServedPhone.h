#pragma once
// The RAZR V3 of the end-to-end tests: a mocked USB device in a umockdev
// testbed whose tty the phone simulator answers from a thread of its own.
// The window's thread blocks in every reply it waits for, so the phone
// cannot answer from that thread.
#include "tools/demo/MockedPhone.h"
#include "tools/phonesim/SimServer.h"

#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace qb::e2e {

class ServedPhone {
  public:
    // `device`: the name of a description in data/devices.
    ServedPhone(PhoneContent content, ServeTiming timing, const char* device = "motorola-v3");
    ~ServedPhone();
    ServedPhone(const ServedPhone&) = delete;
    ServedPhone& operator=(const ServedPhone&) = delete;

    // Adds the device with its "add" events and starts answering on its tty.
    bool plug(std::string& error);
    // Pulls the cable: the phone stops answering (what it had not sent yet is
    // lost), the device leaves sysfs with "remove" events and its tty hangs up.
    void unplug();

    // Every command line the phone received, in order, without its CR.
    std::vector<std::string> commands() const;
    int countCommands(std::string_view prefix) const;
    // What the phone holds now (deletions change it).
    PhoneContent content() const;

  private:
    void serve(int stopFd);
    void stopServing();

    MockedPhone m_device;
    mutable std::mutex m_mutex; // the phone's state, shared with the serving thread
    PhoneSimulator m_phone;
    SimServer m_server;
    std::vector<std::string> m_commands;
    std::thread m_thread;
    int m_stop[2] = {-1, -1};
};

} // namespace qb::e2e
