#include "panel/caption_font_check.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QSet>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "widgets/ti_label.h"

namespace lq {

namespace {

// The fonts worth asking: a font that has Chinese characters says it writes Chinese.
std::vector<QFontMetrics> ChineseFonts() {
    std::vector<QFontMetrics> fonts;
    for (const QString& family : QFontDatabase::families(QFontDatabase::SimplifiedChinese))
        fonts.emplace_back(QFont(family));
    return fonts;
}

} // namespace

QString CharactersWithoutFont(const QString& captions) {
    const std::vector<QFontMetrics> fonts = ChineseFonts();
    QSet<char32_t> seen;
    QString missing;
    for (const char32_t c : captions.toUcs4()) {
        if (c < 0x80 || seen.contains(c)) continue;
        seen.insert(c);
        const bool has = std::any_of(fonts.begin(), fonts.end(),
                                     [c](const QFontMetrics& font) { return font.inFontUcs4(c); });
        if (!has) missing += QString::fromUcs4(&c, 1);
    }
    return missing;
}

QString CaptionsOf(const QWidget& window) {
    QString text = window.windowTitle();
    for (const QLabel* label : window.findChildren<QLabel*>())
        text += label->text();
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>())
        text += button->text();
    for (const TiLabel* label : window.findChildren<TiLabel*>())
        text += label->Caption();
    return text;
}

QString MissingFontNotice(const QString& missing) {
    if (missing.isEmpty()) return {};
    return QCoreApplication::translate(
               "CaptionFontCheck", "No installed font has the panel's Chinese characters, so its captions "
                                   "show as boxes (%1 characters without a font).\nInstall one and start "
                                   "the panel again; on Debian: sudo apt install fonts-wqy-zenhei")
        .arg(missing.size());
}

void WarnWhenCaptionsHaveNoFont(QWidget& window) {
    const QString notice = MissingFontNotice(CharactersWithoutFont(CaptionsOf(window)));
    if (notice.isEmpty()) return;
    std::fprintf(stderr, "lq-modbus-rtu: %s\n", notice.toLocal8Bit().constData());
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("LQ_Modbus RTU"), notice,
                                QMessageBox::Ok, &window);
    box->setObjectName(QStringLiteral("MissingFontNotice"));
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

} // namespace lq
