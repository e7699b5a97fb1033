// The main window's column sorting, colours, hover texts and about box as the
// user meets them: header clicks, refills, a restart on the same settings,
// deleting after a sort, picking colours, and the toolbar explaining itself.
#include "ScriptedPhone.h"
#include "tests/support/OwnTrash.h"
#include "tests/support/WindowTestSupport.h"
#include "ui/MainWindow.h"

#include "archive/FolderTree.h"
#include "archive/RecordLines.h"
#include "core/Cp1251.h"
#include "models/MessageListModel.h"
#include "ui/AboutDialog.h"
#include "ui/ColourPicker.h"
#include "ui/FolderTreeWidget.h"
#include "ui/MessageViewer.h"

#include <QAction>
#include <QEnterEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <array>
#include <memory>
#include <string>

using qb::MessageListModel;
using qb::TreeNode;

namespace {

// Archive records: text, index, number, date; Outbox records have no date.
QByteArray folder(const std::vector<std::array<std::string, 4>>& records, bool inbox) {
    std::string bytes;
    for (const auto& [text, index, number, date] : records) {
        const std::string digits = index.substr(index.find_first_not_of(' '));
        bytes += qb::cp1251::fromUnicode(QString::fromStdString(text)) + "\r\n" + index +
                 "\r\n+MMGL: " + digits + ", \"" + (inbox ? "REC READ" : "STO SENT") + "\", \"" +
                 number + "\"\r\n";
        if (inbox)
            bytes += date + "\r\n";
    }
    return QByteArray::fromStdString(bytes);
}

struct Window {
    explicit Window(const qb::testing::StartedIn& dir)
        : w(std::make_unique<qb::testing::ProgramWindow>(dir.path(), boxes)), form(&w->form) {
        QVERIFY(w->showActive());
        w->tree()->expandAll();
        QTRY_VERIFY(w->isSettled()); // the archive is read at start-up
    }
    void choose(TreeNode node) const {
        w->showFolder(node);
        QTRY_VERIFY(w->isSettled());
    }
    QTableView* list() const { return form->findChild<QTableView*>("messageList"); }
    MessageListModel* model() const { return &w->model(); }
    // A header click; the rows are sorted off the window's thread.
    void clickHeader(int column) const {
        QHeaderView* header = list()->horizontalHeader();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
        QTRY_VERIFY(w->isSettled());
    }
    void reloadArchive() const {
        w->app.archive().reloadArchive();
        QTRY_VERIFY(w->isSettled());
    }
    QStringList cells(int column) const {
        QStringList all;
        for (int r = 0; r < model()->rowCount(); ++r)
            all << model()->index(r, column).data().toString();
        return all;
    }
    int mark(int column) const { return model()->sortMark(column); }
    bool markShown(int column) const {
        return !model()->headerData(column, Qt::Horizontal, Qt::DecorationRole).isNull();
    }
    template <typename T> T* control(const char* name) const {
        return qb::testing::control<T>(*form, name);
    }

    qb::testing::RecordingDialogs boxes;
    std::unique_ptr<qb::testing::ProgramWindow> w;
    MainWindow* form;
};

// Sizes 100, 9 and 10, two messages of one day, and an index with the blank of the sent folder.
qb::testing::StartedIn startedWithMessages() {
    return qb::testing::StartedIn(
        {{QStringLiteral("Inbox.msg"),
          folder({{std::string(100, 'x'), "3", "111", "02/01/2005,10:00:00"},
                  {"ёж 123456", "1", "222", "01/01/2005,23:00:00"},
                  {"Аист 12345", "2", "333", "01/01/2005,08:00:00"}},
                 true)},
         {QStringLiteral("Outbox.msg"),
          folder({{"b", " 10", "9", ""}, {"a", " 9", "9", ""}, {"c", " 100", "9", ""}}, false)}});
}

int storedNumber(const qb::testing::StartedIn& dir, const char* ident) {
    QSettings file(dir.settings().filePath(), QSettings::IniFormat);
    return file.value(QStringLiteral("ColumSort/") + QLatin1String(ident), 99).toInt();
}

} // namespace

class MainWindowExtrasTest : public QObject {
    Q_OBJECT
  private slots:
    void headerClicksSortUpThenDownAndMarkTheColumn() {
        const auto dir = startedWithMessages();
        Window w(dir);
        w.choose(TreeNode::ArchiveInbox);
        QCOMPARE(w.cells(MessageListModel::SizeColumn), QStringList({"100", "9", "10"}));
        w.clickHeader(MessageListModel::SizeColumn);
        QCOMPARE(w.cells(MessageListModel::SizeColumn), QStringList({"9", "10", "100"}));
        QCOMPARE(w.mark(MessageListModel::SizeColumn), 0);
        QVERIFY(w.markShown(MessageListModel::SizeColumn));
        QCOMPARE(storedNumber(dir, "ColumnImage"), 0);
        QCOMPARE(storedNumber(dir, "ColumnI"), 3);

        // Latin before Cyrillic and ё before а; this second click sorts descending.
        w.clickHeader(MessageListModel::TextColumn);
        QCOMPARE(w.cells(MessageListModel::TextColumn),
                 QStringList({QStringLiteral("Аист 12345"), QStringLiteral("ёж 123456"),
                              QString(100, QLatin1Char('x'))}));
        QCOMPARE(w.mark(MessageListModel::TextColumn), 1);
        QCOMPARE(w.mark(MessageListModel::SizeColumn), -1);
        QVERIFY(!w.markShown(MessageListModel::SizeColumn));
        QCOMPARE(storedNumber(dir, "ColumnImage"), 1);
        QCOMPARE(storedNumber(dir, "ColumnI"), 0);
    }

    void refillsAndARestartKeepTheRememberedColumnAndDirection() {
        const auto dir = startedWithMessages();
        {
            Window w(dir);
            w.choose(TreeNode::ArchiveOutbox);
            QCOMPARE(w.cells(MessageListModel::IndexColumn), QStringList({" 10", " 9", " 100"}));
            w.clickHeader(MessageListModel::IndexColumn); // the blank is no obstacle
            QCOMPARE(w.cells(MessageListModel::IndexColumn), QStringList({" 9", " 10", " 100"}));
            w.choose(TreeNode::ArchiveInbox); // the remembered column, the same way round
            QCOMPARE(w.cells(MessageListModel::IndexColumn), QStringList({"1", "2", "3"}));
            w.choose(TreeNode::ArchiveOutbox); // and back again
            QCOMPARE(w.cells(MessageListModel::IndexColumn), QStringList({" 9", " 10", " 100"}));
            w.clickHeader(MessageListModel::IndexColumn); // a click turns it
            w.choose(TreeNode::ArchiveInbox);
            QCOMPARE(w.cells(MessageListModel::IndexColumn), QStringList({"3", "2", "1"}));
            QCOMPARE(w.mark(MessageListModel::IndexColumn), 1);
        }
        Window restarted(dir); // the column and its direction survive
        restarted.choose(TreeNode::ArchiveInbox);
        QCOMPARE(restarted.cells(MessageListModel::IndexColumn), QStringList({"3", "2", "1"}));
        QCOMPARE(restarted.mark(MessageListModel::IndexColumn), 1);
        // The next click sorts ascending; one day's messages keep their order.
        restarted.clickHeader(MessageListModel::DateColumn);
        QCOMPARE(
            restarted.cells(MessageListModel::DateColumn),
            QStringList({"01/01/2005,08:00:00", "01/01/2005,23:00:00", "02/01/2005,10:00:00"}));
    }

    // The list refilled after "delete all", an import or a read shows the
    // order the user chose: only a header click turns it.
    void refillsAfterAChangeKeepTheDirection() {
        qb::testing::OwnTrash trash;
        const QByteArray outbox = folder({{"b", " 1", "9", ""}, {"a", " 2", "9", ""}}, false);
        qb::testing::StartedIn dir({{QStringLiteral("Outbox.msg"), outbox}});
        Window w(dir);
        w.choose(TreeNode::ArchiveOutbox);
        w.clickHeader(MessageListModel::TextColumn);
        w.clickHeader(MessageListModel::TextColumn);
        QCOMPARE(w.cells(MessageListModel::TextColumn), QStringList({"b", "a"}));
        for (int refill = 0; refill < 2; ++refill) {
            w.reloadArchive();
            QCOMPARE(w.cells(MessageListModel::TextColumn), QStringList({"b", "a"}));
            QCOMPARE(w.mark(MessageListModel::TextColumn), 1);
        }
        w.w->app.deleteAllInArchive();
        QTRY_VERIFY(w.w->isSettled());
        QCOMPARE(w.model()->rowCount(), 0);
        QVERIFY(dir.write(QStringLiteral("Outbox.msg"),
                          outbox + folder({{"c", " 3", "9", ""}}, false)));
        w.reloadArchive();
        QCOMPARE(w.cells(MessageListModel::TextColumn), QStringList({"c", "b", "a"}));
        QCOMPARE(w.mark(MessageListModel::TextColumn), 1);
    }

    void withoutARememberedColumnTheFillOrderStays() {
        const auto dir = startedWithMessages();
        Window w(dir);
        w.choose(TreeNode::ArchiveOutbox);
        QCOMPARE(w.cells(MessageListModel::TextColumn), QStringList({"b", "a", "c"}));
        for (int column = 0; column < MessageListModel::ColumnCount; ++column)
            QVERIFY(!w.markShown(column));
        QVERIFY(!QFile::exists(dir.settings().filePath()));
    }

    void aCellThatIsNoNumberIsReportedAndNothingStored() {
        qb::testing::StartedIn dir({{QStringLiteral("Outbox.msg"),
                                     folder({{"a", " 1", "9", ""}, {"b", " x", "9", ""}}, false)}});
        Window w(dir);
        w.choose(TreeNode::ArchiveOutbox);
        w.clickHeader(MessageListModel::IndexColumn);
        QCOMPARE(w.boxes.texts, QStringList({"' x' is not a valid integer value"}));
        QCOMPARE(w.cells(MessageListModel::TextColumn), QStringList({"a", "b"}));
        QCOMPARE(storedNumber(dir, "ColumnI"), 99);
        w.clickHeader(MessageListModel::TextColumn); // the direction was kept: ascending
        QCOMPARE(w.mark(MessageListModel::TextColumn), 0);
    }

    void deletingAfterASortRemovesTheChosenRows() {
        qb::testing::StartedIn dir;
        Window w(dir);
        qb::ReadFolder& inbox = w.w->app.workspace().readResult.inbox;
        const char* texts[] = {"c", "a", "b"};
        for (int k = 1; k <= 3; ++k) {
            const std::string index = std::to_string(10 + k);
            inbox.push_back(qb::record::listed(
                qb::FolderKind::Inbox, qb::MessageStatus::Read,
                "+MMGL: " + index + ", \"REC READ\", \"+79161112233\"", " " + index, texts[k - 1]));
            inbox.back().time = qb::MessageTime{2005, 1, 1, 9, 5, 3};
        }
        qb::test::ScriptedPhone phone;
        w.w->app.phone().setDeletionPort(&phone);
        w.choose(TreeNode::PhoneInbox);
        w.clickHeader(MessageListModel::TextColumn); // a (12), b (13), c (11)
        w.list()->selectRow(0);
        w.w->pressIn(w.list(), Qt::Key_Delete);
        QTRY_COMPARE(w.cells(MessageListModel::TextColumn), QStringList({"b", "c"}));
        QCOMPARE(phone.sent, (std::vector<std::string>{"AT", "AT+CMGF=0", "AT+CMGD=12"}));
        QCOMPARE(w.cells(MessageListModel::IndexColumn), QStringList({"13", "11"}));
    }

    void deletingAfterASortInTheArchiveRemovesTheChosenRecords() {
        const qb::testing::StartedIn dir = startedWithMessages();
        Window w(dir);
        w.choose(TreeNode::ArchiveOutbox);
        w.clickHeader(MessageListModel::TextColumn); // a (record 2), b (1), c (3)
        w.list()->selectRow(0);
        w.w->pressIn(w.list(), Qt::Key_Delete);
        QTRY_VERIFY(w.w->isSettled());
        QCOMPARE(dir.read(QStringLiteral("Outbox.msg")),
                 folder({{"b", " 10", "9", ""}, {"c", " 100", "9", ""}}, false));
        QCOMPARE(w.cells(MessageListModel::TextColumn), QStringList({"b", "c"}));
    }

    void pickedColoursApplyAtOnceAndComeBackAfterARestart() {
        qb::testing::StartedIn dir;
        const auto base = [](QWidget* w) { return w->palette().color(QPalette::Base); };
        {
            Window w(dir);
            auto* picker = w.control<qb::ui::ColourPicker>("backgroundColourPicker");
            QCOMPARE(picker->colour(), qb::Colour::Lime);
            QCOMPARE(base(w.list()), QColor(0, 255, 0));
            const int navy = picker->findText(QStringLiteral("clNavy"));
            picker->setCurrentIndex(navy);
            emit picker->activated(navy);
            QCOMPARE(base(w.list()), QColor(0, 0, 128));
            QCOMPARE(base(w.w->tree()), QColor(0, 0, 128));
            QCOMPARE(base(w.control<QWidget>("viewer")), QColor(0, 0, 128));
            QSettings file(dir.settings().filePath(), QSettings::IniFormat);
            QCOMPARE(file.value(QStringLiteral("Color/BlColor")).toString(),
                     QStringLiteral("clNavy"));
            w.control<qb::ui::ColourPicker>("textColourPicker")
                ->setCustomColourSource([](const QColor&) { return QColor(1, 2, 3); });
            auto* text = w.control<qb::ui::ColourPicker>("textColourPicker");
            emit text->activated(text->customEntry());
            QCOMPARE(w.form->findChild<qb::ui::MessageViewer*>("viewer")->marginInk(),
                     QColor(1, 2, 3));
        }
        Window again(dir);
        QCOMPARE(base(again.w->tree()), QColor(0, 0, 128));
        QCOMPARE(again.w->tree()->palette().color(QPalette::Text), QColor(1, 2, 3));
        QCOMPARE(again.control<qb::ui::ColourPicker>("textColourPicker")->currentText(),
                 QStringLiteral("$00030201"));
    }

    void hoverTextsFollowTheMouseFromButtonToButtonAndOntoTheBackground() {
        qb::testing::StartedIn dir;
        Window w(dir);
        auto* title = w.control<QLabel>("titleLabel");
        auto* panel = w.control<QLabel>("messagePanel");
        auto* bar = w.control<QWidget>("toolbarPanel");
        const auto send = [](QWidget* to, QEvent::Type type, QPointF at = {2, 2}) {
            if (type == QEvent::Enter) {
                QEnterEvent event(at, at, to->mapToGlobal(at));
                QApplication::sendEvent(to, &event);
            } else if (type == QEvent::MouseMove) {
                QMouseEvent event(type, at, to->mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
                QApplication::sendEvent(to, &event);
            } else {
                QEvent event(type);
                QApplication::sendEvent(to, &event);
            }
        };
        panel->setText(QStringLiteral("kept"));
        send(bar, QEvent::Enter, {300, 5}); // the background sets only the title
        QCOMPARE(title->text(), QStringLiteral(" Quillbox 1.1"));
        QCOMPARE(panel->text(), QStringLiteral("kept"));
        const struct {
            const char* button;
            const char* title;
            const char* panel;
        } buttons[] = {
            {"connectButton", " Подключить", " Подключить телефон"},
            {"readButton", " Считать", " Считать все сообщения с телефона"},
            {"exportSelectedButton", " Сохранить сообщение", " Сохранить сообщение"},
            {"exportAllButton", " Сохранить все сообщения", " Сохранить все сообщения"},
            {"importButton", " Конвертировать", " Конвертировать архив P2kTools в архив Quillbox"},
        };
        for (const auto& b : buttons) { // straight from one button onto the next
            auto* button = w.control<QToolButton>(b.button);
            send(button, QEvent::Enter);
            QCOMPARE(title->text(), QString::fromUtf8(b.title));
            QCOMPARE(panel->text(), QString::fromUtf8(b.panel));
            send(button, QEvent::Leave);
            QCOMPARE(title->text(), QString());
            QCOMPARE(panel->text(), QString());
        }
        // Back onto the background the toolbar sees only mouse moves.
        send(bar, QEvent::MouseMove, {210, 30}); // still over a button
        QCOMPARE(title->text(), QString());
        send(bar, QEvent::MouseMove, {300, 5});
        QCOMPARE(title->text(), QStringLiteral(" Quillbox 1.1"));
        QCOMPARE(panel->text(), QString());
    }

    void aboutBoxOpensModallyFromTheMenuAndClosesWithOk() {
        qb::testing::StartedIn dir;
        Window w(dir);
        auto* about = w.form->findChild<qb::ui::AboutDialog*>();
        QVERIFY(about && !about->isVisible());
        QCOMPARE(about->size(), QSize(300, 217));
        QVERIFY(about->windowFlags() & Qt::FramelessWindowHint);
        auto* mail = about->findChild<QLabel*>(QStringLiteral("mailLink"));
        QVERIFY(mail->text().contains(QStringLiteral("href=\"mailto:quillbox@example.org\"")));
        QVERIFY(mail->accessibleName().startsWith(QStringLiteral("E-Mail адрес:")));
        QCOMPARE(about->findChild<QLabel*>(QStringLiteral("discussionLink"))->accessibleName(),
                 QStringLiteral("Обсуждение программы"));
        w.control<QAction>("aboutAction")->trigger();
        QTRY_VERIFY(about->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), about);
        about->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        QVERIFY(!about->isVisible());
    }
};

QTEST_MAIN(MainWindowExtrasTest)
#include "MainWindowExtrasTest.moc"
