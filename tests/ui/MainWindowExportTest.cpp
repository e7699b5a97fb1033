// The two save commands of the main window: when they open the export dialog,
// which rows they hand it, and in which order.
#include "tests/support/WindowTestSupport.h"
#include "ui/MainWindow.h"

#include "core/Cp1251.h"
#include "core/FileStore.h"
#include "core/LineList.h"
#include "export/ExportTemplate.h"
#include "ui/ExportDialog.h"
#include "ui/FolderTreeWidget.h"
#include "ui/MessageListModel.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using qb::testing::StartedIn;
using qb::ui::MessageListModel;

namespace {

QByteArray inboxOfTen() {
    QByteArray content;
    for (int k = 1; k <= 10; ++k) {
        const QByteArray n = QByteArray::number(k);
        content += "message " + n + "\r\n" + n + "\r\n+MMGL: " + n +
                   ", \"REC READ\", \"+7916000000" + QByteArray::number(k % 10) + "\"\r\n0" +
                   QByteArray::number(k % 10) + "/02/2005,10:11:12\r\n";
    }
    return content;
}

// Presses "Сохранить" in the export dialog as soon as it shows, with the file
// name the save-file dialog would have given.
class ExportDriver : public QObject {
  public:
    ExportDriver(MainWindow& form, const QString& path) : m_dialog(form.exportDialog()) {
        m_dialog->askFileName = [path] {
            return std::optional<qb::ui::SaveChoice>(qb::ui::SaveChoice{path, qb::ExportFormat::Html});
        };
        connect(&m_poll, &QTimer::timeout, this, [this] {
            if (!m_dialog->isVisible())
                return;
            opened = true;
            splitEnabled = m_dialog->findChild<QCheckBox*>("splitCheckBox")->isEnabled();
            QTest::mouseClick(m_dialog->findChild<QPushButton*>("saveButton"), Qt::LeftButton);
        });
        m_poll.start(10);
    }
    bool opened = false;
    bool splitEnabled = false;

  private:
    qb::ui::ExportDialog* m_dialog;
    QTimer m_poll;
};

struct Window {
    StartedIn dir{{{"Inbox.msg", inboxOfTen()}}};
    MainWindow form;

    Window() {
        form.show();
        form.folderTree()->expandAll();
        choose(qb::ArchiveInbox);
    }
    void choose(int position) {
        form.folderTree()->setCurrentItem(form.node(position));
        form.showFolder(position);
    }
    QTableView* list() const { return form.findChild<QTableView*>("messageList"); }
    void selectRows(const std::vector<int>& rows) const {
        list()->clearSelection();
        for (int row : rows)
            list()->selectionModel()->select(form.messageModel()->index(row, 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    // The "Сообщение" cells of an export, in the order of its blocks.
    QStringList exportedTexts(const QString& name) const {
        QStringList texts;
        for (const std::string& line : qb::splitFileLines(qb::readWholeFile(dir.filePath(name)).bytes)) {
            const auto at = line.find("message ");
            if (at != std::string::npos)
                texts << QString::fromStdString(line.substr(at, line.find('<', at) - at));
        }
        return texts;
    }
    std::string headerTotal(const QString& name) const {
        return qb::splitFileLines(qb::readWholeFile(dir.filePath(name)).bytes).at(1);
    }
};

} // namespace

class MainWindowExportTest : public QObject {
    Q_OBJECT
  private slots:
    void startUpWritesTheDefaultTemplate() {
        Window w;
        const qb::TemplateRead read = qb::readTemplate(w.dir.path());
        QVERIFY(read.exists);
        QCOMPARE(read.lines, qb::defaultTemplate());
    }

    void saveSelectedWritesTheSelectedRowsInListOrder() {
        Window w;
        w.selectRows({8, 1, 4});
        w.form.setMessagePanel("old");
        ExportDriver driver(w.form, w.dir.filePath("sms.htm"));
        w.form.findChild<QAction*>("exportSelectedAction")->trigger();
        QVERIFY(driver.opened);
        QVERIFY(!driver.splitEnabled);
        QVERIFY(w.form.messagePanel().isEmpty());
        QCOMPARE(w.exportedTexts("sms.htm"), QStringList({"message 2", "message 5", "message 9"}));
        QVERIFY(w.headerTotal("sms.htm").starts_with("<center><font color=black size=4>3 "));
    }

    void saveAllFollowsTheOrderTheListShows() {
        Window w;
        // The list as a column sort leaves it: the rows in another order than the records.
        std::vector<qb::ui::MessageRow> rows;
        for (int r = w.form.messageModel()->rowCount() - 1; r >= 0; --r)
            rows.push_back(w.form.messageModel()->row(r));
        w.form.messageModel()->clear();
        w.form.messageModel()->append(std::move(rows));

        ExportDriver driver(w.form, w.dir.filePath("all.htm"));
        QTest::mouseClick(w.form.findChild<QToolButton*>("exportAllButton"), Qt::LeftButton);
        QVERIFY(driver.opened);
        QVERIFY(driver.splitEnabled);
        QStringList expected;
        for (int k = 10; k >= 1; --k)
            expected << QString("message %1").arg(k);
        QCOMPARE(w.exportedTexts("all.htm"), expected);
    }

    void theDialogOpensOnlyOverAFolderWithRows() {
        Window w;
        ExportDriver driver(w.form, w.dir.filePath("none.htm"));
        w.form.exportSelected(); // no row selected
        w.choose(qb::PhoneInbox); // before any phone read: an empty folder
        w.form.exportAll();
        // The list still shows the archive Inbox, but the tree's selection moved
        // to the group node "Архив".
        w.choose(qb::ArchiveInbox);
        w.selectRows({0});
        w.form.folderTree()->setCurrentItem(w.form.node(4));
        QVERIFY(w.form.findChild<QToolButton*>("exportAllButton")->isEnabled());
        w.form.exportAll();
        w.form.exportSelected();
        QCoreApplication::processEvents();
        QVERIFY(!driver.opened);
        QVERIFY(!w.dir.exists("none.htm"));
    }
};

QTEST_MAIN(MainWindowExportTest)
#include "MainWindowExportTest.moc"
