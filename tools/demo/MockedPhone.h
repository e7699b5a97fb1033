#pragma once
// A RAZR V3 plugged into a umockdev testbed: its sysfs tree from a
// .umockdev description and its /dev/ttyACM0 served as a pty. Plugging it
// in again gives the USB device a new devnum, as the kernel does, so
// programs see a new device.
#include <string>
#include <vector>

typedef struct _UMockdevTestbed UMockdevTestbed;

namespace qb {

class MockedPhone {
  public:
    explicit MockedPhone(std::string description);
    ~MockedPhone();
    MockedPhone(const MockedPhone&) = delete;
    MockedPhone& operator=(const MockedPhone&) = delete;

    // The phone's side of the tty (owned by the testbed), or -1 on failure.
    int plug(std::string& error);
    void unplug();
    bool plugged() const { return m_plugged; }
    std::string rootDir() const;

  private:
    std::string describe() const;
    void removeDanglingLinks() const;
    void hangUp();

    UMockdevTestbed* m_testbed;
    std::string m_description;
    std::vector<std::string> m_syspaths; // parents first
    std::string m_devnode;
    int m_devnum;
    int m_fd = -1;
    int m_minor = -1;
    bool m_plugged = false;
};

} // namespace qb
