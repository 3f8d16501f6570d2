#include "panel/monitor/traffic_table_model.h"

#include <QBrush>
#include <QColor>
#include <QCoreApplication>
#include <algorithm>

#include "monitor/traffic_line.h"

namespace lq {

namespace {

const QColor kFaultBackground(255, 224, 224);
const QColor kFaultText(160, 0, 0);

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

TrafficTableModel::TrafficTableModel(std::size_t capacity, QObject* parent)
    : QAbstractTableModel(parent), rows_(capacity) {}

int TrafficTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.Size());
}

int TrafficTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TrafficTableModel::Display(const TrafficRow& row, int column) const {
    switch (column) {
    case TimeColumn:
        return Text(ClockText(row.at));
    case DirectionColumn:
        return Text(ShownDirectionText(row.direction));
    case BytesColumn:
        return Text(HexText(row.bytes));
    case MeaningColumn:
        return Text(row.meaning);
    case AnswerTimeColumn:
        return row.answerTime ? Text(RoundTripMilliseconds(row.answerTime) + " ms") : QString();
    case RoundTripColumn:
        return row.roundTrip ? Text(RoundTripMilliseconds(row.roundTrip) + " ms") : QString();
    }
    return {};
}

QVariant TrafficTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const TrafficRow& row = rows_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return Display(row, index.column());
    case Qt::ToolTipRole:
        return index.column() == BytesColumn || index.column() == MeaningColumn ? Display(row, index.column())
                                                                                : QVariant();
    case Qt::BackgroundRole:
        return row.fault ? QBrush(kFaultBackground) : QVariant();
    case Qt::ForegroundRole:
        return row.fault ? QBrush(kFaultText) : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == RoundTripColumn || index.column() == AnswerTimeColumn
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant();
    case kFaultRole:
        return row.fault;
    }
    return {};
}

QVariant TrafficTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) return {};
    if (role == Qt::DisplayRole) {
        static const char* const kHeaders[ColumnCount] = {QT_TRANSLATE_NOOP("TrafficTableModel", "时间"),
                                                          QT_TRANSLATE_NOOP("TrafficTableModel", "方向"),
                                                          QT_TRANSLATE_NOOP("TrafficTableModel", "含义"),
                                                          QT_TRANSLATE_NOOP("TrafficTableModel", "应答用时"),
                                                          QT_TRANSLATE_NOOP("TrafficTableModel", "至帧尾"),
                                                          QT_TRANSLATE_NOOP("TrafficTableModel", "字节")};
        return QCoreApplication::translate("TrafficTableModel", kHeaders[section]);
    }
    if (role != Qt::ToolTipRole) return {};
    switch (section) {
    case TimeColumn:
        return tr("收到的帧：帧完整收到（帧尾静默结束）的时刻");
    case AnswerTimeColumn:
        return tr("应答用时 (answer time)：从请求发出到应答的第一个字节");
    case RoundTripColumn:
        return tr("至帧尾：从请求发出到帧完整收到，含判定帧结束的静默时间");
    default:
        return {};
    }
}

void TrafficTableModel::AddRow(TrafficRow row) {
    // More than a full table held back: the oldest of them could never be shown.
    if (pending_.size() == rows_.Capacity()) pending_.pop_front();
    pending_.push_back(std::move(row));
}

void TrafficTableModel::Flush() {
    if (paused_ || pending_.empty() || rows_.Capacity() == 0) return;
    if (std::size_t drop = rows_.OverflowFor(pending_.size()); drop > 0) {
        drop = std::min(std::max(drop, rows_.Capacity() / 10), rows_.Size());
        beginRemoveRows({}, 0, static_cast<int>(drop) - 1);
        rows_.DropOldest(drop);
        endRemoveRows();
    }
    const int first = static_cast<int>(rows_.Size());
    beginInsertRows({}, first, first + static_cast<int>(pending_.size()) - 1);
    for (TrafficRow& row : pending_)
        rows_.Append(std::move(row));
    pending_.clear();
    endInsertRows();
}

void TrafficTableModel::SetPaused(bool paused) {
    paused_ = paused;
    Flush();
}

void TrafficTableModel::Clear() {
    beginResetModel();
    rows_.Clear();
    pending_.clear();
    endResetModel();
}

} // namespace lq
