#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

#include "app/command_line.h"
#include "modbus/master_ports.h"
#include "modbus/modbus_master.h"
#include "serial/comm.h"

namespace lq {

// The serial component and the master without a window, for the command-line modes: the port settings as
// the options give them (else the panel's own start values), "通讯" ticked, and the panel's two timers (the
// poll tick and the write ageing of the refresh tick). Closes its port when destroyed.
class HeadlessLine final : public QObject, private IMasterView, private IFrameSender {
    Q_OBJECT
  public:
    explicit HeadlessLine(const SerialStart& start);
    ~HeadlessLine() override;

    // Opens the port and starts polling; an empty result means open, else why not.
    QString Open();

    ModbusMaster& Master() { return *master_; }
    const IClock& Clock() const { return clock_; }
    QString PortName() const;
    QString FramingName() const;
    std::uint32_t Baud() const;
    int Address() const;

  private:
    std::string AddressText() const override;
    bool CommunicationTicked() const override { return true; }
    void ShowLinkLamp(bool) override {}
    void SetMemo12Text(const std::string&) override {}
    bool SendData(const std::uint8_t* data, std::uint16_t count) override;

    SerialStart start_;
    ThreadSleepPause pause_;
    SystemClock clock_;
    std::unique_ptr<TComm> comm_;
    std::unique_ptr<ModbusMaster> master_;
    QTimer pollTick_;
    QTimer refreshTick_;
};

} // namespace lq
