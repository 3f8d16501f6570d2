#include "panel/journal/journal_table_model.h"

#include <QCoreApplication>
#include <algorithm>

#include "journal/journal_store.h"
#include "modbus/local_time_text.h"

namespace lq {

QString KindText(int kind) {
    static const char* const kTexts[kEntryKindCount] = {
        QT_TRANSLATE_NOOP("Journal", "报警出现"), QT_TRANSLATE_NOOP("Journal", "报警消失"),
        QT_TRANSLATE_NOOP("Journal", "报警确认"), QT_TRANSLATE_NOOP("Journal", "通讯中断"),
        QT_TRANSLATE_NOOP("Journal", "通讯恢复"), QT_TRANSLATE_NOOP("Journal", "打开串口"),
        QT_TRANSLATE_NOOP("Journal", "关闭串口"), QT_TRANSLATE_NOOP("Journal", "串口断开"),
        QT_TRANSLATE_NOOP("Journal", "写命令"),   QT_TRANSLATE_NOOP("Journal", "运行状态"),
        QT_TRANSLATE_NOOP("Journal", "线路设置"), QT_TRANSLATE_NOOP("Journal", "记录"),
    };
    if (kind < 0 || kind >= kEntryKindCount) return {};
    return QCoreApplication::translate("Journal", kTexts[kind]);
}

JournalTableModel::JournalTableModel(const JournalStore& store, QObject* parent)
    : QAbstractTableModel(parent), store_(store) {
    Catch();
}

int JournalTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_);
}

int JournalTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant JournalTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= rows_) return {};
    const JournalEntry& e = store_[rows_ - 1 - static_cast<std::size_t>(index.row())];
    if (role == kKindRole) return static_cast<int>(e.kind);
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
    case TimeColumn:
        return QString::fromStdString(IsoTimeText(e.time).substr(0, 23))
            .replace(QLatin1Char('T'), QLatin1Char(' '));
    case KindColumn:
        return KindText(static_cast<int>(e.kind));
    case SubjectColumn:
        return QString::fromStdString(e.subject);
    case ValueColumn:
        return e.value ? QVariant(QString::number(*e.value)) : QVariant();
    case OutcomeColumn:
        return QString::fromStdString(e.outcome);
    case TextColumn:
        return QString::fromStdString(e.text);
    default:
        return {};
    }
}

QVariant JournalTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
    case TimeColumn:
        return tr("时间");
    case KindColumn:
        return tr("类别");
    case SubjectColumn:
        return tr("对象");
    case ValueColumn:
        return tr("值");
    case OutcomeColumn:
        return tr("结果");
    case TextColumn:
        return tr("内容");
    default:
        return {};
    }
}

void JournalTableModel::Catch() {
    const std::uint64_t fresh = store_.Total() - caught_;
    if (fresh == 0) return;
    caught_ = store_.Total();
    const std::size_t size = store_.Size();
    const std::size_t added = static_cast<std::size_t>(std::min<std::uint64_t>(fresh, size));
    // What stays of the rows shown: the store dropped its oldest to make room for the new ones.
    const std::size_t kept = std::min(rows_, size - added);
    if (kept < rows_) {
        beginRemoveRows({}, static_cast<int>(kept), static_cast<int>(rows_) - 1);
        rows_ = kept;
        endRemoveRows();
    }
    beginInsertRows({}, 0, static_cast<int>(added) - 1);
    rows_ = kept + added;
    endInsertRows();
}

} // namespace lq
