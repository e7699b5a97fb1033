#include "app/CommandLine.h"

#include "app/NativeDir.h"
#include "archive/ArchiveFiles.h"
#include "core/FileStore.h"
#include "core/Version.h"
#include "export/smartphone/SmartphoneExport.h"
#include "ui/InterfaceLanguage.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <new>

namespace {

struct CommandLine {
    Q_DECLARE_TR_FUNCTIONS(CommandLine)
};

const char* const ExportOption = "export-android";
const char* const UndatedOption = "undated";

// Exit statuses: 0 done; 1 a file or folder could not be read or written (the
// summary included); 2 the command line itself is wrong (unknown or clashing
// options, extra arguments) or names no folder.
constexpr int FileError = 1;
constexpr int UsageError = 2;

// Only our own options leave the window out; anything else (Qt's -platform,
// -style, ...) is for the window's application to take.
bool asksForCommandLine(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (!std::strcmp(arg, "-h") || !std::strcmp(arg, "-?") || !std::strcmp(arg, "--help") ||
            !std::strcmp(arg, "--help-all") || !std::strcmp(arg, "-v") ||
            !std::strcmp(arg, "--version") || !std::strncmp(arg, "--export-android", 16))
            return true;
    }
    return false;
}

// A standard stream started closed would lend its number to the next file
// opened, and what is said there would land in an exported file. /dev/null
// takes the number instead; a closed stdout still leaves the summary unsaid.
bool stdoutClosed = false;

void guardStandardStreams() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        stdoutClosed = stdoutClosed || fd == 1;
        ::open("/dev/null", O_RDWR); // the lowest free number: this one
    }
}

// False when the text could not be written (a closed or full stdout).
bool say(FILE* stream, const QString& text) {
    if (stream == stdout && stdoutClosed) {
        errno = EBADF;
        return false;
    }
    const bool put = std::fputs(qPrintable(text + QLatin1Char('\n')), stream) >= 0;
    const int error = errno;
    const bool flushed = std::fflush(stream) == 0;
    if (!put)
        errno = error;
    return flushed && put;
}

QString systemReason() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The folder's name as the system gave it: QCoreApplication::arguments() has
// already replaced whatever bytes of it are not UTF-8.
QByteArray exportTarget(int argc, char** argv) {
    const QByteArray option = QByteArray("--") + ExportOption;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--")
            break;
        if (arg == option && i + 1 < argc)
            return argv[i + 1];
        if (arg.startsWith(option + '='))
            return arg.mid(option.size() + 1);
    }
    return {};
}

std::optional<qb::UndatedMessages> undatedChoice(const QString& value) {
    if (value == QLatin1String("estimate"))
        return qb::UndatedMessages::Estimate;
    if (value == QLatin1String("epoch"))
        return qb::UndatedMessages::Epoch;
    if (value == QLatin1String("skip"))
        return qb::UndatedMessages::Skip;
    return std::nullopt;
}

int exportAndroid(const QByteArray& targetName, qb::UndatedMessages undated) {
    NativeDir work;
    if (!work.openCurrent()) {
        say(stderr, QStringLiteral("quillbox: ") +
                        CommandLine::tr("текущая папка недоступна: %1").arg(systemReason()));
        return FileError;
    }
    NativeDir target;
    if (!target.openNamed(targetName, work)) {
        say(stderr,
            QStringLiteral("quillbox: ") +
                CommandLine::tr("папка \"%1\" не найдена").arg(QFile::decodeName(targetName)));
        return UsageError;
    }
    const qb::SmartphoneExport result =
        qb::exportForSmartphone(work.path(), target.path(), undated);
    if (result.failure) {
        say(stderr,
            QStringLiteral("quillbox: ") + target.shown(work.shown(*result.failure)).text());
        return FileError;
    }
    if (!say(stdout, qb::smartphoneExportSummary(result))) {
        const QString reason = systemReason();
        say(stderr,
            QStringLiteral("quillbox: ") + CommandLine::tr("итог не выведен: %1").arg(reason));
        return FileError;
    }
    return 0;
}

void describeOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(CommandLine::tr(
        "Архив SMS и телефонной книги телефонов Motorola.\n"
        "Без параметров открывает окно программы; архив находится в текущей папке."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({QLatin1String(ExportOption),
                      CommandLine::tr("Записать архив текущей папки в ПАПКА/sms-backup.xml "
                                      "(SMS Backup & Restore для Android) и ПАПКА/contacts.vcf "
                                      "(vCard), не открывая окно."),
                      CommandLine::tr("ПАПКА")});
    parser.addOption({QLatin1String(UndatedOption),
                      CommandLine::tr("Даты отправленных и неотправленных сообщений, которых нет "
                                      "в архиве, для --export-android: estimate (оценить по "
                                      "соседним принятым сообщениям, по умолчанию), epoch (1 "
                                      "января 1970) или skip (не записывать такие сообщения)."),
                      CommandLine::tr("ВЫБОР"), QStringLiteral("estimate")});
}

int rejectPositional(const QCommandLineParser& parser) {
    say(stderr, QStringLiteral("quillbox: ") +
                    CommandLine::tr("лишние параметры: %1")
                        .arg(parser.positionalArguments().join(QLatin1Char(' '))));
    return UsageError;
}

// Everything wrong with the command line, with one exit status for all of it.
std::optional<int> checkOptions(QCommandLineParser& parser, const QStringList& arguments) {
    if (!parser.parse(arguments)) {
        say(stderr, QStringLiteral("quillbox: ") + parser.errorText());
        return UsageError;
    }
    if (!parser.positionalArguments().isEmpty())
        return rejectPositional(parser);
    const QStringList targets = parser.values(QLatin1String(ExportOption));
    if (targets.size() > 1) {
        say(stderr, QStringLiteral("quillbox: ") +
                        CommandLine::tr("--export-android можно задать только один раз"));
        return UsageError;
    }
    if (!targets.isEmpty() && parser.isSet(QStringLiteral("version"))) {
        say(stderr, QStringLiteral("quillbox: ") +
                        CommandLine::tr("--export-android и --version не задаются вместе"));
        return UsageError;
    }
    return std::nullopt;
}

} // namespace

std::optional<int> runCommandLine(int& argc, char** argv) {
    if (!asksForCommandLine(argc, argv))
        return std::nullopt;
    guardStandardStreams();
    QCoreApplication app(argc, argv);
    qb::ui::installInterfaceLanguage(app);
    QCoreApplication::setApplicationName(QStringLiteral("quillbox"));
    QCoreApplication::setApplicationVersion(qb::programVersion());
    QCommandLineParser parser;
    describeOptions(parser);
    if (const std::optional<int> status = checkOptions(parser, QCoreApplication::arguments()))
        return status;
    parser.process(app); // --help, --help-all and --version print and end here
    if (!parser.isSet(QLatin1String(ExportOption)))
        return 0;
    const QString undatedValue = parser.value(QLatin1String(UndatedOption));
    const std::optional<qb::UndatedMessages> undated = undatedChoice(undatedValue);
    if (!undated) {
        say(stderr,
            QStringLiteral("quillbox: ") +
                CommandLine::tr("--undated: ожидается estimate, epoch или skip, а не \"%1\"")
                    .arg(undatedValue));
        return UsageError;
    }
    try {
        return exportAndroid(exportTarget(argc, argv), *undated);
    } catch (const std::bad_alloc&) {
        say(stderr, QStringLiteral("quillbox: ") + QString::fromLocal8Bit(std::strerror(ENOMEM)));
        return FileError;
    }
}

std::optional<int> checkWindowArguments(const QStringList& arguments) {
    QCommandLineParser parser;
    describeOptions(parser);
    return checkOptions(parser, arguments);
}
