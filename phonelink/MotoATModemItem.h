#pragma once
// One modem port of the phone: its tty opened exclusively in raw mode, with
// the few operations the AT dialogue needs.
#include "phonelink/AtPort.h"
#include "phonelink/USBCtrls.h"

#include <cstdint>
#include <string>

namespace qb {

// Why the last Open failed, so the window can tell "busy" from "not allowed".
enum class OpenError {
    None,
    Busy,         // another program (or another port object) holds the tty
    NoPermission, // the user may not open the node (not in dialout, no uaccess)
    Missing,      // the node is gone (unplugged)
    Other,        // not a usable tty, or an unexpected system error
};

class TMotoATModemItem : public AtPort {
public:
    explicit TMotoATModemItem(TUSBDevise modemInfo);
    ~TMotoATModemItem() override;
    TMotoATModemItem(const TMotoATModemItem&) = delete;
    TMotoATModemItem& operator=(const TMotoATModemItem&) = delete;

    bool IsOpen() override;
    bool Open() override;
    void Close() override;
    uint32_t WriteData(const void* bytes, uint32_t count);
    bool SendCommand(const std::string& command) override;
    std::string ReadReply(int waitMs) override;

    int32_t TimeOut() const { return m_timeOut; }
    void SetTimeOut(int32_t milliseconds);
    const TUSBDevise& ModemInfo() const { return m_modemInfo; }
    const std::string& Debug() const { return m_debug; }
    OpenError lastOpenError() const { return m_lastOpenError; }

private:
    struct Drained {
        bool gotBytes = false;
        bool lineDead = false;
    };
    Drained drainWaiting(std::string& reply);
    bool lockAndConfigure();

    int m_fd = -1;
    int32_t m_timeOut = 0;
    TUSBDevise m_modemInfo;
    std::string m_debug;
    OpenError m_lastOpenError = OpenError::None;
};

} // namespace qb
