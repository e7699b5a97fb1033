#include "app/CommandLine.h"

#include "core/Version.h"
#include "export/smartphone/SmartphoneExport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <cstring>

namespace {

const char* const ExportOption = "export-android";
const char* const UndatedOption = "undated";

// Only our own options leave the window out; anything else (Qt's -platform,
// -style, ...) is for the window's application to take.
bool asksForCommandLine(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (!std::strcmp(arg, "-h") || !std::strcmp(arg, "--help") || !std::strcmp(arg, "-v") ||
            !std::strcmp(arg, "--version") || !std::strncmp(arg, "--export-android", 16))
            return true;
    }
    return false;
}

void say(FILE* stream, const QString& text) {
    std::fputs(qPrintable(text + QLatin1Char('\n')), stream);
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

int exportAndroid(const QString& target, const QString& undatedValue) {
    const std::optional<qb::UndatedMessages> undated = undatedChoice(undatedValue);
    if (!undated) {
        say(stderr, QStringLiteral("quillbox: --undated: ожидается estimate, epoch или skip, "
                                   "а не \"%1\"")
                        .arg(undatedValue));
        return 2;
    }
    const QFileInfo dir(target);
    if (!dir.isDir()) {
        say(stderr, QStringLiteral("quillbox: папка \"%1\" не найдена").arg(target));
        return 2;
    }
    const qb::SmartphoneExport result =
        qb::exportForSmartphone(QDir::currentPath(), dir.absoluteFilePath(), *undated);
    if (result.failure) {
        say(stderr, QStringLiteral("quillbox: ") + result.failure->text());
        return 1;
    }
    say(stdout, qb::smartphoneExportSummary(result));
    return 0;
}

void describeOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral(
        "Архив SMS и телефонной книги телефонов Motorola.\n"
        "Без параметров открывает окно программы; архив находится в текущей папке."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({QLatin1String(ExportOption),
                      QStringLiteral("Записать архив текущей папки в ПАПКА/sms-backup.xml "
                                     "(SMS Backup & Restore для Android) и ПАПКА/contacts.vcf "
                                     "(vCard), не открывая окно."),
                      QStringLiteral("ПАПКА")});
    parser.addOption({QLatin1String(UndatedOption),
                      QStringLiteral("Даты отправленных и неотправленных сообщений, которых нет в "
                                     "архиве, для --export-android: estimate (оценить по соседним "
                                     "принятым сообщениям, по умолчанию), epoch (1 января 1970) "
                                     "или skip (не записывать такие сообщения)."),
                      QStringLiteral("ВЫБОР"), QStringLiteral("estimate")});
}

int rejectPositional(const QCommandLineParser& parser) {
    say(stderr, QStringLiteral("quillbox: лишние параметры: ") +
                    parser.positionalArguments().join(QLatin1Char(' ')));
    return 2;
}

} // namespace

std::optional<int> runCommandLine(int& argc, char** argv) {
    if (!asksForCommandLine(argc, argv))
        return std::nullopt;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillbox"));
    QCoreApplication::setApplicationVersion(qb::programVersion());
    QCommandLineParser parser;
    describeOptions(parser);
    parser.process(app); // --help, --version and unknown options end here
    if (!parser.positionalArguments().isEmpty())
        return rejectPositional(parser);
    if (!parser.isSet(QLatin1String(ExportOption)))
        return 0;
    return exportAndroid(parser.value(QLatin1String(ExportOption)),
                         parser.value(QLatin1String(UndatedOption)));
}

std::optional<int> checkWindowArguments(const QStringList& arguments) {
    QCommandLineParser parser;
    describeOptions(parser);
    if (!parser.parse(arguments)) {
        say(stderr, QStringLiteral("quillbox: ") + parser.errorText());
        return 2;
    }
    if (!parser.positionalArguments().isEmpty())
        return rejectPositional(parser);
    return std::nullopt;
}
