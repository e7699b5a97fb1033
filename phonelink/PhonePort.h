#pragma once
// One modem port of the phone: its tty opened exclusively in raw mode and
// non-blocking, read and written on the event loop as the phone is ready.
#include "phonelink/AtPort.h"
#include "phonelink/UsbModems.h"

#include <QTimer>
#include <cstdint>
#include <string>

class QSocketNotifier;

namespace qb {

class PhonePort : public AtPort {
    Q_OBJECT
  public:
    explicit PhonePort(UsbModem modemInfo, QObject* parent = nullptr);
    ~PhonePort() override;

    bool isOpen() override;
    bool open() override;
    void close() override;
    bool sendCommand(const std::string& command) override;
    bool hasPendingOutput() const override { return !m_output.empty(); }

    int32_t timeout() const { return m_timeout; }
    void setTimeout(int32_t milliseconds);
    const UsbModem& modem() const { return m_modemInfo; }
    const std::string& debugText() const { return m_debug; }
    OpenError lastOpenError() const override { return m_lastOpenError; }

  private:
    bool lockAndConfigure();
    void watch();
    void readWaiting();
    void writeQueued();
    void stallExpired();
    void hangUp();

    int m_fd = -1;
    int32_t m_timeout = 0;
    UsbModem m_modemInfo;
    std::string m_debug;
    OpenError m_lastOpenError = OpenError::None;
    std::string m_output; // queued, not yet taken by the phone
    QSocketNotifier* m_readable = nullptr;
    QSocketNotifier* m_writable = nullptr; // enabled only while output waits
    QTimer m_stall;                        // runs while output waits; restarted on every byte taken
};

} // namespace qb
