// The program without its window: start-up, the commands as the window's
// actions give them, what reaches the message panel, and closing.
#include "controllers/Application.h"

#include "ControllerTesting.h"
#include "controllers/ArchiveController.h"
#include "controllers/PhoneController.h"
#include "models/FolderCaptions.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qb;

namespace {

class ApplicationTest : public ::testing::Test {
  protected:
    ApplicationTest() {
        test::ensureApplication();
        write("Outbox.msg", test::sentFile({{"one", "1"}, {"two", "2"}, {"three", "3"}}));
    }

    void write(const char* name, const std::string& content) {
        QFile file(QDir(dir.path()).filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content.data(), qint64(content.size()));
    }
    QByteArray read(const char* name) const {
        QFile file(QDir(dir.path()).filePath(QLatin1String(name)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void idle() {
        ASSERT_TRUE(test::waitFor([this] { return !app.commands().isBusy(); }));
    }
    void started() {
        app.start();
        idle();
    }
    void list(TreeNode node, std::initializer_list<int> selected = {}) {
        app.list().setSelectedNode(node);
        app.list().showFolder(node);
        ASSERT_TRUE(test::waitFor([this] { return app.list().isSettled(); }));
        for (const int row : selected)
            app.list().selection().select(app.list().model().index(row, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    QTemporaryDir dir;
    test::RecordedDialogs dialogs;
    Application app{dir.path(), dialogs,
                    std::make_unique<PhoneWatcher>([] { return std::vector<UsbModem>{}; }, nullptr),
                    std::make_unique<SettingsStore>(dir.filePath(QStringLiteral("settings.conf")))};
};

} // namespace

TEST_F(ApplicationTest, StartReadsTheArchiveWritesTheTemplateAndFollowsThePhone) {
    QSignalSpy captions(&app.archive(), &ArchiveController::archiveCaptionsChanged);
    QSignalSpy connection(&app.phone(), &PhoneController::connectionChanged);
    app.start();
    EXPECT_TRUE(app.commands().isBusy()); // the archive is read off the window's thread
    EXPECT_TRUE(QFile::exists(QDir(dir.path()).filePath("Normal.htm")));
    ASSERT_EQ(connection.size(), 1);
    EXPECT_FALSE(connection.at(0).at(0).toBool());
    EXPECT_FALSE(app.commands().isEnabled(Command::Read));
    idle();
    ASSERT_EQ(captions.size(), 1);
    EXPECT_EQ(captions.at(0).at(0).toStringList().at(1), folderCaption(FolderKind::Outbox, 3));
    EXPECT_EQ(app.workspace().archiveCount(FolderKind::Outbox), 3);
    EXPECT_TRUE(app.findChild<QTimer*>(QStringLiteral("connectionTimer"))->isActive());
}

TEST_F(ApplicationTest, TheDeleteKeyAsksThenDeletesWhereTheListShows) {
    started();
    list(TreeNode::ArchiveOutbox, {1});
    dialogs.yes = false;
    app.deleteSelected();
    EXPECT_EQ(dialogs.questions.size(), 1);
    EXPECT_FALSE(app.commands().isBusy());
    dialogs.yes = true;
    app.deleteSelected();
    idle();
    const std::string all = test::sentFile({{"one", "1"}, {"two", "2"}, {"three", "3"}});
    const std::string second = "two\r\n 2\r\n+MMGL: 2, \"STO SENT\", \"2\"\r\n";
    EXPECT_EQ(read("Outbox.msg").toStdString(),
              all.substr(0, all.find(second)) + all.substr(all.find(second) + second.size()));
    EXPECT_EQ(app.list().model().rowCount(), 2);
    // On a group node it asks all the same, and deletes nothing.
    list(TreeNode::Archive);
    app.deleteSelected();
    EXPECT_EQ(dialogs.questions.size(), 3);
    EXPECT_FALSE(app.commands().isBusy());
    EXPECT_TRUE(dialogs.texts.isEmpty());
}

TEST_F(ApplicationTest, TheMenusDeleteOnlyInTheirOwnFolders) {
    started();
    list(TreeNode::ArchiveOutbox, {0});
    app.deleteSelectedOnPhone(); // an archive folder: the phone is not asked
    EXPECT_FALSE(app.commands().isBusy());
    EXPECT_TRUE(dialogs.texts.isEmpty());
    app.deleteSelectedInArchive();
    EXPECT_TRUE(app.commands().isBusy());
    idle();
    EXPECT_EQ(app.list().model().rowCount(), 2);
    EXPECT_TRUE(dialogs.questions.isEmpty()); // the menu asks nothing
}

TEST_F(ApplicationTest, ARestingCommandDoesNothing) {
    started();
    list(TreeNode::ArchiveOutbox, {0});
    auto* job = app.commands().run(std::make_unique<test::HeldJob>(), {});
    QSignalSpy notes(&app, &Application::noted);
    app.deleteAllInArchive();
    app.deleteSelected();
    app.connectPhone();
    EXPECT_FALSE(app.beginExport(ExportMode::All));
    EXPECT_TRUE(notes.isEmpty());
    EXPECT_TRUE(dialogs.questions.isEmpty());
    job->end();
    idle();
    EXPECT_EQ(read("Outbox.msg").count("\r\n"), 9);
    // The read rests without a phone even when nothing runs.
    app.readPhone();
    EXPECT_TRUE(notes.isEmpty());
    EXPECT_TRUE(dialogs.texts.isEmpty());
}

TEST_F(ApplicationTest, CommandsThatRunEmptyTheMessagePanelFirst) {
    started();
    list(TreeNode::ArchiveOutbox, {0});
    QSignalSpy notes(&app, &Application::noted);
    app.connectPhone();
    app.beginImport();
    const std::optional<ExportSource> source = app.beginExport(ExportMode::Selected);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->exportedCount, 1);
    ASSERT_EQ(notes.size(), 3);
    for (const QList<QVariant>& note : notes)
        EXPECT_EQ(note.at(0).toString(), QString());
    // What the import took reaches the panel.
    write("p2k.txt", "+7001;2005/1/2,3:04:05;first\r\n");
    app.importArchive(QDir(dir.path()).filePath("p2k.txt"));
    idle();
    EXPECT_TRUE(notes.last().at(0).toString().contains('1'));
}

TEST_F(ApplicationTest, PhoneCaptionsFollowTheLastRead) {
    started();
    QSignalSpy captions(&app, &Application::phoneCaptionsChanged);
    app.workspace().readResult.inbox.resize(3);
    app.workspace().readResult.outbox.clear();
    app.workspace().readResult.draft.resize(1);
    emit app.phone().phoneCaptionsChanged(); // as a read or a deletion on the phone does
    ASSERT_EQ(captions.size(), 1);
    EXPECT_EQ(
        captions.at(0).at(0).toStringList(),
        QStringList({folderCaption(FolderKind::Inbox, 3), folderCaption(FolderKind::Outbox, 0),
                     folderCaption(FolderKind::Draft, 1)}));
}

TEST_F(ApplicationTest, ClosingWaitsForTheJobItCancels) {
    started();
    auto* job = app.commands().run(std::make_unique<test::HeldJob>(), {});
    QSignalSpy ready(&app, &Application::readyToQuit);
    EXPECT_FALSE(app.requestQuit());
    EXPECT_TRUE(job->cancelled);
    ASSERT_TRUE(test::waitFor([&ready] { return ready.size() == 1; }));
    EXPECT_TRUE(app.requestQuit());
}

// A search's results from two folders, both selected: each folder file
// loses its own record, one deletion after the other.
TEST_F(ApplicationTest, DeletingResultsDeletesInEachFolderTheyCameFrom) {
    write("Inbox.msg", "one more\r\n7\r\n+MMGL: 7, \"REC READ\", \"+7007\"\r\n"
                       "01/02/2005,10:11:12\r\nother\r\n8\r\n+MMGL: 8, \"REC READ\", "
                       "\"+7008\"\r\n01/02/2005,10:11:12\r\n");
    started();
    ASSERT_TRUE(test::waitFor([this] { return app.search().isPrepared(); }));
    app.searchFor(QStringLiteral("one"));
    ASSERT_TRUE(test::waitFor([this] {
        return app.list().listing() == Listing::Results && app.list().isSettled() &&
               app.list().model().rowCount() == 2;
    }));
    app.list().selectAll();
    EXPECT_EQ(app.list().selectedFolders(),
              std::vector<TreeNode>({TreeNode::ArchiveInbox, TreeNode::ArchiveOutbox}));
    app.deleteSelected();
    ASSERT_TRUE(test::waitFor(
        [this] { return !app.commands().isBusy() && !read("Outbox.msg").startsWith("one\r\n"); }));
    EXPECT_EQ(read("Inbox.msg"), QByteArray("other\r\n8\r\n+MMGL: 8, \"REC READ\", "
                                            "\"+7008\"\r\n01/02/2005,10:11:12\r\n"));
    EXPECT_FALSE(read("Outbox.msg").contains("one"));
    EXPECT_TRUE(read("Outbox.msg").contains("three"));
    // The results follow: nothing holds "one" any more.
    ASSERT_TRUE(test::waitFor([this] { return app.list().model().rowCount() == 0; }));
    EXPECT_EQ(app.list().listing(), Listing::Results);
    app.endSearch();
    EXPECT_EQ(app.list().listing(), Listing::Folder);
}
