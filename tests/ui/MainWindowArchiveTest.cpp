// The archive commands of the main window as the user drives them: the Delete
// key and the "Файл" menu on archive folders, and the import of a P2kTools
// archive through the file dialog.
#include "tests/support/WindowTestSupport.h"
#include "ui/MainWindow.h"

#include "archive/FolderTree.h"
#include "core/Cp1251.h"
#include "models/MessageListModel.h"
#include "tests/support/OwnTrash.h"
#include "ui/FolderTreeWidget.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>

using qb::TreeNode;

using qb::testing::OwnTrash;

namespace {

QByteArray inboxRecord(const QByteArray& text, int index) {
    const QByteArray idx = QByteArray::number(index);
    return text + "\r\n" + idx + "\r\n+MMGL: " + idx + ", \"REC READ\", \"+700" + idx + "\"\r\n0" +
           idx + "/02/2005,10:11:12\r\n";
}

QByteArray outboxRecord(const QByteArray& text) {
    return text + "\r\n 5\r\n+MMGL: 5, \"STO SENT\", \"555\"\r\n";
}

// A window started in a directory holding files of an earlier run.
struct Window {
    explicit Window(const QMap<QString, QByteArray>& files) : dir(files), w(dir.path(), boxes) {
        if (!w.showActive())
            qWarning("the window was not shown");
        w.tree()->expandAll();
    }
    qb::testing::StartedIn dir;
    qb::testing::RecordingDialogs boxes;
    qb::testing::ProgramWindow w;

    QTableView* list() const { return qb::testing::control<QTableView>(w.form, "messageList"); }
    QAction* action(const char* name) const { return qb::testing::control<QAction>(w.form, name); }
    QString caption(TreeNode node) const { return w.caption(node); }
    qb::MessageListModel& model() { return w.model(); }
    void choose(TreeNode node) {
        QTreeWidgetItem* item = w.node(node);
        w.tree()->scrollToItem(item);
        QTest::mouseClick(w.tree()->viewport(), Qt::LeftButton, {},
                          w.tree()->visualItemRect(item).center());
        // The click reaches the window queued; the rows follow.
        QTRY_COMPARE(w.app.list().listedFolder(), std::optional(node));
        waitIdle();
    }
    void waitIdle() { QTRY_VERIFY(w.isSettled()); }
    void selectRow(int row) const { list()->selectRow(row); }
    void pressDelete() { w.pressIn(list(), Qt::Key_Delete); }
    // Each row as its text and hidden record number.
    QStringList rows() {
        QStringList shown;
        for (int row = 0; row < model().rowCount(); ++row)
            shown << model().row(row).text + "#" + QString::number(model().row(row).record);
        return shown;
    }
};

// Answers the import's file dialog: picks `file`, or cancels when there is
// none; keeps the filter and default extension offered.
class DialogAnswerer : public QObject {
  public:
    explicit DialogAnswerer(QString file) : m_file(std::move(file)) {
        connect(&m_poll, &QTimer::timeout, this, [this] {
            QFileDialog* dialog = nullptr;
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* shown = qobject_cast<QFileDialog*>(widget); shown && shown->isVisible())
                    dialog = shown;
            }
            if (!dialog)
                return;
            offered = dialog->nameFilters().join(";;") + "|" + dialog->defaultSuffix();
            if (m_file.isEmpty())
                return dialog->reject();
            // Typed as the user would: selecting it goes through a file model
            // filled on another thread, which may not hold it yet.
            if (auto* typed = dialog->findChild<QLineEdit*>("fileNameEdit"))
                typed->setText(m_file);
            else
                dialog->selectFile(m_file);
            // Its own accept() checks the file against that model too.
            static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
        });
        m_poll.start(10);
    }
    QString offered;

  private:
    QString m_file;
    QTimer m_poll;
};

} // namespace

class MainWindowArchiveTest : public QObject {
    Q_OBJECT
  private slots:
    void deleteKeyRemovesTheChosenRecord();
    void deleteMenuEmptiesTheOutbox();
    void deletingAllKeepsThePhonebookAndAsksNothing();
    void rowsOfAReplacedInboxAreNotDeleted();
    void aStaleRowDeletesNothingThoughOnlyTheDateDiffers();
    void deleteActsOnTheListedFolderWhenTheTreeMovedOff();
    void importThroughTheFileDialog();
    void importRefusesOtherCommandsAndReportsFailures();
};

// The real window end to end: the Delete key, the confirmation answered; a
// record appended after the fill survives and the rows left are renumbered.
void MainWindowArchiveTest::deleteKeyRemovesTheChosenRecord() {
    const QByteArray three =
        inboxRecord("one", 1) + inboxRecord("two", 2) + inboxRecord("three", 3);
    Window w({{"Inbox.msg", three}});
    w.choose(TreeNode::ArchiveInbox);
    w.dir.write("Inbox.msg", three + inboxRecord("late", 4));
    w.selectRow(1);
    w.boxes.yes = false;
    w.pressDelete();
    QCOMPARE(w.boxes.texts,
             QStringList{QStringLiteral("Вы действительно хотите удалить сообщения?")});
    QCOMPARE(w.model().rowCount(), 3);
    w.boxes.yes = true;
    w.pressDelete();
    w.waitIdle();
    QCOMPARE(w.dir.read("Inbox.msg"),
             inboxRecord("one", 1) + inboxRecord("three", 3) + inboxRecord("late", 4));
    QCOMPARE(w.rows(), QStringList({"one#1", "three#2"}));
    QCOMPARE(w.caption(TreeNode::ArchiveInbox), QStringLiteral("Входящие (3)"));
}

// Every row of the Outbox, by the menu: an empty file.
void MainWindowArchiveTest::deleteMenuEmptiesTheOutbox() {
    Window w({{"Outbox.msg", outboxRecord("a") + outboxRecord("b")}});
    w.choose(TreeNode::ArchiveOutbox);
    w.list()->selectAll();
    w.action("deleteInArchiveAction")->trigger();
    w.waitIdle();
    QVERIFY(w.boxes.texts.isEmpty());
    QVERIFY(w.dir.exists("Outbox.msg"));
    QCOMPARE(w.dir.read("Outbox.msg"), QByteArray());
    QCOMPARE(w.caption(TreeNode::ArchiveOutbox), QStringLiteral("Исходящие "));
    QCOMPARE(w.model().rowCount(), 0);
}

// With Inbox.msg missing; the files go to the trash, and the rows with them.
void MainWindowArchiveTest::deletingAllKeepsThePhonebookAndAsksNothing() {
    OwnTrash trash;
    Window w({{"Outbox.msg", outboxRecord("a")},
              {"Draft.msg", outboxRecord("b")},
              {"Phonebook.pbk", "3\r\n555\r\nIvan\r\n\r\n"}});
    w.choose(TreeNode::ArchiveOutbox);
    w.action("deleteAllInArchiveAction")->trigger();
    w.waitIdle();
    QVERIFY(w.boxes.texts.isEmpty());
    QVERIFY(!w.dir.exists("Outbox.msg") && !w.dir.exists("Draft.msg") &&
            w.dir.exists("Phonebook.pbk"));
    QCOMPARE(w.caption(TreeNode::ArchiveOutbox), QStringLiteral("Исходящие "));
    QCOMPARE(w.caption(TreeNode::ArchiveDraft), QStringLiteral("Черновые "));
    QCOMPARE(trash.files(), QStringList({"Draft.msg", "Outbox.msg"}));
    QCOMPARE(w.w.messagePanel(), QStringLiteral("Перемещены в корзину: Outbox.msg, Draft.msg."));
    QCOMPARE(w.model().rowCount(), 0);
    // Nothing left to delete: the panel says so, and nothing is made.
    w.action("deleteAllInArchiveAction")->trigger();
    w.waitIdle();
    QCOMPARE(w.w.messagePanel(), QStringLiteral("В архиве нет файлов сообщений."));
    QCOMPARE(trash.files(), QStringList({"Draft.msg", "Outbox.msg"}));
}

// Rows listed before "delete all" and an import that writes a new Inbox.msg
// would name the new messages, never shown: the list is filled afresh.
void MainWindowArchiveTest::rowsOfAReplacedInboxAreNotDeleted() {
    OwnTrash trash;
    Window w({{"Inbox.msg", inboxRecord("one", 1) + inboxRecord("two", 2)},
              {"p2k.txt", "+7001;2005/1/2,3:04:05;first\r\n+7002;2005/1/2,3:04:06;second\r\n"}});
    w.choose(TreeNode::ArchiveInbox);
    w.action("deleteAllInArchiveAction")->trigger();
    w.waitIdle();
    QCOMPARE(w.model().rowCount(), 0);
    DialogAnswerer answer(w.dir.filePath("p2k.txt"));
    w.action("importAction")->trigger();
    QTRY_COMPARE(w.caption(TreeNode::ArchiveInbox), QStringLiteral("Входящие (2)"));
    w.waitIdle();
    QCOMPARE(w.rows(), QStringList({"first#1", "second#2"}));
    // Behind the list's back too: the deletion finds another message there.
    const QByteArray other = inboxRecord("first", 1) + inboxRecord("other", 2);
    w.dir.write("Inbox.msg", other);
    w.selectRow(1);
    w.boxes.yes = true;
    w.pressDelete();
    QTRY_COMPARE(w.boxes.texts.size(), 2);
    QCOMPARE(w.boxes.texts.back(), QStringLiteral("Сообщения в архиве изменились, ничего не "
                                                  "удалено. Выберите сообщения заново."));
    w.waitIdle();
    QCOMPARE(w.dir.read("Inbox.msg"), other);
    QCOMPARE(w.rows(), QStringList({"first#1", "other#2"}));
}

// Another copy of Quillbox removed the first of two messages alike but for
// their date: the row still listed for it deletes nothing, the list is filled
// afresh and shows what the file holds.
void MainWindowArchiveTest::aStaleRowDeletesNothingThoughOnlyTheDateDiffers() {
    const QByteArray ok = QByteArray::fromStdString(qb::cp1251::fromUnicode(u"ок"_qs));
    const QByteArray header = "1\r\n+MMGL: 1, \"REC READ\", \"+79161234567\"\r\n";
    const QByteArray r1 = ok + "\r\n" + header + "01/02/2005,10:11:12\r\n";
    const QByteArray r2 = ok + "\r\n" + header + "05/03/2006,08:00:00\r\n";
    const QByteArray r3 = QByteArray::fromStdString(qb::cp1251::fromUnicode(u"третье"_qs)) +
                          "\r\n2\r\n+MMGL: 2, \"REC READ\", \"+7\"\r\n06/03/2006,08:00:00\r\n";
    Window w({{"Inbox.msg", r1 + r2 + r3}});
    w.choose(TreeNode::ArchiveInbox);
    w.dir.write("Inbox.msg", r2 + r3);
    w.selectRow(0);
    w.boxes.yes = true;
    w.pressDelete();
    QTRY_COMPARE(w.boxes.texts.size(), 2);
    QCOMPARE(w.boxes.texts.back(), QStringLiteral("Сообщения в архиве изменились, ничего не "
                                                  "удалено. Выберите сообщения заново."));
    w.waitIdle();
    QCOMPARE(w.dir.read("Inbox.msg"), r2 + r3);
    QTRY_COMPARE(w.model().rowCount(), 2);
    QCOMPARE(w.model().row(0).date, QStringLiteral("05/03/2006,08:00:00"));
}

// The rows belong to the folder the list shows, where the user chose them.
void MainWindowArchiveTest::deleteActsOnTheListedFolderWhenTheTreeMovedOff() {
    Window w({{"Outbox.msg", outboxRecord("a") + outboxRecord("b")},
              {"Draft.msg", outboxRecord("c") + outboxRecord("d")}});
    w.choose(TreeNode::ArchiveOutbox);
    w.w.tree()->setCurrentItem(w.w.node(TreeNode::ArchiveDraft));
    w.selectRow(0);
    w.boxes.yes = true;
    w.pressDelete();
    w.waitIdle();
    QCOMPARE(w.dir.read("Outbox.msg"), outboxRecord("b"));
    QCOMPARE(w.dir.read("Draft.msg"), outboxRecord("c") + outboxRecord("d"));
    QCOMPARE(w.rows(), QStringList{"b#1"});
}

// The real window end to end: the import button and the real file dialog;
// the list is filled afresh, and a second import stores the messages again.
void MainWindowArchiveTest::importThroughTheFileDialog() {
    Window w({{"Inbox.msg", inboxRecord("one", 1) + inboxRecord("two", 2)},
              {"p2k.txt", "+7001;2005/1/2,3:04:05;first\r\n;2005/1/2,3:04:05;no sender\r\n"
                          "+7002;2005/1/2,3:04:06;second; with ;\r\n+7003;2005/1/2,3:04:07;\r\n"
                          "+7004;2005/1/2,3:04:08;third\r\n"}});
    w.choose(TreeNode::ArchiveInbox);
    w.w.setMessagePanel("before");
    {
        DialogAnswerer cancel({});
        w.action("importAction")->trigger();
        QTRY_VERIFY(!cancel.offered.isEmpty());
        QCOMPARE(cancel.offered, QStringLiteral("Архив P2kTools (*.txt)|txt"));
        QCOMPARE(w.w.messagePanel(), QString());
        QCOMPARE(w.caption(TreeNode::ArchiveInbox), QStringLiteral("Входящие (2)"));
    }
    DialogAnswerer answer(w.dir.filePath("p2k.txt"));
    QTest::mouseClick(qb::testing::control<QToolButton>(w.w.form, "importButton"), Qt::LeftButton);
    QTRY_COMPARE(w.caption(TreeNode::ArchiveInbox), QStringLiteral("Входящие (5)"));
    const QByteArray inbox = w.dir.read("Inbox.msg");
    QCOMPARE(int(inbox.count("\r\n")), 20);
    QVERIFY(inbox.endsWith(
        "third\r\n1000\r\n+MMGL: 1000, \"REC READ\", \"+7004\"\r\n02/01/2005,03:04:08\r\n"));
    QCOMPARE(w.caption(TreeNode::ArchiveInbox), QStringLiteral("Входящие (5)"));
    QCOMPARE(w.w.messagePanel(),
             QStringLiteral("Импортировано сообщений: 3. Пропущено строк без отправителя: 1. "
                            "Пропущено строк без текста: 1."));
    QTRY_COMPARE(w.model().rowCount(), 5);
    w.waitIdle();
    w.action("importAction")->trigger();
    QTRY_COMPARE(w.caption(TreeNode::ArchiveInbox), QStringLiteral("Входящие (8)"));
}

// While the import runs, other commands are refused; an Inbox that cannot be
// replaced gives the message and stays as it was.
void MainWindowArchiveTest::importRefusesOtherCommandsAndReportsFailures() {
    QByteArray big;
    for (int i = 0; i < 200000; ++i)
        big += "+7001;2005/1/2,3:04:05;message " + QByteArray::number(i) + "\r\n";
    Window w({{"Outbox.msg", outboxRecord("a")}, {"big.txt", big}});
    bool triedMeanwhile = false;
    QTimer meanwhile;
    connect(&meanwhile, &QTimer::timeout, [&] {
        if (w.w.isBusy() && !std::exchange(triedMeanwhile, true))
            w.w.app.archive().deleteAll();
    });
    meanwhile.start(1);
    DialogAnswerer answer(w.dir.filePath("big.txt"));
    w.action("importAction")->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(w.caption(TreeNode::ArchiveInbox),
                              QStringLiteral("Входящие (200000)"), 20000);
    QVERIFY(triedMeanwhile);
    QVERIFY(w.dir.exists("Outbox.msg"));

    QVERIFY(QFile::remove(w.dir.filePath("Inbox.msg")) && QDir(w.dir.path()).mkdir("Inbox.msg"));
    w.action("importAction")->trigger();
    QTRY_COMPARE(w.boxes.texts.size(), 1);
    QVERIFY(w.boxes.texts.front().startsWith("Cannot open file \""));
    QVERIFY(QFileInfo(w.dir.filePath("Inbox.msg")).isDir());
}

QTEST_MAIN(MainWindowArchiveTest)
#include "MainWindowArchiveTest.moc"
