#include "phonelink/PhonePortList.h"

#include <algorithm>

namespace qb {

PhonePortList::PhonePortList(Enumerator enumerate) : m_enumerate(std::move(enumerate)) {
    refresh();
}

// Ports close themselves as they are destroyed. Nobody is told: the list goes
// away only with the watcher and the window that holds both.
PhonePortList::~PhonePortList() = default;

void PhonePortList::setEnumerator(Enumerator enumerate) {
    m_enumerate = std::move(enumerate);
    refresh();
}

void PhonePortList::refresh() {
    const std::vector<UsbModem> devs = m_enumerate ? m_enumerate() : std::vector<UsbModem>();
    dropAbsent(devs, {});
    for (const UsbModem& devise : devs)
        add(devise);
}

void PhonePortList::refreshAfterRemoval(const Filter& gone) {
    dropAbsent(m_enumerate ? m_enumerate() : std::vector<UsbModem>(), gone);
}

void PhonePortList::dropAbsent(const std::vector<UsbModem>& devs, const Filter& gone) {
    auto present = [&devs](uint32_t key) {
        return std::any_of(devs.begin(), devs.end(),
                           [key](const UsbModem& d) { return d.deviceId == key; });
    };
    for (int32_t i = 0; i < count();) {
        const UsbModem& modem = m_items[size_t(i)]->modem();
        if (present(modem.deviceId) && !(gone && gone(modem)))
            ++i;
        else
            remove(i);
    }
}

PhonePort* PhonePortList::add(const UsbModem& devise) {
    if (findById(devise.deviceId))
        return nullptr;
    m_items.push_back(std::make_unique<PhonePort>(devise));
    return m_items.back().get();
}

PhonePort* PhonePortList::at(int32_t index) const {
    if (index < 0 || index >= count())
        return nullptr;
    return m_items[size_t(index)].get();
}

PhonePort* PhonePortList::findById(uint32_t key) const {
    for (const auto& item : m_items)
        if (item->modem().deviceId == key)
            return item.get();
    return nullptr;
}

void PhonePortList::remove(int32_t index) {
    if (index < 0 || index >= count())
        return;
    std::unique_ptr<PhonePort> port = std::move(m_items[size_t(index)]);
    m_items.erase(m_items.begin() + index);
    if (m_portRemoved)
        m_portRemoved(port.get());
}

} // namespace qb
