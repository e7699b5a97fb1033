// Search as you type, conversations and saving as PDF in the main window, as
// the user drives them: the search field, the Delete key on a result, Esc,
// the conversation's key and the PDF's text read back.
#include "tests/support/WindowTestSupport.h"
#include "ui/MainWindow.h"

#include "archive/FolderTree.h"
#include "controllers/SearchController.h"
#include "core/Cp1251.h"
#include "models/MessageListModel.h"
#include "ui/FolderTreeWidget.h"
#include "ui/MessageViewer.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>

using qb::MessageListModel;
using qb::TreeNode;

namespace {

QByteArray cp(const char* utf8) {
    return QByteArray::fromStdString(qb::cp1251::fromUnicode(QString::fromUtf8(utf8)));
}

QByteArray inboxRecord(const QByteArray& text, int index, const QByteArray& number,
                       const QByteArray& time = "10:11:12") {
    const QByteArray idx = QByteArray::number(index);
    return text + "\r\n" + idx + "\r\n+MMGL: " + idx + ", \"REC READ\", \"" + number +
           "\"\r\n01/02/2005," + time + "\r\n";
}

QByteArray outboxRecord(const QByteArray& text, int index, const QByteArray& number) {
    const QByteArray idx = QByteArray::number(index);
    return text + "\r\n " + idx + "\r\n+MMGL: " + idx + ", \"STO SENT\", \"" + number + "\"\r\n";
}

struct Window {
    explicit Window(const QMap<QString, QByteArray>& files) : dir(files), w(dir.path(), boxes) {
        if (!w.showActive())
            qWarning("the window was not shown");
        w.tree()->expandAll();
        // The folders are prepared for the search once the archive is read.
        QTRY_VERIFY(w.isSettled() && w.app.search().isPrepared());
    }
    qb::testing::StartedIn dir;
    qb::testing::RecordingDialogs boxes;
    qb::testing::ProgramWindow w;

    QTableView* list() const { return qb::testing::control<QTableView>(w.form, "messageList"); }
    QLineEdit* field() const { return qb::testing::control<QLineEdit>(w.form, "searchField"); }
    QAction* action(const char* name) const { return qb::testing::control<QAction>(w.form, name); }
    MessageListModel& model() { return w.model(); }
    void waitIdle() { QTRY_VERIFY(w.isSettled() && w.app.search().isPrepared()); }
    QStringList cells(int column) {
        QStringList all;
        for (int r = 0; r < model().rowCount(); ++r)
            all << model().index(r, column).data().toString();
        return all;
    }
    int rowOf(const QString& text) {
        return static_cast<int>(cells(MessageListModel::TextColumn).indexOf(text));
    }
    void type(const QString& text) {
        action("searchAction")->trigger();
        // Key by key, as typed: Cyrillic letters have no key codes of their own here.
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, field(), Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTRY_VERIFY(w.app.list().listing() == qb::Listing::Results);
        waitIdle();
    }
};

const QString inboxFolder = QStringLiteral("Архив ▸ Входящие");
const QString outboxFolder = QStringLiteral("Архив ▸ Исходящие");

} // namespace

class MainWindowSearchTest : public QObject {
    Q_OBJECT
  private slots:
    void typingFindsEveryFolderAndDeletingAResultDeletesItsRecord();
    void escapeReturnsToTheFolderShownBefore();
    void theViewerMarksTheMatches();
    void aConversationJoinsFormsOfOneNumberInTimeOrder();
    void aConversationSavedAsPdfReadsBackInCyrillic();
    void printsTheRowsListedOrThoseSelected();
    void thePrintDialogHandsItsPrinterToTheJob();
};

void MainWindowSearchTest::typingFindsEveryFolderAndDeletingAResultDeletesItsRecord() {
    Window w({{"Inbox.msg",
               inboxRecord(cp("Привет, мама"), 1, "+7001") + inboxRecord(cp("пока"), 2, "+7002")},
              {"Outbox.msg", outboxRecord(cp("ПРИВЕТ, папа"), 3, "+7003")}});
    w.type(QStringLiteral("привет"));
    QTRY_COMPARE(w.model().rowCount(), 2);
    w.waitIdle();
    QVERIFY(!w.list()->isColumnHidden(MessageListModel::FolderColumn));
    QCOMPARE(w.cells(MessageListModel::FolderColumn).size(), 2);
    QVERIFY(w.cells(MessageListModel::FolderColumn).contains(inboxFolder));
    QVERIFY(w.cells(MessageListModel::FolderColumn).contains(outboxFolder));
    QCOMPARE(w.w.messagePanel(), QStringLiteral("Найдено сообщений: 2"));

    // The received one goes from the archive's Inbox, the other stays.
    w.list()->selectRow(w.rowOf(QStringLiteral("Привет, мама")));
    w.w.pressIn(w.list(), Qt::Key_Delete);
    QCOMPARE(w.boxes.questions,
             QStringList{QStringLiteral("Вы действительно хотите удалить сообщения?")});
    QTRY_COMPARE(w.dir.read("Inbox.msg"), inboxRecord(cp("пока"), 2, "+7002"));
    QTRY_COMPARE(w.cells(MessageListModel::TextColumn),
                 QStringList{QStringLiteral("ПРИВЕТ, папа")});
    w.waitIdle();
    QCOMPARE(w.dir.read("Outbox.msg"), outboxRecord(cp("ПРИВЕТ, папа"), 3, "+7003"));
    QCOMPARE(w.field()->text(), QStringLiteral("привет"));
}

void MainWindowSearchTest::escapeReturnsToTheFolderShownBefore() {
    Window w({{"Inbox.msg", inboxRecord("one", 1, "+7001") + inboxRecord("two", 2, "+7002")},
              {"Outbox.msg", outboxRecord("one more", 3, "+7003")}});
    w.w.showFolder(TreeNode::ArchiveInbox);
    w.waitIdle();
    w.type(QStringLiteral("one"));
    QTRY_COMPARE(w.model().rowCount(), 2);
    QVERIFY(w.action("endSearchAction")->isEnabled());
    w.w.pressIn(w.list(), Qt::Key_Escape);
    w.waitIdle();
    QCOMPARE(w.w.listedFolder(), std::optional(TreeNode::ArchiveInbox));
    QCOMPARE(w.cells(MessageListModel::TextColumn), QStringList({"one", "two"}));
    QVERIFY(w.list()->isColumnHidden(MessageListModel::FolderColumn));
    QVERIFY(w.field()->text().isEmpty());
    QVERIFY(!w.action("endSearchAction")->isEnabled());
    // Esc in the search field itself.
    w.type(QStringLiteral("one"));
    w.w.pressIn(w.field(), Qt::Key_Escape);
    w.waitIdle();
    QCOMPARE(w.w.app.list().listing(), qb::Listing::Folder);
    QVERIFY(w.field()->text().isEmpty());
    // Text without a term ends the search too.
    w.type(QStringLiteral("two"));
    QTRY_COMPARE(w.model().rowCount(), 1);
    w.field()->setText(QStringLiteral("  "));
    emit w.field()->textEdited(w.field()->text());
    QTRY_COMPARE(w.model().rowCount(), 2);
    QCOMPARE(w.w.listedFolder(), std::optional(TreeNode::ArchiveInbox));
}

void MainWindowSearchTest::theViewerMarksTheMatches() {
    Window w({{"Inbox.msg", inboxRecord(cp("Ёлка :) и ёжик"), 1, "+7001")}});
    w.type(QStringLiteral("ежик"));
    QTRY_COMPARE(w.model().rowCount(), 1);
    w.waitIdle();
    w.list()->selectRow(0);
    auto* viewer = qb::testing::control<qb::ui::MessageViewer>(w.w.form, "viewer");
    QCOMPARE(viewer->messageText(), QStringLiteral("Ёлка :) и ёжик"));
    const QList<QTextEdit::ExtraSelection> marks = viewer->extraSelections();
    QCOMPARE(marks.size(), 1);
    // The picture for ":)" takes one place of the two characters.
    QCOMPARE(marks[0].cursor.selectedText(), QStringLiteral("ёжик"));
}

void MainWindowSearchTest::aConversationJoinsFormsOfOneNumberInTimeOrder() {
    Window w({{"Inbox.msg", inboxRecord(cp("как дела?"), 1, "+79161234567", "10:00:00") +
                                inboxRecord(cp("чужое"), 2, "+79990000000", "10:30:00") +
                                inboxRecord(cp("отлично"), 4, "+79161234567", "11:00:00")},
              {"Outbox.msg", outboxRecord(cp("хорошо, а у тебя?"), 3, "89161234567")},
              {"Draft.msg", ""}});
    w.w.showFolder(TreeNode::ArchiveInbox);
    w.waitIdle();
    w.list()->selectRow(w.rowOf(QStringLiteral("отлично")));
    QVERIFY(w.action("conversationAction")->isEnabled());
    w.action("conversationAction")->trigger();
    QTRY_VERIFY(w.w.app.list().listing() == qb::Listing::Conversation);
    w.waitIdle();
    // The sent one has no time: it stands by its storage index, between 1 and 4.
    QCOMPARE(w.cells(MessageListModel::TextColumn),
             QStringList({"как дела?", "хорошо, а у тебя?", "отлично"}));
    auto* chat = qb::testing::control<QTextBrowser>(w.w.form, "chatView");
    QVERIFY(chat->isVisible());
    QVERIFY(chat->toPlainText().contains(QStringLiteral("Переписка с")));
    QVERIFY(chat->toPlainText().contains(QStringLiteral("около 01.02.2005")));
    QCOMPARE(w.w.messagePanel(), QStringLiteral("Сообщений в переписке: 3"));
    // Esc: the folder again, and the viewer in the chat's place.
    w.action("endSearchAction")->trigger();
    w.waitIdle();
    QCOMPARE(w.model().rowCount(), 3);
    QVERIFY(!chat->isVisible());
}

void MainWindowSearchTest::aConversationSavedAsPdfReadsBackInCyrillic() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("needs pdftotext (poppler-utils)");
    Window w({{"Inbox.msg", inboxRecord(cp("Встречаемся в субботу"), 1, "+79161234567")},
              {"Outbox.msg", outboxRecord(cp("Договорились, ёлки"), 2, "8 916 123-45-67")}});
    w.w.showFolder(TreeNode::ArchiveOutbox);
    w.waitIdle();
    w.list()->selectRow(0);
    w.action("conversationAction")->trigger();
    QTRY_VERIFY(w.w.app.list().listing() == qb::Listing::Conversation);
    w.waitIdle();
    QCOMPARE(w.model().rowCount(), 2);
    const QString pdf = w.dir.filePath(QStringLiteral("переписка.pdf"));
    w.w.app.savePdf(pdf, QPageSize::A4);
    w.waitIdle();
    QVERIFY(w.boxes.texts.isEmpty());
    QProcess reader;
    reader.start(QStringLiteral("pdftotext"),
                 {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    QVERIFY(reader.waitForFinished(20000));
    const QString text = QString::fromUtf8(reader.readAllStandardOutput());
    QVERIFY2(text.contains(QStringLiteral("Встречаемся в субботу")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Договорились, ёлки")));
    QVERIFY(text.contains(QStringLiteral("Переписка с")));
    QVERIFY(w.w.messagePanel().startsWith(QStringLiteral("Сохранено в PDF")));
}

// Printing hands the rows listed to the device the print dialog set up, on
// a worker thread; with two rows selected, only those.
void MainWindowSearchTest::printsTheRowsListedOrThoseSelected() {
    Window w({{"Outbox.msg", outboxRecord("a", 1, "+7001") + outboxRecord("b", 2, "+7002") +
                                 outboxRecord("c", 3, "+7003")}});
    w.w.showFolder(TreeNode::ArchiveOutbox);
    w.waitIdle();
    const QString path = w.dir.filePath(QStringLiteral("printed.pdf"));
    w.w.app.print(std::make_unique<QPdfWriter>(path));
    w.waitIdle();
    QCOMPARE(w.w.messagePanel(), QStringLiteral("Напечатано сообщений: 3"));
    QVERIFY(QFileInfo(path).size() > 0);
    w.list()->selectRow(0);
    w.list()->selectionModel()->select(w.model().index(2, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    w.w.app.print(std::make_unique<QPdfWriter>(path));
    w.waitIdle();
    QCOMPARE(w.w.messagePanel(), QStringLiteral("Напечатано сообщений: 2"));
    QVERIFY(w.boxes.texts.isEmpty());
    // An empty folder prints nothing.
    w.w.showFolder(TreeNode::ArchiveDraft);
    w.waitIdle();
    QVERIFY(!w.action("printAction")->isEnabled());
    QVERIFY(!w.action("savePdfAction")->isEnabled());
}

// The desktop's print dialog, answered "print to file": the job prints on
// the printer the dialog set up; a dialog cancelled prints nothing.
void MainWindowSearchTest::thePrintDialogHandsItsPrinterToTheJob() {
    Window w({{"Outbox.msg", outboxRecord(cp("Привет"), 1, "+7001")}});
    w.w.showFolder(TreeNode::ArchiveOutbox);
    w.waitIdle();
    const auto shownDialog = [] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QPrintDialog*>(widget); dialog && dialog->isVisible())
                return dialog;
        return static_cast<QPrintDialog*>(nullptr);
    };
    w.action("printAction")->trigger();
    QTRY_VERIFY(shownDialog());
    shownDialog()->reject();
    QTRY_VERIFY(!shownDialog());
    QTest::qWait(50);
    QVERIFY(!w.w.isBusy());
    QVERIFY(w.w.messagePanel().isEmpty());

    const QString path = w.dir.filePath(QStringLiteral("printed.pdf"));
    w.action("printAction")->trigger();
    QTRY_VERIFY(shownDialog());
    QPrintDialog* dialog = shownDialog();
    dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
    dialog->printer()->setOutputFileName(path);
    dialog->QDialog::accept();
    QTRY_COMPARE(w.w.messagePanel(), QStringLiteral("Напечатано сообщений: 1"));
    w.waitIdle();
    QVERIFY(QFileInfo(path).size() > 0);
}

QTEST_MAIN(MainWindowSearchTest)
#include "MainWindowSearchTest.moc"
