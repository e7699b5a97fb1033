#include "app/CommandLine.h"

#include "app/Console.h"
#include "app/ReadCommand.h"
#include "archive/ArchiveFiles.h"
#include "core/FileStore.h"
#include "core/NativeDir.h"
#include "core/SignalCleanup.h"
#include "core/Version.h"
#include "export/smartphone/SmartphoneExport.h"
#include "ui/InterfaceLanguage.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <unistd.h>

namespace {

struct CommandLine {
    Q_DECLARE_TR_FUNCTIONS(CommandLine)
};

const char* const ExportOption = "export-android";
const char* const UndatedOption = "undated";
const char* const ReadOption = "read";
const char* const PortOption = "port";

// Exit statuses: 0 done; 1 a file or folder could not be read or written (the
// summary included); 2 the command line itself is wrong (unknown or clashing
// options, extra arguments) or names no folder. The read adds its own.
constexpr int FileError = 1;
constexpr int UsageError = 2;

// The option's name when `arg` is one, with one dash or two (the parser takes
// both), without a value given after "="; empty for anything else.
QByteArray optionName(const char* arg) {
    QByteArray name(arg);
    if (!name.startsWith('-') || name == "-" || name == "--")
        return {};
    name = name.mid(name.startsWith("--") ? 2 : 1);
    return name.left(name.indexOf('=') < 0 ? name.size() : name.indexOf('='));
}

// Only our own options leave the window out; anything else (Qt's -platform,
// -style, ...) is for the window's application to take.
bool asksForCommandLine(int argc, char** argv) {
    static const QByteArray ours[] = {"h",        "?",       "help",       "help-all",
                                      "v",        "version", ExportOption, UndatedOption,
                                      ReadOption, PortOption};
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--")
            break;
        if (std::find(std::begin(ours), std::end(ours), optionName(argv[i])) != std::end(ours))
            return true;
    }
    return false;
}

// Qt's own options for a window, which a script may pass whatever it asks
// for: taken whole and left alone without the window. Qt reads a single dash
// as well as two.
const char* const QtValueOptions[] = {
    "platform",        "platformpluginpath", "platformtheme", "plugin",
    "qwindowgeometry", "qwindowicon",        "qwindowtitle",  "session",
    "display",         "geometry",           "title",         "style",
    "stylesheet"};
const char* const QtFlagOptions[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

// Help and version are printed by Qt, which then exits with status 0 even
// when nothing could be written (a full or closed stdout): checked on the way out.
bool qtPrints = false;

void failExitWhenStdoutLost() {
    if (qtPrints && !stdoutWritten())
        ::_exit(1);
}

// An option's value (a folder, a device) as the system gave it:
// QCoreApplication::arguments() has already replaced whatever bytes of it are
// not UTF-8.
QByteArray optionBytes(int argc, char** argv, const char* option) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--")
            break;
        if (optionName(argv[i]) != option)
            continue;
        if (const qsizetype equals = arg.indexOf('='); equals >= 0)
            return arg.mid(equals + 1);
        if (i + 1 < argc)
            return argv[i + 1];
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

// Why the target named on the command line is no folder to write into.
int refuseTarget(const QString& name) {
    const int error = errno;
    QString text;
    switch (error) {
    case ENOENT:
        text = CommandLine::tr("папка \"%1\" не найдена").arg(name);
        break;
    case ENOTDIR:
        text = CommandLine::tr("\"%1\" не папка").arg(name);
        break;
    case ENAMETOOLONG:
        text = CommandLine::tr("слишком длинный путь: \"%1\"").arg(name);
        break;
    default:
        errno = error;
        say(stderr, QStringLiteral("quillbox: ") +
                        CommandLine::tr("папка \"%1\" недоступна: %2").arg(name, systemReason()));
        return FileError;
    }
    say(stderr, QStringLiteral("quillbox: ") + text);
    return UsageError;
}

int exportAndroid(const QByteArray& targetName, qb::UndatedMessages undated) {
    qb::NativeDir work;
    if (!work.openCurrent()) {
        say(stderr, QStringLiteral("quillbox: ") +
                        CommandLine::tr("текущая папка недоступна: %1").arg(systemReason()));
        return FileError;
    }
    qb::NativeDir target;
    if (!target.openNamed(targetName, work))
        return refuseTarget(QFile::decodeName(targetName));
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
    // "-platform" is one option, not the letters p, l, a, ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char* name : QtValueOptions) {
        QCommandLineOption option(QLatin1String(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : QtFlagOptions) {
        QCommandLineOption option{QLatin1String(name)};
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
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
    parser.addOption({QLatin1String(ReadOption),
                      CommandLine::tr("Считать телефон в архив текущей папки, как кнопка "
                                      "\"Считать\", не открывая окно. Коды выхода: 0 — готово, "
                                      "1 — телефон или файл не удалось прочитать или записать, "
                                      "2 — неверная командная строка, 3 — телефон не найден.")});
    parser.addOption({QLatin1String(PortOption),
                      CommandLine::tr("Порт телефона для --read (например, /dev/ttyACM0); без "
                                      "него берётся единственный подключённый телефон."),
                      CommandLine::tr("УСТРОЙСТВО")});
}

int rejectPositional(const QCommandLineParser& parser) {
    say(stderr, QStringLiteral("quillbox: ") +
                    CommandLine::tr("лишние параметры: %1")
                        .arg(parser.positionalArguments().join(QLatin1Char(' '))));
    return UsageError;
}

// The read's options: one command at a time, a port only for the read.
std::optional<int> checkReadOptions(const QCommandLineParser& parser) {
    const bool read = parser.isSet(QLatin1String(ReadOption));
    QString clash;
    if (read && parser.isSet(QLatin1String(ExportOption)))
        clash = CommandLine::tr("--read и --export-android не задаются вместе");
    else if (read && parser.isSet(QStringLiteral("version")))
        clash = CommandLine::tr("--read и --version не задаются вместе");
    else if (!read && parser.isSet(QLatin1String(PortOption)))
        clash = CommandLine::tr("--port задаётся только вместе с --read");
    else if (parser.values(QLatin1String(PortOption)).size() > 1)
        clash = CommandLine::tr("--port можно задать только один раз");
    else if (read && parser.isSet(QLatin1String(PortOption)) &&
             parser.value(QLatin1String(PortOption)).isEmpty())
        clash = CommandLine::tr("--port: не указано устройство");
    if (clash.isEmpty())
        return std::nullopt;
    complain(clash);
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
    if (targets.isEmpty() && parser.isSet(QLatin1String(UndatedOption))) {
        say(stderr, QStringLiteral("quillbox: ") +
                        CommandLine::tr("--undated задаётся только вместе с --export-android"));
        return UsageError;
    }
    return checkReadOptions(parser);
}

} // namespace

std::optional<int> runCommandLine(int& argc, char** argv) {
    if (!asksForCommandLine(argc, argv))
        return std::nullopt;
    guardStandardStreams();
    qb::removeStagedFilesOnSignals();
    QCoreApplication app(argc, argv);
    qb::ui::installInterfaceLanguage(app);
    QCoreApplication::setApplicationName(QStringLiteral("quillbox"));
    QCoreApplication::setApplicationVersion(qb::programVersion());
    QCommandLineParser parser;
    describeOptions(parser);
    if (const std::optional<int> status = checkOptions(parser, QCoreApplication::arguments()))
        return status;
    qtPrints = true;
    std::atexit(failExitWhenStdoutLost);
    parser.process(app); // --help, --help-all and --version print and end here
    qtPrints = false;
    if (parser.isSet(QLatin1String(ReadOption)))
        return readPhoneCommand(optionBytes(argc, argv, PortOption));
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
        return exportAndroid(optionBytes(argc, argv, ExportOption), *undated);
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
