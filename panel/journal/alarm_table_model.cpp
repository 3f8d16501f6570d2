#include "panel/journal/alarm_table_model.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <algorithm>

#include "journal/alarm_board.h"
#include "modbus/local_time_text.h"

namespace lq {

namespace {

QString StateText(AlarmState state) {
    switch (state) {
    case AlarmState::ActiveUnacknowledged:
        return AlarmTableModel::tr("报警中，未确认");
    case AlarmState::ActiveAcknowledged:
        return AlarmTableModel::tr("报警中，已确认");
    case AlarmState::ReturnedUnacknowledged:
        return AlarmTableModel::tr("已恢复，未确认");
    case AlarmState::Normal:
        break;
    }
    return AlarmTableModel::tr("正常");
}

} // namespace

AlarmTableModel::AlarmTableModel(const AlarmBoard& board, QObject* parent)
    : QAbstractTableModel(parent), board_(board) {
    Refresh();
}

int AlarmTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int AlarmTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant AlarmTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= shown_.size()) return {};
    const auto& [bit, alarm] = shown_[static_cast<std::size_t>(index.row())];
    const bool unacknowledged = WaitsForAcknowledge(alarm.state);
    switch (role) {
    case kBitRole:
        return bit;
    case Qt::BackgroundRole:
        if (!unacknowledged) return {};
        return QBrush(IsActive(alarm.state) ? QColor(255, 110, 110) : QColor(255, 210, 120));
    case Qt::FontRole: {
        QFont font;
        font.setBold(unacknowledged);
        return font;
    }
    case Qt::DisplayRole:
        break;
    default:
        return {};
    }
    switch (index.column()) {
    case NameColumn:
        return QString::fromUtf8(AlarmName(bit).data(), static_cast<qsizetype>(AlarmName(bit).size()));
    case StateColumn:
        return StateText(alarm.state);
    case SinceColumn:
        return QString::fromStdString(IsoTimeText(alarm.since).substr(0, 23))
            .replace(QLatin1Char('T'), QLatin1Char(' '));
    case SubjectColumn:
        return QStringLiteral("%1.%2").arg(kAlarmRegister).arg(bit);
    default:
        return {};
    }
}

QVariant AlarmTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
    case NameColumn:
        return tr("报警");
    case StateColumn:
        return tr("状态");
    case SinceColumn:
        return tr("自");
    case SubjectColumn:
        return tr("寄存器.位");
    default:
        return {};
    }
}

QStringList AlarmTableModel::StateTexts() {
    QStringList texts;
    for (AlarmState state : {AlarmState::Normal, AlarmState::ActiveUnacknowledged,
                             AlarmState::ActiveAcknowledged, AlarmState::ReturnedUnacknowledged})
        texts << StateText(state);
    return texts;
}

void AlarmTableModel::Refresh() {
    std::vector<Shown> shown;
    for (int bit = 0; bit < kAlarmCount; ++bit)
        if (board_.At(bit).state != AlarmState::Normal) shown.push_back({bit, board_.At(bit)});
    std::stable_sort(shown.begin(), shown.end(), [](const Shown& a, const Shown& b) {
        return WaitsForAcknowledge(a.alarm.state) && !WaitsForAcknowledge(b.alarm.state);
    });
    if (shown == shown_) return;
    const bool sameRows = std::equal(shown.begin(), shown.end(), shown_.begin(), shown_.end(),
                                     [](const Shown& a, const Shown& b) { return a.bit == b.bit; });
    if (sameRows) {
        shown_ = std::move(shown);
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
        return;
    }
    beginResetModel();
    shown_ = std::move(shown);
    endResetModel();
}

} // namespace lq
