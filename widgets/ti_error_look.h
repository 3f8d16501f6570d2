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

} // namespace lq
