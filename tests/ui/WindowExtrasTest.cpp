// What completes the main window: the toolbar's hover texts, the balloon
// hints, the notification-area icon and the about box.
#include "ui/AboutDialog.h"
#include "ui/BalloonHints.h"
#include "ui/HoverTexts.h"
#include "ui/TrayPresence.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

using namespace qb::ui;

namespace {

void enter(QWidget* widget, QPoint at = {2, 2}) {
    QEnterEvent event(at, widget->mapTo(widget->window(), at), widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
}

void leave(QWidget* widget) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

void moveOver(QWidget* widget, QPoint at) {
    QMouseEvent event(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// A toolbar of two buttons with the window's texts, shown through two labels.
struct Toolbar {
    Toolbar() {
        bar.resize(300, 61);
        connectButton.setGeometry(8, 8, 45, 45);
        readButton.setGeometry(56, 8, 45, 45);
        hover.addButton(&connectButton, QStringLiteral(" Подключить"),
                        QStringLiteral(" Подключить телефон"));
        hover.addButton(&readButton, QStringLiteral(" Считать"),
                        QStringLiteral(" Считать все сообщения с телефона"));
        title.setText(QStringLiteral("  Quillbox 1.1"));
    }
    QWidget bar;
    QToolButton connectButton{&bar};
    QToolButton readButton{&bar};
    QLabel title;
    QLabel panel;
    HoverTexts hover{&bar, [this](const QString& t) { title.setText(t); },
                     [this](const QString& t) { panel.setText(t); }};
};

} // namespace

class WindowExtrasTest : public QObject {
    Q_OBJECT
  private slots:
    void hoverTextsFollowTheMouseFromButtonToButtonAndOntoTheBackground() {
        Toolbar t;
        t.panel.setText(QStringLiteral("kept"));
        enter(&t.bar, {200, 30}); // the background sets only the title
        QCOMPARE(t.title.text(), QStringLiteral(" Quillbox 1.1"));
        QCOMPARE(t.panel.text(), QStringLiteral("kept"));

        enter(&t.connectButton);
        QCOMPARE(t.title.text(), QStringLiteral(" Подключить"));
        QCOMPARE(t.panel.text(), QStringLiteral(" Подключить телефон"));
        // Straight onto the next button: its leave comes first, then the new enter.
        leave(&t.connectButton);
        enter(&t.readButton);
        QCOMPARE(t.title.text(), QStringLiteral(" Считать"));
        QCOMPARE(t.panel.text(), QStringLiteral(" Считать все сообщения с телефона"));
        // Back onto the background: the toolbar only sees the mouse move.
        leave(&t.readButton);
        QCOMPARE(t.title.text(), QString());
        moveOver(&t.bar, {60, 30}); // still over the button: nothing
        QCOMPARE(t.title.text(), QString());
        moveOver(&t.bar, {200, 30});
        QCOMPARE(t.title.text(), QStringLiteral(" Quillbox 1.1"));
        QCOMPARE(t.panel.text(), QString());
        t.title.setText(QStringLiteral("x"));
        moveOver(&t.bar, {210, 30}); // moving about on the background repeats nothing
        QCOMPARE(t.title.text(), QStringLiteral("x"));
    }

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
        QCOMPARE(QToolTip::text(),
                 QStringLiteral("<p align=\"center\" style=\"white-space:pre\">"
                                "Подключить &lt;телефон&gt;</p>"));
        QToolTip::hideText();
    }

    void withoutANotificationAreaMinimisingKeepsTheWindow() {
        QWidget window;
        TrayPresence tray(&window, false);
        QVERIFY(!tray.icon());
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

    void aboutBoxOpensModallyAndClosesWithOk() {
        QWidget main;
        main.resize(870, 640);
        main.show();
        AboutDialog about(&main);
        QCOMPARE(about.size(), QSize(300, 217));
        QCOMPARE(about.windowTitle(), QStringLiteral("О Программе"));
        QVERIFY(about.windowFlags() & Qt::FramelessWindowHint);
        auto* ok = about.findChild<QPushButton*>(QStringLiteral("okButton"));
        QVERIFY(ok);
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QCOMPARE(ok->size(), QSize(100, 25));
        QCOMPARE(ok->x(), (300 - 100) / 2); // bottom centre
        auto* mail = about.findChild<QLabel*>(QStringLiteral("mailLink"));
        auto* page = about.findChild<QLabel*>(QStringLiteral("discussionLink"));
        QVERIFY(mail && page);
        QVERIFY(mail->text().contains(QStringLiteral("href=\"mailto:quillbox@example.org\"")));
        QVERIFY(mail->accessibleName().startsWith(QStringLiteral("E-Mail адрес:")));
        QCOMPARE(page->accessibleName(), QStringLiteral("Обсуждение программы"));
        QVERIFY(page->openExternalLinks());

        bool wasModal = false;
        QTimer::singleShot(50, [&] {
            wasModal = QApplication::activeModalWidget() == &about;
            ok->click();
        });
        QCOMPARE(about.exec(), int(QDialog::Accepted));
        QVERIFY(wasModal);
        QVERIFY(!about.isVisible());
    }
};

QTEST_MAIN(WindowExtrasTest)
#include "WindowExtrasTest.moc"
