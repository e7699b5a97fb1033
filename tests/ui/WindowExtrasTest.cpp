// The balloon hints and the notification-area icon; the hover texts and the
// about box are tried in the main window itself.
#include "ui/BalloonHints.h"
#include "ui/TrayPresence.h"

#include <QApplication>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

using namespace qb;
using namespace qb::ui;

class WindowExtrasTest : public QObject {
    Q_OBJECT
  private slots:
    void balloonHintsAreCentredNavyTimesAfterHalfASecond() {
        installBalloonHints(*qApp);
        QCOMPARE(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 500);
        const QFont font = QToolTip::font();
        QVERIFY(font.families().contains(QStringLiteral("Times New Roman")));
        QCOMPARE(font.pixelSize(), 13);
        QVERIFY(font.bold() && font.italic());
        QCOMPARE(QToolTip::palette().color(QPalette::ToolTipText), QColor(0, 0, 128));

        QToolButton button;
        button.setToolTip(QStringLiteral("Подключить <телефон>"));
        button.resize(45, 45);
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QHelpEvent help(QEvent::ToolTip, {5, 5}, button.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&button, &help);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QStringLiteral("<p align=\"center\" style=\"white-space:pre\">"
                                                  "Подключить &lt;телефон&gt;</p>"));
        QToolTip::hideText();
    }

    void withoutANotificationAreaMinimisingKeepsTheWindow() {
        QWidget window;
        TrayPresence tray(&window, false);
        QVERIFY(!tray.icon());
        QVERIFY(!tray.notify(QStringLiteral("Телефон считан"), QStringLiteral("…"), false));
        window.show();
        window.showMinimized();
        QTest::qWait(20);
        QVERIFY(window.isVisible());
    }

    void withANotificationAreaMinimisingHidesAndADoubleClickRestores() {
        QWidget window;
        TrayPresence tray(&window, true);
        QVERIFY(tray.icon());
        QVERIFY(tray.icon()->toolTip().isEmpty());
        QVERIFY(!tray.icon()->contextMenu());
        QVERIFY(tray.notify(QStringLiteral("Телефон считан"), QStringLiteral("…"), false));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.showMinimized();
        QTRY_VERIFY(!window.isVisible());
        tray.activate(QSystemTrayIcon::Trigger); // a single click does nothing
        QVERIFY(!window.isVisible());
        emit tray.icon()->activated(QSystemTrayIcon::DoubleClick);
        QVERIFY(window.isVisible());
        QVERIFY(!window.isMinimized());
    }
};

QTEST_MAIN(WindowExtrasTest)
#include "WindowExtrasTest.moc"
