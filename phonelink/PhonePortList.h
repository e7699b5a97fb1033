#pragma once
// The phone's modem ports, kept in line with the devices present.
#include "phonelink/PhonePort.h"
#include "phonelink/UsbModems.h"

#include <functional>
#include <memory>
#include <vector>

namespace qb {

class PhonePortList {
  public:
    using Enumerator = std::function<std::vector<UsbModem>()>;
    using PortRemoved = std::function<void(PhonePort*)>;

    // Fills the list at once from the enumerator.
    explicit PhonePortList(Enumerator enumerate);
    ~PhonePortList();
    PhonePortList(const PhonePortList&) = delete;
    PhonePortList& operator=(const PhonePortList&) = delete;

    // Called with a port just before it is destroyed, already out of the list,
    // so anyone holding it can drop the reference.
    void setPortRemoved(PortRemoved handler) { m_portRemoved = std::move(handler); }

    // Takes the ports from `enumerate` from now on, and refreshes.
    void setEnumerator(Enumerator enumerate);
    void refresh();
    // After a removal: drops the ports `gone` names, whatever the enumeration
    // says (sysfs still shows a tty for a moment after the kernel announced its
    // removal), and those it no longer finds; adds none, so a tty dropped this
    // way cannot come back before its device really arrives again.
    using Filter = std::function<bool(const UsbModem&)>;
    void refreshAfterRemoval(const Filter& gone);
    PhonePort* add(const UsbModem& devise);
    PhonePort* at(int32_t index) const;
    PhonePort* findById(uint32_t key) const;
    void remove(int32_t index);
    int32_t count() const { return int32_t(m_items.size()); }

  private:
    void dropAbsent(const std::vector<UsbModem>& devs, const Filter& gone);

    Enumerator m_enumerate;
    PortRemoved m_portRemoved;
    std::vector<std::unique_ptr<PhonePort>> m_items;
};

} // namespace qb
