// The message list and viewer of the main window as the user drives them:
// choosing folders, the cells of each kind of folder, selection, shading, the
// keys, deleting on a scripted phone, and the commands while a folder is shown.
#include "tests/support/WindowTestSupport.h"
#include "ui/MainWindow.h"

#include "ScriptedPhone.h"
#include "archive/RecordLines.h"
#include "core/Cp1251.h"
#include "models/Icons.h"
#include "models/MessageListModel.h"
#include "ui/FolderTreeWidget.h"
#include "ui/MessageViewer.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMessageBox>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

using qb::MessageListModel;

namespace {

std::string cp(const QString& text) {
    return qb::cp1251::fromUnicode(text);
}

// One archive folder file: Text, Index, Header (and Date for Inbox) per record.
struct Message {
    QString text;
    std::string index;
    std::string number;
    std::string date;
};

std::string header(const Message& m, const char* status) {
    std::string digits = m.index.substr(m.index.find_first_not_of(' '));
    return "+MMGL: " + digits + ", \"" + status + "\", \"" + m.number + "\"";
}

void writeFolder(const QString& path, bool inbox, const std::vector<Message>& messages) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    for (const Message& m : messages) {
        std::string lines = cp(m.text) + "\r\n" + m.index + "\r\n" +
                            header(m, inbox ? "REC READ" : "STO SENT") + "\r\n";
        if (inbox)
            lines += m.date + "\r\n";
        file.write(lines.data(), qint64(lines.size()));
    }
}

// A window started in a fresh directory holding a small archive.
class Window {
  public:
    Window() {
        writeFolder(m_dir.filePath("Inbox.msg"), true,
                    {{QString::fromUtf8("Привет :)"), "5", "+79161112233", "01/02/2005,10:11:12"},
                     {QString(), "6", "+70000000000", "02/02/2005,10:11:12"},
                     {"again", "7", "+79161112233", "03/02/2005,10:11:12"}});
        writeFolder(m_dir.filePath("Outbox.msg"), false, {{"sent", " 5", "555", {}}});
        w = std::make_unique<qb::testing::ProgramWindow>(m_dir.path(), boxes);
        QTRY_VERIFY(w->isSettled()); // the archive is read at start-up
        workspace().phonebook.entries = {{"+79161112233", cp(QString::fromUtf8("Иван"))},
                                         {"555", cp(QString::fromUtf8("Без имени"))}};
        QVERIFY(w->showActive());
        tree()->expandAll();
    }

    qb::Workspace& workspace() const { return w->app.workspace(); }
    qb::ListController& listing() const { return w->app.list(); }
    qb::ui::FolderTreeWidget* tree() const { return w->tree(); }
    QTableView* list() const { return w->form.findChild<QTableView*>("messageList"); }
    MessageListModel* model() const { return &w->model(); }
    qb::ui::MessageViewer* viewer() const {
        return w->form.findChild<qb::ui::MessageViewer*>("viewer");
    }
    QToolButton* button(const char* name) const { return w->form.findChild<QToolButton*>(name); }
    QAction* action(const char* name) const { return w->form.findChild<QAction*>(name); }
    QProgressBar* bar() const { return w->form.findChild<QProgressBar*>("progressBar"); }
    bool isBusy() const { return w->isBusy(); }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) const {
        w->pressIn(list(), key, modifiers);
    }

    // A mouse click on a tree node, as the user chooses a folder; the list
    // shows it once the click has been handled.
    void choose(int position) const {
        click(position);
        QTRY_VERIFY(w->isSettled());
    }
    void click(int position) const {
        QTreeWidgetItem* node = w->node(qb::testing::nodeAt(position));
        tree()->scrollToItem(node);
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {},
                          tree()->visualItemRect(node).center());
        QCoreApplication::processEvents();
    }
    int shown() const { return w->listedFolder() ? int(*w->listedFolder()) : -1; }
    int selected() const { return tree()->selectedNode() ? int(*tree()->selectedNode()) : -1; }
    void clickRow(int row, Qt::KeyboardModifiers keys = {}) const {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, keys,
                          list()->visualRect(model()->index(row, 0)).center());
        QCoreApplication::processEvents();
    }
    void selectRows(const std::vector<int>& rows) const {
        list()->clearSelection();
        for (int row : rows)
            list()->selectionModel()->select(model()->index(row, 0), QItemSelectionModel::Select |
                                                                         QItemSelectionModel::Rows);
    }
    QString cell(int row, int column) const {
        return model()->index(row, column).data().toString();
    }
    int record(int row) const {
        return model()->index(row, 0).data(MessageListModel::RecordRole).toInt();
    }
    bool shaded(int row) const {
        return model()->index(row, 1).data(Qt::BackgroundRole).value<QColor>() ==
               QColor(166, 202, 240);
    }

    qb::testing::StartedIn m_dir;
    qb::testing::RecordingDialogs boxes;
    std::unique_ptr<qb::testing::ProgramWindow> w;
};

// Five received messages of the last phone read, indexes 11 to 15.
void readFivePhoneMessages(qb::Workspace& workspace) {
    for (int k = 1; k <= 5; ++k) {
        const std::string index = std::to_string(10 + k);
        qb::Message& message = workspace.readResult.inbox.emplace_back(
            qb::record::listed(qb::FolderKind::Inbox, qb::MessageStatus::Read,
                               "+MMGL: " + index + ", \"REC READ\", \"+79161112233\"", " " + index,
                               "phone " + std::to_string(k)));
        message.time = qb::MessageTime{2005, 1, static_cast<std::int8_t>(k), 9, 5, 3};
    }
    workspace.readResult.outbox = {
        qb::record::listed(qb::FolderKind::Outbox, qb::MessageStatus::Sent,
                           "+MMGL: 7, \"STO SENT\", \"999\"", " 7", "out")};
}

// The folder as if its file had grown by its first record `times` times.
void repeatFirst(qb::ArchiveFolder& folder, int times) {
    std::string content;
    for (const qb::MessageView message : folder)
        qb::record::appendRecord(content, message);
    std::string first;
    qb::record::appendRecord(first, folder.message(0));
    for (int i = 0; i < times; ++i)
        content += first;
    folder = qb::ArchiveFolder::fromContent(folder.kind(), content);
}

} // namespace

class MessageListTest : public QObject {
    Q_OBJECT
  private slots:
    void archiveFoldersFillEveryColumn();
    void phoneFoldersShowTheLastRead();
    void groupNodesEmptyTheList();
    void onlyAnotherNodeRefillsTheList();
    void arrowKeysInTheTreeRefill();
    void unusablePhonebookStopsTheFill();
    void selectionDrivesTheSaveButtonAndTheViewer();
    void oneSelectedRowShadesItsSender();
    void clickShowsTheFirstSelectedRow();
    void ctrlASelectsEveryRow();
    void deleteKeyAsksFirst();
    void deletingOnThePhoneRemovesConfirmedRows();
    void refusedDeletionKeepsItsRow();
    void vanishedPhoneDeletesNothing();
    void deletionOnThePhoneCanBeCancelled();
    void showingAFolderLeavesTheCommandsAlone();
    void aCommandDuringASortActsOnTheListedFolder();
};

void MessageListTest::archiveFoldersFillEveryColumn() {
    Window w;
    w.choose(5);
    QCOMPARE(w.shown(), 5);
    QCOMPARE(w.model()->rowCount(), 3);
    QCOMPARE(w.cell(0, 0), QString::fromUtf8("Привет :)"));
    QCOMPARE(w.cell(0, 1), QString::fromUtf8("Иван (+79161112233)"));
    QCOMPARE(w.cell(0, 2), QString("01/02/2005,10:11:12"));
    QCOMPARE(w.cell(0, 3), QString("9"));
    QCOMPARE(w.cell(0, 4), QString("5"));
    QCOMPARE(w.cell(1, 1), QString("+70000000000")); // not in the phonebook
    QCOMPARE(w.cell(1, 3), QString("0"));
    QCOMPARE(w.record(2), 3);
    const auto icon = [&](int row) {
        return w.model()->index(row, 0).data(Qt::DecorationRole).value<QIcon>().cacheKey();
    };
    QCOMPARE(icon(0), qb::icon(qb::Icon::InboxRow).cacheKey());
    QVERIFY(w.button("exportAllButton")->isEnabled());
    QVERIFY(!w.button("exportSelectedButton")->isEnabled());
    QVERIFY(!w.bar()->isVisible());
    QVERIFY(w.bar()->isTextVisible());

    w.choose(6);
    QCOMPARE(w.model()->rowCount(), 1);
    QCOMPARE(w.cell(0, 1), QString("555")); // the contact is named "Без имени"
    QCOMPARE(w.cell(0, 2), QString("----------------"));
    QCOMPARE(w.cell(0, 4), QString(" 5"));
    QCOMPARE(icon(0), qb::icon(qb::Icon::OutboxRow).cacheKey());
    w.choose(7); // no Draft.msg
    QCOMPARE(w.model()->rowCount(), 0);
    QVERIFY(!w.button("exportAllButton")->isEnabled());
}

void MessageListTest::phoneFoldersShowTheLastRead() {
    Window w;
    w.choose(1);
    QCOMPARE(w.model()->rowCount(), 0); // before the first read
    readFivePhoneMessages(w.workspace());
    w.choose(5);
    QCOMPARE(w.cell(0, 4), QString("5"));
    w.choose(1);
    QCOMPARE(w.model()->rowCount(), 5);
    QCOMPARE(w.cell(4, 0), QString("phone 5"));
    QCOMPARE(w.cell(4, 1), QString::fromUtf8("Иван (+79161112233)"));
    QCOMPARE(w.cell(4, 4), QString("15"));
    QCOMPARE(w.record(4), 5);
    w.choose(2);
    QCOMPARE(w.cell(0, 1), QString("999"));
    QCOMPARE(w.cell(0, 2), QString("----------------"));
    QCOMPARE(w.cell(0, 4), QString(" 7"));
    QCOMPARE(w.model()->index(0, 0).data(Qt::DecorationRole).value<QIcon>().cacheKey(),
             qb::icon(qb::Icon::OutboxRow).cacheKey());
}

void MessageListTest::groupNodesEmptyTheList() {
    Window w;
    for (const int group : {4, 0}) {
        w.choose(5);
        w.viewer()->setMessageText("shown");
        w.choose(group);
        QCOMPARE(w.model()->rowCount(), 0);
        QVERIFY(!w.button("exportAllButton")->isEnabled());
        QVERIFY(w.viewer()->messageText().isEmpty());
    }
}

void MessageListTest::onlyAnotherNodeRefillsTheList() {
    Window w;
    w.choose(5);
    repeatFirst(w.workspace().archive.inbox, 1);
    w.choose(5);
    QCOMPARE(w.model()->rowCount(), 3);
    w.choose(6);
    w.choose(5);
    QCOMPARE(w.model()->rowCount(), 4);
}

void MessageListTest::arrowKeysInTheTreeRefill() {
    Window w;
    w.choose(5);
    w.tree()->setFocus();
    QTest::keyClick(w.tree(), Qt::Key_Down);
    QCOMPARE(w.shown(), 6);
    QTRY_COMPARE(w.model()->rowCount(), 1);
    QTest::keyClick(w.tree(), Qt::Key_Up);
    QCOMPARE(w.shown(), 5);
    QTRY_VERIFY(!w.isBusy());
    // Other keys move the selection but leave the list alone.
    QTest::keyClick(w.tree(), Qt::Key_End);
    QCOMPARE(w.selected(), 7);
    QCOMPARE(w.shown(), 5);
    QCOMPARE(w.model()->rowCount(), 3);
}

void MessageListTest::unusablePhonebookStopsTheFill() {
    Window w;
    w.workspace().phonebook.countLine = "x7";
    w.choose(5);
    QCOMPARE(w.boxes.texts, QStringList{"'x7' is not a valid integer value"});
    QCOMPARE(w.model()->rowCount(), 0);
    QVERIFY(!w.bar()->isVisible());
    QVERIFY(!w.button("exportAllButton")->isEnabled());
    w.choose(7); // an empty folder has no first row to stop at
    QCOMPARE(w.boxes.texts.size(), 1);
}

void MessageListTest::selectionDrivesTheSaveButtonAndTheViewer() {
    Window w;
    w.choose(5);
    w.selectRows({0});
    QVERIFY(w.button("exportSelectedButton")->isEnabled());
    QCOMPARE(w.viewer()->messageText(), QString::fromUtf8("Привет :)"));
    w.selectRows({0, 2});
    QVERIFY(w.button("exportSelectedButton")->isEnabled());
    QCOMPARE(w.viewer()->messageText(), QString::fromUtf8("Привет :)")); // unchanged
    w.selectRows({});
    QVERIFY(!w.button("exportSelectedButton")->isEnabled());
    QVERIFY(w.viewer()->messageText().isEmpty());
    w.selectRows({2});
    QCOMPARE(w.viewer()->messageText(), QString("again"));
    w.choose(6); // a refill leaves nothing selected
    QVERIFY(!w.button("exportSelectedButton")->isEnabled());
    QVERIFY(w.viewer()->messageText().isEmpty());
}

void MessageListTest::oneSelectedRowShadesItsSender() {
    Window w;
    w.choose(5);
    w.selectRows({2});
    QVERIFY(w.shaded(0));
    QVERIFY(!w.shaded(1));
    QVERIFY(w.shaded(2));
    w.selectRows({1});
    QVERIFY(!w.shaded(0));
    QVERIFY(w.shaded(1));
    w.selectRows({0, 1});
    for (int row = 0; row < 3; ++row)
        QVERIFY(!w.shaded(row));
    w.selectRows({});
    QVERIFY(!w.shaded(0));
}

void MessageListTest::clickShowsTheFirstSelectedRow() {
    Window w;
    w.choose(5);
    // The list is painted again whenever the row looked at has another sender.
    QSignalSpy repaints(&w.listing(), &qb::ListController::repaintNeeded);
    w.clickRow(2);
    QCOMPARE(repaints.size(), 1);
    QCOMPARE(w.viewer()->messageText(), QString("again"));
    QVERIFY(w.button("exportSelectedButton")->isEnabled());
    w.clickRow(1, Qt::ControlModifier); // rows 1 and 2: the higher one is shown
    QCOMPARE(repaints.size(), 2);
    QCOMPARE(w.viewer()->messageText(), QString());
    // The keyboard moves the selection; releasing the key follows the sender.
    w.clickRow(0);
    QTest::keyClick(w.list(), Qt::Key_Down);
    QCOMPARE(repaints.size(), 4);
    QCOMPARE(w.viewer()->messageText(), QString()); // row 1's text is empty
    QVERIFY(w.shaded(1));
    w.clickRow(1); // the same sender again: nothing to paint
    QCOMPARE(repaints.size(), 4);
    // A click below the last row selects nothing.
    QTest::mouseClick(w.list()->viewport(), Qt::LeftButton, {},
                      QPoint(5, w.list()->viewport()->height() - 3));
    QCoreApplication::processEvents();
    QVERIFY(!w.button("exportSelectedButton")->isEnabled());
}

void MessageListTest::ctrlASelectsEveryRow() {
    Window w;
    w.choose(5);
    w.press(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(w.list()->selectionModel()->selectedRows().size(), 3);
    w.list()->clearSelection();
    w.press(Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(w.list()->selectionModel()->selectedRows().size(), 3);
    QVERIFY(w.button("exportSelectedButton")->isEnabled());
}

void MessageListTest::deleteKeyAsksFirst() {
    Window w;
    readFivePhoneMessages(w.workspace());
    qb::test::ScriptedPhone phone;
    w.w->app.phone().setDeletionPort(&phone);
    w.choose(1);
    w.selectRows({0});
    w.boxes.yes = false;
    w.press(Qt::Key_Delete);
    QCOMPARE(w.boxes.texts,
             QStringList{QString::fromUtf8("Вы действительно хотите удалить сообщения?")});
    QCOMPARE(w.model()->rowCount(), 5);
    QVERIFY(phone.sent.empty());
    // Yes with no row selected, or on a group node, deletes nothing.
    w.selectRows({});
    w.boxes.yes = true;
    w.press(Qt::Key_Delete);
    QCOMPARE(w.boxes.texts.size(), 2);
    QVERIFY(phone.sent.empty());
    w.choose(0);
    w.press(Qt::Key_Delete);
    QCOMPARE(w.boxes.texts.size(), 3);
    QVERIFY(phone.sent.empty());
}

void MessageListTest::deletingOnThePhoneRemovesConfirmedRows() {
    Window w;
    readFivePhoneMessages(w.workspace());
    qb::test::ScriptedPhone phone;
    w.w->app.phone().setDeletionPort(&phone);
    w.choose(1);
    w.selectRows({3, 1});
    w.press(Qt::Key_Delete);
    const std::vector<std::string> sent = {"AT", "AT+CMGF=0", "AT+CMGD=12", "AT+CMGF=0",
                                           "AT+CMGD=14"};
    QTRY_COMPARE(w.model()->rowCount(), 3);
    QCOMPARE(phone.sent, sent);
    QCOMPARE(w.cell(1, 0), QString("phone 3"));
    QCOMPARE(w.record(1), 2);
    QCOMPARE(w.record(2), 3);
    QCOMPARE(w.workspace().readResult.inbox.size(), std::size_t(3));
    QCOMPARE(w.workspace().readResult.inbox.at(2).text, std::string("phone 5"));
    QCOMPARE(w.w->node(qb::TreeNode::PhoneInbox)->text(0), QString::fromUtf8("Входящие (3)"));
    QVERIFY(w.viewer()->messageText().isEmpty());
    QCOMPARE(w.boxes.texts.size(), 1); // the question, and nothing more
    // The menu item deletes without asking, and only in phone folders.
    phone.sent.clear();
    w.selectRows({0});
    w.action("deleteOnPhoneAction")->trigger();
    QTRY_COMPARE(w.model()->rowCount(), 2);
    QCOMPARE(phone.sent.back(), std::string("AT+CMGD=11"));
    QCOMPARE(w.model()->rowCount(), 2);
    QCOMPARE(w.boxes.texts.size(), 1);
    w.choose(5);
    w.selectRows({0});
    phone.sent.clear();
    w.action("deleteOnPhoneAction")->trigger();
    QVERIFY(phone.sent.empty());
    QCOMPARE(w.model()->rowCount(), 3);
}

void MessageListTest::refusedDeletionKeepsItsRow() {
    Window w;
    readFivePhoneMessages(w.workspace());
    qb::test::ScriptedPhone phone;
    phone.answer("AT+CMGD=13", "+CMS ERROR: 321\r\n");
    w.w->app.phone().setDeletionPort(&phone);
    w.choose(1);
    w.selectRows({1, 2, 3});
    w.action("deleteOnPhoneAction")->trigger();
    QTRY_COMPARE(w.boxes.texts.size(), 1);
    QVERIFY2(w.boxes.texts[0].contains("1"), qPrintable(w.boxes.texts[0]));
    QVERIFY(w.boxes.texts[0].startsWith(QString::fromUtf8("Телефон не удалил сообщений")));
    QCOMPARE(w.model()->rowCount(), 3);
    QCOMPARE(w.cell(1, 0), QString("phone 3"));
    QCOMPARE(w.record(1), 2);
    QCOMPARE(w.workspace().readResult.inbox.at(1).index, std::optional(13));
    QCOMPARE(w.w->node(qb::TreeNode::PhoneInbox)->text(0), QString::fromUtf8("Входящие (3)"));
}

void MessageListTest::vanishedPhoneDeletesNothing() {
    Window w;
    readFivePhoneMessages(w.workspace());
    w.w->app.phone().setDeletionPort(nullptr);
    w.choose(2);
    w.selectRows({0});
    w.action("deleteOnPhoneAction")->trigger();
    QTRY_COMPARE(w.boxes.texts, QStringList{QString::fromUtf8("Утройство занято!")});
    QCOMPARE(w.model()->rowCount(), 1);
    QCOMPARE(w.workspace().readResult.outbox.size(), std::size_t(1));
}

// While the phone is asked, the button beside the progress bar and Esc stop
// the deletion at once; the rows the phone did not confirm stay.
void MessageListTest::deletionOnThePhoneCanBeCancelled() {
    Window w;
    readFivePhoneMessages(w.workspace());
    qb::test::ScriptedPhone phone;
    phone.answer("AT+CMGD=12", ""); // an answer that never comes
    w.w->app.phone().setDeletionPort(&phone);
    auto* cancel = w.button("cancelButton");
    QVERIFY(cancel && !cancel->isVisible());
    w.choose(1);
    for (const bool byKey : {true, false}) {
        w.selectRows({1});
        w.action("deleteOnPhoneAction")->trigger();
        QTRY_VERIFY(cancel->isVisible());
        QVERIFY(w.isBusy());
        QTRY_COMPARE(phone.sent.back(), std::string("AT+CMGD=12"));
        if (byKey)
            QTest::keyClick(&w.w->form, Qt::Key_Escape);
        else
            cancel->click();
        QTRY_VERIFY(!w.isBusy());
        QVERIFY(!cancel->isVisible());
        QCOMPARE(w.w->messagePanel(), QString::fromUtf8("Удаление прервано."));
        QCOMPARE(w.model()->rowCount(), 5);
        QVERIFY(w.boxes.texts.isEmpty());
    }
    // Esc does nothing while no phone command runs.
    QTest::keyClick(&w.w->form, Qt::Key_Escape);
    QCOMPARE(w.model()->rowCount(), 5);
}

// Showing a folder is no command: nothing rests, not even for a moment, and
// every row is listed in the folder's order.
void MessageListTest::showingAFolderLeavesTheCommandsAlone() {
    Window w;
    repeatFirst(w.workspace().archive.outbox, 40);
    w.choose(5);
    int busy = 0;
    QObject::connect(&w.w->app.commands(), &qb::CommandState::busyChanged, [&busy] { ++busy; });
    w.click(6);
    QVERIFY(w.button("importButton")->isEnabled());
    QVERIFY(w.action("deleteOnPhoneAction")->isEnabled());
    QTRY_VERIFY(w.w->isSettled());
    QCOMPARE(busy, 0);
    QCOMPARE(w.shown(), 6);
    QCOMPARE(w.model()->rowCount(), 41);
    for (int row = 0; row < 41; ++row)
        QCOMPARE(w.record(row), row + 1);
    QVERIFY(w.list()->selectionModel()->selectedRows().isEmpty());
    QVERIFY(w.button("exportAllButton")->isEnabled());
    QVERIFY(!w.button("exportSelectedButton")->isEnabled());
    QVERIFY(!w.bar()->isVisible());
}

// While the folder chosen is being sorted by the remembered column, the list
// shows the one before, and a command acts on what the list shows.
void MessageListTest::aCommandDuringASortActsOnTheListedFolder() {
    Window w;
    w.choose(6);
    QTest::mouseClick(w.list()->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(w.list()->horizontalHeader()->sectionViewportPosition(0) + 5, 5));
    QTRY_VERIFY(w.w->isSettled());
    // The Inbox's rows are sorted on a worker thread and come by the event
    // loop, which does not turn before the deletion has begun.
    w.w->showFolder(qb::TreeNode::ArchiveInbox);
    QVERIFY(!w.listing().isSettled());
    QCOMPARE(w.listing().listedFolder(), std::optional(qb::TreeNode::ArchiveOutbox));
    QVERIFY(!w.isBusy());
    w.selectRows({0});
    w.press(Qt::Key_Delete);
    QVERIFY(w.isBusy()); // the deletion, in the Outbox listed
    QTRY_VERIFY(w.w->isSettled());
    QCOMPARE(w.m_dir.read("Outbox.msg"), QByteArray());
    QCOMPARE(w.workspace().archive.inbox.count(), 3);
    QCOMPARE(w.listing().listedFolder(), std::optional(qb::TreeNode::ArchiveInbox));
    QCOMPARE(w.model()->rowCount(), 3);
    QCOMPARE(w.boxes.texts.size(), 1); // the question
}

QTEST_MAIN(MessageListTest)
#include "MessageListTest.moc"
