#include "widgets/ti_number.h"

#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cmath>

namespace lq {

QChar DecimalSeparator() {
    // The system locale answers through a query each time, and every refresh formats a dozen numbers; only a
    // new default locale can change the answer.
    static thread_local QLocale askedOf = QLocale::c();
    static thread_local QChar answer = QLatin1Char('.');
    const QLocale locale;
    if (locale != askedOf) {
        const QString point = locale.decimalPoint();
        answer = point.isEmpty() ? QChar('.') : point.front();
        askedOf = locale;
    }
    return answer;
}

QString FormatNumber(double value, int precision, const QString& units) {
    // The C library's formatting in the C locale, as printf's "%.*f" and "%g" give it, without printf: the
    // panel formats a dozen numbers every refresh, and printf's floating-point path is most of a refresh's
    // cost. The point is then the UI locale's separator, whatever locale the C library follows.
    char buffer[512];
    const std::to_chars_result end =
        precision >= 0 ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                                       std::min(precision, 100))
                       : std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    QString text = QString::fromLatin1(buffer, end.ptr - buffer);
    text.replace(QLatin1Char('.'), DecimalSeparator());
    return text + units;
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
