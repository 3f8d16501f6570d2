#pragma once

#include <QAbstractItemModel>

namespace lq {

// Calls `changed` on every change of `model` that moves its rows or columns about or starts it afresh: all
// but rows inserted and removed, which the views that paint only their new rows tell apart themselves.
template <class Receiver>
void WatchRearrangements(const QAbstractItemModel* model, Receiver* receiver, void (Receiver::*changed)()) {
    QObject::connect(model, &QAbstractItemModel::rowsMoved, receiver, changed);
    QObject::connect(model, &QAbstractItemModel::columnsInserted, receiver, changed);
    QObject::connect(model, &QAbstractItemModel::columnsRemoved, receiver, changed);
    QObject::connect(model, &QAbstractItemModel::modelReset, receiver, changed);
    QObject::connect(model, &QAbstractItemModel::layoutChanged, receiver, changed);
}

} // namespace lq
