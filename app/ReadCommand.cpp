#include "app/ReadCommand.h"

#include "app/Console.h"
#include "archive/Workspace.h"
#include "controllers/CommandState.h"
#include "controllers/PhoneController.h"
#include "controllers/PhoneMessages.h"
#include "controllers/UserDialogs.h"
#include "core/NativeDir.h"
#include "phonelink/PhoneWatcher.h"
#include "phonelink/UsbModems.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

struct ReadCommand {
    Q_DECLARE_TR_FUNCTIONS(ReadCommand)
};

QString shownText(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), qsizetype(text.size()));
}

// "Motorola Phone (V3), /dev/ttyACM0"; a bare tty by its path alone.
QString phoneName(const qb::UsbModem& modem) {
    if (modem.productName == modem.devNode)
        return shownText(modem.devNode);
    return QString::fromUtf8(modem.productName.data(), qsizetype(modem.productName.size())) +
           QStringLiteral(", ") + shownText(modem.devNode);
}

// The phone to read, or the exit status when there is none to choose.
struct PhoneChoice {
    std::optional<qb::UsbModem> modem;
    int status = 0;
};

// False for a device that is no tty (/dev/null); a tty that cannot be opened
// now (busy, forbidden) is left for the read to report as the window does.
bool isTerminal(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return true;
    termios settings{};
    // As the port itself tells a tty; isatty() says no under umockdev's mocked ones.
    const bool terminal = ::tcgetattr(fd, &settings) == 0;
    ::close(fd);
    return terminal;
}

PhoneChoice namedPhone(const QByteArray& port) {
    const QString shown = QFile::decodeName(port);
    struct stat node {};
    if (::stat(port.constData(), &node) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            complain(ReadCommand::tr("телефон не найден: нет устройства %1").arg(shown));
            return {std::nullopt, NoPhoneFound};
        }
        complain(QStringLiteral("%1: %2").arg(shown, systemReason()));
        return {std::nullopt, ReadFailed};
    }
    if (!S_ISCHR(node.st_mode) || !isTerminal(port)) {
        complain(ReadCommand::tr("%1 — не порт телефона: --port ждёт устройство вроде "
                                 "/dev/ttyACM0")
                     .arg(shown));
        return {std::nullopt, ReadUsageError};
    }
    return {qb::modemAtPath(port.toStdString()), 0};
}

PhoneChoice foundPhone() {
    const std::vector<qb::UsbModem> found = qb::findUsbModems();
    if (found.size() == 1)
        return {found.front(), 0};
    if (found.empty()) {
        complain(ReadCommand::tr("телефон не найден. Подключите телефон кабелем USB или укажите "
                                 "его порт: --port УСТРОЙСТВО"));
        return {std::nullopt, NoPhoneFound};
    }
    QString list;
    for (const qb::UsbModem& modem : found)
        list += QStringLiteral("\n  ") + phoneName(modem);
    complain(ReadCommand::tr("подключено несколько телефонов:%1\nУкажите, какой считать: "
                             "--port УСТРОЙСТВО")
                 .arg(list));
    return {std::nullopt, ReadUsageError};
}

// --- Signals: the first one stops the read, a second one ends the process
// as it would have ended without us.

constexpr int StopSignals[] = {SIGINT, SIGTERM, SIGHUP};
int signalPipe[2] = {-1, -1};
struct sigaction earlier[std::size(StopSignals)];
bool caught[std::size(StopSignals)] = {};
volatile std::sig_atomic_t stopSignal = 0;

void restoreEarlierHandlers() {
    for (std::size_t i = 0; i < std::size(StopSignals); ++i) {
        if (caught[i])
            ::sigaction(StopSignals[i], &earlier[i], nullptr);
    }
}

void stopOnSignal(int signal) {
    const int saved = errno;
    stopSignal = signal;
    restoreEarlierHandlers();
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

// Installs the handlers; a signal the caller chose to ignore (nohup) stays ignored.
bool catchStopSignals() {
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action {};
    action.sa_handler = stopOnSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : StopSignals)
        sigaddset(&action.sa_mask, signal);
    for (std::size_t i = 0; i < std::size(StopSignals); ++i) {
        if (::sigaction(StopSignals[i], nullptr, &earlier[i]) == 0 &&
            earlier[i].sa_handler != SIG_IGN)
            caught[i] = ::sigaction(StopSignals[i], &action, nullptr) == 0;
    }
    return true;
}

// --- Progress: a line that rewrites itself on a terminal; otherwise lines a
// log keeps, one per stage and one per tenth of the messages' times.

class ProgressLines {
  public:
    explicit ProgressLines(std::FILE* stream)
        : m_stream(stream), m_terminal(::isatty(::fileno(stream)) == 1) {}

    void show(qb::ReadStage stage, int done, int total) {
        const QString text = describe(stage, done, total);
        if (m_terminal) {
            const qsizetype width = std::max(m_width, text.size());
            put(m_stream, QLatin1Char('\r') + text.leftJustified(width));
            m_width = text.size();
            return;
        }
        const int tenth = total > 0 ? done * 10 / total : 0;
        if (stage == m_stage && tenth == m_tenth)
            return;
        m_stage = stage;
        m_tenth = tenth;
        say(m_stream, text);
    }
    // Clears the line on a terminal, for what is said next.
    void end() {
        if (m_terminal && m_width > 0)
            put(m_stream,
                QLatin1Char('\r') + QString(m_width, QLatin1Char(' ')) + QLatin1Char('\r'));
        m_width = 0;
    }

  private:
    static QString describe(qb::ReadStage stage, int done, int total) {
        switch (stage) {
        case qb::ReadStage::Listing:
            return ReadCommand::tr("Чтение списка сообщений…");
        case qb::ReadStage::Dates:
            return ReadCommand::tr("Время получения сообщений: %1 из %2").arg(done).arg(total);
        case qb::ReadStage::Phonebook:
            return ReadCommand::tr("Чтение телефонной книги…");
        case qb::ReadStage::Archive:
            break;
        }
        return ReadCommand::tr("Запись в архив…");
    }

    std::FILE* m_stream;
    bool m_terminal;
    qsizetype m_width = 0;
    std::optional<qb::ReadStage> m_stage;
    int m_tenth = -1;
};

// Nobody is asked anything without a window; the read started unattended
// reports through its report alone, so this only keeps a stray text visible.
class StderrDialogs : public qb::UserDialogs {
  public:
    void inform(const QString& text) override { complain(text); }
    void tell(const QString& text) override { complain(text); }
    void fail(const QString& text) override { complain(text); }
    void ask(const QString&, std::function<void(bool)> answered) override { answered(false); }
};

// The read with the chosen phone, to its report.
std::optional<qb::ReadReport> runRead(const QString& workDir, const qb::UsbModem& modem) {
    qb::Workspace workspace;
    workspace.workDir = workDir;
    qb::CommandState commands;
    StderrDialogs dialogs;
    qb::PhoneWatcher watcher([modem] { return std::vector<qb::UsbModem>{modem}; }, nullptr);
    qb::PhoneController phone(workspace, watcher, commands, dialogs);
    ProgressLines progress(stderr);
    std::optional<qb::ReadReport> report;
    QEventLoop loop;
    QObject::connect(&phone, &qb::PhoneController::readStageReached, &loop,
                     [&progress](qb::ReadStage stage, int done, int total) {
                         progress.show(stage, done, total);
                     });
    QObject::connect(&phone, &qb::PhoneController::readReported, &loop,
                     [&](const qb::ReadReport& ended) {
                         report = ended;
                         loop.quit();
                     });
    QSocketNotifier signalled(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalled, &QSocketNotifier::activated, &loop, [&commands] {
        char drained[16];
        while (::read(signalPipe[0], drained, sizeof drained) > 0) {
        }
        commands.cancel();
    });
    phone.refreshConnection();
    phone.readPhone(qb::ReadStart::Unattended);
    if (!report)
        loop.exec();
    progress.end();
    return report;
}

int tellHowItEnded(const qb::ReadReport& report) {
    using End = qb::ReadReport::End;
    switch (report.end) {
    case End::Read: {
        QString counts =
            qb::readCountsText(report) + QLatin1Char('\n') + qb::addedCountsText(report);
        if (const QString leftOut = qb::leftOutText(report.leftOut); !leftOut.isEmpty())
            counts += QLatin1Char('\n') + leftOut;
        if (!say(stdout, counts)) {
            complain(ReadCommand::tr("итог не выведен: %1").arg(systemReason()));
            return ReadFailed;
        }
        return 0;
    }
    case End::NothingListed:
        say(stdout, qb::nothingListedText());
        return 0;
    case End::Cancelled:
        complain(qb::readCancelledText());
        break;
    case End::Failed:
        complain(qb::withRealFolderNames(report.failure));
        break;
    }
    return ReadFailed;
}

} // namespace

int readPhoneCommand(const QByteArray& port) {
    qb::NativeDir work;
    if (!work.openCurrent()) {
        complain(ReadCommand::tr("текущая папка недоступна: %1").arg(systemReason()));
        return ReadFailed;
    }
    const PhoneChoice choice = port.isEmpty() ? foundPhone() : namedPhone(port);
    if (!choice.modem)
        return choice.status;
    if (!catchStopSignals()) {
        complain(systemReason());
        return ReadFailed;
    }
    say(stderr, ReadCommand::tr("Телефон %1, архив в папке %2")
                    .arg(phoneName(*choice.modem), qb::withRealFolderNames(work.path())));
    const std::optional<qb::ReadReport> report = runRead(work.path(), *choice.modem);
    const int status = report ? tellHowItEnded(*report) : ReadFailed;
    if (stopSignal != 0 && report && report->end == qb::ReadReport::End::Cancelled) {
        // Ends as the signal ends a process, now that nothing is half-written.
        restoreEarlierHandlers();
        ::raise(stopSignal);
    }
    return status;
}
