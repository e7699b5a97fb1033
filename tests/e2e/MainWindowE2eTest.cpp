// The main window against a mocked RAZR V3 on the USB bus, answered by the
// phone simulator: the status following the cable, the whole read into the
// archive with a deletion on the phone, and the cable pulled during a read.
#include "ServedPhone.h"
#include "SmallPhone.h"
#include "WindowProbe.h"

#include "archive/Workspace.h"
#include "controllers/ReadOnPlug.h"
#include "export/smartphone/AndroidSmsXml.h"
#include "models/Icons.h"
#include "models/MessageListModel.h"
#include "phonelink/PhonePort.h"
#include "ui/FolderTreeWidget.h"
#include "ui/StatusPanel.h"

#include <QAction>
#include <QFile>
#include <QProgressBar>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QTreeWidgetItem>

#include <cstdlib>
#include <cstring>
#include <optional>

using namespace qb;
using namespace qb::e2e;

// A check that failed inside a helper ends only the helper; this ends the test.
#define RETURN_IF_FAILED()                                                                         \
    do {                                                                                           \
        if (QTest::currentTestFailed())                                                            \
            return;                                                                                \
    } while (false)

namespace {

// The machine running the tests may be busy: waits are bounded, not tight.
constexpr int Patience = 10000;

const QString Connected = QStringLiteral(" Состояние: Подключен");
const QString Disconnected = QStringLiteral(" Состояние: Отключен");
const QString V3Caption = QStringLiteral("Motorola Phone (V3)");

// Four received messages not read yet and one sent.
const char* const UnreadPhone = R"(
[messages]
1|REC UNREAD|+79161234567|2009/01/01,00:00:01|Один
2|REC UNREAD|+79161234567|2009/01/02,00:00:02|Два
3|STO SENT|+79161234567||Три
4|REC UNREAD|+79161234567|2009/01/04,00:00:04|Четыре
5|REC UNREAD|+79161234567|2009/01/05,00:00:05|Пять
[phonebook]
+79161234567|Мама
)";

// The files the first read of SmallPhone writes, in Windows-1251.
const QByteArray FirstInboxRecord = "\xCF\xF0\xE8\xE2\xE5\xF2\r\n"
                                    "1\r\n"
                                    "+MMGL: 1, \"REC READ\", \"+79161234567\"\r\n"
                                    "25/12/2008,10:15:02\r\n";
const QByteArray DraftFile = "\xD7\xE5\xF0\xED\xEE\xE2\xE8\xEA\r\n"
                             " 5\r\n"
                             "+MMGL: 5, \"STO UNSENT\", \"+79032223344\"\r\n";
const QByteArray PhonebookFile = "7\r\n"
                                 "+79161234567\r\n\xCC\xE0\xEC\xE0\r\n"
                                 "+79032223344\r\n\xCB\xE5\xED\xE0\r\n"
                                 "+79055556677\r\n\xD1\xE5\xF0\xE3\xE5\xE9\r\n"
                                 "\r\n";

const QStringList ArchiveFiles = {"Inbox.msg", "Outbox.msg", "Draft.msg", "Phonebook.pbk"};

ServeTiming instantReplies() {
    ServeTiming timing;
    timing.latencyMs = 0;
    return timing;
}

int lineCount(const QByteArray& file) {
    return int(file.count("\r\n"));
}

// One test's world, made in this order and taken down in reverse: the
// working directory, the testbed with the phone, and the window started in both.
struct Rig {
    explicit Rig(const char* content, const QMap<QString, QByteArray>& earlierFiles = {},
                 ServeTiming timing = instantReplies(), const char* device = "motorola-v3")
        : dir(earlierFiles), phone(parsePhoneContent(content), std::move(timing), device),
          program(dir.path(), boxes) {
        form.show();
    }

    QString caption(TreeNode node) const { return program.caption(node); }
    PhonePort* activePort() { return program.app.phone().activePort(); }
    QStringList captions() const {
        QStringList all;
        for (int position = 0; position < ui::FolderTreeWidget::NodeCount; ++position)
            all << caption(static_cast<TreeNode>(position));
        return all;
    }
    ui::StatusPanel* status() const { return control<ui::StatusPanel>(form, "statusPanel"); }
    QToolButton* readButton() const { return control<QToolButton>(form, "readButton"); }
    QMap<QString, QByteArray> files() const {
        QMap<QString, QByteArray> contents;
        for (const QString& name : ArchiveFiles)
            contents[name] = dir.read(name);
        return contents;
    }

    StartedIn dir;
    qb::testing::RecordingDialogs boxes;
    ServedPhone phone;
    qb::testing::ProgramWindow program;
    MainWindow& form = program.form;
};

void plugIn(Rig& rig) {
    std::string error;
    QVERIFY2(rig.phone.plug(error), error.c_str());
    QTRY_COMPARE_WITH_TIMEOUT(rig.status()->text(), Connected, Patience);
    QVERIFY(rig.readButton()->isEnabled());
}

// The row of the list whose "Индекс" cell is `index`.
std::optional<int> rowWithIndex(const MessageListModel& model, const QString& index) {
    for (int r = 0; r < model.rowCount(); ++r)
        if (model.row(r).index == index)
            return r;
    return std::nullopt;
}

void clickNode(Rig& rig, TreeNode node) {
    ui::FolderTreeWidget* tree = rig.program.tree();
    const QRect place = tree->visualItemRect(rig.program.node(node));
    QVERIFY(place.isValid());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, place.center());
    QTRY_COMPARE_WITH_TIMEOUT(tree->selectedNode(), std::optional(node), Patience);
    // The list is filled over a few turns of the event loop.
    QTRY_COMPARE_WITH_TIMEOUT(rig.program.listedFolder(), std::optional(node), Patience);
    QTRY_VERIFY_WITH_TIMEOUT(rig.program.isSettled(), Patience);
}

} // namespace

class MainWindowE2eTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void windowFollowsThePhone();
    void readsThePhoneIntoTheArchive();
    void unplugDuringTheDatePassStopsTheRead();
    void closingDuringAReadCancelsItAndWritesNothing();
    void slowChattyPhoneReadsAsAPromptOne();
    void refusedCommandIsNamedAndNothingWritten();
    void readsByItselfWhenPluggedInWhileHidden();
    void readsAStandardPhoneWhole();
    void aPhoneResultIsDeletedOnThePhone();

  private:
    void checkFirstRead(Rig& rig);
    void listAndDeleteOnPhone(Rig& rig);
    void deleteWithoutThePhone(Rig& rig);
    void deleteAndReadAfterReplug(Rig& rig);
    void readsAfterReplug(Rig& rig);
};

void MainWindowE2eTest::initTestCase() {
    const char* preload = std::getenv("LD_PRELOAD");
    if (!preload || !std::strstr(preload, "libumockdev-preload"))
        QSKIP("needs umockdev's preload (run under umockdev-wrapper)");
}

void MainWindowE2eTest::windowFollowsThePhone() {
    Rig rig(SmallPhone);
    QCOMPARE(rig.status()->text(), Disconnected);
    QCOMPARE(rig.status()->icon(), Icon::Disconnected);
    QVERIFY(!rig.readButton()->isEnabled());
    QCOMPARE(rig.caption(TreeNode::Phone), QStringLiteral("Телефон"));
    QCOMPARE(rig.activePort(), nullptr);

    plugIn(rig);
    RETURN_IF_FAILED();
    QCOMPARE(rig.status()->icon(), Icon::Connected);
    QCOMPARE(rig.caption(TreeNode::Phone), V3Caption);
    QVERIFY(rig.activePort());
    QCOMPARE(rig.activePort()->modem().devNode, std::string("/dev/ttyACM0"));

    rig.phone.unplug();
    QTRY_COMPARE_WITH_TIMEOUT(rig.status()->text(), Disconnected, Patience);
    QCOMPARE(rig.status()->icon(), Icon::Disconnected);
    QVERIFY(!rig.readButton()->isEnabled());
    QCOMPARE(rig.caption(TreeNode::Phone), V3Caption);
    QCOMPARE(rig.activePort(), nullptr);
    // Following the cable never talks to the phone.
    QVERIFY(rig.phone.commands().empty());
    QCOMPARE(rig.boxes.texts, QStringList());
}

void MainWindowE2eTest::readsThePhoneIntoTheArchive() {
    Rig rig(SmallPhone);
    plugIn(rig);
    RETURN_IF_FAILED();

    rig.readButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.program.isBusy(), Patience); // the read runs on the event loop
    QCOMPARE(rig.boxes.texts, QStringList());
    checkFirstRead(rig);
    RETURN_IF_FAILED();
    const QMap<QString, QByteArray> archived = rig.files();

    listAndDeleteOnPhone(rig);
    RETURN_IF_FAILED();
    QVERIFY(rig.files() == archived); // deleting on the phone leaves the archive alone

    // Everything the phone still holds is archived already.
    rig.readButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.program.isBusy(), Patience); // the read runs on the event loop
    QCOMPARE(rig.boxes.texts, QStringList());
    QCOMPARE(rig.phone.countCommands("at+mmgl=\"ALL\""), 2);
    QCOMPARE(rig.phone.countCommands("AT+CMGR="), 4 + 3);
    for (const QString& name : ArchiveFiles)
        QVERIFY2(rig.files()[name] == archived[name], qPrintable(name));
    QCOMPARE(rig.program.app.workspace().readResult.inbox.size(), std::size_t(3));
    QCOMPARE(rig.captions().mid(1, 3),
             QStringList({"Входящие (3)", "Исходящие (2)", "Черновые (1)"}));
    QCOMPARE(rig.captions().mid(5, 3),
             QStringList({"Входящие (4)", "Исходящие (2)", "Черновые (1)"}));

    deleteWithoutThePhone(rig);
    RETURN_IF_FAILED();
    deleteAndReadAfterReplug(rig);
}

void MainWindowE2eTest::checkFirstRead(Rig& rig) {
    // The dialogue: one listing, then one time stamp per received message.
    QCOMPARE(rig.phone.countCommands("at+mmgl=\"ALL\""), 1);
    std::vector<std::string> dated;
    for (const std::string& line : rig.phone.commands())
        if (line.starts_with("AT+CMGR="))
            dated.push_back(line);
    QCOMPARE(dated, std::vector<std::string>({"AT+CMGR=1", "AT+CMGR=2", "AT+CMGR=4", "AT+CMGR=6"}));

    const QMap<QString, QByteArray> files = rig.files();
    QCOMPARE(lineCount(files["Inbox.msg"]), 4 * 4);
    QCOMPARE(files["Inbox.msg"].left(FirstInboxRecord.size()), FirstInboxRecord);
    QCOMPARE(lineCount(files["Outbox.msg"]), 2 * 3);
    QCOMPARE(files["Draft.msg"], DraftFile);
    QCOMPARE(files["Phonebook.pbk"], PhonebookFile);

    QCOMPARE(rig.captions(),
             QStringList({V3Caption, "Входящие (4)", "Исходящие (2)", "Черновые (1)", "Архив",
                          "Входящие (4)", "Исходящие (2)", "Черновые (1)"}));
    QVERIFY(rig.program.node(TreeNode::Phone)->isExpanded());
    QVERIFY(!control<QProgressBar>(rig.form, "progressBar")->isVisible());
}

void MainWindowE2eTest::listAndDeleteOnPhone(Rig& rig) {
    clickNode(rig, TreeNode::PhoneInbox);
    RETURN_IF_FAILED();
    const MessageListModel& model = rig.program.model();
    QTRY_COMPARE_WITH_TIMEOUT(model.rowCount(), 4, Patience);
    const auto mama = rowWithIndex(model, "1");
    const auto lena = rowWithIndex(model, "2");
    const auto bank = rowWithIndex(model, "4");
    QVERIFY(mama && lena && bank);
    QCOMPARE(model.row(*mama).from, QStringLiteral("Мама (+79161234567)"));
    QCOMPARE(model.row(*mama).text, QStringLiteral("Привет"));
    QCOMPARE(model.row(*bank).from, QStringLiteral("900"));

    auto* list = control<QTableView>(rig.form, "messageList");
    list->selectRow(*lena);
    rig.program.app.deleteSelectedOnPhone();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.program.isBusy(), Patience);

    const std::vector<std::string> sent = rig.phone.commands();
    QVERIFY(sent.size() >= 2);
    QCOMPARE(sent[sent.size() - 2], std::string("AT+CMGF=0"));
    QCOMPARE(sent.back(), std::string("AT+CMGD=2"));
    const PhoneContent left = rig.phone.content();
    QCOMPARE(left.messages.size(), size_t(6));
    for (const SimMessage& message : left.messages)
        QVERIFY(message.index != 2);

    QCOMPARE(model.rowCount(), 3);
    QVERIFY(!rowWithIndex(model, "2"));
    QCOMPARE(rig.caption(TreeNode::PhoneInbox), QStringLiteral("Входящие (3)"));
    QCOMPARE(rig.boxes.texts, QStringList());
}

// The list still shows the phone's Inbox after the phone went away: a
// deletion must not reach for the vanished port nor drop any row.
void MainWindowE2eTest::deleteWithoutThePhone(Rig& rig) {
    const size_t sent = rig.phone.commands().size();
    rig.phone.unplug();
    QTRY_COMPARE_WITH_TIMEOUT(rig.status()->text(), Disconnected, Patience);
    QCOMPARE(rig.activePort(), nullptr);
    control<QTableView>(rig.form, "messageList")->selectRow(0);
    rig.program.app.deleteSelectedOnPhone();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.program.isBusy(), Patience);
    QCOMPARE(rig.boxes.texts, QStringList({QStringLiteral("Утройство занято!")}));
    QCOMPARE(rig.program.model().rowCount(), 3);
    QCOMPARE(rig.program.app.workspace().readResult.inbox.size(), std::size_t(3));
    QCOMPARE(rig.caption(TreeNode::PhoneInbox), QStringLiteral("Входящие (3)"));
    QCOMPARE(rig.phone.commands().size(), sent);
}

// Plugged in again, the phone is a new device on another node: the deletion
// reaches it there, and so does the read after it.
void MainWindowE2eTest::deleteAndReadAfterReplug(Rig& rig) {
    plugIn(rig);
    RETURN_IF_FAILED();
    QCOMPARE(rig.activePort()->modem().devNode, std::string("/dev/ttyACM1"));
    const size_t sent = rig.phone.commands().size();
    auto* list = control<QTableView>(rig.form, "messageList");
    const auto bank = rowWithIndex(rig.program.model(), "4");
    QVERIFY(bank);
    list->selectRow(*bank);
    rig.program.app.deleteSelectedOnPhone();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.program.isBusy(), Patience);
    QCOMPARE(rig.boxes.texts.size(), 1); // still the one from before the re-plug
    const std::vector<std::string> commands = rig.phone.commands();
    QCOMPARE(std::vector<std::string>(commands.begin() + long(sent), commands.end()),
             std::vector<std::string>({"AT", "AT+CMGF=0", "AT+CMGD=4"}));
    QCOMPARE(rig.phone.content().messages.size(), size_t(5));
    QCOMPARE(rig.caption(TreeNode::PhoneInbox), QStringLiteral("Входящие (2)"));

    rig.readButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.program.isBusy(), Patience);
    QCOMPARE(rig.boxes.texts.size(), 1);
    QCOMPARE(rig.program.app.workspace().readResult.inbox.size(), std::size_t(2));
    QCOMPARE(rig.captions().mid(1, 3),
             QStringList({"Входящие (2)", "Исходящие (2)", "Черновые (1)"}));
}

void MainWindowE2eTest::unplugDuringTheDatePassStopsTheRead() {
    // Files of an earlier read, which a stopped read must leave as they are.
    Rig rig(UnreadPhone, {{"Inbox.msg", FirstInboxRecord}, {"Phonebook.pbk", PhonebookFile}});
    plugIn(rig);
    RETURN_IF_FAILED();
    const QStringList captionsBefore = rig.captions();
    const QMap<QString, QByteArray> filesBefore = rig.files();

    // The read runs on the window's event loop; the first chance after a time
    // stamp was asked for pulls the cable.
    QTimer puller;
    connect(&puller, &QTimer::timeout, this, [&] {
        if (rig.phone.countCommands("AT+CMGR=") >= 1) {
            puller.stop();
            rig.phone.unplug();
        }
    });
    // A read takes only as long as the phone answers, so the whole date pass
    // can be over within a few milliseconds: look at every chance.
    puller.start(0);
    rig.readButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.program.isBusy(), Patience); // the read runs on the event loop
    QVERIFY2(!puller.isActive(), "the read ended before the phone could be unplugged");

    QCOMPARE(rig.boxes.texts.size(), 1);
    QVERIFY2(rig.boxes.texts[0].contains(QStringLiteral("отключ"), Qt::CaseInsensitive),
             qPrintable(rig.boxes.texts[0]));
    QVERIFY(rig.phone.countCommands("AT+CMGR=") < 4);
    QCOMPARE(rig.phone.countCommands("at+cpbr="), 0);
    QVERIFY(rig.files() == filesBefore);
    QVERIFY(!rig.dir.exists("Outbox.msg") && !rig.dir.exists("Draft.msg"));
    QCOMPARE(rig.captions(), captionsBefore);
    QVERIFY(rig.program.app.workspace().readResult.inbox.empty());
    QVERIFY(!control<QProgressBar>(rig.form, "progressBar")->isVisible());

    QTRY_COMPARE_WITH_TIMEOUT(rig.status()->text(), Disconnected, Patience);
    QCOMPARE(rig.activePort(), nullptr);
    QVERIFY(!rig.readButton()->isEnabled());

    readsAfterReplug(rig);
}

// The window stays usable after a read the cable cut: the phone, plugged in
// again under a new node, is read in full and joins the earlier archive.
void MainWindowE2eTest::readsAfterReplug(Rig& rig) {
    plugIn(rig);
    RETURN_IF_FAILED();
    QCOMPARE(rig.activePort()->modem().devNode, std::string("/dev/ttyACM1"));
    rig.readButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.program.isBusy(), Patience); // the read runs on the event loop
    QCOMPARE(rig.boxes.texts.size(), 1);
    QCOMPARE(rig.program.app.workspace().readResult.inbox.size(), std::size_t(4));
    const QByteArray inbox = rig.dir.read("Inbox.msg");
    QVERIFY(inbox.startsWith(FirstInboxRecord));
    QCOMPARE(lineCount(inbox), 4 + 4 * 4);
    QCOMPARE(rig.caption(TreeNode::PhoneInbox), QStringLiteral("Входящие (4)"));
    QCOMPARE(rig.caption(TreeNode::ArchiveInbox), QStringLiteral("Входящие (5)"));
}

// Closing the window mid-read cancels the read at its next step: the window
// closes once it has ended, and no file of the archive has changed.
void MainWindowE2eTest::closingDuringAReadCancelsItAndWritesNothing() {
    Rig rig(UnreadPhone, {{"Inbox.msg", FirstInboxRecord}, {"Phonebook.pbk", PhonebookFile}});
    plugIn(rig);
    RETURN_IF_FAILED();
    const QMap<QString, QByteArray> filesBefore = rig.files();
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&] {
        if (rig.phone.countCommands("AT+CMGR=") >= 1) {
            closer.stop();
            QVERIFY(!rig.form.close()); // not yet: the read still works on the window's state
        }
    });
    closer.start(0);
    rig.readButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.form.isVisible(), Patience);
    QVERIFY2(!closer.isActive(), "the read ended before the window could be closed");
    QVERIFY(!rig.program.isBusy());
    QCOMPARE(rig.phone.countCommands("at+cpbr="), 0);
    QVERIFY(rig.files() == filesBefore);
    QCOMPARE(rig.boxes.texts, QStringList());
}

// A phone that answers every command after 120 ms, reads its flash for a
// second before its listing, and mixes lines of its own into its answers
// fills the archive exactly as a prompt one does.
void MainWindowE2eTest::slowChattyPhoneReadsAsAPromptOne() {
    ServeTiming timing;
    timing.quirks.answerDelayMs = 120;
    timing.quirks.listingDelayMs = 1000;
    timing.quirks.unsolicited = true;
    Rig rig(SmallPhone, {}, timing);
    plugIn(rig);
    RETURN_IF_FAILED();
    rig.readButton()->click();
    QVERIFY(control<QToolButton>(rig.form, "cancelButton")->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!rig.program.isBusy(), 3 * Patience);
    QCOMPARE(rig.boxes.texts, QStringList());
    QVERIFY(!control<QToolButton>(rig.form, "cancelButton")->isVisible());
    checkFirstRead(rig);
}

void MainWindowE2eTest::refusedCommandIsNamedAndNothingWritten() {
    ServeTiming timing = instantReplies();
    timing.quirks.refusedCommand = "AT+CMGR=2";
    timing.quirks.cmsError = 500;
    Rig rig(SmallPhone, {{"Inbox.msg", FirstInboxRecord}, {"Phonebook.pbk", PhonebookFile}},
            timing);
    plugIn(rig);
    RETURN_IF_FAILED();
    const QMap<QString, QByteArray> filesBefore = rig.files();
    rig.readButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.program.isBusy(), Patience);
    QCOMPARE(rig.boxes.texts.size(), 1);
    QVERIFY2(rig.boxes.texts[0].contains("AT+CMGR=2") &&
                 rig.boxes.texts[0].contains("+CMS ERROR: 500"),
             qPrintable(rig.boxes.texts[0]));
    QVERIFY(rig.files() == filesBefore);
    QVERIFY(rig.program.app.workspace().readResult.inbox.empty());
    QCOMPARE(rig.caption(TreeNode::PhoneInbox), QStringLiteral("Входящие"));
}

// With the phone menu's setting on, plugging the phone in fills the archive
// with no click, also while the window is hidden in the notification area,
// and the count of new messages is told where the user will look.
void MainWindowE2eTest::readsByItselfWhenPluggedInWhileHidden() {
    Rig rig(SmallPhone);
    auto* setting = control<QAction>(rig.form, "readOnPlugAction");
    QVERIFY(setting && setting->isCheckable() && !setting->isChecked());
    setting->trigger();
    QVERIFY(rig.program.app.readOnPlug().isEnabled());
    rig.form.hide();
    std::string error;
    QVERIFY2(rig.phone.plug(error), error.c_str());
    QTRY_VERIFY_WITH_TIMEOUT(rig.dir.exists("Phonebook.pbk") && !rig.program.isBusy(), Patience);
    QTRY_COMPARE_WITH_TIMEOUT(
        rig.program.messagePanel(),
        QStringLiteral("Новых сообщений в архиве: 7 (входящих 4, исходящих 2, черновых 1)."),
        Patience);
    QCOMPARE(rig.boxes.texts, QStringList());
    checkFirstRead(rig);
    RETURN_IF_FAILED();
    QTest::qWait(1500); // the plugging's events are long over: one read
    QCOMPARE(rig.phone.countCommands("at+mmgl=\"ALL\""), 1);
}

// A made-up Nokia that speaks only the standard commands: SIM and phone
// storages, a long message in three parts on the SIM, Cyrillic in UCS2,
// Greek and emoji, 7-bit text, a status report and a message with a part missing.
void MainWindowE2eTest::readsAStandardPhoneWhole() {
    static const std::string content = [] {
        QFile file(QStringLiteral(QUILLBOX_STANDARD_PHONE));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }();
    Rig rig(content.c_str(), {}, instantReplies(), "nokia-6230i");
    plugIn(rig);
    RETURN_IF_FAILED();
    QCOMPARE(rig.caption(TreeNode::Phone), QStringLiteral("Nokia 6230i"));

    rig.readButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.program.isBusy(), Patience);
    QCOMPARE(rig.boxes.texts, QStringList());
    QCOMPARE(rig.phone.countCommands("AT+CMGL=4"), 2); // SIM and phone, never "MT" as well
    QCOMPARE(rig.phone.countCommands("at+mmgl"), 0);
    const QMap<QString, QByteArray> archived = rig.files();
    QCOMPARE(lineCount(archived["Inbox.msg"]), 8 * 4);
    QCOMPARE(lineCount(archived["Outbox.msg"]), 2 * 3);
    QCOMPARE(lineCount(archived["Draft.msg"]), 1 * 3);
    QCOMPARE(rig.captions().mid(5, 3),
             QStringList({"Входящие (8)", "Исходящие (2)", "Черновые (1)"}));

    // Listed with every character, the long message whole.
    clickNode(rig, TreeNode::ArchiveInbox);
    RETURN_IF_FAILED();
    const MessageListModel& model = rig.program.model();
    const std::optional<int> lena = rowWithIndex(model, QStringLiteral("SM5,SM3,SM4"));
    QVERIFY(lena);
    QVERIFY(model.row(*lena).text.startsWith(QStringLiteral("Лена, привет!")));
    QVERIFY(model.row(*lena).text.endsWith(QStringLiteral("Не забудь подарок!")));
    const std::optional<int> greek = rowWithIndex(model, QStringLiteral("ME2"));
    QVERIFY(greek);
    QCOMPARE(model.row(*greek).text, QStringLiteral("ΔΣ ΩΠ: ΦΓΛΨΞΘ at 8, see you!"));
    QVERIFY(rowWithIndex(model, QStringLiteral("SM1"))); // the SIM's and the phone's index 1
    QVERIFY(rowWithIndex(model, QStringLiteral("ME1")));

    // To Android, sent messages dated among their storage's received ones.
    const Workspace& workspace = rig.program.app.workspace();
    const AndroidSmsXml backup = androidSmsXml(workspace.archive, workspace.phonebook);
    QCOMPARE(backup.messages, 11);
    QCOMPARE(backup.estimated, 3);
    QCOMPARE(backup.droppedCharacters, 0);
    const QString xml = QString::fromStdString(backup.xml);
    QVERIFY(xml.contains(QStringLiteral("你好！😀 See you soon 👍")));
    QVERIFY(xml.contains(
        QStringLiteral("Мам, всё хорошо, позвоню вечером 🙂")));

    // A second read adds nothing.
    rig.readButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.program.isBusy(), Patience);
    QCOMPARE(rig.phone.countCommands("AT+CMGL=4"), 4);
    for (const QString& name : ArchiveFiles)
        QVERIFY2(rig.files()[name] == archived[name], qPrintable(name));

    // Deleted on the phone, the long message goes from all three places.
    const std::size_t heldBefore = rig.phone.content().messages.size();
    clickNode(rig, TreeNode::PhoneInbox);
    RETURN_IF_FAILED();
    const std::optional<int> onPhone = rowWithIndex(model, QStringLiteral("SM5,SM3,SM4"));
    QVERIFY(onPhone);
    control<QTableView>(rig.form, "messageList")->selectRow(*onPhone);
    rig.program.app.deleteSelectedOnPhone();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.program.isBusy(), Patience);
    QCOMPARE(rig.boxes.texts, QStringList());
    QCOMPARE(rig.phone.countCommands("AT+CMGD="), 3);
    QCOMPARE(rig.phone.content().messages.size(), heldBefore - 3);
    for (const SimMessage& message : rig.phone.content().messages)
        QVERIFY(message.storage != "SM" ||
                (message.index != 3 && message.index != 4 && message.index != 5));
    QVERIFY(!rowWithIndex(model, QStringLiteral("SM5,SM3,SM4")));
    QCOMPARE(rig.caption(TreeNode::PhoneInbox), QStringLiteral("Входящие (7)"));
}

// Among a search's results, a message of the phone's last read is deleted on
// the phone, and its copy in the archive stays.
void MainWindowE2eTest::aPhoneResultIsDeletedOnThePhone() {
    Rig rig(SmallPhone);
    plugIn(rig);
    RETURN_IF_FAILED();
    rig.readButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.program.isBusy(), Patience);
    const QMap<QString, QByteArray> archived = rig.files();
    QTRY_VERIFY_WITH_TIMEOUT(rig.program.app.search().isPrepared(), Patience);

    rig.program.app.searchFor(QStringLiteral("привет"));
    const MessageListModel& model = rig.program.model();
    QTRY_VERIFY_WITH_TIMEOUT(rig.program.app.list().listing() == Listing::Results &&
                                 rig.program.isSettled() && model.rowCount() == 2,
                             Patience);
    std::optional<int> onPhone;
    for (int r = 0; r < model.rowCount(); ++r)
        if (model.folderOf(r) == TreeNode::PhoneInbox)
            onPhone = r;
    QVERIFY(onPhone);
    control<QTableView>(rig.form, "messageList")->selectRow(*onPhone);
    rig.program.app.deleteSelected();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.program.isBusy(), Patience);
    QCOMPARE(rig.phone.commands().back(), std::string("AT+CMGD=1"));
    QVERIFY(rig.files() == archived);
    // The results follow: the archive's copy is left.
    QTRY_VERIFY_WITH_TIMEOUT(model.rowCount() == 1 && model.folderOf(0) == TreeNode::ArchiveInbox,
                             Patience);
    QCOMPARE(rig.caption(TreeNode::PhoneInbox), QStringLiteral("Входящие (3)"));
}

QTEST_MAIN(MainWindowE2eTest)
#include "MainWindowE2eTest.moc"
