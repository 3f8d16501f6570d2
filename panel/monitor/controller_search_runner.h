#pragma once

#include <QObject>
#include <QTimer>
#include <optional>

#include "modbus/controller_search.h"
#include "serial/comm_types.h"

namespace lq {

class TForm1;

// Drives a controller search on the panel's open port: borrows the line from the master (polling is
// suspended), lets a read in flight have its reply first, then sends one read per setting and ends each try
// at a valid reply or at its time-out; a reply that comes later still counts for the try that asked for it.
// Everything runs on timers and the port's receive event; the GUI thread never waits. At the end, on Cancel,
// when the port goes away and when the runner is destroyed, the port's baud rate, parity and stop bits are
// put back and the line is returned, so polling resumes.
class ControllerSearchRunner final : public QObject {
    Q_OBJECT
  public:
    ControllerSearchRunner(TForm1& form, std::uint8_t lastSlave, QObject* parent = nullptr);
    ~ControllerSearchRunner() override;

    // False, and nothing happens, when the port is not open.
    bool Start();
    void Cancel();
    bool Running() const { return phase_ != Phase::Idle && phase_ != Phase::Ended; }
    const ControllerSearch& Search() const { return search_; }

  signals:
    void Progress(int done, int total);
    // completed: every setting was tried; false when cancelled or the port went away.
    void Finished(bool completed);

  private:
    enum class Phase { Idle, Settling, Trying, Ended };
    struct PortSettings {
        std::uint32_t baud;
        TParity parity;
        TStopBits stopBits;
    };

    void Deliver(const std::uint8_t* buffer, std::uint16_t length,
                 std::optional<std::chrono::steady_clock::time_point> firstByteAt);
    void BeginTries();
    void NextTry();
    void TryTimedOut();
    void Apply(const LineSetting& setting);
    void Restore();
    void Stop(bool completed);

    TForm1& form_;
    ControllerSearch search_;
    Phase phase_ = Phase::Idle;
    PortSettings saved_{};
    std::optional<LineSetting> applied_;
    QTimer settle_;
    QTimer tryTimer_;
};

} // namespace lq
