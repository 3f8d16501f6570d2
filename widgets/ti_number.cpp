#include "widgets/ti_number.h"

#include <QLocale>
#include <clocale>
#include <cmath>
#include <cstdio>

namespace lq {

QChar DecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QChar('.') : point.front();
}

QString FormatNumber(double value, int precision, const QString& units) {
    char buffer[512];
    if (precision >= 0)
        std::snprintf(buffer, sizeof buffer, "%.*f", precision > 100 ? 100 : precision, value);
    else
        std::snprintf(buffer, sizeof buffer, "%g", value);
    // snprintf follows the C library's locale, which need not be the one the operator reads; normalise
    // through '.' so the shown separator is always the UI locale's.
    QString text = QString::fromLatin1(buffer);
    const QChar cSeparator = QString::fromLatin1(std::localeconv()->decimal_point).front();
    text.replace(cSeparator, DecimalSeparator());
    return text.trimmed() + units;
}

std::optional<double> ParseNumber(const QString& text) {
    QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    const QChar sep = DecimalSeparator();
    if (sep != '.') {
        if (t.contains('.')) return std::nullopt;
        t.replace(sep, '.');
    }
    QLocale plain = QLocale::c();
    plain.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double v = plain.toDouble(t, &ok);
    // "inf" and "nan" parse, but no field value downstream can hold them meaningfully.
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

} // namespace lq
