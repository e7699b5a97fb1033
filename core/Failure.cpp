#include "core/Failure.h"

#include <cerrno>
#include <cstring>

#include "core/Cp1251.h"

#include <charconv>

namespace qb {

Failure Failure::cannotOpen(const QString& path, const QString& reason) {
    return {Kind::CannotOpen, path, reason};
}

Failure Failure::cannotCreate(const QString& path, const QString& reason) {
    return {Kind::CannotCreate, path, reason};
}

Failure Failure::notInteger(const QString& text) {
    return {Kind::NotInteger, text, {}};
}

Failure Failure::message(const QString& text) {
    return {Kind::Message, text, {}};
}

Failure Failure::outOfMemory() {
    return message(QString::fromLocal8Bit(std::strerror(ENOMEM)));
}

QString Failure::text() const {
    switch (kind) {
    case Kind::CannotOpen:
        return QStringLiteral("Cannot open file \"%1\". %2").arg(subject, reason);
    case Kind::CannotCreate:
        return QStringLiteral("Cannot create file \"%1\". %2").arg(subject, reason);
    case Kind::NotInteger:
        return QStringLiteral("'%1' is not a valid integer value").arg(subject);
    case Kind::Message:
    case Kind::RecordsChanged:
        break;
    }
    return subject;
}

std::optional<int> parseWholeNumber(std::string_view text) {
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '+') {
        digits.remove_prefix(1); // "+5" is a whole number too
        if (!digits.empty() && digits.front() == '-')
            return std::nullopt;
    }
    if (digits.empty())
        return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

std::optional<int> parseBlankLedNumber(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::nullopt : parseWholeNumber(text.substr(first));
}

} // namespace qb
