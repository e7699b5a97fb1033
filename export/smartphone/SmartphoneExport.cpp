#include "export/smartphone/SmartphoneExport.h"

#include "archive/ArchiveFiles.h"
#include "core/FileStore.h"
#include "export/smartphone/AndroidSmsXml.h"
#include "export/smartphone/VCard.h"

namespace qb {

SmartphoneExport exportForSmartphone(const QString& workDir, const QString& targetDir) {
    SmartphoneExport result;
    Archive archive;
    Phonebook phonebook;
    if ((result.failure = reloadArchive(workDir, archive)))
        return result;
    if ((result.failure = loadPhonebook(workDir, phonebook)))
        return result;

    const AndroidSmsXml sms = androidSmsXml(archive, phonebook);
    if ((result.failure = writeWholeFile(joinPath(targetDir, SmsBackupFileName), sms.xml)))
        return result;
    result.messages = sms.messages;
    result.undated = sms.undated;
    result.droppedCharacters = sms.droppedCharacters;

    const VCardFile cards = phonebookVCards(phonebook);
    if ((result.failure = writeWholeFile(joinPath(targetDir, ContactsFileName), cards.text)))
        return result;
    result.contacts = cards.contacts;
    result.droppedCharacters += cards.droppedCharacters;
    return result;
}

QString smartphoneExportSummary(const SmartphoneExport& result) {
    QString text = QStringLiteral("Экспорт для смартфона: сообщений %1, контактов %2.")
                       .arg(result.messages)
                       .arg(result.contacts);
    if (result.droppedCharacters > 0)
        text +=
            QStringLiteral(" Пропущено недопустимых символов: %1.").arg(result.droppedCharacters);
    return text;
}

} // namespace qb
