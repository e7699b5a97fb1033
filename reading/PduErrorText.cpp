#include "reading/PduErrorText.h"

#include <QCoreApplication>

namespace qb {
namespace {

QString fieldName(PduField field) {
    switch (field) {
    case PduField::Hex:
        return QCoreApplication::translate("PduErrorText", "шестнадцатеричные цифры");
    case PduField::ServiceCentre:
        return QCoreApplication::translate("PduErrorText", "адрес сервисного центра");
    case PduField::FirstOctet:
        return QCoreApplication::translate("PduErrorText", "тип сообщения");
    case PduField::MessageReference:
        return QCoreApplication::translate("PduErrorText", "номер отправки");
    case PduField::Address:
        return QCoreApplication::translate("PduErrorText", "номер телефона");
    case PduField::ProtocolIdentifier:
        return QCoreApplication::translate("PduErrorText", "протокол");
    case PduField::DataCoding:
        return QCoreApplication::translate("PduErrorText", "кодировка");
    case PduField::TimeStamp:
        return QCoreApplication::translate("PduErrorText", "время");
    case PduField::ValidityPeriod:
        return QCoreApplication::translate("PduErrorText", "срок хранения");
    case PduField::UserDataLength:
        return QCoreApplication::translate("PduErrorText", "длина текста");
    case PduField::UserDataHeader:
        return QCoreApplication::translate("PduErrorText", "заголовок текста");
    case PduField::UserData:
        return QCoreApplication::translate("PduErrorText", "текст");
    case PduField::Status:
        break;
    }
    return QCoreApplication::translate("PduErrorText", "статус доставки");
}

} // namespace

QString pduErrorText(const PduError& error) {
    switch (error.problem) {
    case PduProblem::NotHex:
        return QCoreApplication::translate("PduErrorText", "не шестнадцатеричные цифры");
    case PduProblem::ReservedType:
        return QCoreApplication::translate("PduErrorText", "неизвестный тип сообщения");
    case PduProblem::BadUserData:
        return QCoreApplication::translate("PduErrorText", "заголовок длиннее текста (байт %1)")
            .arg(error.octet);
    case PduProblem::Truncated:
        break;
    }
    return QCoreApplication::translate("PduErrorText", "обрывается в поле «%1» (байт %2)")
        .arg(fieldName(error.field))
        .arg(error.octet);
}

} // namespace qb
