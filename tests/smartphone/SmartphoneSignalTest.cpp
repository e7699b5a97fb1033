// The pair of files named only for their exchange: a signal that comes right
// then waits until both are in place and the names are gone again.
#include "core/SignalCleanup.h"
#include "export/smartphone/SmartphoneExport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool pauseAtExchange = false;
int exchangeReached = -1;

void put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// Stands in front of the C library's: at the first exchange it tells the test
// and waits for the test's signal to be pending, then goes on.
extern "C" int renameat2(int fromDir, const char* from, int toDir, const char* to,
                         unsigned int flags) {
    if (pauseAtExchange && (flags & RENAME_EXCHANGE)) {
        pauseAtExchange = false;
        const char reached = 'e';
        if (::write(exchangeReached, &reached, 1) == 1) {
            for (sigset_t pending; sigpending(&pending) == 0 && !sigismember(&pending, SIGINT) &&
                                   !sigismember(&pending, SIGTERM) &&
                                   !sigismember(&pending, SIGHUP);)
                ::usleep(1000);
        }
    }
    return static_cast<int>(::syscall(SYS_renameat2, fromDir, from, toDir, to, flags));
}

TEST(SmartphoneExport, ASignalAtTheExchangeWaitsForBothFilesAndLeavesNoName) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        QTemporaryDir work, target;
        put(work.filePath("Inbox.msg"), "hi\r\n5\r\n+MMGL: 5, \"REC READ\", \"+7001\"\r\n"
                                        "01/06/2009,10:00:00\r\n");
        put(work.filePath("Phonebook.pbk"), "3\r\n+7001\r\nIvan\r\n\r\n");
        put(target.filePath("sms-backup.xml"), "old");
        put(target.filePath("contacts.vcf"), "old");
        int reached[2];
        ASSERT_EQ(::pipe(reached), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            qb::removeStagedFilesOnSignals();
            exchangeReached = reached[1];
            pauseAtExchange = true;
            qb::exportForSmartphone(work.path(), target.path());
            ::_exit(0);
        }
        char byte = 0;
        ASSERT_EQ(::read(reached[0], &byte, 1), 1);
        // Both new files have their names beside the targets now.
        EXPECT_EQ(QDir(target.path()).entryList(QDir::Files | QDir::Hidden).size(), 4);
        ::kill(child, signal);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal);
        EXPECT_EQ(QDir(target.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList({"contacts.vcf", "sms-backup.xml"}));
        EXPECT_TRUE(contents(target.filePath("sms-backup.xml")).contains("body=\"hi\""));
        EXPECT_TRUE(contents(target.filePath("contacts.vcf")).contains("FN:Ivan"));
        ::close(reached[0]);
        ::close(reached[1]);
    }
}
