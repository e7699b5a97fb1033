#pragma once
// What the window tells the user when the phone cannot be used, in one place
// for every command that talks to it.
#include "reading/PhoneFailure.h"
#include "reading/PhoneLine.h"
#include "reading/PhoneReadJob.h"

#include <QString>
#include <string>

namespace qb {

// Another program holds the port, or there is no port at all.
QString deviceBusyText();
// The user may not open the phone's device node.
QString noPermissionText(const std::string& devNode);
// How a read that lost its phone is reported; empty for the other outcomes.
QString lostPhoneText(ReadOutcome::Kind kind, const std::string& devNode);
// The phone refused or never answered some of the deletions.
QString keptOnPhoneText(int notDeleted);

// Which command the phone failed.
enum class PhoneCommand { Read, Deletion };
// What stopped a read or a deletion: the command the phone failed, with its
// error or the bound it passed, and what became of the archive or the rows.
QString phoneFailureText(const PhoneFailure& failure, PhoneCommand command, int notDeleted = 0);
// The phone refused some of the deletions: how many, and its first error.
QString refusedOnPhoneText(int notDeleted, const PhoneFailure& refusal);
// The phone went away or stopped taking commands during a deletion.
QString deletionLostText(LineLoss loss, int notDeleted, const std::string& devNode);

// Message panel notes for the ends that need no box.
QString nothingListedText();
QString readCancelledText();
QString deletionCancelledText();

} // namespace qb
