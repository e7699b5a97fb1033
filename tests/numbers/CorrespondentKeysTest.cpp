#include "numbers/CorrespondentKeys.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

struct SamePerson {
    const char* region;
    std::vector<const char*> forms;
};

// Forms found in archives: the network's international form, numbers typed
// on the phone with the trunk "8", with blanks, dashes and brackets, and with
// the old "810" international prefix.
TEST(CorrespondentKeysTest, FormsOfOneNumberShareAKey) {
    const SamePerson cases[] = {
        {"RU",
         {"+7 916 123-45-67", "8 916 1234567", "89161234567", "79161234567", "+79161234567",
          "9161234567", "8 (916) 123-45-67", "+7(916)123-45-67", " 8-916-123-45-67 "}},
        {"RU", {"84951234567", "+7 495 123 45 67", "4951234567"}},
        {"RU", {"8 800 555 35 35", "+78005553535"}},
        {"RU", {"+380441234567", "810380441234567", "8 10 380 44 123 45 67"}},
        {"RU", {"+375291234567", "8 10 375 29 123 45 67"}},
        {"RU", {"123-45-67", "1234567"}},
        {"DE", {"030 450566735", "+49 30 450566735", "004930450566735"}},
        {"US", {"(650) 253-0000", "+1 650 253 0000", "1 650 253 0000"}},
    };
    for (const SamePerson& person : cases) {
        const CorrespondentKeys keys(QString::fromLatin1(person.region));
        const QString first = keys.keyOf(QString::fromUtf8(person.forms.front()));
        for (const char* form : person.forms) {
            SCOPED_TRACE(std::string(person.region) + " " + form);
            EXPECT_EQ(keys.keyOf(QString::fromUtf8(form)), first);
        }
    }
}

TEST(CorrespondentKeysTest, DifferentNumbersAndSendersStayApart) {
    const CorrespondentKeys keys(QStringLiteral("RU"));
    const char* pairs[][2] = {
        {"+79161234567", "+79161234568"},
        {"+79161234567", "+7916123456"},   // a digit short
        {"+77011234567", "+380441234567"}, // Kazakhstan shares +7, not Ukraine's numbers
        {"900", "+7900"},
        {"900", "9000"},
        {"Beeline", "MTS"},
        {"Beeline", "+79161234567"},
    };
    for (const auto& pair : pairs) {
        SCOPED_TRACE(std::string(pair[0]) + " / " + pair[1]);
        EXPECT_NE(keys.keyOf(QString::fromUtf8(pair[0])), keys.keyOf(QString::fromUtf8(pair[1])));
    }
}

TEST(CorrespondentKeysTest, KeysOfNumbersAreInternationalAndOthersKeepTheirText) {
    const CorrespondentKeys keys(QStringLiteral("RU"));
    const char* cases[][2] = {
        {"8 916 123-45-67", "+79161234567"},
        {"900", "900"}, // short service numbers are no possible subscriber number
        {"9 00", "900"},
        {"*100#", "*100#"},
        {"BEELINE", "beeline"}, // a name the network sends in either case
        {"  Tele2  Info ", "tele2 info"},
        {"Мегафон", "мегафон"},
        {"+4123456789132", "+4123456789132"}, // too long for its country: kept as written
        {"", ""},
        {"   ", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        EXPECT_EQ(keys.keyOf(QString::fromUtf8(c[0])), QString::fromUtf8(c[1]));
    }
}

TEST(CorrespondentKeysTest, TheHomeRegionDecidesLocalForms) {
    // On a desktop in Germany "8 916…" is no Russian number: only the
    // international form names the country.
    const CorrespondentKeys german(QStringLiteral("DE"));
    EXPECT_NE(german.keyOf(QStringLiteral("8 916 1234567")),
              german.keyOf(QStringLiteral("+79161234567")));
    EXPECT_EQ(german.keyOf(QStringLiteral("+7 916 123-45-67")),
              german.keyOf(QStringLiteral("+79161234567")));
}

TEST(CorrespondentKeysTest, HomeRegionComesFromTheLocaleWithRussiaWhereNoneApplies) {
    EXPECT_EQ(homeRegionOf(QLocale(QLocale::Russian, QLocale::Russia)), u"RU");
    EXPECT_EQ(homeRegionOf(QLocale(QLocale::Ukrainian, QLocale::Ukraine)), u"UA");
    EXPECT_EQ(homeRegionOf(QLocale(QLocale::English, QLocale::UnitedStates)), u"US");
    EXPECT_EQ(homeRegionOf(QLocale::c()), u"RU");
    EXPECT_EQ(homeRegionOf(QLocale(QLocale::English, QLocale::World)), u"RU");
    EXPECT_EQ(CorrespondentKeys(QStringLiteral("XX")).homeRegion(), u"RU");
}

} // namespace
} // namespace qb
