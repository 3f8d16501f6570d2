#pragma once

#include <QStringList>
#include <array>
#include <map>
#include <memory>
#include <vector>

#include "modbus/master_ports.h"
#include "panel/form1.h"
#include "pty_pair.h"
#include "recording_backend.h"
#include "tests/modbus/master_fakes.h"

namespace lq {
class TiAnalogOutput;
class TiKnob;
} // namespace lq

namespace lq::test {

// The real main window, shown and active, with a pseudo-terminal ready for its port: the far side reads
// every frame the panel sends. Its timers are stopped so a test ticks by hand, nothing pauses, and message
// boxes are recorded instead of shown. A test that steps time itself passes the clock the panel runs on.
class PanelOnLine {
  public:
    explicit PanelOnLine(std::shared_ptr<IClock> clock = nullptr);

    // Shows the window and waits until it is active, so clicks move the keyboard focus as they do for real.
    bool Activate();
    // Types the terminal's path into the port box, clicks "打开串口" and ticks "通讯"; true when open.
    bool OpenLine();
    // Every 8-byte frame the panel has handed to its open port so far, in order, read at the far end up
    // to a marker the test sends after them through the same port. Ends early, with what it has, if the
    // marker does not come within two seconds.
    std::vector<std::vector<std::uint8_t>> FramesSentSoFar();
    // The reply to a read of ten registers: slave 1, function 3, the values, and the CRC (good or not).
    static std::vector<std::uint8_t> ReadReply(const std::array<std::uint16_t, 10>& values,
                                               bool goodCrc = true);
    // A write of value to reg at the slave as the panel sends it, and as its echo comes back.
    static std::vector<std::uint8_t> WriteFrame(std::uint8_t slave, std::uint8_t reg, std::uint16_t value);
    // What an operator does to a field and a knob: click into it, select all and type; one wheel notch.
    static void TypeInto(TiAnalogOutput* field, const QString& text);
    static void TurnByWheel(TiKnob* knob);
    // Plays the controller for the read the panel just sent: answers it from these registers (others 0) and
    // waits until the master has taken the reply. False if no read came or the reply was not taken.
    bool AnswerRead(const std::map<int, std::uint16_t>& registers);
    // The same, except that a read starting at refusedStart gets exception 02 instead, and the wait is for
    // the master to have judged it.
    bool AnswerRead(const std::map<int, std::uint16_t>& registers, int refusedStart);

    TForm1& Form() { return *form_; }
    PtyPair& Line() { return line_; }
    lq::testing::RecordingPause& Pause() { return *pause_; }
    RecordingBackend& Backend() { return *backend_; }
    QStringList messages;

  private:
    PtyPair line_;
    std::shared_ptr<lq::testing::RecordingPause> pause_ = std::make_shared<lq::testing::RecordingPause>();
    std::shared_ptr<RecordingBackend> backend_ = std::make_shared<RecordingBackend>();
    std::unique_ptr<TForm1> form_;
};

} // namespace lq::test
