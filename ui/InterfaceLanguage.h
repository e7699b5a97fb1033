#pragma once
// The interface's language. Russian is the program's own and needs no
// translation; English desktops get the English one. QUILLBOX_LANG=en or ru
// chooses for people whose desktop speaks another language than they want.
#include <QByteArray>
#include <QLocale>

class QCoreApplication;

namespace qb::ui {

enum class InterfaceLanguage { Russian, English };

// `chosen` is QUILLBOX_LANG's value; anything but "en" or "ru" leaves the
// choice to the desktop's locale (C and POSIX give Russian).
InterfaceLanguage interfaceLanguage(const QByteArray& chosen, const QLocale& desktop);

// Installs the translations of the language QUILLBOX_LANG and the desktop
// choose, Quillbox's own and Qt's for its standard dialogs, for the
// application's whole life. Files written never depend on it.
void installInterfaceLanguage(QCoreApplication& application);

} // namespace qb::ui
