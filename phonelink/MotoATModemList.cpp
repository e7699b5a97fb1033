#include "phonelink/MotoATModemList.h"

#include <algorithm>

namespace qb {

TMotoATModemList::TMotoATModemList(Enumerator enumerate) : m_enumerate(std::move(enumerate))
{
    Refresh();
}

// Ports close themselves as they are destroyed. Nobody is told: the list goes
// away only with the watcher and the window that holds both.
TMotoATModemList::~TMotoATModemList() = default;

TUSBDevises TMotoATModemList::enumerateModems()
{
    return GetUSBDevises(GUID_DEVINTERFACE_USB_DEVICE, ModemDeviceName);
}

void TMotoATModemList::Refresh()
{
    const TUSBDevises devs = m_enumerate ? m_enumerate() : TUSBDevises();
    auto present = [&devs](uint32_t key) {
        return std::any_of(devs.begin(), devs.end(),
                           [key](const TUSBDevise& d) { return d.DevInst == key; });
    };
    for (int32_t i = 0; i < Count();) {
        if (present(m_items[size_t(i)]->ModemInfo().DevInst))
            ++i;
        else
            Delete(i);
    }
    for (const TUSBDevise& devise : devs)
        AddDevise(devise);
}

TMotoATModemItem* TMotoATModemList::AddDevise(const TUSBDevise& devise)
{
    if (FindByDevInst(devise.DevInst))
        return nullptr;
    m_items.push_back(std::make_unique<TMotoATModemItem>(devise));
    return m_items.back().get();
}

TMotoATModemItem* TMotoATModemList::ItemAt(int32_t index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return m_items[size_t(index)].get();
}

TMotoATModemItem* TMotoATModemList::FindByDevInst(uint32_t key) const
{
    for (const auto& item : m_items)
        if (item->ModemInfo().DevInst == key)
            return item.get();
    return nullptr;
}

void TMotoATModemList::Delete(int32_t index)
{
    if (index < 0 || index >= Count())
        return;
    std::unique_ptr<TMotoATModemItem> port = std::move(m_items[size_t(index)]);
    m_items.erase(m_items.begin() + index);
    if (m_portRemoved)
        m_portRemoved(port.get());
}

} // namespace qb
