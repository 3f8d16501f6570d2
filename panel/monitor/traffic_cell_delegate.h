#pragma once

#include <QCache>
#include <QFont>
#include <QStaticText>
#include <QStyledItemDelegate>

namespace lq {

// Paints the traffic table's cells from text laid out once per distinct text. Laying out text is most of the
// cost of a row (font fallback for the Chinese meanings included), and most texts repeat: the meanings and
// requests of a poll cycle, the directions. Cells are clipped at their edges rather than elided, which would
// lay each text out again for every width.
class TrafficCellDelegate final : public QStyledItemDelegate {
    Q_OBJECT
  public:
    explicit TrafficCellDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    const QStaticText& LaidOut(const QString& text, const QFont& font) const;
    QString BytesThatCanShow(const QString& hex, int width, const QFont& font) const;

    mutable QCache<QString, QStaticText> laidOut_;
    mutable QFont laidOutFont_;
    mutable QFont hexFont_;
    mutable int narrowestByte_ = 1;
};

} // namespace lq
