// The main window as the user meets it at start-up: folder captions from the
// archive files of the current directory, the state of the commands, the
// menus, failures shown in a message box, closing, and what assistive
// technology can read.
#include "ui/MainWindow.h"
#include "controllers/PhoneMessages.h"
#include "models/ImageList.h"
#include "models/MessageListModel.h"
#include "tests/support/WindowTestSupport.h"
#include "ui/BusyScope.h"
#include "ui/FolderTreeWidget.h"
#include "ui/StatusPanel.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>

namespace {

using qb::testing::MessageBoxAnswerer;

// Runs the window in a fresh directory, as if the program had been started there.
class StartedIn : public qb::testing::StartedIn {
  public:
    void writeLines(const QString& name, int lines) const {
        QFile file(filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (int i = 0; i < lines; ++i)
            file.write(QByteArray("line ") + QByteArray::number(i) + "\r\n");
    }
};

QString caption(const MainWindow& form, int position) {
    return form.node(position)->text(0);
}

template <typename T> T* child(const MainWindow& form, const char* name) {
    return qb::testing::control<T>(form, name);
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void emptyDirectoryShowsEmptyArchiveFolders();
    void archiveFilesGiveCounts();
    void captionChangesKeepTheSelection();
    void startsDisconnectedWithEmptyList();
    void menusCarryTheirTextsAndIcons();
    void menuItemsActOnlyWhileTheirButtonIsEnabled();
    void readButtonFollowsThePhoneWhenALongCommandEnds();
    void lostPhoneIsToldForWhatItIs();
    void unreadableArchiveFileIsReported();
    void closingIsNeverRefused();
    void progressDrivesTheStatusBar();
    void controlsAreNamedForAssistiveTechnology();
    void workAreaKeepsItsProportions();
};

void MainWindowTest::emptyDirectoryShowsEmptyArchiveFolders() {
    StartedIn dir;
    MainWindow form;
    QCOMPARE(form.workspace().workDir, dir.path());
    const QStringList expected = {"Телефон", "Входящие",  "Исходящие",  "Черновые",
                                  "Архив",   "Входящие ", "Исходящие ", "Черновые "};
    for (int position = 0; position < 8; ++position) {
        QCOMPARE(caption(form, position), expected[position]);
        QVERIFY(!form.node(position)->icon(0).isNull());
        QVERIFY(!(form.node(position)->flags() & Qt::ItemIsEditable));
    }
    QCOMPARE(form.node(5)->parent(), form.node(4));
    QCOMPARE(form.node(1)->parent(), form.node(0));
    QCOMPARE(form.node(8), nullptr);
    QCOMPARE(form.shownFolder(), -1);
}

void MainWindowTest::archiveFilesGiveCounts() {
    StartedIn dir;
    dir.writeLines("Inbox.msg", 9);
    dir.writeLines("Outbox.msg", 1);
    dir.writeLines("Draft.msg", 6);
    MainWindow form;
    QCOMPARE(caption(form, 5), QString("Входящие (3)"));
    QCOMPARE(caption(form, 6), QString("Исходящие "));
    QCOMPARE(caption(form, 7), QString("Черновые (2)"));
    QCOMPARE(form.workspace().archive.inbox.count(), 3);

    // The directory is taken once: moving away later does not move the archive.
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());
    form.reloadArchive();
    QCOMPARE(form.workspace().workDir, dir.path());
    QCOMPARE(caption(form, 5), QString("Входящие (3)"));
}

void MainWindowTest::captionChangesKeepTheSelection() {
    StartedIn dir;
    MainWindow form;
    auto* tree = child<qb::ui::FolderTreeWidget>(form, "folderTree");
    form.node(6)->setSelected(true);
    tree->setCurrentItem(form.node(6));

    form.workspace().readResult.inbox.countMark = "2";
    form.workspace().readResult.outbox.countMark = "-1";
    form.workspace().readResult.draft.countMark = "0";
    form.setPhoneCaptions();
    QCOMPARE(caption(form, 1), QString("Входящие (3)"));
    QCOMPARE(caption(form, 2), QString("Исходящие "));
    QCOMPARE(caption(form, 3), QString("Черновые (1)"));

    dir.writeLines("Outbox.msg", 6);
    child<QPlainTextEdit>(form, "viewer")->setPlainText("shown text");
    form.reloadArchive();
    QCOMPARE(caption(form, 6), QString("Исходящие (2)"));
    QVERIFY(child<QPlainTextEdit>(form, "viewer")->toPlainText().isEmpty());
    QCOMPARE(tree->selectedPosition(), 6);
    QCOMPARE(tree->currentItem(), form.node(6));
}

void MainWindowTest::startsDisconnectedWithEmptyList() {
    StartedIn dir;
    MainWindow form;
    for (const char* name : {"readButton", "exportSelectedButton", "exportAllButton"})
        QVERIFY2(!child<QToolButton>(form, name)->isEnabled(), name);
    QVERIFY(child<QToolButton>(form, "connectButton")->isEnabled());
    QVERIFY(child<QToolButton>(form, "importButton")->isEnabled());
    auto* status = child<qb::ui::StatusPanel>(form, "statusPanel");
    QCOMPARE(status->text(), QString(" Состояние: Отключен"));
    QCOMPARE(status->image(), qb::Image::Disconnected);
    QCOMPARE(child<QTableView>(form, "messageList")->model()->rowCount(), 0);
    auto* timer = child<QTimer>(form, "connectionTimer");
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 500);
}

void MainWindowTest::menusCarryTheirTextsAndIcons() {
    StartedIn dir;
    MainWindow form;
    const QList<QAction*> top = form.menuBar()->actions();
    QCOMPARE(top.size(), 3);
    QCOMPARE(top[0]->text(), QString("Файл"));
    QCOMPARE(top[1]->text(), QString("Телефон"));
    QCOMPARE(top[2]->text(), QString("О Программе"));
    QCOMPARE(top[2]->menu(), nullptr); // triggers directly

    struct Item {
        QString text; // empty: a separator
        int image;
    };
    const QList<Item> file = {
        {"Сохранить", 3},       {"Сохранить все", 29},     {"Экспорт для смартфона…", 29}, {"", -1},
        {"Конвертировать", 26}, {"Удалить сообщение", 14}, {"Удалить все сообщения", 12},  {"", -1},
        {"Выход", 16}};
    const QList<Item> phone = {
        {"Подключить", 25}, {"", -1}, {"Считать", 28}, {"Удалить сообщение", 14}};
    for (const auto& [menu, items] : {std::pair{top[0]->menu(), file}, {top[1]->menu(), phone}}) {
        const QList<QAction*> actions = menu->actions();
        QCOMPARE(actions.size(), items.size());
        for (int i = 0; i < items.size(); ++i) {
            QCOMPARE(actions[i]->isSeparator(), items[i].text.isEmpty());
            if (actions[i]->isSeparator())
                continue;
            QCOMPARE(actions[i]->text(), items[i].text);
            QCOMPARE(actions[i]->icon().cacheKey(), qb::imageListIcon(items[i].image).cacheKey());
        }
    }
}

void MainWindowTest::menuItemsActOnlyWhileTheirButtonIsEnabled() {
    StartedIn dir;
    MainWindow form;
    // The export commands start by clearing the message panel: a cleared
    // panel shows that the command ran.
    for (const auto& [item, button] : {std::pair{"exportSelectedAction", "exportSelectedButton"},
                                       {"exportAllAction", "exportAllButton"}}) {
        form.setMessagePanel("hover text");
        child<QAction>(form, item)->trigger();
        QCOMPARE(form.messagePanel(), QString("hover text"));
        child<QToolButton>(form, button)->setEnabled(true);
        child<QAction>(form, item)->trigger();
        QCOMPARE(form.messagePanel(), QString());
    }
    // Connecting clears the panel and refreshes the status; nothing is listed yet.
    form.setMessagePanel("hover text");
    child<QAction>(form, "connectAction")->trigger();
    QCOMPARE(form.messagePanel(), QString());
    QVERIFY(!child<QToolButton>(form, "readButton")->isEnabled());
}

// A long command disables the commands and gives them back as they were. The
// phone may have gone meanwhile (no phone is listed here): the read button
// then stays off instead of waiting for the next status tick.
void MainWindowTest::readButtonFollowsThePhoneWhenALongCommandEnds() {
    StartedIn dir;
    MainWindow form;
    QToolButton* read = child<QToolButton>(form, "readButton");
    read->setEnabled(true); // as while the phone was still there
    {
        qb::ui::BusyScope busy(form);
        QVERIFY(!read->isEnabled());
    }
    QVERIFY(!read->isEnabled());
    QVERIFY(child<QToolButton>(form, "connectButton")->isEnabled());
}

void MainWindowTest::lostPhoneIsToldForWhatItIs() {
    using Kind = qb::ReadOutcome::Kind;
    const std::string node = "/dev/ttyACM0";
    QCOMPARE(qb::lostPhoneText(Kind::PortBusy, node), QStringLiteral("Утройство занято!"));
    QCOMPARE(qb::lostPhoneText(Kind::PortRefused, node), qb::noPermissionText(node));
    QVERIFY(qb::noPermissionText(node).contains("(/dev/ttyACM0)"));
    QVERIFY(qb::lostPhoneText(Kind::PortVanished, node).startsWith("Телефон отключён"));
    QVERIFY(qb::lostPhoneText(Kind::PhoneStalled, node)
                .startsWith("Телефон перестал принимать команды"));
    QVERIFY(qb::lostPhoneText(Kind::Finished, node).isEmpty());
}

void MainWindowTest::unreadableArchiveFileIsReported() {
    StartedIn dir;
    QVERIFY(QDir(dir.path()).mkdir("Inbox.msg"));
    MessageBoxAnswerer catcher;
    MainWindow form;
    QVERIFY2(catcher.texts.value(0).startsWith(
                 QString("Cannot open file \"%1/Inbox.msg\". ").arg(dir.path())),
             qPrintable(catcher.texts.value(0)));
    QCOMPARE(caption(form, 5), QString("Входящие")); // the load stopped before the captions
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    child<QAction>(form, "connectAction")->trigger(); // still answers commands
    QVERIFY(form.close());
}

void MainWindowTest::closingIsNeverRefused() {
    StartedIn dir;
    MainWindow form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    child<QAction>(form, "quitAction")->trigger(); // "Выход"
    QVERIFY(!form.isVisible());
    form.show();
    QVERIFY(form.close());
    QVERIFY(!form.isVisible());
}

void MainWindowTest::progressDrivesTheStatusBar() {
    StartedIn dir;
    MainWindow form;
    form.show();
    auto* bar = child<QProgressBar>(form, "progressBar");
    QVERIFY(!bar->isVisible());
    QCOMPARE(bar->maximum(), 100);
    QCOMPARE(bar->parentWidget(), child<QWidget>(form, "statusBar"));

    qb::Progress& progress = form.progress();
    progress.setVisible(true);
    progress.setMaximum(20);
    progress.setPosition(5);
    QCoreApplication::processEvents();
    QVERIFY(bar->isVisible());
    QCOMPARE(progress.position(), 5);
    QCOMPARE(bar->value(), 5);
    progress.setMaximum(-1); // a folder of one message
    QCOMPARE(bar->minimum(), 0);
    progress.setVisible(false);
    QVERIFY(!bar->isVisible());
}

void MainWindowTest::controlsAreNamedForAssistiveTechnology() {
    StartedIn dir;
    MainWindow form;
    for (const char* name :
         {"folderTree", "messageList", "viewer", "statusBar", "progressBar", "toolbarPanel",
          "titleStrip", "titleLabel", "treeListSplitter", "listViewerSplitter",
          "backgroundColourPicker", "textColourPicker", "readButton", "connectButton",
          "importButton", "exportSelectedButton", "exportAllButton"})
        QVERIFY2(form.findChild<QWidget*>(name), name);

    const auto accessibleName = [](QObject* object) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
        return face ? face->text(QAccessible::Name) : QString();
    };
    QCOMPARE(accessibleName(child<QToolButton>(form, "readButton")),
             QString("Считать сообщения с телефона"));
    QCOMPARE(accessibleName(child<QToolButton>(form, "importButton")),
             QString("Конвертировать архив P2kTools в архив Quillbox"));
    QCOMPARE(accessibleName(child<QWidget>(form, "statusPanel")), QString(" Состояние: Отключен"));
    QCOMPARE(accessibleName(child<QWidget>(form, "titleLabel")), QString("  Quillbox 1.1"));

    // Every control a user can reach has a name to be read out.
    for (QWidget* widget : form.findChildren<QWidget*>()) {
        const bool control =
            qobject_cast<QAbstractButton*>(widget) || qobject_cast<QAbstractItemView*>(widget) ||
            qobject_cast<QPlainTextEdit*>(widget) || qobject_cast<QProgressBar*>(widget) ||
            widget->objectName().endsWith("ColourPicker");
        // Headers and corner buttons of the views, the menu bar's overflow button.
        const bool qtInternal = qobject_cast<QAbstractItemView*>(widget->parentWidget()) ||
                                qobject_cast<QHeaderView*>(widget) ||
                                widget->objectName().startsWith("qt_");
        if (control && !qtInternal)
            QVERIFY2(!accessibleName(widget).isEmpty(), qPrintable(widget->objectName()));
    }
    auto* list = child<QTableView>(form, "messageList");
    QCOMPARE(list->model()->headerData(0, Qt::Horizontal, Qt::AccessibleTextRole).toString(),
             QString("Сообщение"));
}

void MainWindowTest::workAreaKeepsItsProportions() {
    StartedIn dir;
    MainWindow form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.size(), QSize(870, 640));
    QCOMPARE(child<QWidget>(form, "folderTree")->width(), 185);
    QCOMPARE(child<QWidget>(form, "viewer")->height(), 170);

    // Extra room goes to the list, not to the tree or the viewer.
    form.resize(1000, 700);
    QTest::qWait(20);
    QCOMPARE(child<QWidget>(form, "folderTree")->width(), 185);
    QCOMPARE(child<QWidget>(form, "viewer")->height(), 170);

    QHeaderView* header = child<QTableView>(form, "messageList")->horizontalHeader();
    const QStringList titles = {"Сообщение", "От", "Дата/Время", "Размер", "Индекс"};
    for (int column = 0; column < titles.size(); ++column)
        QCOMPARE(header->model()->headerData(column, Qt::Horizontal).toString(), titles[column]);
    QCOMPARE(header->sectionResizeMode(0), QHeaderView::Stretch);
    QCOMPARE(header->sectionResizeMode(4), QHeaderView::Fixed);
    QCOMPARE(header->sectionSize(1), 150);
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
