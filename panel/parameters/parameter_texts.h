#pragma once

#include <QCoreApplication>
#include <QString>
#include <vector>

#include "parameters/parameter_file_check.h"
#include "parameters/parameter_reader.h"
#include "parameters/restore_sequence.h"

namespace lq {

// What the parameter window and the command line say, in the panel's words.
class ParameterTexts {
    Q_DECLARE_TR_FUNCTIONS(ParameterTexts)
  public:
    static QString CannotOpen(const QString& path, const QString& reason);
    static QString NotJson(const QString& path, const QString& reason);
    static QString Refused(const QString& path, const FileCheck& check);
    static QString CannotWrite(const QString& path, const QString& reason);
    static QString ReadFailed(ReadOutcome outcome);

    // "r36 SV", the register and the panel's name for it.
    static QString Register(int reg);
    static QString Value(int reg, std::uint16_t raw);
    // "r36 SV：65.0 °C → 60.0 °C"
    static QString PlannedLine(const PlannedWrite& write);
    static QString Result(const RestoreStep& step);
    // What was written, what was already equal, what failed, and which registers a stop left written.
    static QString Summary(const RestoreSequence& sequence, std::size_t alreadyEqual);
};

} // namespace lq
