#include "export/smartphone/SmartphoneExport.h"

#include "archive/ArchiveFiles.h"
#include "core/FileStore.h"
#include "export/smartphone/VCard.h"

#include <QCoreApplication>
#include <QFile>
#include <QUuid>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qb {
namespace {

struct StagedFile {
    QByteArray target;
    QByteArray staged;
    bool targetExisted = false;
    bool exchangeable = false; // a file or link at the target, which an exchange can put back
};

QString reasonOf(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Written in full beside its target under a name of its own, with the mode a
// regular file at the target has (never set-id bits, never through a link).
MaybeFailure stage(const QString& path, const std::string& bytes, StagedFile& file) {
    file.target = QFile::encodeName(path);
    const QString staged =
        path + QStringLiteral(".new-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
    file.staged = QFile::encodeName(staged);
    if (MaybeFailure failure = writeWholeFile(staged, bytes)) {
        failure->subject = path;
        return failure;
    }
    struct stat old {};
    file.targetExisted = ::lstat(file.target.constData(), &old) == 0;
    file.exchangeable = file.targetExisted && (S_ISREG(old.st_mode) || S_ISLNK(old.st_mode));
    if (file.targetExisted && S_ISREG(old.st_mode))
        ::chmod(file.staged.constData(), old.st_mode & 0777);
    return std::nullopt;
}

// Puts the staged file in place. An old file is exchanged with it, so that it
// can be put back while the other file's replacement fails; a file system
// that cannot exchange gets a plain rename.
bool commit(const StagedFile& file, bool& exchanged) {
    exchanged = file.exchangeable && ::renameat2(AT_FDCWD, file.staged.constData(), AT_FDCWD,
                                                 file.target.constData(), RENAME_EXCHANGE) == 0;
    return exchanged || ::rename(file.staged.constData(), file.target.constData()) == 0;
}

// An old file replaced by a plain rename is gone and cannot be put back.
void rollBack(const StagedFile& file, bool exchanged) {
    if (exchanged)
        ::renameat2(AT_FDCWD, file.staged.constData(), AT_FDCWD, file.target.constData(),
                    RENAME_EXCHANGE);
    else if (!file.targetExisted)
        ::unlink(file.target.constData());
}

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
// neither target changes.
MaybeFailure replaceBoth(const QString& firstPath, const std::string& first,
                         const QString& secondPath, const std::string& second) {
    StagedFile a, b;
    MaybeFailure failure = stage(firstPath, first, a);
    if (!failure)
        failure = stage(secondPath, second, b);
    bool aExchanged = false, bExchanged = false;
    if (!failure && !commit(a, aExchanged))
        failure = Failure::cannotCreate(firstPath, reasonOf(errno));
    else if (!failure && !commit(b, bExchanged)) {
        failure = Failure::cannotCreate(secondPath, reasonOf(errno));
        rollBack(a, aExchanged);
    }
    // Staged files left over: the new ones after a failure, the old ones
    // exchanged out after a success.
    for (const StagedFile* file : {&a, &b})
        if (!file->staged.isEmpty())
            ::unlink(file->staged.constData());
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
