#include "widgets/ti_entry_filter.h"

#include <algorithm>

namespace lq {

int FilterInsertion(const QString& before, QString& after, int& cursor,
                    const std::function<bool(QChar)>& allowed) {
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype start = 0;
    while (start < shorter && before[start] == after[start])
        ++start;
    qsizetype tail = 0;
    while (tail < shorter - start && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    const qsizetype end = after.size() - tail;

    QString kept;
    int refusedBeforeCursor = 0;
    for (qsizetype i = start; i < end; ++i) {
        if (allowed(after[i]))
            kept += after[i];
        else if (i < cursor)
            ++refusedBeforeCursor;
    }
    const int refused = int(end - start - kept.size());
    if (refused == 0) return 0;
    if (kept.isEmpty()) {
        after = before;
        cursor = int(start);
        return refused;
    }
    after = after.left(start) + kept + after.mid(end);
    if (cursor > start) cursor -= refusedBeforeCursor;
    return refused;
}

TiEntryFilter::TiEntryFilter(std::function<bool(QChar)> allowed, std::function<void()> refused,
                             QObject* parent)
    : QValidator(parent), allowed_(std::move(allowed)), refused_(std::move(refused)) {}

QValidator::State TiEntryFilter::validate(QString& input, int& pos) const {
    if (unfiltered_ == 0 && FilterInsertion(before_, input, pos, allowed_) > 0 && refused_) refused_();
    return Acceptable;
}

} // namespace lq
