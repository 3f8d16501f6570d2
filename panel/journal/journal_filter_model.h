#pragma once

#include <QSortFilterProxyModel>

namespace lq {

// The history as shown: of one kind or of all, and only the entries whose columns hold the text typed.
class JournalFilterModel final : public QSortFilterProxyModel {
    Q_OBJECT
  public:
    explicit JournalFilterModel(QObject* parent = nullptr);

    // -1 for every kind.
    void SetKind(int kind);
    void SetText(const QString& text);

  protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

  private:
    int kind_ = -1;
    QString text_;
};

} // namespace lq
