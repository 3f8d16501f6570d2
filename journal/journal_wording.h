#pragma once

#include <string>

namespace lq {

// The patterns of the texts the journal writes, with %1, %2, … for what each entry fills in. The window
// fills them in the panel's language; the logic never holds a sentence of its own.
struct JournalWording {
    std::string alarmOn;  // %1 the lamp's label
    std::string alarmOff; // %1
    std::string alarmAck; // %1
    std::string linkLost; // %1 the failure
    std::string noReply;
    std::string badCrc;
    std::string exception; // %1 the exception code, two hex digits
    std::string shortReply;
    std::string linkRestored;
    std::string portOpened; // %1 the port
    std::string portClosed; // %1
    std::string portLost;   // %1 the port, %2 why
    // %1 register and caption, %2 the value sent as shown, %3 the value shown before, %4 the outcome, %5
    // sends
    std::string write;
    std::string confirmed;
    std::string refused; // %1 the exception code
    std::string unconfirmed;
    std::string superseded;
    std::string notSent;
    std::string runState;         // %1 "RUN" or "STOP", as the switch shows the controller's state
    std::string settings;         // %1 rate, framing, address; %2 where they came from
    std::string recordingStarted; // %1 what and where
    std::string recordingStopped; // %1
};

} // namespace lq
