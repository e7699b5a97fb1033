// Телефон ▸ "Порт телефона": the choice offered when the menu opens, a port
// typed by its path, remembered for the next start, and the status panel
// telling a chosen port that is not there.
#include "tests/support/WindowTestSupport.h"
#include "ui/MainWindow.h"

#include "controllers/PortChoice.h"
#include "ui/FlatMenuStyle.h"
#include "ui/PortMenu.h"
#include "ui/StatusPanel.h"

#include <QAction>
#include <QImage>
#include <QInputDialog>
#include <QPainter>
#include <QStyleOptionMenuItem>
#include <QTest>

using qb::testing::control;

namespace {

QStringList texts(const QMenu* menu) {
    QStringList result;
    for (const QAction* action : menu->actions())
        result << (action->isSeparator() ? QStringLiteral("—") : action->text());
    return result;
}

// The texts of the checked items.
QStringList checked(const QMenu* menu) {
    QStringList result;
    for (const QAction* action : menu->actions())
        if (action->isChecked())
            result << action->text();
    return result;
}

// One menu item as the menus' style paints it, 200 by 22 pixels.
QImage paintedItem(QStyleOptionMenuItem::MenuItemType type, QStyleOptionMenuItem::CheckType check,
                   bool checked) {
    qb::ui::FlatMenuStyle style;
    QStyleOptionMenuItem item;
    item.rect = QRect(0, 0, 200, 22);
    item.state = QStyle::State_Enabled;
    item.menuItemType = type;
    item.checkType = check;
    item.checked = checked;
    item.text = QStringLiteral("Порт");
    item.fontMetrics = QFontMetrics(QFont());
    QImage image(item.rect.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    style.drawControl(QStyle::CE_MenuItem, &item, &painter, nullptr);
    return image;
}

// Whether the two images differ within `area`.
bool differIn(const QImage& a, const QImage& b, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return true;
    return false;
}

struct Window {
    explicit Window(const qb::testing::StartedIn& dir) : w(dir.path(), boxes) {
        QTRY_VERIFY(!w.isBusy()); // the archive is read at start-up
    }
    qb::ui::PortMenu* menu() const { return control<qb::ui::PortMenu>(w.form, "portMenu"); }
    // Opens the menu as a click on it does.
    void open() const { emit menu()->aboutToShow(); }
    QAction* item(const QString& text) const {
        for (QAction* action : menu()->actions())
            if (action->text() == text)
                return action;
        qWarning("no item %s", qPrintable(text));
        return nullptr;
    }
    qb::ui::StatusPanel* status() const {
        return control<qb::ui::StatusPanel>(w.form, "statusPanel");
    }
    void type(const QString& path) const {
        open();
        control<QAction>(w.form, "otherPortAction")->trigger();
        QInputDialog* dialog = menu()->pathDialog();
        QVERIFY(dialog->isVisible());
        dialog->setTextValue(path);
        dialog->accept();
    }

    qb::testing::RecordingDialogs boxes;
    qb::testing::ProgramWindow w;
};

} // namespace

class PortMenuTest : public QObject {
    Q_OBJECT
  private slots:
    void automaticUntilAPortIsTypedThenRemembered() {
        qb::testing::StartedIn dir;
        const QString missing = dir.filePath("rfcomm0");
        {
            Window window(dir);
            window.open();
            const QStringList items = texts(window.menu());
            QCOMPARE(items.first(), QString("Автоматически (телефон USB)"));
            QCOMPARE(items.last(), QString("Другой порт…"));
            QCOMPARE(checked(window.menu()), QStringList{"Автоматически (телефон USB)"});

            window.type(missing);
            QCOMPARE(window.w.app.portChoice().chosenPort(), missing);
            QCOMPARE(window.status()->text(), QString(" Состояние: Нет порта"));
            QCOMPARE(window.status()->icon(), qb::Icon::Disconnected);
            QCOMPARE(window.status()->toolTip(), qb::missingPortText(missing));
            QCOMPARE(window.w.messagePanel(), qb::missingPortText(missing));
        }
        Window again(dir);
        QCOMPARE(again.status()->text(), QString(" Состояние: Нет порта"));
        again.open();
        QCOMPARE(checked(again.menu()), QStringList{missing + " (не найден)"});
        again.item("Автоматически (телефон USB)")->trigger();
        QCOMPARE(again.status()->text(), QString(" Состояние: Отключен"));
        QVERIFY(again.status()->toolTip().isEmpty());
        QVERIFY(again.w.app.portChoice().isAutomatic());
    }

    void aPortThereIsThePhoneNamedByItsPath() {
        qb::testing::StartedIn dir;
        const QString port = dir.filePath("ttyUSB0");
        QVERIFY(QFile::link("/dev/null", port)); // a character device, as a port is
        Window window(dir);
        window.type("  " + port + " ");
        QCOMPARE(window.status()->text(), QString(" Состояние: Подключен"));
        QCOMPARE(window.status()->icon(), qb::Icon::Connected);
        QCOMPARE(window.w.caption(qb::TreeNode::Phone), port);
        QVERIFY(window.w.messagePanel().isEmpty());
        QVERIFY(window.w.app.commands().isEnabled(qb::Command::Read));
        window.open();
        QCOMPARE(checked(window.menu()), QStringList{port});
    }

    // A setting's check, a choice's dot and a submenu's arrow show, each in its place.
    void checksDotsAndSubmenuArrowsAreDrawn() {
        using Item = QStyleOptionMenuItem;
        const QImage plain = paintedItem(Item::Normal, Item::NotCheckable, false);
        const QRect iconColumn(0, 0, 24, 22);
        const QRect rightEnd(180, 0, 20, 22);
        for (const Item::CheckType check : {Item::NonExclusive, Item::Exclusive}) {
            QVERIFY(!differIn(paintedItem(Item::Normal, check, false), plain, iconColumn));
            QVERIFY(differIn(paintedItem(Item::Normal, check, true), plain, iconColumn));
        }
        QVERIFY(differIn(paintedItem(Item::Normal, Item::NonExclusive, true),
                         paintedItem(Item::Normal, Item::Exclusive, true), iconColumn));
        const QImage submenu = paintedItem(Item::SubMenu, Item::NotCheckable, false);
        QVERIFY(differIn(submenu, plain, rightEnd));
        QVERIFY(!differIn(submenu, plain, iconColumn));
    }

    void theChoiceRestsWhileAJobRuns() {
        qb::testing::StartedIn dir;
        Window window(dir);
        QAction* menuItem = window.menu()->menuAction();
        QVERIFY(menuItem->isEnabled());
        auto* job = window.w.app.commands().run(std::make_unique<qb::testing::SlowJob>(), {});
        QVERIFY(!menuItem->isEnabled());
        window.w.app.choosePort(dir.filePath("ttyUSB5"));
        QVERIFY(window.w.app.portChoice().isAutomatic());
        job->end();
        QTRY_VERIFY(menuItem->isEnabled());
    }
};

QTEST_MAIN(PortMenuTest)
#include "PortMenuTest.moc"
