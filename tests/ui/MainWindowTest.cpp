// The main window as the user meets it at start-up: folder captions from the
// archive files of the current directory, the state of the commands, the
// menus, failures shown in a message box, closing, and what assistive
// technology can read.
#include "ui/MainWindow.h"
#include "controllers/PhoneMessages.h"
#include "controllers/ReadOnPlug.h"
#include "core/NativeDir.h"
#include "models/Icons.h"
#include "models/MessageListModel.h"
#include "tests/support/WindowTestSupport.h"
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
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using qb::testing::nodeAt;
using qb::testing::RecordingDialogs;
using qb::testing::SlowJob;

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

using qb::testing::ProgramWindow;

QString caption(const ProgramWindow& w, int position) {
    return w.caption(nodeAt(position));
}

template <typename T> T* child(const ProgramWindow& w, const char* name) {
    return qb::testing::control<T>(w.form, name);
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void emptyDirectoryShowsEmptyArchiveFolders();
    void archiveFilesGiveCounts();
    void startsInAFolderWhoseNameIsNotUtf8();
    void captionChangesKeepTheSelection();
    void startsDisconnectedWithEmptyList();
    void menusCarryTheirTextsAndIcons();
    void menuItemsActOnlyWhileTheirButtonIsEnabled();
    void readingOnPlugIsARememberedSettingOffUntilTurnedOn();
    void commandsRestWhileAJobRuns();
    void lostPhoneIsToldForWhatItIs();
    void unreadableArchiveFileIsReported();
    void closingIsNeverRefused();
    void closingDuringAJobCancelsItAndClosesOnceItEnds();
    void progressDrivesTheStatusBar();
    void controlsAreNamedForAssistiveTechnology();
    void workAreaKeepsItsProportions();
};

void MainWindowTest::emptyDirectoryShowsEmptyArchiveFolders() {
    StartedIn dir;
    RecordingDialogs boxes;
    ProgramWindow form(dir.path(), boxes);
    // The archive is read off the window's thread, which shows itself busy meanwhile.
    QVERIFY(form.isBusy());
    QVERIFY(!child<QToolButton>(form, "importButton")->isEnabled());
    QTRY_VERIFY(!form.isBusy());
    QCOMPARE(form.app.workspace().workDir, dir.path());
    const QStringList expected = {"Телефон", "Входящие",  "Исходящие",  "Черновые",
                                  "Архив",   "Входящие ", "Исходящие ", "Черновые "};
    for (int position = 0; position < 8; ++position) {
        QCOMPARE(caption(form, position), expected[position]);
        QVERIFY(!form.node(nodeAt(position))->icon(0).isNull());
        QVERIFY(!(form.node(nodeAt(position))->flags() & Qt::ItemIsEditable));
    }
    QCOMPARE(form.node(qb::TreeNode::ArchiveInbox)->parent(), form.node(qb::TreeNode::Archive));
    QCOMPARE(form.node(qb::TreeNode::PhoneInbox)->parent(), form.node(qb::TreeNode::Phone));
    QCOMPARE(form.listedFolder(), std::nullopt);
}

void MainWindowTest::archiveFilesGiveCounts() {
    StartedIn dir;
    dir.writeLines("Inbox.msg", 9);
    dir.writeLines("Outbox.msg", 1);
    dir.writeLines("Draft.msg", 6);
    RecordingDialogs boxes;
    ProgramWindow form(dir.path(), boxes);
    QTRY_VERIFY(!form.isBusy()); // the archive is read at start-up
    QCOMPARE(caption(form, 5), QString("Входящие (3)"));
    QCOMPARE(caption(form, 6), QString("Исходящие "));
    QCOMPARE(caption(form, 7), QString("Черновые (2)"));
    QCOMPARE(form.app.workspace().archive.inbox.count(), 3);

    // The directory is the one given: the process's own does not move the archive.
    form.app.archive().reloadArchive();
    QTRY_VERIFY(!form.isBusy());
    QCOMPARE(form.app.workspace().workDir, dir.path());
    QCOMPARE(caption(form, 5), QString("Входящие (3)"));
}

// Started, as main() starts it, in a folder named by bytes that are not UTF-8:
// the archive is read from that very folder, the template written there, and
// messages name it as the user knows it.
void MainWindowTest::startsInAFolderWhoseNameIsNotUtf8() {
    QTemporaryDir top;
    const QByteArray odd = QFile::encodeName(top.path()) + "/arch\xff";
    QVERIFY(::mkdir(odd.constData(), 0700) == 0);
    const QByteArray record =
        "hi\r\n1\r\n+MMGL: 1, \"REC READ\", \"+7\"\r\n01/01/2005,10:00:00\r\n";
    const int fd = ::open((odd + "/Inbox.msg").constData(), O_WRONLY | O_CREAT, 0600);
    QVERIFY(fd >= 0 &&
            ::write(fd, record.constData(), std::size_t(record.size())) == record.size());
    ::close(fd);
    const QString before = QDir::currentPath();
    QVERIFY(::chdir(odd.constData()) == 0);
    {
        qb::NativeDir work;
        QVERIFY(work.openCurrent());
        RecordingDialogs boxes;
        ProgramWindow form(work.path(), boxes);
        QTRY_VERIFY(!form.isBusy());
        QCOMPARE(caption(form, 5), QString("Входящие (1)"));
        QVERIFY2(boxes.texts.isEmpty(), qPrintable(boxes.texts.join('\n')));
        QVERIFY(::access((odd + "/Normal.htm").constData(), F_OK) == 0);
        QCOMPARE(qb::withRealFolderNames("Cannot open file \"" + work.path() + "/Inbox.msg\"."),
                 "Cannot open file \"" + QFile::decodeName(odd) + "/Inbox.msg\".");
    }
    QVERIFY(QDir::setCurrent(before));
    for (const char* name : {"/Inbox.msg", "/Normal.htm"})
        ::unlink((odd + name).constData());
    ::rmdir(odd.constData());
}

void MainWindowTest::captionChangesKeepTheSelection() {
    StartedIn dir;
    RecordingDialogs boxes;
    ProgramWindow form(dir.path(), boxes);
    QTRY_VERIFY(!form.isBusy()); // the archive is read at start-up
    auto* tree = child<qb::ui::FolderTreeWidget>(form, "folderTree");
    form.node(qb::TreeNode::ArchiveOutbox)->setSelected(true);
    tree->setCurrentItem(form.node(qb::TreeNode::ArchiveOutbox));

    form.app.workspace().readResult.inbox.resize(3);
    form.app.workspace().readResult.outbox.clear();
    form.app.workspace().readResult.draft.resize(1);
    emit form.app.phone().phoneCaptionsChanged(); // as a read or a deletion on the phone does
    QCOMPARE(caption(form, 1), QString("Входящие (3)"));
    QCOMPARE(caption(form, 2), QString("Исходящие "));
    QCOMPARE(caption(form, 3), QString("Черновые (1)"));

    dir.writeLines("Outbox.msg", 6);
    child<QPlainTextEdit>(form, "viewer")->setPlainText("shown text");
    form.app.archive().reloadArchive();
    QTRY_VERIFY(!form.isBusy());
    QCOMPARE(caption(form, 6), QString("Исходящие (2)"));
    QVERIFY(child<QPlainTextEdit>(form, "viewer")->toPlainText().isEmpty());
    QCOMPARE(tree->selectedNode(), qb::TreeNode::ArchiveOutbox);
    QCOMPARE(tree->currentItem(), form.node(qb::TreeNode::ArchiveOutbox));
}

void MainWindowTest::startsDisconnectedWithEmptyList() {
    StartedIn dir;
    RecordingDialogs boxes;
    ProgramWindow form(dir.path(), boxes);
    QTRY_VERIFY(!form.isBusy()); // the archive is read at start-up
    for (const char* name : {"readButton", "exportSelectedButton", "exportAllButton"})
        QVERIFY2(!child<QToolButton>(form, name)->isEnabled(), name);
    QVERIFY(child<QToolButton>(form, "connectButton")->isEnabled());
    QVERIFY(child<QToolButton>(form, "importButton")->isEnabled());
    auto* status = child<qb::ui::StatusPanel>(form, "statusPanel");
    QCOMPARE(status->text(), QString(" Состояние: Отключен"));
    QCOMPARE(status->icon(), qb::Icon::Disconnected);
    QCOMPARE(child<QTableView>(form, "messageList")->model()->rowCount(), 0);
    auto* timer = form.app.findChild<QTimer*>("connectionTimer");
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 500);
}

void MainWindowTest::menusCarryTheirTextsAndIcons() {
    StartedIn dir;
    RecordingDialogs boxes;
    ProgramWindow form(dir.path(), boxes);
    QTRY_VERIFY(!form.isBusy()); // the archive is read at start-up
    const QList<QAction*> top = form.form.menuBar()->actions();
    QCOMPARE(top.size(), 3);
    QCOMPARE(top[0]->text(), QString("Файл"));
    QCOMPARE(top[1]->text(), QString("Телефон"));
    QCOMPARE(top[2]->text(), QString("О Программе"));
    QCOMPARE(top[2]->menu(), nullptr); // triggers directly

    struct Item {
        QString text; // empty: a separator
        qb::Icon image;
    };
    using enum qb::Icon;
    const QList<Item> file = {{"Сохранить", Save},
                              {"Сохранить все", SaveAll},
                              {"Экспорт для смартфона…", SaveAll},
                              {"Печать…", Save},
                              {"Сохранить в PDF…", SaveAll},
                              {"", None},
                              {"Найти", None},
                              {"Переписка с …", None},
                              {"", None},
                              {"Конвертировать", Convert},
                              {"Удалить сообщение", DeleteMessage},
                              {"Удалить все сообщения", DeleteAll},
                              {"", None},
                              {"Выход", Exit}};
    const QList<Item> phone = {{"Подключить", Connect},
                               {"", None},
                               {"Считать", Read},
                               {"Удалить сообщение", DeleteMessage},
                               {"", None},
                               {"Порт телефона", None},
                               {"Считывать телефон при подключении", None}};
    for (const auto& [menu, items] : {std::pair{top[0]->menu(), file}, {top[1]->menu(), phone}}) {
        const QList<QAction*> actions = menu->actions();
        QCOMPARE(actions.size(), items.size());
        for (int i = 0; i < items.size(); ++i) {
            QCOMPARE(actions[i]->isSeparator(), items[i].text.isEmpty());
            if (actions[i]->isSeparator())
                continue;
            QCOMPARE(actions[i]->text(), items[i].text);
            QCOMPARE(actions[i]->icon().cacheKey(), qb::icon(items[i].image).cacheKey());
        }
    }
}

void MainWindowTest::menuItemsActOnlyWhileTheirButtonIsEnabled() {
    StartedIn dir;
    RecordingDialogs boxes;
    ProgramWindow form(dir.path(), boxes);
    QTRY_VERIFY(!form.isBusy()); // the archive is read at start-up
    // The export commands start by clearing the message panel: a cleared
    // panel shows that the command ran. Menu item and button are one action.
    struct Command {
        const char* item;
        const char* button;
        const char* hint; // the button keeps its own face, though the action changes
        qb::ButtonPicture picture;
    };
    for (const Command& c : {Command{"exportSelectedAction", "exportSelectedButton",
                                     "Сохранить сообщение", qb::ButtonPicture::Save},
                             Command{"exportAllAction", "exportAllButton",
                                     "Сохранить все сообщения", qb::ButtonPicture::SaveAll}}) {
        form.app.commands().setListed(false, false);
        form.setMessagePanel("hover text");
        child<QAction>(form, c.item)->trigger();
        QCOMPARE(form.messagePanel(), QString("hover text"));
        form.app.commands().setListed(true, true); // rows listed and selected
        auto* button = child<QToolButton>(form, c.button);
        QVERIFY(button->isEnabled());
        QCOMPARE(button->defaultAction(), child<QAction>(form, c.item));
        QCOMPARE(button->toolTip(), QString::fromUtf8(c.hint));
        QCOMPARE(button->icon().cacheKey(), qb::buttonPicture(c.picture).cacheKey());
        child<QAction>(form, c.item)->trigger();
        QCOMPARE(form.messagePanel(), QString());
    }
    // Connecting clears the panel and refreshes the status; nothing is listed yet.
    form.setMessagePanel("hover text");
    child<QAction>(form, "connectAction")->trigger();
    QCOMPARE(form.messagePanel(), QString());
    QVERIFY(!child<QToolButton>(form, "readButton")->isEnabled());
    QVERIFY(!child<QAction>(form, "readAction")->isEnabled());
}

void MainWindowTest::readingOnPlugIsARememberedSettingOffUntilTurnedOn() {
    StartedIn dir;
    RecordingDialogs boxes;
    {
        ProgramWindow form(dir.path(), boxes);
        auto* setting = child<QAction>(form, "readOnPlugAction");
        QVERIFY(setting->isCheckable() && !setting->isChecked());
        QVERIFY(!form.app.readOnPlug().isEnabled());
        // A setting, not a command: it may be changed while a job runs.
        QTRY_VERIFY(!form.isBusy());
        auto* job = form.app.commands().run(std::make_unique<SlowJob>(), {});
        QVERIFY(setting->isEnabled());
        setting->trigger();
        QVERIFY(form.app.readOnPlug().isEnabled());
        job->end();
    }
    ProgramWindow again(dir.path(), boxes);
    QVERIFY(child<QAction>(again, "readOnPlugAction")->isChecked());
    QVERIFY(again.app.readOnPlug().isEnabled());
}

// While a job runs every command control rests; when it ends they come back
// as the window's state has them: the read button stays off without a phone.
void MainWindowTest::commandsRestWhileAJobRuns() {
    StartedIn dir;
    RecordingDialogs boxes;
    ProgramWindow form(dir.path(), boxes);
    QTRY_VERIFY(!form.isBusy()); // the archive is read at start-up
    const auto enabled = [&form](const char* name) {
        return child<QToolButton>(form, name)->isEnabled();
    };
    auto* job = form.app.commands().run(std::make_unique<SlowJob>(), {});
    QVERIFY(job);
    QVERIFY(form.isBusy() && job->started);
    for (const char* name : {"connectButton", "importButton", "readButton"})
        QVERIFY2(!enabled(name), name);
    for (const char* name : {"importAction", "deleteAllInArchiveAction", "aboutAction"})
        QVERIFY2(!child<QAction>(form, name)->isEnabled(), name);
    QVERIFY(child<QAction>(form, "quitAction")->isEnabled());
    QVERIFY(!form.app.commands().run(std::make_unique<SlowJob>(), {})); // one command at a time

    job->end();
    QVERIFY(!form.isBusy());
    QVERIFY(enabled("connectButton") && enabled("importButton") && !enabled("readButton"));
    QVERIFY(child<QAction>(form, "importAction")->isEnabled());
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
    RecordingDialogs boxes;
    ProgramWindow form(dir.path(), boxes);
    QTRY_VERIFY(!form.isBusy()); // the archive is read at start-up
    QVERIFY2(boxes.texts.value(0).startsWith(
                 QString("Cannot open file \"%1/Inbox.msg\". ").arg(dir.path())),
             qPrintable(boxes.texts.value(0)));
    QCOMPARE(caption(form, 5), QString("Входящие")); // the load stopped before the captions
    form.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form.form));
    child<QAction>(form, "connectAction")->trigger(); // still answers commands
    QVERIFY(form.form.close());
}

void MainWindowTest::closingIsNeverRefused() {
    StartedIn dir;
    RecordingDialogs boxes;
    ProgramWindow form(dir.path(), boxes);
    QTRY_VERIFY(!form.isBusy()); // the archive is read at start-up
    form.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form.form));
    child<QAction>(form, "quitAction")->trigger(); // "Выход"
    QVERIFY(!form.form.isVisible());
    form.form.show();
    QVERIFY(form.form.close());
    QVERIFY(!form.form.isVisible());
}

void MainWindowTest::closingDuringAJobCancelsItAndClosesOnceItEnds() {
    StartedIn dir;
    RecordingDialogs boxes;
    ProgramWindow form(dir.path(), boxes);
    QTRY_VERIFY(!form.isBusy()); // the archive is read at start-up
    form.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form.form));
    bool done = false;
    auto* job =
        form.app.commands().run(std::make_unique<SlowJob>(), [&done](SlowJob&) { done = true; });
    QVERIFY(!form.form.close()); // not yet: the job still works on the window's state
    QVERIFY(job->cancelled && form.form.isVisible());
    QTRY_VERIFY(done);
    QTRY_VERIFY(!form.form.isVisible());
}

// A job's progress reaches the status bar by signal, throttled but complete.
void MainWindowTest::progressDrivesTheStatusBar() {
    StartedIn dir;
    RecordingDialogs boxes;
    ProgramWindow form(dir.path(), boxes);
    QTRY_VERIFY(!form.isBusy()); // the archive is read at start-up
    form.form.show();
    auto* bar = child<QProgressBar>(form, "progressBar");
    QVERIFY(!bar->isVisible());
    QCOMPARE(bar->maximum(), 100);
    QCOMPARE(bar->parentWidget(), child<QWidget>(form, "statusBar"));

    auto* job = form.app.commands().run(std::make_unique<SlowJob>(), {});
    qb::Progress& progress = job->progress();
    progress.setVisible(true);
    progress.setMaximum(20);
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->maximum(), 20);
    QTest::qWait(50); // steps come at most every few milliseconds
    progress.setPosition(5);
    QCOMPARE(bar->value(), 5);
    progress.setMaximum(-1); // a folder of one message
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 0);
    progress.setVisible(false);
    QVERIFY(!bar->isVisible());
    job->end();
    QTRY_VERIFY(!form.isBusy());

    // A bar the controller set up before handing the job over shows at once.
    auto prepared = std::make_unique<SlowJob>();
    prepared->progress().setMaximum(7);
    prepared->progress().setVisible(true);
    SlowJob* started = form.app.commands().run(std::move(prepared), {});
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->maximum(), 7);
    started->end();
}

void MainWindowTest::controlsAreNamedForAssistiveTechnology() {
    StartedIn dir;
    RecordingDialogs boxes;
    ProgramWindow form(dir.path(), boxes);
    QTRY_VERIFY(!form.isBusy()); // the archive is read at start-up
    for (const char* name :
         {"folderTree", "messageList", "viewer", "statusBar", "progressBar", "toolbarPanel",
          "titleStrip", "titleLabel", "treeListSplitter", "listViewerSplitter",
          "backgroundColourPicker", "textColourPicker", "readButton", "connectButton",
          "importButton", "exportSelectedButton", "exportAllButton"})
        QVERIFY2(form.form.findChild<QWidget*>(name), name);

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
    for (QWidget* widget : form.form.findChildren<QWidget*>()) {
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
    RecordingDialogs boxes;
    ProgramWindow form(dir.path(), boxes);
    QTRY_VERIFY(!form.isBusy()); // the archive is read at start-up
    form.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form.form));
    QCOMPARE(form.form.size(), QSize(870, 640));
    QCOMPARE(child<QWidget>(form, "folderTree")->width(), 185);
    QCOMPARE(child<QWidget>(form, "viewer")->height(), 170);

    // Extra room goes to the list, not to the tree or the viewer.
    form.form.resize(1000, 700);
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
