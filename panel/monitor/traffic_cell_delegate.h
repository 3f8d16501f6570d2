#pragma once

#include <QFont>

#include "panel/laid_out_text_delegate.h"

namespace lq {

// Paints the traffic table's cells from text laid out once per distinct text (the meanings and requests of a
// poll cycle, the directions repeat). Cells are clipped at their edges rather than elided, which would lay
// each text out again for every width, and a frame's bytes are cut to those the column can show.
class TrafficCellDelegate final : public LaidOutTextDelegate {
    Q_OBJECT
  public:
    explicit TrafficCellDelegate(QObject* parent = nullptr);

  protected:
    QString ShownText(const QModelIndex& index, int width, const QFont& font) const override;

  private:
    mutable QFont hexFont_;
    mutable int narrowestByte_ = 1;
};

} // namespace lq
