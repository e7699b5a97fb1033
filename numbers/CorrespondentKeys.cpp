#include "numbers/CorrespondentKeys.h"

#include <phonenumbers/phonenumberutil.h>

#include <algorithm>

namespace qb {
namespace {

using i18n::phonenumbers::PhoneNumber;
using i18n::phonenumbers::PhoneNumberUtil;

const QString FallbackRegion = QStringLiteral("RU");

bool knownRegion(const QString& code) {
    return PhoneNumberUtil::GetInstance()->GetCountryCodeForRegion(code.toStdString()) != 0;
}

// What is left of a text that is no possible number: its digits and the
// characters a number may carry ("+", "*", "#"), so that "900" and "9 00" stay
// one sender.
QString keptCharacters(const QString& text) {
    QString kept;
    for (const QChar c : text)
        if (c.isDigit() || c == u'+' || c == u'*' || c == u'#')
            kept += c;
    return kept.isEmpty() ? text : kept;
}

} // namespace

QString homeRegionOf(const QLocale& locale) {
    if (locale.territory() == QLocale::AnyTerritory)
        return FallbackRegion;
    const QString code = QLocale::territoryToCode(locale.territory());
    return knownRegion(code) ? code : FallbackRegion;
}

CorrespondentKeys::CorrespondentKeys(const QString& homeRegion)
    : m_homeRegion(knownRegion(homeRegion) ? homeRegion : FallbackRegion) {}

QString CorrespondentKeys::keyOf(const QString& number) const {
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_known.constFind(number);
        if (found != m_known.cend())
            return *found;
    }
    QString key = readKey(number);
    std::lock_guard lock(m_mutex);
    m_known.insert(number, key);
    return key;
}

QString CorrespondentKeys::readKey(const QString& number) const {
    const QString text = number.simplified();
    if (text.isEmpty())
        return {};
    // libphonenumber reads letters as keypad digits ("1-800-FLOWERS"); a
    // sender with letters is a name, never a number.
    if (std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isLetter(); }))
        return text.toCaseFolded();
    const PhoneNumberUtil& util = *PhoneNumberUtil::GetInstance();
    PhoneNumber parsed;
    if (util.Parse(text.toStdString(), m_homeRegion.toStdString(), &parsed) !=
            PhoneNumberUtil::NO_PARSING_ERROR ||
        !util.IsPossibleNumber(parsed))
        return keptCharacters(text);
    std::string international;
    util.Format(parsed, PhoneNumberUtil::E164, &international);
    return QString::fromStdString(international);
}

} // namespace qb
