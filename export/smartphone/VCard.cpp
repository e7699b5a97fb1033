#include "export/smartphone/VCard.h"

#include "core/ArchiveText.h"
#include "core/Cp1251.h"

namespace qb {
namespace {

constexpr std::size_t MaxLineOctets = 75;

bool continuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// UTF-8 of archive bytes, without control characters (line breaks become blanks,
// as the archive's own decoder treats them).
std::string cleanText(std::string_view bytes, int& dropped) {
    QString text = qb::archivetext::decode(bytes);
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            kept += QLatin1Char(' ');
        else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            ++dropped;
        else
            kept += c;
    }
    return kept.trimmed().toStdString();
}

} // namespace

std::string escapeVCardValue(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        if (c == '\\' || c == ',' || c == ';')
            out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    return out;
}

std::string foldVCardLine(std::string_view line) {
    std::string out;
    std::size_t limit = MaxLineOctets;
    while (line.size() > limit) {
        std::size_t cut = limit;
        while (cut > 0 && continuationByte(line[cut]))
            --cut;
        out.append(line.substr(0, cut));
        out += "\r\n ";
        line.remove_prefix(cut);
        limit = MaxLineOctets - 1; // the leading blank takes one octet
    }
    out.append(line);
    out += "\r\n";
    return out;
}

VCardFile phonebookVCards(const Phonebook& phonebook) {
    VCardFile file;
    for (const PhonebookEntry& entry : phonebook.entries) {
        const std::string number = cleanText(entry.number, file.droppedCharacters);
        std::string name = cleanText(entry.name, file.droppedCharacters);
        if (number.empty() && name.empty())
            continue;
        if (name.empty())
            name = number;
        const std::string value = escapeVCardValue(name);
        file.text += "BEGIN:VCARD\r\nVERSION:3.0\r\n";
        file.text += foldVCardLine("FN:" + value);
        // A phone keeps one name field: it goes in as the given name.
        file.text += foldVCardLine("N:;" + value + ";;;");
        if (!number.empty())
            file.text += foldVCardLine("TEL;TYPE=CELL:" + escapeVCardValue(number));
        file.text += "END:VCARD\r\n";
        ++file.contacts;
    }
    return file;
}

} // namespace qb
