#include "export/smartphone/SmartphoneExport.h"

#include "archive/ArchiveFiles.h"
#include "core/FileStore.h"
#include "core/SignalCleanup.h"
#include "export/smartphone/VCard.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qb {
namespace {

QString reasonOf(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// One of the pair, staged whole and unnamed, then named only for the moment
// of its exchange with the target.
struct PairFile {
    PairFile(const QString& path, const std::string& bytes) : staged(path) { staged.write(bytes); }
    StagedFile staged;
    QByteArray target = QFile::encodeName(staged.path());
    QByteArray name; // the staged file's name beside the target, once it has one
    bool targetExisted = false;
    bool exchangeable = false; // a file or link at the target, which an exchange can put back
    bool exchanged = false;

    // Gives the staged file its name; the target is looked at only now, just
    // before it is replaced.
    MaybeFailure nameForExchange() {
        name = staged.exchangeName();
        if (name.isEmpty())
            return staged.failure();
        struct stat old {};
        targetExisted = ::lstat(target.constData(), &old) == 0;
        exchangeable = targetExisted && (S_ISREG(old.st_mode) || S_ISLNK(old.st_mode));
        return std::nullopt;
    }
    // An old file is exchanged with the new one, so that it can be put back
    // while the other file's replacement fails; a file system that cannot
    // exchange gets a plain rename.
    bool commit() {
        exchanged = exchangeable && ::renameat2(AT_FDCWD, name.constData(), AT_FDCWD,
                                                target.constData(), RENAME_EXCHANGE) == 0;
        return exchanged || ::rename(name.constData(), target.constData()) == 0;
    }
    // An old file replaced by a plain rename is gone and cannot be put back.
    void rollBack() const {
        if (exchanged)
            ::renameat2(AT_FDCWD, name.constData(), AT_FDCWD, target.constData(), RENAME_EXCHANGE);
        else if (!targetExisted)
            ::unlink(target.constData());
    }
};

// The renames last only once the directory's entries are on disk.
void syncDirectory(const QByteArray& target) {
    const int slash = target.lastIndexOf('/');
    const QByteArray dir = slash <= 0 ? QByteArray(slash == 0 ? "/" : ".") : target.left(slash);
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Both files written in full first, then both replaced; when anything fails,
// neither target changes. The files are unnamed while they are written, so
// even a killed export leaves nothing; they are named only for the exchange,
// with the signals held back meanwhile, and the names are gone before the
// signals come through: the old files exchanged out after a success, the new
// ones after a failure.
MaybeFailure replaceBoth(const QString& firstPath, const std::string& first,
                         const QString& secondPath, const std::string& second) {
    PairFile a(firstPath, first), b(secondPath, second);
    const SignalsDeferred deferred;
    MaybeFailure failure = a.nameForExchange();
    if (!failure)
        failure = b.nameForExchange();
    if (!failure && !a.commit())
        failure = Failure::cannotCreate(firstPath, reasonOf(errno));
    else if (!failure && !b.commit()) {
        failure = Failure::cannotCreate(secondPath, reasonOf(errno));
        a.rollBack();
    }
    a.staged.discard();
    b.staged.discard();
    if (!failure)
        syncDirectory(a.target);
    return failure;
}

} // namespace

SmartphoneExport exportForSmartphone(const QString& workDir, const QString& targetDir,
                                     UndatedMessages undated) {
    SmartphoneExport result;
    Archive archive;
    Phonebook phonebook;
    if ((result.failure = reloadArchive(workDir, archive)))
        return result;
    PhonebookCopy copy = loadPhonebookCopy(workDir);
    if ((result.failure = std::move(copy.failure))) {
        // Read as no entries at all, it would replace the contacts with nothing.
        result.phonebookDamaged = copy.damagedCount;
        return result;
    }
    phonebook = std::move(copy.phonebook);

    AndroidSmsOptions options;
    options.undated = undated;
    const AndroidSmsXml sms = androidSmsXml(archive, phonebook, options);
    const VCardFile cards = phonebookVCards(phonebook);
    if ((result.failure = replaceBoth(joinPath(targetDir, SmsBackupFileName), sms.xml,
                                      joinPath(targetDir, ContactsFileName), cards.text)))
        return result;
    result.messages = sms.messages;
    result.undated = sms.undated;
    result.estimated = sms.estimated;
    result.skippedUndated = sms.skippedUndated;
    result.withoutAddress = sms.withoutAddress;
    result.draftsSharingConversation = sms.draftsSharingConversation;
    result.contacts = cards.contacts;
    result.droppedCharacters = sms.droppedCharacters + cards.droppedCharacters;
    return result;
}

namespace {

struct SmartphoneSummary {
    Q_DECLARE_TR_FUNCTIONS(SmartphoneSummary)
};

// One more sentence of the summary, for a count that is not zero.
void addSentence(QString& text, const char* sentence, int count) {
    if (count > 0)
        text += QLatin1Char(' ') + SmartphoneSummary::tr(sentence, nullptr, count);
}

} // namespace

QString smartphoneExportSummary(const SmartphoneExport& result) {
    QString text = SmartphoneSummary::tr("Экспорт для смартфона: %1, %2.")
                       .arg(SmartphoneSummary::tr("сообщений %n", nullptr, result.messages),
                            SmartphoneSummary::tr("контактов %n", nullptr, result.contacts));
    addSentence(text,
                QT_TRANSLATE_N_NOOP("SmartphoneSummary", "Пропущено недопустимых символов: %n."),
                result.droppedCharacters);
    addSentence(text,
                QT_TRANSLATE_N_NOOP("SmartphoneSummary",
                                    "Даты оценены по соседним принятым сообщениям: %n."),
                result.estimated);
    addSentence(text, QT_TRANSLATE_N_NOOP("SmartphoneSummary", "Пропущено сообщений без даты: %n."),
                result.skippedUndated);
    addSentence(text,
                QT_TRANSLATE_N_NOOP("SmartphoneSummary", "Пропущено сообщений без адресата: %n."),
                result.withoutAddress);
    addSentence(text,
                QT_TRANSLATE_N_NOOP("SmartphoneSummary",
                                    "Черновиков в разговорах с несколькими черновиками: %n; "
                                    "Android сохранит в каждом разговоре только последний."),
                result.draftsSharingConversation);
    return text;
}

} // namespace qb
