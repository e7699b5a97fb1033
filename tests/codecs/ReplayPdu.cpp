// replay_pdu PDUS EXPECTED: decodes every PDU of a data/pdus case, joins the
// parts and compares what it found, written out as text, with the expected file.
#include "codecs/LongMessages.h"
#include "codecs/SmsPdu.h"

#include <QString>
#include <fstream>
#include <iostream>
#include <sstream>

using namespace qb;

namespace {

std::string readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// One line per field: breaks and backslashes are written as escapes.
std::string oneLine(const QString& text) {
    std::string out;
    for (const char c : text.toStdString()) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\f')
            out += "\\f";
        else if (c == '\\')
            out += "\\\\";
        else
            out += c;
    }
    return out;
}

const char* kindName(PduKind kind) {
    return kind == PduKind::Deliver ? "deliver" : kind == PduKind::Submit ? "submit" : "report";
}

const char* addressKind(AddressKind kind) {
    switch (kind) {
    case AddressKind::International:
        return "international";
    case AddressKind::National:
        return "national";
    case AddressKind::Alphanumeric:
        return "alphanumeric";
    case AddressKind::Other:
        return "other";
    case AddressKind::Unknown:
        break;
    }
    return "unknown";
}

const char* codingName(TextCoding coding) {
    return coding == TextCoding::Gsm7 ? "gsm7" : coding == TextCoding::Ucs2 ? "ucs2" : "8-bit";
}

const char* problemName(PduProblem problem) {
    switch (problem) {
    case PduProblem::NotHex:
        return "not hex";
    case PduProblem::Truncated:
        return "cut short";
    case PduProblem::ReservedType:
        return "reserved type";
    case PduProblem::BadUserData:
        break;
    }
    return "bad user data";
}

const char* fieldName(PduField field) {
    static const char* const names[] = {"hex",
                                        "service centre",
                                        "first octet",
                                        "message reference",
                                        "address",
                                        "protocol",
                                        "data coding",
                                        "time stamp",
                                        "validity period",
                                        "user data length",
                                        "user data header",
                                        "user data",
                                        "status"};
    return names[static_cast<int>(field)];
}

std::string timeText(const std::optional<SmsTime>& time) {
    return time ? time->toDateTime().toString(Qt::ISODate).toStdString() : "none";
}

void print(std::ostream& out, const DecodedPdu& pdu) {
    out << "kind: " << kindName(pdu.kind) << "\n";
    out << "service centre: " << oneLine(pdu.serviceCentre) << "\n";
    out << "number: " << oneLine(pdu.address.number) << " (" << addressKind(pdu.address.kind)
        << ")\n";
    out << "time: " << timeText(pdu.time) << "\n";
    if (pdu.kind == PduKind::StatusReport) {
        out << "reference: " << pdu.messageReference << "\nstatus: " << pdu.reportStatus << "\n";
        return;
    }
    out << "coding: " << codingName(pdu.coding) << "\n";
    if (pdu.part)
        out << "part: " << pdu.part->sequence << " of " << pdu.part->count << ", reference "
            << pdu.part->reference << "\n";
    out << "text: " << oneLine(pdu.text) << "\n";
}

void print(std::ostream& out, const JoinedMessage& m) {
    out << "kind: " << kindName(m.kind) << "\n";
    out << "number: " << oneLine(m.address.number) << "\n";
    out << "time: " << timeText(m.time) << "\n";
    out << "parts: " << m.parts << ", missing " << m.missingParts << "\n";
    out << "locations:";
    for (const StorageLocation& l : m.locations)
        out << " " << l.storage << " " << l.index;
    out << "\ntext: " << oneLine(m.text) << "\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: replay_pdu PDUS EXPECTED\n";
        return 2;
    }
    std::istringstream lines(readFile(argv[1]));
    std::ostringstream out;
    std::vector<StoredPdu> parts;
    std::string line;
    int index = 0;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string hex;
        int length = 0;
        fields >> hex >> length;
        ++index;
        out << "pdu " << index << "\n";
        const PduDecoding decoding =
            decodePdu(hex, length > 0 ? std::optional(length) : std::nullopt);
        if (!decoding) {
            out << "error: " << problemName(decoding.error.problem) << " in "
                << fieldName(decoding.error.field) << " at octet " << decoding.error.octet << "\n";
            continue;
        }
        print(out, *decoding.pdu);
        const bool received = decoding.pdu->kind != PduKind::Submit;
        parts.push_back({{"SM", index},
                         received ? StoredStatus::ReceivedRead : StoredStatus::StoredSent,
                         *decoding.pdu});
    }
    const JoinedMessages joined = joinLongMessages(parts);
    int number = 0;
    for (const JoinedMessage& m : joined.messages) {
        out << "message " << ++number << "\n";
        print(out, m);
    }
    out << "status reports: " << joined.statusReports << "\n";
    const std::string expected = readFile(argv[2]);
    if (out.str() == expected)
        return 0;
    std::cerr << "--- expected\n" << expected << "--- decoded\n" << out.str();
    return 1;
}
