// The window on an English desktop: with QUILLBOX_LANG=en the folders, the
// list, the status, a message box and the export dialog speak English, and
// what the window writes stays as it is in Russian.
#include "tests/support/WindowTestSupport.h"
#include "ui/MainWindow.h"

#include "models/MessageListModel.h"
#include "ui/ExportDialog.h"
#include "ui/FolderTreeWidget.h"
#include "ui/InterfaceLanguage.h"
#include "ui/StatusPanel.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTreeWidgetItem>

using qb::TreeNode;
using qb::testing::control;

namespace {

const QByteArray TwoSent = "a\r\n 1\r\n+MMGL: 1, \"STO SENT\", \"+7\"\r\n"
                           "b\r\n 2\r\n+MMGL: 2, \"STO SENT\", \"+7\"\r\n";

struct Window {
    qb::testing::StartedIn dir{{{"Outbox.msg", TwoSent}}};
    qb::testing::RecordingDialogs boxes;
    qb::testing::ProgramWindow w{dir.path(), boxes};
    MainWindow& form = w.form;

    QString caption(TreeNode node) const { return w.caption(node); }
    void listSent() {
        QTRY_VERIFY(w.isSettled()); // the archive is read at start-up
        w.showFolder(TreeNode::ArchiveOutbox);
        QTRY_VERIFY(w.isSettled());
    }
};

} // namespace

class EnglishWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        qputenv("QUILLBOX_LANG", "en");
        qb::ui::installInterfaceLanguage(*QCoreApplication::instance());
    }

    void englishOnlyOnEnglishDesktopsUnlessChosen() {
        using qb::ui::interfaceLanguage, qb::ui::InterfaceLanguage;
        const QLocale english(QLocale::English, QLocale::UnitedKingdom);
        QCOMPARE(interfaceLanguage("", english), InterfaceLanguage::English);
        QCOMPARE(interfaceLanguage("", QLocale::c()), InterfaceLanguage::Russian);
        QCOMPARE(interfaceLanguage("", QLocale(QLocale::German)), InterfaceLanguage::Russian);
        QCOMPARE(interfaceLanguage("ru", english), InterfaceLanguage::Russian);
        QCOMPARE(interfaceLanguage("en", QLocale::c()), InterfaceLanguage::English);
        QCOMPARE(interfaceLanguage("fr", english), InterfaceLanguage::English);
    }

    void foldersListAndStatusSpeakEnglish() {
        Window w;
        QTRY_VERIFY(!w.w.isBusy());
        QCOMPARE(w.caption(TreeNode::Phone), QString("Phone"));
        QCOMPARE(w.caption(TreeNode::PhoneDraft), QString("Drafts"));
        QCOMPARE(w.caption(TreeNode::Archive), QString("Archive"));
        QCOMPARE(w.caption(TreeNode::ArchiveInbox), QString("Inbox "));
        QCOMPARE(w.caption(TreeNode::ArchiveOutbox), QString("Sent (2)"));
        QCOMPARE(control<QMenu>(w.form, "fileMenu")->title(), QString("File"));
        QCOMPARE(control<QAction>(w.form, "readAction")->text(), QString("Read"));
        QCOMPARE(w.w.model().headerData(qb::MessageListModel::FromColumn, Qt::Horizontal,
                                        Qt::DisplayRole),
                 QVariant("From"));
        QCOMPARE(control<qb::ui::StatusPanel>(w.form, "statusPanel")->text(),
                 QString(" Status: Disconnected"));
        QCOMPARE(control<QWidget>(w.form, "readButton")->toolTip(),
                 QString("Read messages from phone"));
    }

    void asksBeforeDeletingAndCountsAfterwards() {
        Window w;
        w.listSent();
        w.boxes.yes = true;
        auto* list = control<QTableView>(w.form, "messageList");
        QVERIFY(w.w.showActive());
        list->selectRow(0);
        w.w.pressIn(list, Qt::Key_Delete);
        QTRY_VERIFY(!w.w.isBusy());
        QCOMPARE(w.boxes.questions, QStringList{"Are you sure you want to delete the messages?"});
        QCOMPARE(w.caption(TreeNode::ArchiveOutbox), QString("Sent (1)"));
    }

    void exportDialogSpeaksEnglish() {
        Window w;
        w.listSent();
        control<QTableView>(w.form, "messageList")->selectRow(0);
        control<QAction>(w.form, "exportSelectedAction")->trigger();
        auto* dialog = w.form.findChild<qb::ui::ExportDialog*>();
        QTRY_VERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), QString("Save Messages"));
        QCOMPARE(control<QPushButton>(*dialog, "saveButton")->text(), QString("Save"));
        QCOMPARE(control<QPushButton>(*dialog, "cancelButton")->text(), QString("Cancel"));
        QCOMPARE(control<QPushButton>(*dialog, "templateButton")->text(), QString("Template"));
        // One message chosen: the split size offered is 1, and the word after it agrees.
        QCOMPARE(control<QComboBox>(*dialog, "splitSizeBox")->currentData(), QVariant(1));
        QStringList words;
        for (const QLabel* label : dialog->findChildren<QLabel*>())
            words << label->text();
        QVERIFY2(words.contains("message"), qPrintable(words.join('|')));
        dialog->reject();
    }
};

QTEST_MAIN(EnglishWindowTest)
#include "EnglishWindowTest.moc"
