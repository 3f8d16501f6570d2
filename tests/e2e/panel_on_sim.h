#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "panel/form1.h"
#include "tests/sim/sim_process.h"

namespace lq::e2e {

struct AcceptedBlock {
    std::uint8_t block = 0;
    std::vector<std::uint16_t> values; // its kept registers, as stored
};

struct WriteRecord {
    std::uint8_t registerAddress = 0;
    std::uint16_t value = 0;
    WriteOutcome outcome = WriteOutcome::Unconfirmed;
    bool lampLit = false; // the link lamp right after the write ended
};

// What reached the panel's receive handler, what the master made of it, and what it sent.
struct DeliveryLog {
    int deliveries = 0;
    int damaged = 0; // shorter than a read reply, or with a CRC that does not match
    std::map<int, std::set<std::uint16_t>> accepted;
    std::set<int> blocksRead; // poll indices whose reply was accepted
    std::vector<AcceptedBlock> blocks;
    std::vector<WriteRecord> writes;
    std::vector<std::chrono::steady_clock::time_point> readsSent;
    std::vector<std::chrono::steady_clock::time_point> unanswered;
};

// The real main window with its real serial port, timers and pause, talking to a pw5-sim process. Only the
// message box is replaced, so that a failed open is reported instead of blocking the test in a modal loop.
class PanelOnSim {
  public:
    explicit PanelOnSim(std::vector<std::string> simOptions = {});
    ~PanelOnSim();
    PanelOnSim(const PanelOnSim&) = delete;
    PanelOnSim& operator=(const PanelOnSim&) = delete;

    TForm1& Form() { return *form_; }
    sim::SimProcess& Sim() { return *sim_; }
    // A new simulator process in place of the one there is (stopped first if still running).
    void RestartSim(std::vector<std::string> simOptions);
    const DeliveryLog& Log() const { return *log_; }
    const QStringList& Messages() const { return *messages_; }

    // The operator's start: "打开串口" on the port box's own "COM4", then "通讯". False if the port did not
    // open.
    bool OpenAndTick();
    // "打开串口" alone; "通讯" stays as it is. False if the port did not open.
    bool OpenPort();

    // Empty when every kept register of the image is a value the simulator has held, the registers it keeps
    // still are equal to its own, and every block has been read; else what differs.
    QString ImageMismatch() const;
    // Empty when the displays show the simulator's registers; else what differs.
    QString DisplayMismatch() const;

    // Accepted blocks that are not one moment of the simulator's registers in that block (its history).
    int BlocksNotHeld() const;

  private:
    void TapDeliveries();

    std::unique_ptr<sim::SimProcess> sim_;
    std::shared_ptr<DeliveryLog> log_ = std::make_shared<DeliveryLog>();
    std::unique_ptr<ILinkObserver> tap_;
    std::shared_ptr<QStringList> messages_ = std::make_shared<QStringList>();
    std::unique_ptr<TForm1> form_;
};

} // namespace lq::e2e
