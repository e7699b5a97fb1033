// The two save commands of the main window: when they open the export dialog,
// which rows they hand it, and in which order.
#include "tests/support/WindowTestSupport.h"
#include "ui/MainWindow.h"

#include "archive/FolderTree.h"
#include "core/FileStore.h"
#include "core/LineList.h"
#include "export/ExportTemplate.h"
#include "models/MessageListModel.h"
#include "ui/ExportDialog.h"
#include "ui/FolderTreeWidget.h"

#include <QAction>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

namespace {

QByteArray inboxOfTen() {
    QByteArray content;
    for (int k = 1; k <= 10; ++k)
        content +=
            QByteArray("message %1\r\n%1\r\n+MMGL: %1, \"REC READ\", \"+7916\"\r\n01/02/2005\r\n")
                .replace("%1", QByteArray::number(k));
    return content;
}

struct Window {
    qb::testing::StartedIn dir{{{"Inbox.msg", inboxOfTen()}}};
    qb::testing::RecordingDialogs boxes;
    MainWindow form{dir.path(), &boxes};
    bool opened = false;

    Window() {
        form.folderTree()->setCurrentItem(form.node(qb::TreeNode::ArchiveInbox));
        form.showFolder(qb::TreeNode::ArchiveInbox);
        QTRY_VERIFY(!form.isBusy());
        // Stands in for the user choosing a name: the save-file dialog only opens from a shown
        // dialog.
        form.exportDialog()->askFileName = [this](qb::ui::ExportDialog::SaveAnswer answer) {
            opened = true;
            answer(qb::ui::SaveChoice{dir.filePath("sms.htm"), qb::ExportFormat::Text});
        };
    }
    void selectRows(const std::vector<int>& rows) const {
        auto* list = form.findChild<QTableView*>("messageList");
        for (int row : rows)
            list->selectionModel()->select(form.messageModel()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    // Runs a command and presses "Сохранить" once the export dialog shows;
    // the dialog closes once the export has been written.
    void exportWith(const std::function<void()>& command) {
        command();
        QTRY_VERIFY(form.exportDialog()->isVisible());
        QTest::mouseClick(form.exportDialog()->findChild<QWidget*>("saveButton"), Qt::LeftButton);
        QTRY_VERIFY(!form.exportDialog()->isVisible());
        QVERIFY(!form.isBusy());
    }
    // The "Сообщение" cells of the export, in the order of its blocks.
    QStringList exported() const {
        QStringList texts;
        for (const std::string& line :
             qb::splitFileLines(qb::readWholeFile(dir.filePath("sms.htm")).bytes))
            if (const auto at = line.find("message "); at != std::string::npos)
                texts << QString::fromStdString(line.substr(at, line.find('<', at) - at));
        return texts;
    }
};

} // namespace

class MainWindowExportTest : public QObject {
    Q_OBJECT
  private slots:
    void savesTheSelectedOrAllRowsInTheOrderShown() {
        Window w;
        QCOMPARE(qb::readTemplate(w.dir.path()).lines,
                 qb::defaultTemplate()); // written at start-up
        w.selectRows({8, 1, 4});
        w.exportWith([&] { w.form.findChild<QAction*>("exportSelectedAction")->trigger(); });
        QCOMPARE(w.exported(), QStringList({"message 2", "message 5", "message 9"}));

        // The list as a column sort leaves it: rows in another order than their records.
        std::vector<qb::MessageRow> rows;
        for (int r = 9; r >= 0; --r)
            rows.push_back(w.form.messageModel()->row(r));
        w.form.messageModel()->clear();
        w.form.messageModel()->append(std::move(rows));
        w.exportWith([&] { w.form.findChild<QToolButton*>("exportAllButton")->click(); });
        QCOMPARE(w.exported().first(), QString("message 10"));
        QCOMPARE(w.exported().size(), 10);
    }

    void opensOnlyOverAFolderWithRows() {
        Window w;
        QTimer closer; // a dialog that opens wrongly is closed again, and counted
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (w.form.exportDialog()->isVisible())
                w.opened = true, w.form.exportDialog()->reject();
        });
        closer.start(10);
        w.form.exportSelected(); // no row selected
        w.selectRows({0});
        w.form.folderTree()->setCurrentItem(
            w.form.node(qb::TreeNode::Archive)); // the group node "Архив"
        w.form.exportAll();
        w.form.exportSelected();
        w.form.folderTree()->setCurrentItem(w.form.node(qb::TreeNode::PhoneInbox));
        w.form.showFolder(qb::TreeNode::PhoneInbox); // no phone read yet: an empty folder
        QTRY_VERIFY(!w.form.isBusy());
        w.form.exportAll();
        QTest::qWait(30);
        QVERIFY(!w.opened);
    }
};

QTEST_MAIN(MainWindowExportTest)
#include "MainWindowExportTest.moc"
