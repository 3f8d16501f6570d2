#pragma once

#include <QLineEdit>

namespace lq {

class TiEditCustom;

// The text editor inside an entry field. Mouse and key messages go to the owning field first, which
// applies the family's click and key rules and calls back into the plain editor behaviour below.
class TiLineEditor : public QLineEdit {
  public:
    explicit TiLineEditor(TiEditCustom* owner);

    void BaseMousePress(QMouseEvent* e) { QLineEdit::mousePressEvent(e); }
    void BaseMouseDoubleClick(QMouseEvent* e) { QLineEdit::mouseDoubleClickEvent(e); }
    void BaseMouseRelease(QMouseEvent* e) { QLineEdit::mouseReleaseEvent(e); }
    void BaseMouseMove(QMouseEvent* e) { QLineEdit::mouseMoveEvent(e); }
    void BaseKeyPress(QKeyEvent* e) { QLineEdit::keyPressEvent(e); }
    void BaseKeyRelease(QKeyEvent* e) { QLineEdit::keyReleaseEvent(e); }

  protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

  private:
    TiEditCustom* owner_;
};

} // namespace lq
