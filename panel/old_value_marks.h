#pragma once

#include <QString>
#include <cstdint>
#include <vector>

class QWidget;

namespace lq {

class BlockAges;

// Greys what a poll block feeds once the block's values are old, and says in the tool tip how long the
// block has gone without an accepted reply. Only the painting changes, so nothing of the layout moves or
// changes size; the mark goes at the first refresh after the block is answered again.
class OldValueMarks {
  public:
    struct Fed {
        QWidget* widget;
        std::vector<std::uint8_t> blocks; // every poll block whose registers it shows
    };

    OldValueMarks(const BlockAges& ages, std::vector<Fed> displays);

    // At each refresh, beside the values it shows.
    void Show();

    static bool Marked(const QWidget* widget);

  private:
    QString OldText(const std::vector<std::uint8_t>& blocks) const;

    const BlockAges& ages_;
    std::vector<Fed> displays_;
};

} // namespace lq
