#include "reading/StandardPhonebook.h"

#include "codecs/GsmAlphabet.h"
#include "codecs/HexDigits.h"

#include <algorithm>

namespace qb {
namespace {

constexpr int InternationalType = 145;

std::vector<std::string> quotedNames(std::string_view group) {
    std::vector<std::string> names;
    const std::string_view inside = unquoteGroup(group);
    if (inside.empty())
        return names;
    for (const std::string_view field : splitFields(inside))
        if (const std::string_view name = unquote(field); !name.empty())
            names.push_back(upperAscii(name));
    return names;
}

Parsed<std::vector<std::string>> namesAfter(std::string_view reply, std::string_view prefix) {
    const auto rest = firstWithPrefix(reply, prefix);
    if (!rest)
        return ReplyError{"no " + std::string(prefix) + " line", {}};
    return quotedNames(*rest);
}

std::optional<QString> ucs2Digits(std::string_view digits) {
    if (digits.size() % 4 != 0)
        return std::nullopt;
    QString text;
    for (std::size_t i = 0; i < digits.size(); i += 4) {
        unsigned unit = 0;
        for (std::size_t k = i; k < i + 4; ++k) {
            const int v = hexDigitValue(digits[k]);
            if (v < 0)
                return std::nullopt;
            unit = unit * 16 + unsigned(v);
        }
        text += QChar(char16_t(unit));
    }
    return text;
}

QString inCharset(std::string_view bytes, PhoneCharset charset) {
    switch (charset) {
    case PhoneCharset::Ucs2:
        if (const auto text = ucs2Digits(bytes))
            return *text;
        break; // some phones send digits-only or short names as they stand
    case PhoneCharset::Utf8:
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    case PhoneCharset::Gsm: {
        // The default alphabet's codes as bytes; bytes past 127 are no such
        // code and read as Latin-1.
        QString text;
        for (const char c : bytes) {
            const auto code = static_cast<std::uint8_t>(c);
            text += code < 0x80 ? gsm::decodeSeptets(std::span(&code, 1)) : QChar(char16_t(code));
        }
        return text;
    }
    case PhoneCharset::Ira:
    case PhoneCharset::Latin1:
    case PhoneCharset::Other:
        break;
    }
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

bool isDialString(const QString& text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.isDigit() || QStringView(u"+*#pwPW,").contains(c);
    });
}

// Numbers come in the selected character set too: some phones send them as
// UCS2 digits, others as they are. Digits that decode to a dial string are
// taken as UCS2.
QString numberOf(std::string_view field, PhoneCharset charset) {
    const std::string_view digits = unquote(field);
    if (charset == PhoneCharset::Ucs2 && digits.size() >= 8)
        if (const auto text = ucs2Digits(digits); text && isDialString(*text))
            return *text;
    return QString::fromLatin1(digits.data(), qsizetype(digits.size()));
}

std::optional<std::pair<int, int>> rangeOf(std::string_view field) {
    const std::string_view inside = unquoteGroup(field);
    const auto dash = inside.find('-');
    if (dash == std::string_view::npos)
        return std::nullopt;
    const auto first = wholeNumber(inside.substr(0, dash));
    const auto last = wholeNumber(inside.substr(dash + 1));
    if (!first || !last || *last < *first)
        return std::nullopt;
    return std::make_pair(*first, *last);
}

} // namespace

Parsed<std::vector<std::string>> parseCharsetsOffered(std::string_view reply) {
    return namesAfter(reply, "+CSCS:");
}

Parsed<std::string> parseCharsetSelected(std::string_view reply) {
    const auto rest = firstWithPrefix(reply, "+CSCS:");
    if (!rest || unquote(*rest).empty())
        return ReplyError{"no +CSCS: line", {}};
    return upperAscii(unquote(*rest));
}

PhoneCharset charsetNamed(std::string_view name) {
    const std::string n = upperAscii(unquote(name));
    if (n == "UCS2")
        return PhoneCharset::Ucs2;
    if (n == "GSM")
        return PhoneCharset::Gsm;
    if (n == "IRA" || n == "ASCII")
        return PhoneCharset::Ira;
    if (n == "8859-1" || n == "ISO8859-1")
        return PhoneCharset::Latin1;
    if (n == "UTF-8" || n == "UTF8")
        return PhoneCharset::Utf8;
    return PhoneCharset::Other;
}

Parsed<std::vector<std::string>> parsePhonebooksOffered(std::string_view reply) {
    return namesAfter(reply, "+CPBS:");
}

Parsed<PhonebookRange> parsePhonebookRange(std::string_view reply) {
    const auto rest = firstWithPrefix(reply, "+CPBR:");
    if (!rest)
        return ReplyError{"no +CPBR: line", {}};
    const std::vector<std::string_view> fields = splitFields(*rest);
    const auto range = rangeOf(fields[0]);
    if (!range)
        return ReplyError{"no range of positions", std::string(*rest)};
    PhonebookRange result{range->first, range->second, std::nullopt, std::nullopt};
    if (fields.size() >= 2)
        result.numberLength = wholeNumber(fields[1]);
    if (fields.size() >= 3)
        result.nameLength = wholeNumber(fields[2]);
    return result;
}

std::vector<std::pair<int, int>> phonebookChunks(const PhonebookRange& range, int perCommand) {
    std::vector<std::pair<int, int>> chunks;
    perCommand = std::max(perCommand, 1);
    for (long first = range.first; first <= range.last; first += perCommand)
        chunks.emplace_back(int(first), int(std::min<long>(first + perCommand - 1, range.last)));
    return chunks;
}

Parsed<std::vector<PhonebookContact>> parsePhonebookContacts(std::string_view reply,
                                                             PhoneCharset charset) {
    std::vector<PhonebookContact> contacts;
    for (const std::string_view line : answerLines(reply)) {
        const auto rest = afterPrefix(line, "+CPBR:");
        const std::vector<std::string_view> fields =
            rest ? splitFields(*rest) : std::vector<std::string_view>();
        const auto index = fields.size() >= 4 ? wholeNumber(fields[0]) : std::nullopt;
        if (!index)
            return ReplyError{"not a phonebook entry", std::string(line)};
        QString number = numberOf(fields[1], charset);
        if (wholeNumber(fields[2]) == InternationalType && !number.isEmpty() &&
            !number.startsWith(u'+'))
            number.prepend(u'+');
        contacts.push_back({*index, number, inCharset(unquote(fields[3]), charset)});
    }
    return contacts;
}

} // namespace qb
