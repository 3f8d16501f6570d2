#pragma once

#include "widgets/ti_color.h"
#include "widgets/ti_component.h"
#include "widgets/ti_error_look.h"

#include <QMenu>
#include <QPointer>

namespace lq {

class TiEntryFilter;
class TiLineEditor;

// A one-line entry field with a last accepted text: Enter (or losing the focus) accepts what was typed,
// Escape and Ctrl+Z go back to the last accepted text. What accepting means is up to the subclass.
class TiEditCustom : public TiCustomComponent, public TiErrorLookProperties {
    Q_OBJECT
  public:
    explicit TiEditCustom(QWidget* parent = nullptr);
    ~TiEditCustom() override;

    QString Text() const;
    QString LastAcceptedText() const { return lastAcceptedText_; }
    bool Modified() const { return Text() != lastAcceptedText_; }

    void Accept();
    void Undo();

    bool AcceptOnLostFocus() const { return acceptOnLostFocus_; }
    void SetAcceptOnLostFocus(bool on) { acceptOnLostFocus_ = on; }
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool on) { autoSelect_ = on; }
    bool BeepOnError() const { return beepOnError_; }
    void SetBeepOnError(bool on) { beepOnError_ = on; }
    Qt::Alignment Alignment() const;
    void SetAlignment(Qt::Alignment a);
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor c);
    TColor BackGroundColor() const { return backGroundColor_; }
    void SetBackGroundColor(TColor c);

    // A menu of the caller's for the right button; without one the field opens its own.
    void SetPopupMenu(QMenu* menu) { popupMenu_ = menu; }
    QMenu* PopupMenu() const { return popupMenu_; }
    // The field's own menu while it is open, else null.
    QMenu* OpenEntryMenu() const;

    TiLineEditor* Editor() const { return editor_; }

  protected:
    // Turns the typed text into the field's value; on success it calls ShowAcceptedText.
    virtual void AcceptTyped(const QString& text) = 0;
    // Whether a typed character may enter the text.
    virtual bool CharAllowed(QChar) const { return true; }
    // Length of the part selected after an accept or undo (the number, without units).
    virtual int SelectableLength() const;

    // Puts a new text in the editor and makes it the last accepted one.
    void ShowAcceptedText(const QString& text);
    // Puts a text of the field's own in the editor, past the character filter.
    void SetEditorText(const QString& text);
    void Beep() const;

    void MouseDownReaction(QMouseEvent* e, QPoint pos) override;
    void MouseDoubleClickReaction(QMouseEvent* e, QPoint pos) override;
    void MouseUpReaction(QMouseEvent* e, QPoint pos) override;
    void MouseMoveReaction(QMouseEvent* e, QPoint pos) override;
    void KeyDownReaction(QKeyEvent* e) override;
    void KeyCharReaction(QKeyEvent* e) override;
    void KeyUpReaction(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent*) override;
    void ErrorLookChanged() override { update(); }
    // The error text is painted by the field itself, in the editor's place.
    void ErrorActiveChanged() override;

  private:
    friend class TiLineEditor;
    void EditorLostFocus(QFocusEvent* e);
    void SelectNumber();
    void OpenMenu(QPoint globalPos);
    void ApplyColors();

    TiLineEditor* editor_;
    TiEntryFilter* filter_;
    QMenu* entryMenu_;
    QPointer<QMenu> popupMenu_;
    QString lastAcceptedText_;
    bool acceptOnLostFocus_ = true;
    bool autoSelect_ = true;
    bool beepOnError_ = false;
    bool keyConsumed_ = false;
    TColor fontColor_ = clBlack;
    TColor backGroundColor_ = clWindow;
};

} // namespace lq
