#pragma once

#include <QCache>
#include <QFont>
#include <QStaticText>
#include <QStyledItemDelegate>

namespace lq {

// Paints a table's cells from text laid out once per distinct text, for the tables that repaint on every
// new row. Laying out text is most of the cost of a row (font fallback for the Chinese texts included), and
// most texts repeat: the meanings, kinds and outcomes, and every row's time as the rows move down. A text
// wider than its cell is cut at the edge, or elided where the table asks for it, the elided text laid out
// once per width.
class LaidOutTextDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    explicit LaidOutTextDelegate(Qt::TextElideMode elide, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  protected:
    // The text the cell shows in `width` pixels; the model's text unless a table shows less of it.
    virtual QString ShownText(const QModelIndex& index, int width, const QFont& font) const;

  private:
    const QStaticText& LaidOut(const QString& text, const QFont& font) const;
    const QStaticText& Fitted(const QString& text, int width, const QFont& font) const;

    Qt::TextElideMode elide_;
    mutable QCache<QString, QStaticText> laidOut_;
    mutable QFont laidOutFont_;
};

} // namespace lq
