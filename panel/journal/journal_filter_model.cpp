#include "panel/journal/journal_filter_model.h"

#include "panel/journal/journal_table_model.h"

namespace lq {

JournalFilterModel::JournalFilterModel(QObject* parent) : QSortFilterProxyModel(parent) {}

void JournalFilterModel::SetKind(int kind) {
    if (kind == kind_) return;
    kind_ = kind;
    invalidateRowsFilter();
}

void JournalFilterModel::SetText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    invalidateRowsFilter();
}

bool JournalFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    const QAbstractItemModel* source = sourceModel();
    if (kind_ >= 0 &&
        source->data(source->index(sourceRow, 0, sourceParent), JournalTableModel::kKindRole).toInt() !=
            kind_)
        return false;
    if (text_.isEmpty()) return true;
    for (int column = 0; column < source->columnCount(sourceParent); ++column)
        if (source->data(source->index(sourceRow, column, sourceParent))
                .toString()
                .contains(text_, Qt::CaseInsensitive))
            return true;
    return false;
}

} // namespace lq
