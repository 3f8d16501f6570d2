// Which caption characters have no installed font, and what the operator is told then. Fonts-wqy-zenhei is
// one of the panel's run-time packages, so here the panel's own captions all have a font.
#include <QtTest>

#include "panel/caption_font_check.h"
#include "panel/form1.h"

using namespace lq;

class CaptionFontTest : public QObject {
    Q_OBJECT

  private slots:
    void charactersWithoutAFontAreFound_data() {
        QTest::addColumn<QString>("captions");
        QTest::addColumn<QString>("missing");
        const QString noFont = QString::fromUcs4(U"\U0010FFFD");
        QTest::newRow("ASCII only") << QStringLiteral("COM4 19200 8_N_2") << QString();
        QTest::newRow("Chinese with a font") << QStringLiteral("打开串口：通讯") << QString();
        QTest::newRow("one without, met twice")
            << QStringLiteral("串口") + noFont + QStringLiteral("A") + noFont << noFont;
    }

    void charactersWithoutAFontAreFound() {
        QFETCH(QString, captions);
        QFETCH(QString, missing);
        QCOMPARE(CharactersWithoutFont(captions), missing);
        QCOMPARE(
            MissingFontNotice(CharactersWithoutFont(captions)).contains(QStringLiteral("fonts-wqy-zenhei")),
            !missing.isEmpty());
    }

    void thePanelsCaptionsAreAllAskedAbout() {
        TForm1 form;
        const QString captions = CaptionsOf(form);
        for (const QString& part :
             {QStringLiteral("打开串口"), QStringLiteral("通讯"), QStringLiteral("PW5_三相控制界面")})
            QVERIFY2(captions.contains(part), qPrintable(part));
        QCOMPARE(CharactersWithoutFont(captions), QString());
    }
};

QTEST_MAIN(CaptionFontTest)
#include "caption_font_test.moc"
