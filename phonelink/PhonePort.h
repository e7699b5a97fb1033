#pragma once
// One modem port of the phone: its tty opened exclusively in raw mode, with
// the few operations the AT dialogue needs.
#include "phonelink/AtPort.h"
#include "phonelink/UsbModems.h"

#include <cstdint>
#include <string>

namespace qb {

class PhonePort : public AtPort {
  public:
    explicit PhonePort(UsbModem modemInfo);
    ~PhonePort() override;
    PhonePort(const PhonePort&) = delete;
    PhonePort& operator=(const PhonePort&) = delete;

    bool isOpen() override;
    bool open() override;
    void close() override;
    uint32_t writeData(const void* bytes, uint32_t count);
    bool sendCommand(const std::string& command) override;
    std::string readReply(int waitMs, int finalCodes) override;

    int32_t timeout() const { return m_timeout; }
    void setTimeout(int32_t milliseconds);
    const UsbModem& modem() const { return m_modemInfo; }
    const std::string& debugText() const { return m_debug; }
    OpenError lastOpenError() const override { return m_lastOpenError; }
    bool writeStalled() const override { return m_writeStalled; }

  private:
    struct Drained {
        bool gotBytes = false;
        bool lineDead = false;
    };
    Drained drainWaiting(std::string& reply);
    bool lockAndConfigure();

    int m_fd = -1;
    int32_t m_timeout = 0;
    UsbModem m_modemInfo;
    std::string m_debug;
    OpenError m_lastOpenError = OpenError::None;
    bool m_writeStalled = false;
};

} // namespace qb
