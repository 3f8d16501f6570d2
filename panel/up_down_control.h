#pragma once

#include <QWidget>

class QToolButton;

namespace lq {

// A pair of arrow buttons standing beside a field it is associated with. The panel binds nothing to it and
// the refresh rewrites the field twice a second, so the arrows carry no command of their own.
class UpDownControl final : public QWidget {
    Q_OBJECT
  public:
    explicit UpDownControl(QWidget* parent = nullptr);

    void SetAssociate(QWidget* associate) { associate_ = associate; }
    QWidget* Associate() const { return associate_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
    QWidget* associate_ = nullptr;
};

} // namespace lq
