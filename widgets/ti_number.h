#pragma once

#include <QString>
#include <optional>

namespace lq {

// The text a numeric field shows: "%.<p>f" for p >= 0 with the locale's decimal separator, "%g" for a
// negative p, blanks trimmed, units appended as they are.
QString FormatNumber(double value, int precision, const QString& units);

// Reads a number typed with the locale's decimal separator; surrounding blanks are allowed, anything
// else that does not belong to a number makes it fail.
std::optional<double> ParseNumber(const QString& text);

// The locale's decimal separator as used by both directions above.
QChar DecimalSeparator();

} // namespace lq
