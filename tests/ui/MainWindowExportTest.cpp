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
    qb::testing::ProgramWindow w{dir.path(), boxes};
    MainWindow& form = w.form;
    bool opened = false;

    Window() {
        QTRY_VERIFY(w.isSettled()); // the archive is read at start-up
        w.showFolder(qb::TreeNode::ArchiveInbox);
        QTRY_VERIFY(w.isSettled());
        // Stands in for the user choosing a name: the save-file dialog only opens from a shown
        // dialog.
        exportDialog()->askFileName = [this](qb::ui::ExportDialog::SaveAnswer answer) {
            opened = true;
            answer(qb::ui::SaveChoice{dir.filePath("sms.htm"), qb::ExportFormat::Text});
        };
    }
    qb::ui::ExportDialog* exportDialog() const { return form.findChild<qb::ui::ExportDialog*>(); }
    void selectRows(const std::vector<int>& rows) {
        auto* list = form.findChild<QTableView*>("messageList");
        for (int row : rows)
            list->selectionModel()->select(w.model().index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    // Runs a command and presses "Сохранить" once the export dialog shows;
    // the dialog closes once the export has been written.
    void exportWith(const std::function<void()>& command) {
        command();
        QTRY_VERIFY(exportDialog()->isVisible());
        QTest::mouseClick(exportDialog()->findChild<QWidget*>("saveButton"), Qt::LeftButton);
        QTRY_VERIFY(!exportDialog()->isVisible());
        QVERIFY(!w.isBusy());
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
        w.w.model().reorder({9, 8, 7, 6, 5, 4, 3, 2, 1, 0});
        w.exportWith([&] { w.form.findChild<QToolButton*>("exportAllButton")->click(); });
        QCOMPARE(w.exported().first(), QString("message 10"));
        QCOMPARE(w.exported().size(), 10);
    }

    void opensOnlyOverAFolderWithRows() {
        Window w;
        QTimer closer; // a dialog that opens wrongly is closed again, and counted
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (w.exportDialog()->isVisible())
                w.opened = true, w.exportDialog()->reject();
        });
        closer.start(10);
        const auto trigger = [&w](const char* name) {
            w.form.findChild<QAction*>(name)->trigger();
        };
        trigger("exportSelectedAction"); // no row selected
        w.selectRows({0});
        w.w.tree()->setCurrentItem(w.w.node(qb::TreeNode::Archive)); // the group node "Архив"
        trigger("exportAllAction");
        trigger("exportSelectedAction");
        w.w.showFolder(qb::TreeNode::PhoneInbox); // no phone read yet: an empty folder
        QTRY_VERIFY(w.w.isSettled());
        trigger("exportAllAction");
        QTest::qWait(30);
        QVERIFY(!w.opened);
    }
};

QTEST_MAIN(MainWindowExportTest)
#include "MainWindowExportTest.moc"
