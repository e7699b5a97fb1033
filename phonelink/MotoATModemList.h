#pragma once
// The phone's modem ports, kept in line with the devices present.
#include "phonelink/MotoATModemItem.h"
#include "phonelink/USBCtrls.h"

#include <functional>
#include <memory>
#include <vector>

namespace qb {

class TMotoATModemList {
public:
    using Enumerator = std::function<TUSBDevises()>;
    using PortRemoved = std::function<void(TMotoATModemItem*)>;

    // Fills the list at once from the enumerator.
    explicit TMotoATModemList(Enumerator enumerate);
    ~TMotoATModemList();
    TMotoATModemList(const TMotoATModemList&) = delete;
    TMotoATModemList& operator=(const TMotoATModemList&) = delete;

    // The present phone modem interfaces, as the program looks for them.
    static TUSBDevises enumerateModems();

    // Called with a port just before it is destroyed, already out of the list,
    // so anyone holding it can drop the reference.
    void setPortRemoved(PortRemoved handler) { m_portRemoved = std::move(handler); }

    void Refresh();
    TMotoATModemItem* AddDevise(const TUSBDevise& devise);
    TMotoATModemItem* ItemAt(int32_t index) const;
    TMotoATModemItem* FindByDevInst(uint32_t key) const;
    void Delete(int32_t index);
    int32_t Count() const { return int32_t(m_items.size()); }

private:
    Enumerator m_enumerate;
    PortRemoved m_portRemoved;
    std::vector<std::unique_ptr<TMotoATModemItem>> m_items;
};

} // namespace qb
