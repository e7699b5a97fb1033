#pragma once
// Taking the archive to a modern phone: sms-backup.xml for Android's SMS
// backup app and contacts.vcf for any phone's contact import, side by side in
// one folder. Used by the window's menu item and by the command line alike.
#include "core/Failure.h"
#include "export/smartphone/AndroidSmsXml.h"

#include <QString>

namespace qb {

inline const QString SmsBackupFileName = QStringLiteral("sms-backup.xml");
inline const QString ContactsFileName = QStringLiteral("contacts.vcf");

struct SmartphoneExport {
    int messages = 0;
    int contacts = 0;
    int droppedCharacters = 0;
    int undated = 0;
    int estimated = 0;
    int skippedUndated = 0;
    int withoutAddress = 0;
    int draftsSharingConversation = 0;
    MaybeFailure failure; // the first file that could not be read or written
    // The phonebook's count line is damaged (failure says so): nothing was
    // written, as the contacts file would have been empty.
    bool phonebookDamaged = false;
};

// Reads the archive and the phonebook of `workDir` afresh and writes both files
// into `targetDir`. Both are replaced or neither: a failure leaves what was
// there before.
SmartphoneExport exportForSmartphone(const QString& workDir, const QString& targetDir,
                                     UndatedMessages undated = UndatedMessages::Estimate);

// What was written, for the message panel and the terminal.
QString smartphoneExportSummary(const SmartphoneExport& result);

} // namespace qb
