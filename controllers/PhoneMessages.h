#pragma once
// What the window tells the user when the phone cannot be used, in one place
// for every command that talks to it.
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

} // namespace qb
