#pragma once

#include <QValidator>
#include <functional>

namespace lq {

// Drops the characters that `allowed` refuses from the part of `after` that is new compared with
// `before` (one run of characters replaced by another, as every edit of a one-line field is), and moves
// `cursor` with them. If every new character is refused, `after` becomes `before` again, so a refused
// paste does not delete the selection it was meant to replace. Returns how many characters were refused.
int FilterInsertion(const QString& before, QString& after, int& cursor,
                    const std::function<bool(QChar)>& allowed);

// The character filter of an entry field for every way text gets in that is not a typed key: pasting
// (keys, menu, middle button), dropping and input-method commits. A line editor passes each change of
// its text through its validator, which sees the whole new text; the filter compares it with the text
// before and filters only what the change inserted. Text set by code passes unfiltered (Unfiltered).
class TiEntryFilter final : public QValidator {
  public:
    TiEntryFilter(std::function<bool(QChar)> allowed, std::function<void()> refused, QObject* parent);

    State validate(QString& input, int& pos) const override;

    // Call with every change of the editor's text, after it happened.
    void TextChanged(const QString& text) { before_ = text; }

    // While one exists, the filter lets every text through.
    class Unfiltered {
      public:
        explicit Unfiltered(TiEntryFilter& filter) : filter_(filter) { ++filter_.unfiltered_; }
        ~Unfiltered() { --filter_.unfiltered_; }
        Unfiltered(const Unfiltered&) = delete;
        Unfiltered& operator=(const Unfiltered&) = delete;

      private:
        TiEntryFilter& filter_;
    };

  private:
    std::function<bool(QChar)> allowed_;
    std::function<void()> refused_;
    QString before_;
    int unfiltered_ = 0;
};

} // namespace lq
