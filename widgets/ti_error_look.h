#pragma once

#include "widgets/ti_color.h"

#include <QFont>
#include <QString>

namespace lq {

// What a numeric field shows instead of its number while ErrorActive is set.
struct TiErrorLook {
    bool active = false;
    QString text = QStringLiteral("Error");
    QFont font = BoldFont();
    TColor fontColor = clRed;
    TColor backGroundColor = clBlack;

    static QFont BoldFont() {
        QFont f;
        f.setBold(true);
        return f;
    }
};

// The error-look properties that both numeric widgets publish. Each setter stores its value and tells the
// widget through ErrorLookChanged (ErrorActiveChanged for the switch itself), which redraws.
class TiErrorLookProperties {
  public:
    bool ErrorActive() const { return look_.active; }
    void SetErrorActive(bool on) {
        look_.active = on;
        ErrorActiveChanged();
    }
    QString ErrorText() const { return look_.text; }
    void SetErrorText(const QString& text) {
        look_.text = text;
        ErrorLookChanged();
    }
    QFont ErrorFont() const { return look_.font; }
    void SetErrorFont(const QFont& f) {
        look_.font = f;
        ErrorLookChanged();
    }
    TColor ErrorFontColor() const { return look_.fontColor; }
    void SetErrorFontColor(TColor c) {
        look_.fontColor = c;
        ErrorLookChanged();
    }
    TColor ErrorBackGroundColor() const { return look_.backGroundColor; }
    void SetErrorBackGroundColor(TColor c) {
        look_.backGroundColor = c;
        ErrorLookChanged();
    }

  protected:
    ~TiErrorLookProperties() = default;
    const TiErrorLook& ErrorLook() const { return look_; }
    virtual void ErrorLookChanged() = 0;
    virtual void ErrorActiveChanged() { ErrorLookChanged(); }

  private:
    TiErrorLook look_;
};

} // namespace lq
