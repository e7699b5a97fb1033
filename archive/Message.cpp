#include "archive/Message.h"

namespace qb {
namespace {

bool isLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int daysInMonth(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

template <class To, class From> std::optional<To> converted(const std::optional<From>& text) {
    return text ? std::optional<To>(To(*text)) : std::nullopt;
}

template <class To, class From> BasicMessage<To> converted(const BasicMessage<From>& message) {
    BasicMessage<To> out;
    out.folder = message.folder;
    out.index = message.index;
    out.status = message.status;
    out.number = To(message.number);
    out.time = message.time;
    out.text = To(message.text);
    out.stored.header = converted<To>(message.stored.header);
    out.stored.indexLine = converted<To>(message.stored.indexLine);
    out.stored.dateLine = converted<To>(message.stored.dateLine);
    out.stored.formerText = converted<To>(message.stored.formerText);
    return out;
}

} // namespace

bool MessageTime::isValid() const {
    return year >= 1 && month >= 1 && month <= 12 && day >= 1 && day <= daysInMonth(year, month) &&
           hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60;
}

MessageView view(const Message& message) {
    return converted<std::string_view>(message);
}

Message toMessage(const MessageView& message) {
    return converted<std::string>(message);
}

} // namespace qb
