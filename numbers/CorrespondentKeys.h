#pragma once
// One key per correspondent, whatever form their number was stored in: the
// network writes "+79161234567", a number typed on the phone may be stored as
// "8 916 123-45-67". Numbers are read by the rules of the desktop's home
// region (a local "8…" or "0…" form, an "810…" or "00…" international prefix)
// and keyed by their international form; what is no possible number of that
// region (a short service number such as "900") keeps its own digits, and an
// alphanumeric sender ("Beeline") its text without regard to case.
// A hand-written rule for Russian numbers (a leading 8 or 7 of eleven digits,
// or ten digits alone, read as +7) agreed on the common forms, but split the
// old "810" international prefix from "+", took every ten-digit number for a
// Russian one and knew no other country's local forms: libphonenumber reads
// each by its region's own rules.
#include <QHash>
#include <QLocale>
#include <QString>
#include <mutex>

namespace qb {

// The two-letter region whose numbering rules read numbers without a country
// code: the locale's territory, Russia where the locale names none or one the
// numbering rules do not know.
QString homeRegionOf(const QLocale& locale);

class CorrespondentKeys {
  public:
    // `homeRegion`: a two-letter region code, as homeRegionOf() gives.
    explicit CorrespondentKeys(const QString& homeRegion = homeRegionOf(QLocale::system()));

    // Equal for two forms of one number, different for different numbers.
    // Empty only for a number that is empty or blank: no correspondent.
    // Each distinct text is read once and remembered; safe to call from
    // several threads at once.
    QString keyOf(const QString& number) const;

    const QString& homeRegion() const { return m_homeRegion; }

  private:
    QString readKey(const QString& number) const;

    QString m_homeRegion;
    mutable std::mutex m_mutex;
    mutable QHash<QString, QString> m_known;
};

} // namespace qb
