// The extra windows' menu: a right click on the status strip or the link lamp opens it, and each tool's
// shortcut works in the main window without the menu.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QtTest>

#include "panel/form1.h"
#include "panel/tools_menu.h"

using namespace lq;

class ToolsMenuTest : public QObject {
    Q_OBJECT

  private slots:
    void aRightClickOnTheStripOrTheLampOpensTheMenu_data() {
        QTest::addColumn<int>("where");
        QTest::newRow("status strip") << 0;
        QTest::newRow("dark lamp") << 1;
        QTest::newRow("lit lamp") << 2;
    }

    void aRightClickOnTheStripOrTheLampOpensTheMenu() {
        QFETCH(int, where);
        TForm1 form;
        form.Image14->show();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* action = new QAction(QStringLiteral("工具…"), &form);
        action->setShortcut(Qt::Key_F10);
        form.Tools().Add(action);
        QWidget* target = where == 0   ? static_cast<QWidget*>(form.Panel5)
                          : where == 1 ? form.Image7
                                       : form.Image14;
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), target->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(target, &click);
        QTRY_VERIFY(form.Tools().Menu()->isVisible());
        QCOMPARE(form.Tools().Menu()->actions(), QList<QAction*>{action});
    }

    void theShortcutTriggersItsActionInTheMainWindow() {
        TForm1 form;
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto* action = new QAction(QStringLiteral("工具…"), &form);
        action->setShortcut(Qt::Key_F10);
        form.Tools().Add(action);
        QSignalSpy triggered(action, &QAction::triggered);
        QTest::keyClick(&form, Qt::Key_F10);
        QCOMPARE(triggered.count(), 1);
    }
};

QTEST_MAIN(ToolsMenuTest)
#include "tools_menu_test.moc"
