#include "ui/InterfaceLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace qb::ui {

namespace {

void install(QCoreApplication& application, const QLocale& locale, const QString& name,
             const QString& directory) {
    auto* translator = new QTranslator(&application);
    if (translator->load(locale, name, QStringLiteral("_"), directory))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

InterfaceLanguage interfaceLanguage(const QByteArray& chosen, const QLocale& desktop) {
    if (chosen == "en")
        return InterfaceLanguage::English;
    if (chosen == "ru")
        return InterfaceLanguage::Russian;
    return desktop.language() == QLocale::English ? InterfaceLanguage::English
                                                  : InterfaceLanguage::Russian;
}

void installInterfaceLanguage(QCoreApplication& application) {
    const QLocale desktop;
    if (interfaceLanguage(qgetenv("QUILLBOX_LANG"), desktop) == InterfaceLanguage::Russian)
        return; // the texts are Russian as written, Qt's own stay as they always were
    // An English desktop's own variant (en_GB, en_US) first, should one be added.
    const QLocale english =
        desktop.language() == QLocale::English ? desktop : QLocale(QLocale::English);
    install(application, english, QStringLiteral("quillbox"), QStringLiteral(":/i18n"));
    install(application, english, QStringLiteral("qtbase"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

} // namespace qb::ui
